#include "gui/widgets/progress_widget.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>

#include <utility>

#include "gui/widgets/progress_bar_style.h"
#include "ui_progress_widget.h"

ProgressWidget::ProgressWidget(QWidget* parent)
    : QWidget(parent), form_(std::make_unique<Ui::ProgressWidget>()) {
  setAttribute(Qt::WA_StyledBackground, true);
  form_->setupUi(this);
  // The bar's style follows the run: it changes once the bar is full.
  form_->progressBar->setStyleSheet(kRunningProgressBarStyle);
  setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
  form_->status_label->setText(QCoreApplication::translate("Translations", "WAITING"));
}

ProgressWidget::~ProgressWidget() = default;

void ProgressWidget::SetProgress(int progress) {
  form_->progressBar->setValue(progress);
  if (form_->progressBar->value() == 100) {
    form_->status_label->setText(QCoreApplication::translate("Translations", "FINISHED"));
    SetCompletedProgressBarStyle();
  } else {
    form_->status_label->setText(QCoreApplication::translate("Translations", "IN_PROGRESS"));
  }
  form_->progress_label->setText(QString::number(progress) + "%");
}

void ProgressWidget::ShowAborted() {
  // A finished run keeps its finished status: the abort came too late to cut it short.
  if (form_->progressBar->value() >= 100) return;
  form_->status_label->setText(QCoreApplication::translate("Translations", "ABORTED"));
}

void ProgressWidget::SetStatusText(QString text) { form_->status_label->setText(text); }

void ProgressWidget::SetInfoText(QString text) { form_->info_label->setText(text); }

void ProgressWidget::SetCompletedProgressBarStyle() {
  form_->progressBar->setStyleSheet(kCompletedProgressBarStyle);
}

QLabel* ProgressWidget::progress_label() const { return form_->progress_label; }

QLabel* ProgressWidget::status_label() const { return form_->status_label; }

QLabel* ProgressWidget::info_label() const { return form_->info_label; }

QProgressBar* ProgressWidget::progress_bar() const { return form_->progressBar; }
