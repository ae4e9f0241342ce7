#include "gui/screens/tests_tree.h"

#include "gui/widgets/groupable_check_box.h"

void TestsTree::drawBranches(QPainter* painter, const QRect& rect,
                             const QModelIndex& index) const {
  QRect line = rect;
  if (QWidget* entry = indexWidget(index)) {
    if (auto* box = entry->findChild<GroupableCheckBox*>(QString(), Qt::FindDirectChildrenOnly)) {
      const int bottom = box->mapTo(entry, QPoint(0, box->height())).y();
      line.setHeight(qBound(1, bottom, rect.height()));
    }
  }
  QTreeWidget::drawBranches(painter, line, index);
}
