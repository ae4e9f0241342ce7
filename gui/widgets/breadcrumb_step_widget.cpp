#include "gui/widgets/breadcrumb_step_widget.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <utility>

#include "ui_breadcrumb_step_widget.h"

namespace {

// Frames and plain labels let the stacked widget's background show through.
const char kTransparentParts[] =
    "QFrame#main_text_frame, QFrame#sub_text_frame, QFrame#main_text_frame_2,"
    " QWidget#full_content_page, QWidget#half_content_page,"
    " QLabel#main_text_label, QLabel#sub_text_label, QLabel#main_text_label_2"
    " { background-color: transparent; }\n";

QString DoneStyle() {
  return QString(kTransparentParts) +
         "QStackedWidget#content_stackedWidget { background-color: rgb(238,238,238); }\n"
         "QLabel#main_text_label, QLabel#sub_text_label { color: rgb(84,84,84); }\n"
         "QLabel#icon_label { background-color: transparent;"
         " background-image: url(:/kolv_lite/Resources/Images/General/icnSelected.png);"
         " background-repeat: no-repeat; background-position: center; color: white; }\n";
}

QString NumberedStyle(const QString& background, const QString& text_colour,
                      const QString& icon) {
  return QString(kTransparentParts) +
         "QStackedWidget#content_stackedWidget { background: " + background + "; }\n" +
         "QLabel#main_text_label_2 { color: " + text_colour + "; }\n" +
         "QLabel#icon_label_2 { background-color: transparent; background-image: url(" + icon +
         "); background-repeat: no-repeat; background-position: center; color: white; }\n";
}

QString CurrentStyle() {
  return NumberedStyle(
      "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgba(237, 237, 237, 255),"
      " stop:1 rgba(217, 217, 217, 255))",
      "rgb(30,115,220)", ":/kolv_lite/Resources/Images/General/icnCurrentStep.png");
}

QString FutureStyle() {
  return NumberedStyle("rgb(238,238,238)", "rgb(167,167,167)",
                       ":/kolv_lite/Resources/Images/General/icnNextStep.png");
}

}  // namespace

BreadcrumbStepWidget::BreadcrumbStepWidget(QString text, int number, int state, int shape,
                                           QWidget* parent)
    : QWidget(parent), form_(std::make_unique<Ui::BreadcrumbStepWidget>()) {
  form_->setupUi(this);
  form_->main_text_label->setFont(FullSizeFont(kDoneText));
  form_->main_text_label_2->setFont(FullSizeFont(kNumberedText));
  form_->sub_text_label->setFont(FullSizeFont(kSubtext));
  form_->content_layout->setAlignment(Qt::AlignHCenter);
  form_->main_text_layout->setAlignment(Qt::AlignHCenter);
  form_->main_text_layout_2->setAlignment(Qt::AlignHCenter);
  form_->sub_text_label->setText(" ");
  SetText(std::move(text));
  number_ = number;
  set_state(state);
  set_shape(shape);
  fonts_.insert(form_->main_text_label, form_->main_text_label->font());
  fonts_.insert(form_->sub_text_label, form_->sub_text_label->font());
  fonts_.insert(form_->main_text_label_2, form_->main_text_label_2->font());
  FitText(form_->main_text_label);
  FitText(form_->sub_text_label);
  FitText(form_->main_text_label_2);
}

BreadcrumbStepWidget::~BreadcrumbStepWidget() = default;

QFont BreadcrumbStepWidget::FullSizeFont(int role) {
  if (role == kSubtext) return QFont("Segoe UI", 9);
  QFont font("Segoe UI", 10);
  font.setBold(true);
  return font;
}

QLabel* BreadcrumbStepWidget::main_text_label() const { return form_->main_text_label; }

QLabel* BreadcrumbStepWidget::main_text_label_2() const { return form_->main_text_label_2; }

QLabel* BreadcrumbStepWidget::sub_text_label() const { return form_->sub_text_label; }

QLabel* BreadcrumbStepWidget::icon_label() const { return form_->icon_label; }

QLabel* BreadcrumbStepWidget::icon_label_2() const { return form_->icon_label_2; }

QFrame* BreadcrumbStepWidget::sub_text_frame() const { return form_->sub_text_frame; }

QStackedWidget* BreadcrumbStepWidget::content_stacked_widget() const {
  return form_->content_stackedWidget;
}

void BreadcrumbStepWidget::set_number(int number) {
  number_ = number;
  if (state_ == kCurrent || state_ == kFuture) {
    form_->icon_label_2->setText(QString::number(number_));
  }
}

void BreadcrumbStepWidget::set_shape(int shape) {
  switch (shape) {
    case kFirst:
      form_->verticalLayout_2->setContentsMargins(1, 2, 0, 1);
      break;
    case kMiddle:
      form_->verticalLayout_2->setContentsMargins(0, 2, 0, 1);
      break;
    case kLast:
      form_->verticalLayout_2->setContentsMargins(0, 2, 1, 1);
      break;
    default:
      break;
  }
  shape_ = shape;
  // A step that becomes first after a removal needs its rounded corner without a resize.
  ApplyMask();
  update();
}

