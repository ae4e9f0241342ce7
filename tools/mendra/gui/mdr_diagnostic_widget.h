// A device panel whose rows understand the tool's result codes.
#pragma once

#include <QString>

#include "gui/widgets/diagnostic_widget.h"

class MdrTestWidget;

class MdrDiagnosticWidget : public DiagnosticWidget {
  Q_OBJECT

 public:
  explicit MdrDiagnosticWidget(QString device_name, QWidget* parent = nullptr);
  ~MdrDiagnosticWidget() override = default;

  void AddTest(int id, QString name) override;
  // Null when no row was added under id.
  MdrTestWidget* row(int id);
  int row_count() const { return TestsCount(); }
};
