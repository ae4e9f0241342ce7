#include "gui/widgets/tests_table_widget.h"

#include <QHeaderView>
#include <QWheelEvent>

TestsTableWidget::TestsTableWidget(QWidget* parent) : QTableWidget(parent) {
  setObjectName("table");
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setFrameShape(QFrame::Box);
  setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
  setAlternatingRowColors(true);
  setShowGrid(false);
}

TestsTableWidget::~TestsTableWidget() = default;

void TestsTableWidget::wheelEvent(QWheelEvent* event) { event->ignore(); }
