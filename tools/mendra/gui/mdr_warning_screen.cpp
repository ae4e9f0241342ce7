#include "tools/mendra/gui/mdr_warning_screen.h"

#include <QLabel>
#include <QPushButton>

#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "tools/mendra/gui/mdr_flow_steps.h"
#include "ui_mdr_warning_screen.h"

MdrWarningScreen::MdrWarningScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller), controller_guard_(controller) {
  Ui::MdrWarningScreen form;
  form.setupUi(this);
  icon_ = form.icon;
  title_ = form.label_2;
  warning_ = form.warning_text;
  lock_ = form.lock_text;
  // The tool's name comes from whichever catalogue holds it, not from this screen's own.
  title_->setText(KolvLiteTranslate("MENDRA"));

  next_ = MdrActionButton("NEXT");
  back_ = MdrActionButton("BACK");
  connect(back_, &QPushButton::clicked, controller, &KolvLiteController::GoToPreviousScreen);
  connect(next_, &QPushButton::clicked, this, &MdrWarningScreen::DisplayPopUp);
}

MdrWarningScreen::~MdrWarningScreen() {
  DeleteActionButtons(controller_guard_.data(), {next_, back_});
}

void MdrWarningScreen::SetMode(bool dismount) {
  warning_->setText(KolvLiteTranslate(dismount ? "WARNING_FILESYSTEM_TEXT" : "WARNING_TEXT"));
  lock_->setText(KolvLiteTranslate(dismount ? "WARNING_DISMOUNT_PARTITION" : "WARNING_LOCK_PARTITION"));
}

void MdrWarningScreen::SetTitle(const std::string& key) { title_->setText(KolvLiteTranslate(key)); }

void MdrWarningScreen::DisplayPopUp() {
  InputRequest request("WARNING", "WARNING_POP_UP_TEXT", 2, 1);
  int answer = 0;
  {
    KolvLiteDialog dialog(&request, this);
    dialog.RefuseKeysTypedAhead();
    dialog.exec();
    answer = request.answer;
  }
  if (answer == 1) RescanDevicesThenGoOn(controller);
}

void MdrWarningScreen::OnEnter() {
  controller->AddAndShowActionWidget(back_);
  controller->AddAndShowActionWidget(next_);
  controller->ShowActionBar();
  controller->HideBreadcrumb();
  controller->HideModuleName();
}

void MdrWarningScreen::OnExit() {
  controller->RemoveAndHideActionWidget(back_);
  controller->RemoveAndHideActionWidget(next_);
  controller->ShowModuleName();
}

bool MdrWarningScreen::isBusy(QString&) { return false; }

void MdrWarningScreen::Stop() { emit Stopped(this); }

void MdrWarningScreen::Unload() { loaded = false; }
