#include "gui/shell/kolv_lite_menu_positioner.h"

#include <QEvent>
#include <QMenu>
#include <QPoint>
#include <QPushButton>

KolvLiteMenuPositioner::KolvLiteMenuPositioner(QPushButton* button, QObject* parent)
    : QObject(parent), button_(button) {}

bool KolvLiteMenuPositioner::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || button_ == nullptr || watched != button_->menu()) {
    return false;
  }
  QMenu* menu = button_->menu();
  menu->move(button_->mapToGlobal(
      QPoint(button_->width() - menu->width(), button_->height() + 4)));
  // The menu still needs its own show handling to lay out its items.
  return false;
}
