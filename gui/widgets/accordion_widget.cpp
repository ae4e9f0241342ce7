#include "gui/widgets/accordion_widget.h"

#include <QFrame>
#include <QVBoxLayout>

#include <utility>

#include "ui_accordion_widget.h"

namespace {

QFrame* MakeSunkenLine(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFocusPolicy(Qt::NoFocus);
  return line;
}

}  // namespace

AccordionWidget::AccordionWidget(QWidget* parent, int mode)
    : QWidget(parent), mode_(mode), form_(std::make_unique<Ui::AccordionWidget>()) {
  form_->setupUi(this);
  form_->own_layout->setAlignment(Qt::AlignTop);
  form_->frame_layout->setAlignment(Qt::AlignTop);
}

AccordionWidget::~AccordionWidget() = default;

SubAccordionWidget* AccordionWidget::section(int index) const {
  return index >= 0 && index < sections_.size() ? sections_[index] : nullptr;
}

QFrame* AccordionWidget::separator(int index) const {
  return index >= 0 && index < separators_.size() ? separators_[index] : nullptr;
}

int AccordionWidget::AddSection(QString title, bool checkable_header) {
  const int index = sections_.size();
  auto* added = new SubAccordionWidget(
      index, mode_ == kAlwaysOpen ? SubAccordionWidget::kAlwaysOpen
                                  : SubAccordionWidget::kCollapsible,
      nullptr);
  // set_checkable_header builds the title too.
  added->set_checkable_header(checkable_header);
  added->SetTitle(std::move(title));
  added->SetHeaderButtonHidden(header_buttons_hidden_);
  connect(added, &SubAccordionWidget::RequestShowStatusChange, this,
          &AccordionWidget::DealWithStatusChange);
  if (!sections_.isEmpty()) {
    QFrame* line = MakeSunkenLine(form_->frame);
    form_->frame_layout->addWidget(line);
    separators_.append(line);
  }
  sections_.append(added);
  form_->frame_layout->addWidget(added);
  return index;
}

void AccordionWidget::DealWithStatusChange(int index, bool show_content) {
  SubAccordionWidget* target = section(index);
  if (target == nullptr) return;
  if (mode_ == kIndependent) {
    target->SetContentShown(show_content);
    current_ = -1;
    return;
  }
  if (mode_ == kAlwaysOpen) {
    // Sections of this mode never close; opening one only makes it current.
    if (show_content) {
      current_ = index;
      emit ChangedCurrentTab(index);
    }
    return;
  }
  if (mode_ == kSingleKeepsOpen && !show_content) {
    // The open section stays open and current; closing another one is harmless.
    if (index != current_) target->SetContentShown(false);
    return;
  }
  SubAccordionWidget* open = section(current_);
  if (open != nullptr && (mode_ != kSingleKeepsOpen || current_ != index)) {
    open->SetContentShown(false);
  }
  if (show_content) {
    current_ = index;
    emit ChangedCurrentTab(index);
    target->SetContentShown(true);
  } else {
    current_ = -1;
  }
}

bool AccordionWidget::OpenSection(int index) {
  if (index < 0 || index >= sections_.size()) return false;
  DealWithStatusChange(index, true);
  return true;
}

void AccordionWidget::SetSectionHidden(int index, bool hidden) {
  SubAccordionWidget* target = section(index);
  if (target == nullptr) return;
  target->setHidden(hidden);
  if (index > 0) separators_[index - 1]->setHidden(hidden);
}

void AccordionWidget::SetSectionLoading(int index, bool loading) {
  SubAccordionWidget* target = section(index);
  if (target == nullptr) return;
  if (loading) {
    target->setEnabled(false);
    target->ShowLoadingGif();
  } else {
    target->HideLoadingGif();
    target->setEnabled(true);
  }
}

int AccordionWidget::AddWidgetToSection(QWidget* widget, int index) {
  if (sections_.isEmpty() || index < 0) return -1;
  if (index >= sections_.size()) index = sections_.size() - 1;
  sections_[index]->AddContent(widget);
  return index;
}

void AccordionWidget::SetHeaderButtonsHidden(bool hidden) {
  header_buttons_hidden_ = hidden;
  for (SubAccordionWidget* each : std::as_const(sections_)) each->SetHeaderButtonHidden(hidden);
}

void AccordionWidget::Clear() {
  while (!sections_.isEmpty()) {
    SubAccordionWidget* first = sections_.takeFirst();
    form_->frame_layout->removeWidget(first);
    delete first;
    if (!separators_.isEmpty()) {
      QFrame* line = separators_.takeFirst();
      form_->frame_layout->removeWidget(line);
      delete line;
    }
    for (int i = 0; i < sections_.size(); ++i) sections_[i]->set_index(i);
  }
  current_ = -1;
}
