#include "gui/widgets/breadcrumb.h"

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

namespace {

constexpr int kStepInitialWidth = 219;
constexpr int kStepInitialHeight = 89;
constexpr int kIconSize = 16;
constexpr int kMainTextSpacing = 7;
constexpr int kSeparatorWidth = 28;

const char kSeparatorNormal[] =
    "border-image: url(:/kolv_lite/Resources/Images/General/arrow3.png);";
const char kSeparatorBeforeCurrent[] =
    "border-image: url(:/kolv_lite/Resources/Images/General/arrow1.png);";
const char kSeparatorAfterCurrent[] =
    "border-image: url(:/kolv_lite/Resources/Images/General/arrow2.png);";

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

QFont MainTextFont() {
  QFont font("Segoe UI", 10);
  font.setBold(true);
  return font;
}

QFont SubtextFont() { return QFont("Segoe UI", 9); }

QLabel* MakeIconLabel(QWidget* parent, const QString& name) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFixedSize(kIconSize, kIconSize);
  label->setMargin(1);
  label->setIndent(0);
  label->setAlignment(Qt::AlignCenter);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QFrame* MakePlainFrame(QWidget* parent, const QString& name) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameShape(QFrame::NoFrame);
  return frame;
}

// The icon and bold step name, as both pages of a step show them; the second page's objects are
// named with a suffix.
struct MainTextRow {
  QFrame* frame;
  QHBoxLayout* layout;
  QLabel* icon;
  QLabel* label;
};

MainTextRow MakeMainTextRow(QWidget* page, const QString& suffix) {
  MainTextRow row;
  row.frame = MakePlainFrame(page, "main_text_frame" + suffix);
  row.layout = new QHBoxLayout(row.frame);
  row.layout->setObjectName("main_text_layout" + suffix);
  row.layout->setSpacing(kMainTextSpacing);
  row.layout->setContentsMargins(0, 0, 0, 0);
  row.icon = MakeIconLabel(row.frame, "icon_label" + suffix);
  row.label = new QLabel(row.frame);
  row.label->setObjectName("main_text_label" + suffix);
  row.label->setFont(MainTextFont());
  row.label->setStyleSheet("font-weight: bold;");
  row.label->setTextFormat(Qt::PlainText);
  row.layout->addWidget(row.icon);
  row.layout->addWidget(row.label);
  return row;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// BreadcrumbStepWidget

BreadcrumbStepWidget::BreadcrumbStepWidget(QString text, int number, int state, int shape,
                                           QWidget* parent)
    : QWidget(parent) {
  BuildWidgetTree();
  content_layout_->setAlignment(Qt::AlignHCenter);
  main_text_layout_->setAlignment(Qt::AlignHCenter);
  main_text_layout_2_->setAlignment(Qt::AlignHCenter);
  sub_text_label_->setText(" ");
  SetText(std::move(text));
  number_ = number;
  set_state(state);
  set_shape(shape);
  fonts_.insert(main_text_label_, main_text_label_->font());
  fonts_.insert(sub_text_label_, sub_text_label_->font());
  fonts_.insert(main_text_label_2_, main_text_label_2_->font());
  FitText(main_text_label_);
  FitText(sub_text_label_);
  FitText(main_text_label_2_);
}

BreadcrumbStepWidget::~BreadcrumbStepWidget() = default;

void BreadcrumbStepWidget::BuildWidgetTree() {
  setObjectName("BreadcrumbStepWidget");
  resize(kStepInitialWidth, kStepInitialHeight);
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);

  verticalLayout_2_ = new QVBoxLayout(this);
  verticalLayout_2_->setObjectName("verticalLayout_2");
  verticalLayout_2_->setSpacing(0);
  content_stackedWidget_ = new QStackedWidget(this);
  content_stackedWidget_->setObjectName("content_stackedWidget");
  verticalLayout_2_->addWidget(content_stackedWidget_);

  // Page 0: a finished step, ticked, with the chosen option below its name.
  full_content_page_ = new QWidget();
  full_content_page_->setObjectName("full_content_page");
  content_layout_ = new QVBoxLayout(full_content_page_);
  content_layout_->setObjectName("content_layout");
  content_layout_->setSpacing(0);
  content_layout_->setContentsMargins(10, 5, 10, 5);
  const MainTextRow done_row = MakeMainTextRow(full_content_page_, QString());
  main_text_frame_ = done_row.frame;
  main_text_layout_ = done_row.layout;
  icon_label_ = done_row.icon;
  main_text_label_ = done_row.label;
  main_text_label_->setText("STEP_NAME");
  content_layout_->addWidget(main_text_frame_);
  sub_text_frame_ = MakePlainFrame(full_content_page_, "sub_text_frame");
  sub_text_frame_layout_ = new QHBoxLayout(sub_text_frame_);
  sub_text_frame_layout_->setObjectName("sub_text_frame_layout");
  sub_text_frame_layout_->setSpacing(0);
  sub_text_frame_layout_->setContentsMargins(23, 0, 0, 0);
  sub_text_label_ = new QLabel(sub_text_frame_);
  sub_text_label_->setObjectName("sub_text_label");
  sub_text_label_->setFont(SubtextFont());
  sub_text_label_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  sub_text_label_->setTextFormat(Qt::PlainText);
  sub_text_label_->setText("SELECTED_OPTION");
  sub_text_frame_layout_->addWidget(sub_text_label_);
  content_layout_->addWidget(sub_text_frame_);
  content_stackedWidget_->addWidget(full_content_page_);

  // Page 1: the current or a future step, numbered.
  half_content_page_ = new QWidget();
  half_content_page_->setObjectName("half_content_page");
  verticalLayout_ = new QVBoxLayout(half_content_page_);
  verticalLayout_->setObjectName("verticalLayout");
  verticalLayout_->setSpacing(0);
  verticalLayout_->setContentsMargins(0, 0, 0, 0);
  const MainTextRow numbered_row = MakeMainTextRow(half_content_page_, QStringLiteral("_2"));
  main_text_frame_2_ = numbered_row.frame;
  main_text_layout_2_ = numbered_row.layout;
  icon_label_2_ = numbered_row.icon;
  main_text_label_2_ = numbered_row.label;
  verticalLayout_->addWidget(main_text_frame_2_);
  content_stackedWidget_->addWidget(half_content_page_);
}

