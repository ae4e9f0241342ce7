#include "gui/widgets/sub_accordion_widget.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <utility>

#include "gui/widgets/button_frame.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/literal_button_text.h"
#include "ui_sub_accordion_widget.h"

namespace {

const char kLoadingGif[] = ":/kolv_lite/Resources/Images/General/smallLoading.gif";

}  // namespace

SubAccordionWidget::SubAccordionWidget(int index, int kind, QWidget* parent)
    : QWidget(parent),
      header_(new ButtonFrame(this)),
      form_(std::make_unique<Ui::SubAccordionWidget>()),
      kind_(kind),
      show_content_(kind == kAlwaysOpen),
      index_(index) {
  // The header and its loading label are made first, so that they stay first among the
  // section's children and in the focus chain.
  MakeLoadingLabel();
  form_->setupUi(this);
  form_->section_layout->insertWidget(0, header_);
  form_->section_layout->setAlignment(Qt::AlignTop);
  form_->scroll_area->verticalScrollBar()->setAccessibleName("rounded_black_scrollbar");
  form_->separator_line->setVisible(show_content_);
  form_->body->setVisible(show_content_);
  connect(header_, &ButtonFrame::Clicked, this, &SubAccordionWidget::TryToShowContent);
}

// Sized by the animation's first frame; it joins the header's layout with the title.
void SubAccordionWidget::MakeLoadingLabel() {
  loading_label_ = new QLabel(header_);
  loading_label_->setObjectName("loading_label");
  loading_movie_ = new QMovie(kLoadingGif, QByteArray(), loading_label_);
  loading_movie_->jumpToFrame(0);
  loading_label_->setFixedSize(loading_movie_->currentImage().size());
  loading_label_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  loading_label_->setMovie(loading_movie_);
  loading_label_->hide();
}

SubAccordionWidget::~SubAccordionWidget() = default;

QFrame* SubAccordionWidget::body() const { return form_->body; }

QScrollArea* SubAccordionWidget::scroll_area() const { return form_->scroll_area; }

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
  form_->content_layout->addWidget(widget, 0, Qt::AlignTop);
  form_->scroll_area->setMaximumHeight(form_->content_widget->sizeHint().height());
  return content_.size() - 1;
}

void SubAccordionWidget::SetContentShown(bool shown) {
  if (shown == show_content_) return;
  show_content_ = shown;
  form_->body->setVisible(shown);
  form_->separator_line->setVisible(shown);
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
  form_->scroll_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  form_->body->show();
}

void SubAccordionWidget::CorrectMasterCheckState(int state) {
  // Out of the partial state a user click must go straight between checked and unchecked.
  if (state != Qt::PartiallyChecked && master_check_box_ != nullptr) {
    master_check_box_->setTristate(false);
  }
}

void SubAccordionWidget::ByPassCheckableHeaderState(int state) { emit HeaderCheckState(state); }
