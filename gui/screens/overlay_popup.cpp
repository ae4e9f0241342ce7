#include "gui/screens/overlay_popup.h"

#include <QWidget>

#include "gui/shell/kolv_lite_controller.h"

void ShowPopupOnOverlay(KolvLiteController* controller, QWidget* popup) {
  controller->SetOverlayCentralWidget(popup);
  popup->show();
  controller->ShowOverlay();
}

bool TakePopupOffOverlay(KolvLiteController* controller, QWidget* popup, const QWidget* screen) {
  if (popup == nullptr || popup->parentWidget() == screen) return false;
  if (controller != nullptr) {
    controller->HideOverlay();
    controller->SetOverlayCentralWidget(nullptr);
  }
  return true;
}

void ReturnPopupToScreen(KolvLiteController* controller, QWidget* popup, QWidget* screen) {
  if (!TakePopupOffOverlay(controller, popup, screen)) return;
  popup->setParent(screen);
  popup->hide();
}
