#include "gui/widgets/info_button.h"

#include <QEnterEvent>
#include <QFocusEvent>

InfoButton::InfoButton(QWidget* parent) : QPushButton(parent) {
  connect(this, &QPushButton::clicked, this, &InfoButton::HandleClick);
}

InfoButton::~InfoButton() = default;

void InfoButton::HandleClick() { emit Clicked(this); }

void InfoButton::focusInEvent(QFocusEvent* event) {
  emit MouseEnter(this);
  QWidget::focusInEvent(event);
}

void InfoButton::focusOutEvent(QFocusEvent* event) {
  emit MouseLeave();
  QWidget::focusOutEvent(event);
}

void InfoButton::enterEvent(QEnterEvent* event) {
  emit MouseEnter(this);
  QWidget::enterEvent(event);
}

void InfoButton::leaveEvent(QEvent* event) {
  emit MouseLeave();
  QWidget::leaveEvent(event);
}
