// A result row that understands the tool's result codes.
#pragma once

#include <QString>

#include "gui/widgets/test_widget.h"

class MdrTestWidget : public TestWidget {
  Q_OBJECT

 public:
  MdrTestWidget(QString name, int row, QWidget* parent = nullptr);
  ~MdrTestWidget() override = default;

  void ShowWaiting();
  void ShowRunning();
  void SetResult(int code);
  int result_code() const { return result_code_; }

  // The panel's own status changes use the tool's looks: an aborted row reads as code 8.
  void set_status(KolvLiteTestStatus status) override;

 private:
  // No result yet.
  int result_code_ = -1;
};
