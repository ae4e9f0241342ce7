#include "gui/shell/kolv_lite_bootable_dialog.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>

#include "gui/shell/kolv_lite_dialog_frame.h"
#include "gui/shell/kolv_lite_dialog_header.h"
#include "gui/shell/kolv_lite_translator.h"
#include "ui_kolv_lite_bootable_dialog.h"

KolvLiteBootableDialog::KolvLiteBootableDialog(QWidget* parent, QString log_name)
    : QDialog(parent),
      result_(0),
      ui_(std::make_unique<Ui::KolvLiteBootableDialog>()),
      dragging(false),
      drag_offset(0, 0) {
  ui_->setupUi(this);
  // Its style sheet paints a background, which a plain widget only does when asked.
  ui_->content_widget->setAttribute(Qt::WA_StyledBackground, true);
  dialog_frame::SetDialogFlags(this);
  dialog_frame::KeepAnswerable(this);
  connect(ui_->header_widget->close_button(), &QPushButton::clicked, this,
          &KolvLiteBootableDialog::OnClose);
  connect(&button_group, &QButtonGroup::idClicked, this, &KolvLiteBootableDialog::OnAnswer);
  AddButtons();

  ui_->header_widget->icon_label()->setPixmap(
      QPixmap(QStringLiteral(":/kolv_lite/Resources/Images/General/icnQuestion.png")));
  ui_->logNameLabel->setText(KolvLiteTranslate("LOG_FILE_NAME"));
  ui_->descriptionLabel->setText(KolvLiteTranslate("BOOTABLE_POUP_UP_TEXT"));
  ui_->header_widget->title_label()->setText(KolvLiteTranslate("BOOTABLE_POP_UP_TITLE"));
  ui_->logNameField->setText(log_name);
  adjustSize();
}

KolvLiteBootableDialog::~KolvLiteBootableDialog() = default;

// The answer ids run the other way round from the question dialog's: OK is 1, CANCEL 0.
void KolvLiteBootableDialog::AddButtons() {
  QPushButton* ok = dialog_frame::MakeWhiteButton("OK", ui_->buttons_widget);
  ok->setObjectName(QStringLiteral("ok_pushButton"));
  QPushButton* cancel = dialog_frame::MakeWhiteButton("CANCEL", ui_->buttons_widget);
  cancel->setObjectName(QStringLiteral("cancel_pushButton"));
  ui_->buttons_layout->addWidget(ok);
  ui_->buttons_layout->addWidget(cancel);
  button_group.addButton(ok, 1);
  button_group.addButton(cancel, 0);
}

QString KolvLiteBootableDialog::getText() { return ui_->logNameField->text(); }

InputButtonsId KolvLiteBootableDialog::getResult() { return result_; }

void KolvLiteBootableDialog::OnAnswer(int id) {
  if (id == 1) {
    result_ = 1;
  } else if (id == 0) {
    result_ = 0;
  }
  close();
}

void KolvLiteBootableDialog::OnClose() { close(); }

void KolvLiteBootableDialog::mousePressEvent(QMouseEvent* event) {
  dialog_frame::PressForDrag(this, ui_->header_widget, event, dragging, drag_offset);
  QDialog::mousePressEvent(event);
}

void KolvLiteBootableDialog::mouseReleaseEvent(QMouseEvent* event) {
  dialog_frame::ReleaseDrag(this, ui_->header_widget, event, dragging);
  QDialog::mouseReleaseEvent(event);
}

void KolvLiteBootableDialog::mouseMoveEvent(QMouseEvent* event) {
  dialog_frame::FollowDrag(this, event, dragging, drag_offset);
  QDialog::mouseMoveEvent(event);
}

void KolvLiteBootableDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  dialog_frame::ApplyWindowShape(this, dialog_frame::MaskWidth::kAsDrawn);
}

void KolvLiteBootableDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) dialog_frame::KeepAnswerable(this);
}
