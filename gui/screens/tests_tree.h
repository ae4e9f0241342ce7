// The tests screen's tree. Rows are check boxes, some with a description below: a row's expand
// arrow belongs beside its check box's line, not halfway down the row.
#pragma once

#include <QTreeWidget>

class TestsTree : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
};
