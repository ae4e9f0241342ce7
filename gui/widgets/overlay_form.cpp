#include "gui/widgets/overlay_form.h"

#include <QBrush>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSpacerItem>

OverlayForm::OverlayForm(QWidget* parent) : QWidget(parent) {
  setObjectName("OverlayForm");
  resize(583, 260);
  setWindowTitle(QString());
  setAutoFillBackground(false);
  setStyleSheet("background: transparent;");
  setAccessibleName(QCoreApplication::translate("OverlayForm", "Overlay"));

  gridLayout_ = new QGridLayout(this);
  gridLayout_->setObjectName("gridLayout");
  gridLayout_->setSpacing(0);
  gridLayout_->setContentsMargins(70, 70, 70, 70);
  gridLayout_->addItem(new QSpacerItem(212, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 0,
                       0);
  widget_layout_ = new QHBoxLayout();
  widget_layout_->setObjectName("widget_layout");
  widget_layout_->setSpacing(0);
  gridLayout_->addLayout(widget_layout_, 0, 1, 1, 2);
  gridLayout_->addItem(new QSpacerItem(211, 20, QSizePolicy::Expanding, QSizePolicy::Minimum), 0,
                       3);
  gridLayout_->addItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding), 1,
                       1);
}

OverlayForm::~OverlayForm() = default;

void OverlayForm::SetCentralWidget(QWidget* widget) {
  while (QLayoutItem* item = widget_layout_->takeAt(0)) {
    if (QWidget* old = item->widget()) {
      old->hide();
      old->setParent(nullptr);
    }
    delete item;
  }
  if (widget != nullptr) {
    widget_layout_->addWidget(widget);
    widget->show();
  }
  central_widget_ = widget;
  widget_layout_->update();
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
