#include "tools/mendra/gui/mdr_action_button.h"

#include <QString>

#include "gui/screens/action_button.h"
#include "gui/shell/kolv_lite_translator.h"

QPushButton* MdrActionButton(const char* key) {
  return MakeActionButtonWithText(KolvLiteTranslate("Translations", key), QString(),
                                  ActionButtonSize::kAtLeastStandard);
}
