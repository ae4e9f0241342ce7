#include "gui/widgets/clickable_label.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

bool IsActivationKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

}  // namespace

ClickableLabel::ClickableLabel(QWidget* parent) : QLabel(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setTextFormat(Qt::PlainText);
}

ClickableLabel::~ClickableLabel() = default;

void ClickableLabel::set_checkable(bool checkable) {
  checkable_ = checkable;
  if (!checkable) {
    checked_ = false;
    UpdateStyle(2);
  }
}

void ClickableLabel::set_checked(bool checked) {
  checked_ = checked;
  UpdateStyle(checked ? 1 : 2);
}

void ClickableLabel::UpdateStyle(int /*state*/) {}

void ClickableLabel::EmitClick() {
  emit Clicked();
  emit ClickedOnMe(this);
  if (checkable_) {
    checked_ = !checked_;
    emit Toggled(checked_);
  }
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  UpdateStyle(1);
  event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (rect().contains(event->position().toPoint())) EmitClick();
  UpdateStyle(checked_ ? 1 : 2);
  event->accept();
}

void ClickableLabel::keyReleaseEvent(QKeyEvent* event) {
  if (IsActivationKey(event->key()) && !event->isAutoRepeat()) EmitClick();
  UpdateStyle(checked_ ? 1 : 2);
  event->accept();
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
  if (hasFocus()) {
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().dark().color();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
  QLabel::paintEvent(event);
}
