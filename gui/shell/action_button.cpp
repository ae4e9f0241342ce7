#include "gui/shell/action_button.h"

#include <QPushButton>

#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"

QPushButton* MakeActionButtonWithText(const QString& text, const QString& tool_tip,
                                      ActionButtonSize size, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setAccessibleName(QStringLiteral("white_button"));
  if (size == ActionButtonSize::kAtLeastStandard) {
    button->setStyleSheet(QStringLiteral(".QPushButton{min-width: 90px;min-height: 28px;}"));
  } else if (size == ActionButtonSize::kStandard) {
    button->setFixedSize(90, 28);
  }
  button->setText(text);
  if (!tool_tip.isEmpty()) button->setToolTip(tool_tip);
  if (parent == nullptr) button->hide();
  return button;
}

QPushButton* MakeActionButton(const char* key, const char* tooltip_key, ActionButtonSize size) {
  return MakeActionButtonWithText(KolvLiteTranslate(key), KolvLiteTranslate(tooltip_key), size);
}

void DeleteActionButtons(KolvLiteController* controller,
                         std::initializer_list<QPushButton*> buttons) {
  for (QPushButton* button : buttons) {
    if (controller != nullptr) controller->RemoveAndHideActionWidget(button);
    delete button;
  }
}