void BreadcrumbStepWidget::set_number(int number) {
  number_ = number;
  if (state_ == kCurrent || state_ == kFuture) icon_label_2_->setText(QString::number(number_));
}

void BreadcrumbStepWidget::set_shape(int shape) {
  switch (shape) {
    case kFirst:
      verticalLayout_2_->setContentsMargins(1, 2, 0, 1);
      break;
    case kMiddle:
      verticalLayout_2_->setContentsMargins(0, 2, 0, 1);
      break;
    case kLast:
      verticalLayout_2_->setContentsMargins(0, 2, 1, 1);
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
      content_stackedWidget_->setCurrentIndex(0);
      icon_label_->setText(QString());
      sub_text_label_->setText(subtext_);
      content_stackedWidget_->setStyleSheet(DoneStyle());
      break;
    case kCurrent:
    case kFuture:
      content_stackedWidget_->setCurrentIndex(1);
      icon_label_2_->setText(QString::number(number_));
      icon_label_2_->setStyleSheet("font: bold 9px");
      content_stackedWidget_->setStyleSheet(state == kCurrent ? CurrentStyle() : FutureStyle());
      break;
    default:
      break;
  }
  ApplySubtextVisibility();
  state_ = state;
  update();
}

void BreadcrumbStepWidget::ApplySubtextVisibility() {
  sub_text_frame_->setVisible(!subtext_hidden_);
}

void BreadcrumbStepWidget::set_subtext_hidden(bool hidden) {
  subtext_hidden_ = hidden;
  ApplySubtextVisibility();
}

void BreadcrumbStepWidget::SetText(QString text) {
  main_text_label_->setText(text);
  main_text_label_2_->setText(text);
  FitText(main_text_label_);
  FitText(main_text_label_2_);
  text_ = std::move(text);
}

void BreadcrumbStepWidget::SetSubtext(QString subtext) {
  sub_text_label_->setText(subtext);
  FitText(sub_text_label_);
  subtext_ = std::move(subtext);
}

QMap<QLabel*, QFont> BreadcrumbStepWidget::fonts() const { return fonts_; }

