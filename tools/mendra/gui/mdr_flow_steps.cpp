#include "tools/mendra/gui/mdr_flow_steps.h"

#include <QString>

#include "gui/screens/devices_loading_screen.h"
#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"

QPushButton* MdrActionButton(const char* key) {
  return MakeActionButtonWithText(KolvLiteTranslate("Translations", key), QString(),
                                  ActionButtonSize::kAtLeastStandard);
}

void RescanDevicesThenGoOn(KolvLiteController* controller) {
  DevicesLoadingScreen* loading = controller->execution_context()->devices_loading_screen;
  if (loading == nullptr) return;
  QObject::connect(loading, &DevicesLoadingScreen::ScanSucceeded, controller,
                   &KolvLiteController::GoToNextScreen, Qt::UniqueConnection);
  controller->GoToScreen(loading);
}