void BreadcrumbStepWidget::set_state(int state) {
  switch (state) {
    case kDone:
      form_->content_stackedWidget->setCurrentIndex(0);
      form_->icon_label->setText(QString());
      form_->sub_text_label->setText(subtext_);
      form_->content_stackedWidget->setStyleSheet(DoneStyle());
      break;
    case kCurrent:
    case kFuture:
      form_->content_stackedWidget->setCurrentIndex(1);
      form_->icon_label_2->setText(QString::number(number_));
      form_->icon_label_2->setStyleSheet("font: bold 9px");
      form_->content_stackedWidget->setStyleSheet(state == kCurrent ? CurrentStyle() : FutureStyle());
      break;
    default:
      break;
  }
  ApplySubtextVisibility();
  state_ = state;
  update();
}

void BreadcrumbStepWidget::ApplySubtextVisibility() {
  form_->sub_text_frame->setVisible(!subtext_hidden_);
}

void BreadcrumbStepWidget::set_subtext_hidden(bool hidden) {
  subtext_hidden_ = hidden;
  ApplySubtextVisibility();
}

void BreadcrumbStepWidget::SetText(QString text) {
  form_->main_text_label->setText(text);
  form_->main_text_label_2->setText(text);
  FitText(form_->main_text_label);
  FitText(form_->main_text_label_2);
  text_ = std::move(text);
}

void BreadcrumbStepWidget::SetSubtext(QString subtext) {
  form_->sub_text_label->setText(subtext);
  FitText(form_->sub_text_label);
  subtext_ = std::move(subtext);
}

QMap<QLabel*, QFont> BreadcrumbStepWidget::fonts() const { return fonts_; }

int BreadcrumbStepWidget::AvailableWidth(QLabel* label) const {
  const QMargins outer = form_->verticalLayout_2->contentsMargins();
  const QMargins inner = form_->content_layout->contentsMargins();
  // Both main rows are alike: a fixed-width icon, then the name.
  const int icon_and_spacing =
      form_->icon_label->maximumWidth() + form_->main_text_layout->spacing();
  int available = width() - outer.left() - outer.right();
  if (label == form_->main_text_label) {
    available -= inner.left() + inner.right() + icon_and_spacing;
  } else if (label == form_->sub_text_label) {
    available -= inner.left() + inner.right() +
                 form_->sub_text_frame_layout->contentsMargins().left();
  } else if (label == form_->main_text_label_2) {
    available -= icon_and_spacing;
  }
  return available;
}

void BreadcrumbStepWidget::FitText(QLabel* label) {
  if (label == nullptr || !fonts_.contains(label)) return;
  label->ensurePolished();
  const QFont label_font = label->font();
  const int text_width = QFontMetrics(label_font).boundingRect(label->text()).width();
  if (text_width <= 0) return;
  const double ratio = static_cast<double>(AvailableWidth(label)) / text_width;
  if (ratio >= 1.0 || ratio <= 0.0) return;
  QFont fitted = label_font;
  fitted.setPointSizeF(label_font.pointSizeF() * ratio);
  if (fitted.pointSizeF() < fonts_.value(label).pointSizeF()) fonts_.insert(label, fitted);
}

void BreadcrumbStepWidget::SetFonts(QList<QFont*> fonts) {
  fonts_.clear();
  QLabel* const by_role[] = {form_->main_text_label, form_->main_text_label_2,
                             form_->sub_text_label};
  for (int role = kDoneText; role <= kSubtext; ++role) {
    if (role < fonts.size() && fonts[role] != nullptr) fonts_.insert(by_role[role], *fonts[role]);
  }
}

void BreadcrumbStepWidget::ApplyFonts() {
  for (auto it = fonts_.cbegin(); it != fonts_.cend(); ++it) it.key()->setFont(it.value());
  update();
}

void BreadcrumbStepWidget::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const bool is_current = state_ == kCurrent;
  const QColor border = is_current ? QColor(188, 188, 188) : QColor(238, 238, 238);
  const QColor highlight = is_current ? QColor(Qt::white) : QColor(238, 238, 238);
  const int right = width() - 1;
  const int bottom = height() - 1;
  painter.setPen(highlight);
  painter.drawLine(0, 1, right, 1);
  painter.setPen(border);
  painter.drawLine(0, 0, right, 0);
  painter.drawLine(0, bottom, right, bottom);
  if (shape_ == kFirst) {
    painter.drawLine(0, 0, 0, bottom);
    painter.drawPoint(1, 1);
  }
  if (shape_ == kLast) painter.drawLine(right, 0, right, bottom);
}

void BreadcrumbStepWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyMask();
}

void BreadcrumbStepWidget::ApplyMask() {
  if (shape_ != kFirst) {
    clearMask();
    return;
  }
  QRegion region(rect());
  region -= QRegion(0, 0, 1, 1);
  region -= QRegion(0, 1, 1, 1);
  region -= QRegion(1, 0, 1, 1);
  setMask(region);
}

