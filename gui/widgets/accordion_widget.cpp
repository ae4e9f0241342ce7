#include "gui/widgets/accordion_widget.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QMovie>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>

#include "gui/widgets/elided_label.h"
#include "gui/widgets/literal_button_text.h"

namespace {

const char kButtonFrameStyle[] =
    "ButtonFrame {\n"
    "  background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0.46 #ffffff, stop:0.47 #c0c2c4, stop:0.67 #e7e8e9);\n"
    "}\n"
    "ButtonFrame:hover, ButtonFrame:focus {\n"
    "  background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0.46 #e6e6e6, stop:0.47 #babcbe, stop:0.67 #d1d3d4);\n"
    "}\n"
    "ButtonFrame:pressed {\n"
    "  border-color: #737373;\n"
    "  background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0.47 #c0c2c4, stop:0.67 #e7e8e9);\n"
    "}\n";

const char kLoadingGif[] = ":/kolv_lite/Resources/Images/General/smallLoading.gif";

QFrame* MakeSunkenLine(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFocusPolicy(Qt::NoFocus);
  return line;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// ButtonFrame

ButtonFrame::ButtonFrame() : QFrame(nullptr) {
  setObjectName("ButtonFrame");
  setStyleSheet(kButtonFrameStyle);
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::NoFrame);
  setFrameShadow(QFrame::Sunken);
  setCursor(Qt::PointingHandCursor);
  setFixedHeight(36);
  setFixedWidth(250);
  layout_ = new QHBoxLayout(this);
  button_ = new QPushButton();
  button_->setObjectName("header_button");
  layout_->addWidget(button_);
  connect(button_, &QPushButton::clicked, this, &ButtonFrame::BypassClickSignal);
}

ButtonFrame::~ButtonFrame() = default;

void ButtonFrame::BypassClickSignal() { emit Clicked(); }

void ButtonFrame::SetWidget(QWidget* widget) {
  layout_->removeWidget(button_);
  if (widget_ != nullptr) layout_->removeWidget(widget_);
  layout_->setContentsMargins(15, 4, 15, 4);
  if (widget != nullptr) layout_->addWidget(widget);
  layout_->addWidget(button_);
  widget_ = widget;
}

void ButtonFrame::SetButtonHidden(bool hidden) { button_->setHidden(hidden); }

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

// ---------------------------------------------------------------------------------------------
// SubAccordionWidget

SubAccordionWidget::SubAccordionWidget(int index, int kind, QWidget* parent)
    : QWidget(parent), kind_(kind), show_content_(kind == kAlwaysOpen), index_(index) {
  setObjectName("SubAccordionWidget");

  header_ = new ButtonFrame();
  header_->setParent(this);

  loading_label_ = new QLabel(header_);
  loading_label_->setObjectName("loading_label");
  loading_movie_ = new QMovie(kLoadingGif, QByteArray(), loading_label_);
  loading_movie_->jumpToFrame(0);
  loading_label_->setFixedSize(loading_movie_->currentImage().size());
  loading_label_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  loading_label_->setMovie(loading_movie_);
  loading_label_->hide();

  separator_line_ = MakeSunkenLine(this);
  separator_line_->setObjectName("separator_line");

  body_ = new QFrame(this);
  body_->setObjectName("body");
  body_->setAccessibleName("sub_accordeon_widget_body");
  body_->setFrameShape(QFrame::NoFrame);
  body_->setMinimumHeight(0);
  body_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::MinimumExpanding);
  body_->setStyleSheet(".QFrame{background-color: rgb(0xF5,0xF5,0xF5);}");
  body_->setFocusPolicy(Qt::NoFocus);
  auto* body_layout = new QVBoxLayout(body_);
  body_layout->setContentsMargins(10, 10, 10, 10);
  body_layout->setSpacing(0);
  body_layout->setSizeConstraint(QLayout::SetMaximumSize);

  scroll_area_ = new QScrollArea(body_);
  scroll_area_->setObjectName("scroll_area");
  scroll_area_->setMinimumHeight(0);
  scroll_area_->setWidgetResizable(true);
  scroll_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_area_->setFrameShape(QFrame::NoFrame);
  scroll_area_->setStyleSheet(".QScrollArea{background-color: rgba(0,0,0,0);}");
  scroll_area_->verticalScrollBar()->setAccessibleName("rounded_black_scrollbar");
  content_widget_ = new QWidget();
  content_widget_->setObjectName("content_widget");
  content_widget_->setStyleSheet(".QWidget{background-color: rgba(0,0,0,0);}");
  content_layout_ = new QVBoxLayout(content_widget_);
  content_layout_->setContentsMargins(0, 0, 0, 0);
  scroll_area_->setWidget(content_widget_);
  body_layout->addWidget(scroll_area_);

  auto* section_layout = new QVBoxLayout(this);
  section_layout->setSpacing(0);
  section_layout->setContentsMargins(0, 0, 0, 0);
  section_layout->setAlignment(Qt::AlignTop);
  section_layout->addWidget(header_);
  section_layout->addWidget(separator_line_);
  section_layout->addWidget(body_);

  separator_line_->setVisible(show_content_);
  body_->setVisible(show_content_);

  connect(header_, &ButtonFrame::Clicked, this, &SubAccordionWidget::TryToShowContent);
}

SubAccordionWidget::~SubAccordionWidget() = default;

