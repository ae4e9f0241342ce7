#include "tools/mendra/gui/mdr_operations_screen.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_translator.h"
#include "tools/mendra/gui/mdr_device_selection_screen.h"
#include "tools/mendra/gui/mdr_execution_log_screen.h"
#include "tools/mendra/gui/mdr_execution_screen.h"
#include "tools/mendra/gui/mdr_flow_steps.h"
#include "tools/mendra/gui/mdr_plugin.h"
#include "tools/mendra/gui/mdr_warning_screen.h"
#include "ui_mdr_operations_screen.h"

namespace {
const char* const kFlowKeys[] = {"SCAN_BAD_SECTORS_LABEL", "SCAN_AND_REPAIR_BAD_SECTORS_LABEL",
                                 "FILESYSTEM_REPAIR_LABEL"};
}  // namespace

MdrOperationsScreen::MdrOperationsScreen(KolvLiteController* controller)
    : ForkScreen(controller),
      next_(MdrActionButton("NEXT")),
      back_(MdrActionButton("BACK")),
      warning_(new MdrWarningScreen(controller)),
      devices_(new MdrDeviceSelectionScreen(controller)),
      execution_(new MdrExecutionScreen(controller)),
      log_(new MdrExecutionLogScreen(controller)),
      group_(new QButtonGroup(nullptr)),
      controller_guard_(controller) {
  setObjectName(QStringLiteral("MdrOperationsScreen"));
  Ui::MdrOperationsScreen form;
  form.setupUi(this);
  description_ = form.label_operation_list_description;
  radios_[0] = form.radio_button_scan;
  radios_[1] = form.radio_button_scan_and_repair;
  radios_[2] = form.radio_button_filerepair;
  // The flow names come from whichever catalogue holds them, not from this screen's own.
  for (int flow = 0; flow < 3; ++flow) radios_[flow]->setText(KolvLiteTranslate(kFlowKeys[flow]));
  radios_[0]->setChecked(true);
  // Filesystem repair is not offered on screen.
  radios_[2]->hide();

  set_step(KolvLiteTranslate("OPERATIONS_MDR"));
  const QList<KolvLiteScreen*> flows[] = {
      {devices_, execution_, log_},
      {warning_, devices_, execution_, log_},
      {warning_, devices_, execution_, log_},
  };
  for (int flow = 0; flow < 3; ++flow) {
    const int index = CreateNewFlow(KolvLiteTranslate(kFlowKeys[flow]));
    for (KolvLiteScreen* screen : flows[flow]) AddNewScreenToFlow(index, screen);
  }

  connect(back_, &QPushButton::clicked, controller, &KolvLiteController::GoToPreviousScreen);
  connect(next_, &QPushButton::clicked, this, &MdrOperationsScreen::GoToNextScreen);
  group_->setExclusive(true);
  for (int flow = 0; flow < 3; ++flow) group_->addButton(radios_[flow], flow);
  connect(group_, &QButtonGroup::idClicked, this, &MdrOperationsScreen::UpdateRadioButtons);
  connect(this, &MdrOperationsScreen::UpdatedRadioButtons, this,
          [this](int flow) { InstallFlow(flow); });
  connect(this, &ForkScreen::IsPossibleFlow, next_, &QPushButton::setEnabled);
  owned_screens_ << devices_ << execution_ << log_ << warning_;
}

MdrOperationsScreen::~MdrOperationsScreen() {
  DeleteActionButtons(controller_guard_.data(), {next_, back_});
  DeleteFlowScreens();
  delete group_;
}

QRadioButton* MdrOperationsScreen::radio(int flow) const {
  return flow >= 0 && flow < 3 ? radios_[flow] : nullptr;
}

void MdrOperationsScreen::UpdateRadioButtons(int flow) {
  devices_->SetPartitionMode(flow == kMdrFilesystemRepair);
  const bool repairing = flow == kMdrScanAndRepair || flow == kMdrFilesystemRepair;
  QRadioButton* chosen = radios_[repairing ? flow : kMdrScan];
  chosen->setChecked(true);
  emit UpdatedRadioButtons(flow);
}

void MdrOperationsScreen::GoToNextScreen() {
  const int flow = current_flow();
  int operation = kMdrScan;
  if (flow == kMdrScanAndRepair) {
    warning_->SetMode(false);
    warning_->SetTitle("SCAN_AND_REPAIR_BAD_SECTORS_LABEL");
    operation = kMdrScanAndRepair;
  } else if (flow == kMdrFilesystemRepair) {
    warning_->SetMode(true);
    warning_->SetTitle("FILESYSTEM_REPAIR_LABEL");
    operation = kMdrFilesystemRepair;
  }
  KolvLiteContext* context = controller->execution_context();
  MdrPlugin::UpdateModel(operation, context->current_module, context->selected_tool);
  if (operation != kMdrScan) {
    controller->GoToNextScreen();
    return;
  }
  RescanDevicesThenGoOn(controller);
}

void MdrOperationsScreen::OnEnter() {
  controller->AddAndShowActionWidget(back_);
  controller->AddAndShowActionWidget(next_);
  controller->ShowActionBar();
  controller->ShowBreadcrumb();
}

void MdrOperationsScreen::OnExit() {
  controller->RemoveAndHideActionWidget(back_);
  controller->RemoveAndHideActionWidget(next_);
  controller->HideBreadcrumb();
}

bool MdrOperationsScreen::isBusy(QString&) { return false; }

void MdrOperationsScreen::Stop() { emit Stopped(this); }
