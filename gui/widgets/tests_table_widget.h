#pragma once

#include <QTableWidget>

class QWheelEvent;
class QWidget;

// The one-column table of test rows inside a device panel. The wheel always scrolls the
// enclosing view, never the table.
class TestsTableWidget : public QTableWidget {
  Q_OBJECT

 public:
  explicit TestsTableWidget(QWidget* parent = nullptr);
  ~TestsTableWidget() override;

 protected:
  void wheelEvent(QWheelEvent* event) override;
};
