#include "gui/widgets/description_popup.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QPushButton>

#include <utility>

#include "gui/widgets/description_body.h"
#include "gui/widgets/elided_label.h"
#include "ui_description_popup.h"

DescriptionPopup::DescriptionPopup(QWidget* parent)
    : QFrame(parent), form_(std::make_unique<Ui::DescriptionPopup>()) {
  form_->setupUi(this);

  auto* shadow = new QGraphicsDropShadowEffect(this);
  shadow->setBlurRadius(10);
  shadow->setOffset(3, 3);
  shadow->setColor(QColor(205, 205, 205));
  setGraphicsEffect(shadow);

  connect(qApp, &QApplication::focusChanged, this, &DescriptionPopup::focusChanged);
  connect(form_->pushButton, &QPushButton::clicked, this, &DescriptionPopup::CloseClicked);
}

DescriptionPopup::~DescriptionPopup() {
  if (trap_active_) qApp->removeEventFilter(this);
}

ElidedLabel* DescriptionPopup::title_label() const { return form_->frame; }

QTextBrowser* DescriptionPopup::body() const { return form_->textBrowser; }

QPushButton* DescriptionPopup::close_button() const { return form_->pushButton; }

void DescriptionPopup::SetTitle(QString title) { form_->frame->set_text(std::move(title)); }

void DescriptionPopup::SetText(QString text) { form_->textBrowser->setText(text); }

void DescriptionPopup::SetPlainText(const QString& text) { form_->textBrowser->setPlainText(text); }

bool DescriptionPopup::Contains(const QObject* object) const {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget != nullptr && (widget == this || isAncestorOf(widget));
}

void DescriptionPopup::showEvent(QShowEvent* event) {
  QFrame::showEvent(event);
  qApp->installEventFilter(this);
  trap_active_ = true;
  form_->pushButton->setFocus();
}

void DescriptionPopup::hideEvent(QHideEvent* event) {
  trap_active_ = false;
  qApp->removeEventFilter(this);
  QFrame::hideEvent(event);
}

bool DescriptionPopup::eventFilter(QObject* object, QEvent* event) {
  // Window objects see the press before the widget under the mouse does; only widgets count.
  if (event->type() == QEvent::MouseButtonPress && object->isWidgetType() && !Contains(object)) {
    trap_active_ = false;
  }
  return false;
}

void DescriptionPopup::focusChanged(QWidget* from, QWidget* to) {
  if (!trap_active_ || Contains(to)) return;
  // Focus leaving the pop-up goes back to its other focusable part, so Tab cycles inside it.
  // The focus moves directly: a synthetic Tab sent after it would move it once more and skip
  // the part just chosen.
  if (from == form_->pushButton) {
    form_->textBrowser->setFocus(Qt::TabFocusReason);
  } else if (from == form_->textBrowser) {
    form_->pushButton->setFocus(Qt::TabFocusReason);
  }
}
