#include "gui/widgets/overlay_form.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "ui_overlay_form.h"

OverlayForm::OverlayForm(QWidget* parent)
    : QWidget(parent), form_(std::make_unique<Ui::OverlayForm>()) {
  form_->setupUi(this);
}

OverlayForm::~OverlayForm() = default;

void OverlayForm::SetCentralWidget(QWidget* widget) {
  while (QLayoutItem* item = form_->widget_layout->takeAt(0)) {
    if (QWidget* old = item->widget()) {
      old->hide();
      old->setParent(nullptr);
    }
    delete item;
  }
  if (widget != nullptr) {
    form_->widget_layout->addWidget(widget);
    widget->show();
  }
  central_widget_ = widget;
  form_->widget_layout->update();
}

bool OverlayForm::IsOnCentralWidget(const QPoint& pos) const {
  // A child at the point that is, or lies within, the central widget.
  QWidget* under = childAt(pos);
  return central_widget_ != nullptr && under != nullptr &&
         (under == central_widget_ || central_widget_->isAncestorOf(under));
}

void OverlayForm::mousePressEvent(QMouseEvent* event) {
  // A press that reaches us from the central widget (it did not take it) starts no close.
  pressed_ = event->button() == Qt::LeftButton && !IsOnCentralWidget(event->position().toPoint());
  event->accept();
}

void OverlayForm::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  const QPoint pos = event->position().toPoint();
  if (rect().contains(pos) && !IsOnCentralWidget(pos)) emit Clicked();
}

void OverlayForm::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), QBrush(QPixmap(":/kolv_lite/Resources/Images/General/bg.png")));
}