int BreadcrumbStepWidget::AvailableWidth(QLabel* label) const {
  const QMargins outer = verticalLayout_2_->contentsMargins();
  int available = width() - outer.left() - outer.right();
  if (label == main_text_label_) {
    const QMargins inner = content_layout_->contentsMargins();
    available -= inner.left() + inner.right() + kIconSize + kMainTextSpacing;
  } else if (label == sub_text_label_) {
    const QMargins inner = content_layout_->contentsMargins();
    available -= inner.left() + inner.right() + sub_text_frame_layout_->contentsMargins().left();
  } else if (label == main_text_label_2_) {
    available -= kIconSize + kMainTextSpacing;
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
  if (fonts.size() > 0 && fonts[0] != nullptr) fonts_.insert(main_text_label_, *fonts[0]);
  if (fonts.size() > 1 && fonts[1] != nullptr) fonts_.insert(main_text_label_2_, *fonts[1]);
  if (fonts.size() > 2 && fonts[2] != nullptr) fonts_.insert(sub_text_label_, *fonts[2]);
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

// ---------------------------------------------------------------------------------------------
// BreadcrumbWidget

BreadcrumbWidget::BreadcrumbWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("BreadcrumbWidget");
  resize(400, 48);
  setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Preferred);
  setWindowTitle(QString());
  steps_layout_ = new QHBoxLayout(this);
  steps_layout_->setObjectName("steps_layout");
  steps_layout_->setSpacing(0);
  steps_layout_->setContentsMargins(0, 0, 0, 0);
  fonts_ << new QFont << new QFont << new QFont;
  ResetFonts();
}

BreadcrumbWidget::~BreadcrumbWidget() {
  Clear();
  qDeleteAll(fonts_);
  fonts_.clear();
}

BreadcrumbStepWidget* BreadcrumbWidget::step(int index) const {
  return index >= 0 && index < steps_.size() ? steps_[index] : nullptr;
}

QWidget* BreadcrumbWidget::separator(int index) const {
  return index >= 0 && index < separators_.size() ? separators_[index] : nullptr;
}

QFont BreadcrumbWidget::font_for_role(int role) const {
  return role >= 0 && role < fonts_.size() ? *fonts_[role] : QFont();
}

void BreadcrumbWidget::ResetFonts() {
  *fonts_[0] = MainTextFont();
  *fonts_[1] = MainTextFont();
  *fonts_[2] = SubtextFont();
}

void BreadcrumbWidget::AddStep(QString text) {
  const int count = steps_.size();
  int shape = BreadcrumbStepWidget::kFirst;
  if (count > 0) {
    auto* separator = new QWidget(this);
    separator->setObjectName("breadcrumb_separator");
    separator->setFixedWidth(kSeparatorWidth);
    separator->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    separator->setAttribute(Qt::WA_StyledBackground, true);
    separator->setStyleSheet(kSeparatorNormal);
    steps_layout_->addWidget(separator);
    separators_.append(separator);
    shape = BreadcrumbStepWidget::kLast;
  }
  auto* step = new BreadcrumbStepWidget(std::move(text), count + 1, BreadcrumbStepWidget::kFuture,
                                        shape, nullptr);
  steps_layout_->addWidget(step);
  steps_.append(step);
  RestyleAllSteps();
  FoldStepFonts(step);
  ApplyFontsToAll();
}

void BreadcrumbWidget::RemoveStep(int index) {
  if (index < 0 || index >= steps_.size()) return;
  BreadcrumbStepWidget* removed = steps_.takeAt(index);
  if (index == current_) {
    current_ = -1;
    previous_ = -1;
  } else {
    if (current_ > index) --current_;
    if (previous_ > index) --previous_;
  }
  if (!steps_.isEmpty()) {
    int separator_index = index;
    if (removed->shape() == BreadcrumbStepWidget::kLast) {
      steps_.last()->set_shape(BreadcrumbStepWidget::kLast);
      separator_index = index - 1;
    }
    if (removed->shape() == BreadcrumbStepWidget::kFirst) {
      steps_.first()->set_shape(BreadcrumbStepWidget::kFirst);
    }
    if (separator_index >= 0 && separator_index < separators_.size()) {
      QWidget* separator = separators_.takeAt(separator_index);
      steps_layout_->removeWidget(separator);
      delete separator;
    }
  }
  steps_layout_->removeWidget(removed);
  delete removed;
  RenumberSteps();
  RestyleAllSteps();
  RefitAllSteps();
}

// The removed step may have been the one that forced the smaller fonts: every step measures its
// texts again at full size and the shared sizes follow the steps that remain.
void BreadcrumbWidget::RefitAllSteps() {
  ResetFonts();
  ApplyFontsToAll();
  for (BreadcrumbStepWidget* each : std::as_const(steps_)) {
    each->FitText(each->main_text_label());
    each->FitText(each->main_text_label_2());
    each->FitText(each->sub_text_label());
    FoldStepFonts(each);
  }
  ApplyFontsToAll();
}

