#include "gui/widgets/progress_widget.h"

#include <QCoreApplication>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSpacerItem>

#include <utility>

#include "gui/widgets/progress_bar_style.h"

namespace {

QLabel* MakeBoldLabel(QWidget* parent, const char* name, int point_size) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  QFont font("Segoe UI", point_size);
  font.setBold(true);
  label->setFont(font);
  label->setStyleSheet(
      QString(".QLabel { \nfont: bold %1pt \"Segoe UI\"; }").arg(point_size));
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

ProgressWidget::ProgressWidget(QWidget* parent) : QWidget(parent) {
  setObjectName("ProgressWidget");
  resize(540, 66);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  setMinimumHeight(62);
  setMaximumHeight(66);
  setAttribute(Qt::WA_StyledBackground, true);
  setStyleSheet("background-color: rgb(230, 230, 230);\nborder-radius: 4px;");

  horizontalLayout_ = new QHBoxLayout(this);
  horizontalLayout_->setObjectName("horizontalLayout");
  horizontalLayout_->setSpacing(0);
  horizontalLayout_->setContentsMargins(0, 0, 0, 0);
  content_frame_ = new QFrame(this);
  content_frame_->setObjectName("content_frame");
  content_frame_->setMinimumHeight(60);
  content_frame_->setFrameShape(QFrame::NoFrame);
  gridLayout_ = new QGridLayout(content_frame_);
  gridLayout_->setObjectName("gridLayout");
  gridLayout_->setSpacing(0);
  gridLayout_->setContentsMargins(10, 5, 10, 5);

  progress_label_ = MakeBoldLabel(content_frame_, "progress_label", 16);
  progress_label_->setAlignment(Qt::AlignCenter);
  progress_label_->setMinimumHeight(25);
  progress_label_->setText("0%");
  gridLayout_->addWidget(progress_label_, 0, 0);

  status_label_ = MakeBoldLabel(content_frame_, "status_label", 11);
  status_label_->setAlignment(Qt::AlignCenter);
  gridLayout_->addWidget(status_label_, 0, 2);

  info_label_ = MakeBoldLabel(content_frame_, "info_label", 9);
  info_label_->setMinimumHeight(20);
  info_label_->setText(QCoreApplication::translate("ProgressWidget", "OVERALL_STATUS"));
  gridLayout_->addWidget(info_label_, 3, 0);
  gridLayout_->addItem(new QSpacerItem(15, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), 3, 1);

  progressBar_ = new QProgressBar(content_frame_);
  progressBar_->setObjectName("progressBar");
  progressBar_->setFixedHeight(12);
  progressBar_->setStyleSheet(kRunningProgressBarStyle);
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  progressBar_->setFormat("%p%");
  gridLayout_->addWidget(progressBar_, 3, 2);
  horizontalLayout_->addWidget(content_frame_);

  setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
  status_label_->setText(QCoreApplication::translate("Translations", "WAITING"));
}

ProgressWidget::~ProgressWidget() = default;

void ProgressWidget::SetProgress(int progress) {
  progressBar_->setValue(progress);
  if (progressBar_->value() == 100) {
    status_label_->setText(QCoreApplication::translate("Translations", "FINISHED"));
    SetCompletedProgressBarStyle();
  } else {
    status_label_->setText(QCoreApplication::translate("Translations", "IN_PROGRESS"));
  }
  progress_label_->setText(QString::number(progress) + "%");
}

void ProgressWidget::ShowAborted() {
  // A finished run keeps its finished status: the abort came too late to cut it short.
  if (progressBar_->value() >= 100) return;
  status_label_->setText(QCoreApplication::translate("Translations", "ABORTED"));
}

void ProgressWidget::SetStatusText(QString text) { status_label_->setText(text); }

void ProgressWidget::SetInfoText(QString text) { info_label_->setText(text); }

void ProgressWidget::SetCompletedProgressBarStyle() {
  progressBar_->setStyleSheet(kCompletedProgressBarStyle);
}
