#include "gui/screens/action_button.h"

#include <QPushButton>

#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"

QPushButton* MakeActionButton(const char* key, const char* tooltip_key, ActionButtonSize size) {
  auto* button = new QPushButton(nullptr);
  button->setAccessibleName(QStringLiteral("white_button"));
  if (size == ActionButtonSize::kAtLeastStandard) {
    button->setStyleSheet(QStringLiteral(".QPushButton{min-width: 90px;min-height: 28px;}"));
  }
  button->setText(KolvLiteTranslate(key));
  button->setToolTip(KolvLiteTranslate(tooltip_key));
  button->hide();
  return button;
}

void DeleteActionButtons(KolvLiteController* controller,
                         std::initializer_list<QPushButton*> buttons) {
  for (QPushButton* button : buttons) {
    if (controller != nullptr) controller->RemoveAndHideActionWidget(button);
    delete button;
  }
}