void BreadcrumbWidget::RenumberSteps() {
  for (int i = 0; i < steps_.size(); ++i) steps_[i]->set_number(i + 1);
}

void BreadcrumbWidget::Clear() {
  for (BreadcrumbStepWidget* step : std::as_const(steps_)) {
    steps_layout_->removeWidget(step);
    delete step;
  }
  steps_.clear();
  for (QWidget* separator : std::as_const(separators_)) {
    steps_layout_->removeWidget(separator);
    delete separator;
  }
  separators_.clear();
  current_ = -1;
  previous_ = -1;
  // A new flow starts from full-size fonts; a long text of the old flow must not shrink it.
  if (fonts_.size() == 3) ResetFonts();
}

void BreadcrumbWidget::Reset() {
  current_ = 0;
  previous_ = -1;
  RestyleAllSteps();
}

void BreadcrumbWidget::NextStep() {
  if (current_ >= steps_.size() - 1) return;
  previous_ = current_;
  ++current_;
  RestyleStep(current_);
  RestyleStep(previous_);
}

void BreadcrumbWidget::PreviousStep() {
  if (current_ <= 0) return;
  previous_ = current_;
  --current_;
  RestyleStep(current_);
  RestyleStep(previous_);
}

void BreadcrumbWidget::SetCurrentStepSubtext(QString subtext) {
  BreadcrumbStepWidget* current_step = step(current_);
  if (current_step == nullptr) return;
  current_step->SetSubtext(std::move(subtext));
  for (BreadcrumbStepWidget* each : std::as_const(steps_)) FoldStepFonts(each);
  ApplyFontsToAll();
}

void BreadcrumbWidget::HideCurrentStepSubtext() {
  if (BreadcrumbStepWidget* current_step = step(current_)) current_step->set_subtext_hidden(true);
}

void BreadcrumbWidget::ShowCurrentStepSubtext() {
  if (BreadcrumbStepWidget* current_step = step(current_)) current_step->set_subtext_hidden(false);
}

void BreadcrumbWidget::RestyleStep(int index) {
  if (index < 0 || index >= steps_.size()) return;
  BreadcrumbStepWidget* target = steps_[index];
  const int last = steps_.size() - 1;
  target->set_shape(index == 0 ? BreadcrumbStepWidget::kFirst
                               : (index == last ? BreadcrumbStepWidget::kLast
                                                : BreadcrumbStepWidget::kMiddle));
  int state = BreadcrumbStepWidget::kFuture;
  if (index == current_) {
    state = BreadcrumbStepWidget::kCurrent;
  } else if (index < current_) {
    state = BreadcrumbStepWidget::kDone;
  }
  target->set_state(state);
  RestyleSeparators();
}

void BreadcrumbWidget::RestyleAllSteps() {
  for (int i = 0; i < steps_.size(); ++i) RestyleStep(i);
  RestyleSeparators();
}

// Each arrow's style follows from the current step alone, so a jump (Reset, a removal) never
// leaves an old highlight behind.
void BreadcrumbWidget::RestyleSeparators() {
  for (int i = 0; i < separators_.size(); ++i) {
    const char* style = kSeparatorNormal;
    if (current_ > 0 && i == current_ - 1) {
      style = kSeparatorBeforeCurrent;
    } else if (current_ >= 0 && i == current_) {
      style = kSeparatorAfterCurrent;
    }
    if (separators_[i]->styleSheet() != QLatin1String(style)) separators_[i]->setStyleSheet(style);
  }
}

void BreadcrumbWidget::FoldStepFonts(BreadcrumbStepWidget* step) {
  const QMap<QLabel*, QFont> step_fonts = step->fonts();
  const QLabel* by_role[3] = {step->main_text_label(), step->main_text_label_2(),
                              step->sub_text_label()};
  for (int role = 0; role < 3; ++role) {
    const auto found = step_fonts.constFind(const_cast<QLabel*>(by_role[role]));
    if (found == step_fonts.cend()) continue;
    if (fonts_[role]->pointSizeF() > found.value().pointSizeF()) {
      fonts_[role]->setPointSizeF(found.value().pointSizeF());
    }
  }
}

void BreadcrumbWidget::ApplyFontsToAll() {
  for (BreadcrumbStepWidget* each : std::as_const(steps_)) {
    each->SetFonts(fonts_);
    each->ApplyFonts();
  }
}
