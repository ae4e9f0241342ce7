#pragma once

#include <QMap>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "gui/widgets/tests_table_widget.h"

class ElidedLabel;
class QLabel;
class TestWidget;

namespace Ui {
class DiagnosticWidget;
}  // namespace Ui

// One device panel: a header with the device name and, once the device has finished, its result
// code, over the rows of its tests keyed by test id. The name takes the room the header has and
// is elided beyond it, whole in its tool tip, so that it never widens the panel.
class DiagnosticWidget : public QWidget {
  Q_OBJECT

 public:
  DiagnosticWidget(QString device_name, QWidget* parent = nullptr);
  ~DiagnosticWidget() override;

  // A test id given again replaces its row in place.
  virtual void AddTest(int id, QString name);
  // The row of a test id given to AddTest; throws std::out_of_range for any other id.
  TestWidget& operator[](int id);
  bool HasTest(int id) const { return tests_.contains(id); }
  int TestsCount() const { return tests_.size(); }
  // Marks every row that has not finished as aborted.
  void AbortAll();
  void set_device_name(QString name);
  void set_unique_code(const std::string& code);
  int GetWidth() const;

  TestsTableWidget* table() const;
  QWidget* device_header_widget() const;
  ElidedLabel* device_name_label() const;
  QLabel* result_code_text_label() const;
  QLabel* result_code_label() const;

 public slots:
  void AdjustSizeToContents();

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // For panels that make their own rows: the table row a test id takes (its old row when the id
  // is given again), and the registration that sizes a row made for it and places it there, so
  // that TestsCount, operator[] and AbortAll know it as they know the rows of AddTest.
  int RowFor(int id) const;
  void RegisterTest(int id, int row, TestWidget* added);

 private:
  QMap<int, TestWidget*> tests_;
  std::unique_ptr<Ui::DiagnosticWidget> form_;
  bool adjusting_ = false;
};