int SubAccordionWidget::set_index(int index) {
  return std::exchange(index_, index);
}

void SubAccordionWidget::SetTitle(QString title) {
  if (header_widget_ != nullptr) {
    delete header_widget_;
    header_widget_ = nullptr;
    master_check_box_ = nullptr;
  }
  title_ = std::move(title);
  if (checkable_header_) {
    auto* check_box = new QCheckBox(LiteralButtonText(title_));
    check_box->setObjectName("master_check_box");
    check_box->setCheckable(true);
    check_box->setStyleSheet(".QCheckBox{font: bold 9pt \"Segoe UI\";}");
    connect(check_box, &QCheckBox::stateChanged, this,
            &SubAccordionWidget::CorrectMasterCheckState);
    connect(check_box, &QCheckBox::stateChanged, this,
            &SubAccordionWidget::ByPassCheckableHeaderState);
    header_widget_ = check_box;
    master_check_box_ = check_box;
  } else {
    auto* label = new ElidedLabel(title_);
    label->setObjectName("header_title");
    label->setStyleSheet(".ElidedLabel{font: bold 9pt \"Segoe UI\";}");
    label->set_alignment(ElidedLabel::AlignVCenter);
    header_widget_ = label;
  }
  header_->SetWidget(header_widget_);
  // The loading animation sits right after the title.
  if (auto* header_layout = qobject_cast<QHBoxLayout*>(header_->layout())) {
    header_layout->removeWidget(loading_label_);
    header_layout->insertWidget(header_layout->indexOf(header_widget_) + 1, loading_label_);
  }
}

bool SubAccordionWidget::set_checkable_header(bool checkable) {
  const bool old = checkable_header_;
  checkable_header_ = checkable;
  SetTitle(title_);
  return old;
}

int SubAccordionWidget::AddContent(QWidget* widget) {
  content_.append(widget);
  content_layout_->addWidget(widget, 0, Qt::AlignTop);
  scroll_area_->setMaximumHeight(content_widget_->sizeHint().height());
  return content_.size() - 1;
}

void SubAccordionWidget::SetContentShown(bool shown) {
  if (shown == show_content_) return;
  show_content_ = shown;
  body_->setVisible(shown);
  separator_line_->setVisible(shown);
}

void SubAccordionWidget::SetHeaderButtonHidden(bool hidden) { header_->SetButtonHidden(hidden); }

bool SubAccordionWidget::loading() const { return !loading_label_->isHidden(); }

void SubAccordionWidget::ShowLoadingGif() {
  loading_movie_->start();
  loading_label_->show();
}

void SubAccordionWidget::HideLoadingGif() {
  loading_label_->hide();
  loading_movie_->stop();
}

void SubAccordionWidget::TryToShowContent() {
  if (kind_ == kAlwaysOpen) return;
  emit RequestShowStatusChange(index_, !show_content_);
}

void SubAccordionWidget::ChangeMasterCheckBoxState() {
  if (master_check_box_ == nullptr) return;
  int checked = 0;
  for (const QAbstractButton* box : std::as_const(child_check_boxes_)) {
    if (box != nullptr && box->isChecked()) ++checked;
  }
  if (checked == child_check_boxes_.size()) {
    master_check_box_->setCheckState(Qt::Checked);
    master_check_box_->setTristate(false);
  } else if (checked > 0) {
    master_check_box_->setCheckState(Qt::PartiallyChecked);
  } else {
    master_check_box_->setCheckState(Qt::Unchecked);
  }
}

void SubAccordionWidget::RestoreDefaultMaxHeightBody() {
  scroll_area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  body_->show();
}

void SubAccordionWidget::CorrectMasterCheckState(int state) {
  // Out of the partial state a user click must go straight between checked and unchecked.
  if (state != Qt::PartiallyChecked && master_check_box_ != nullptr) {
    master_check_box_->setTristate(false);
  }
}

void SubAccordionWidget::ByPassCheckableHeaderState(int state) { emit HeaderCheckState(state); }

// ---------------------------------------------------------------------------------------------
// AccordionWidget

AccordionWidget::AccordionWidget(QWidget* parent, int mode) : QWidget(parent), mode_(mode) {
  setObjectName("AccordionWidget");
  frame_ = new QFrame(this);
  frame_->setObjectName("frame");
  frame_->setFrameShape(QFrame::Box);
  frame_->setFrameShadow(QFrame::Sunken);
  frame_layout_ = new QVBoxLayout(frame_);
  frame_layout_->setContentsMargins(0, 0, 1, 1);
  frame_layout_->setSpacing(0);
  frame_layout_->setAlignment(Qt::AlignTop);
  auto* own_layout = new QVBoxLayout(this);
  own_layout->setContentsMargins(0, 0, 0, 0);
  own_layout->setSpacing(0);
  own_layout->setAlignment(Qt::AlignTop);
  own_layout->addWidget(frame_);
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
    QFrame* line = MakeSunkenLine(frame_);
    frame_layout_->addWidget(line);
    separators_.append(line);
  }
  sections_.append(added);
  frame_layout_->addWidget(added);
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
    frame_layout_->removeWidget(first);
    delete first;
    if (!separators_.isEmpty()) {
      QFrame* line = separators_.takeFirst();
      frame_layout_->removeWidget(line);
      delete line;
    }
    for (int i = 0; i < sections_.size(); ++i) sections_[i]->set_index(i);
  }
  current_ = -1;
}
