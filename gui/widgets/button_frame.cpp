#include "gui/widgets/button_frame.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

#include "ui_button_frame.h"

ButtonFrame::ButtonFrame(QWidget* parent)
    : QFrame(parent), form_(std::make_unique<Ui::ButtonFrame>()) {
  form_->setupUi(this);
  connect(form_->header_button, &QPushButton::clicked, this, &ButtonFrame::BypassClickSignal);
}

ButtonFrame::~ButtonFrame() = default;

QPushButton* ButtonFrame::button() const { return form_->header_button; }

void ButtonFrame::BypassClickSignal() { emit Clicked(); }

void ButtonFrame::SetWidget(QWidget* widget) {
  QHBoxLayout* layout = form_->header_layout;
  layout->removeWidget(form_->header_button);
  if (widget_ != nullptr) layout->removeWidget(widget_);
  layout->setContentsMargins(15, 4, 15, 4);
  if (widget != nullptr) layout->addWidget(widget);
  layout->addWidget(form_->header_button);
  widget_ = widget;
}

void ButtonFrame::SetButtonHidden(bool hidden) { form_->header_button->setHidden(hidden); }

void ButtonFrame::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  event->accept();
}

void ButtonFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (rect().contains(event->position().toPoint())) emit Clicked();
  event->accept();
}

void ButtonFrame::keyReleaseEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
      !event->isAutoRepeat()) {
    emit Clicked();
    event->accept();
    return;
  }
  QFrame::keyReleaseEvent(event);
}
