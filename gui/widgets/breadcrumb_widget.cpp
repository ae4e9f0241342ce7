#include "gui/widgets/breadcrumb_widget.h"

#include <QHBoxLayout>
#include <QLabel>

#include <utility>

#include "ui_breadcrumb_widget.h"

namespace {

constexpr int kSeparatorWidth = 28;

const char kSeparatorNormal[] =
    "border-image: url(:/kolv_lite/Resources/Images/General/arrow3.png);";
const char kSeparatorBeforeCurrent[] =
    "border-image: url(:/kolv_lite/Resources/Images/General/arrow1.png);";
const char kSeparatorAfterCurrent[] =
    "border-image: url(:/kolv_lite/Resources/Images/General/arrow2.png);";

}  // namespace

BreadcrumbWidget::BreadcrumbWidget(QWidget* parent)
    : QWidget(parent), form_(std::make_unique<Ui::BreadcrumbWidget>()) {
  form_->setupUi(this);
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
  for (int role = 0; role < fonts_.size(); ++role) {
    *fonts_[role] = BreadcrumbStepWidget::FullSizeFont(role);
  }
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
    form_->steps_layout->addWidget(separator);
    separators_.append(separator);
    shape = BreadcrumbStepWidget::kLast;
  }
  auto* step = new BreadcrumbStepWidget(std::move(text), count + 1, BreadcrumbStepWidget::kFuture,
                                        shape, nullptr);
  form_->steps_layout->addWidget(step);
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
      form_->steps_layout->removeWidget(separator);
      delete separator;
    }
  }
  form_->steps_layout->removeWidget(removed);
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
    form_->steps_layout->removeWidget(step);
    delete step;
  }
  steps_.clear();
  for (QWidget* separator : std::as_const(separators_)) {
    form_->steps_layout->removeWidget(separator);
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
