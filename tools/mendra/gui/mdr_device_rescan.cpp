#include "tools/mendra/gui/mdr_device_rescan.h"

#include "gui/screens/devices_loading_screen.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"

void RescanDevicesThenGoOn(KolvLiteController* controller) {
  DevicesLoadingScreen* loading = controller->execution_context()->devices_loading_screen;
  if (loading == nullptr) return;
  QObject::connect(loading, &DevicesLoadingScreen::ScanSucceeded, controller,
                   &KolvLiteController::GoToNextScreen, Qt::UniqueConnection);
  controller->GoToScreen(loading);
}
