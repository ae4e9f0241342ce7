#include "gui/screens/modules_grid_layout.h"

#include <QWidget>
#include <algorithm>

ModulesGridLayout::ModulesGridLayout(QWidget* parent) : QLayout(parent), spacing_(0) {}

ModulesGridLayout::~ModulesGridLayout() {
  while (!items_.isEmpty()) delete items_.takeFirst();
}

void ModulesGridLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* ModulesGridLayout::itemAt(int index) const {
  if (index < 0 || index >= items_.size()) return nullptr;
  return items_.at(index);
}

QLayoutItem* ModulesGridLayout::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  return items_.takeAt(index);
}

int ModulesGridLayout::count() const { return static_cast<int>(items_.size()); }

void ModulesGridLayout::SetItemSpacing(int spacing) {
  if (spacing > 0) spacing_ = spacing;
}

bool ModulesGridLayout::hasHeightForWidth() const { return true; }

int ModulesGridLayout::heightForWidth(int width) const {
  return DoLayout(QRect(0, 0, width, 0), false);
}

QSize ModulesGridLayout::sizeHint() const { return minimumSize(); }

QSize ModulesGridLayout::minimumSize() const {
  QSize size(-1, -1);
  for (QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
  return size;
}

void ModulesGridLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  DoLayout(rect, true);
}

int ModulesGridLayout::DoLayout(const QRect& rect, bool place) const {
  // The right edge is exclusive: an item that ends exactly at the edge still fits. An item that
  // starts a row stays in it even when it is wider than the area, so it is never pushed down
  // into a row of its own below an empty one.
  const int right = rect.x() + rect.width();
  int x = rect.x();
  int y = rect.y();
  // The row step is the tallest item seen so far: with equal tiles, the tile height.
  int tallest = 0;
  for (QLayoutItem* item : items_) {
    const QSize size = item->sizeHint();
    if (x > rect.x() && x + size.width() > right) {
      x = rect.x();
      y += spacing_ + tallest;
    }
    if (place) item->setGeometry(QRect(QPoint(x, y), size));
    tallest = std::max(tallest, size.height());
    x += size.width() + spacing_;
  }
  return y + tallest - rect.y();
}
