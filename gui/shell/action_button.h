// The buttons a screen puts on the controller's action bar.
#pragma once

#include <initializer_list>

#include <QString>

class KolvLiteController;
class QPushButton;
class QWidget;

enum class ActionButtonSize {
  kNatural,
  // Grows with its text from the standard size up.
  kAtLeastStandard,
  // The standard size whatever the text, as dialogs lay their buttons out.
  kStandard,
};

// A white action button with the given text and tool tip. A parentless one is hidden: the
// controller shows it and gives it a parent when the screen adds it. The caller owns it.
QPushButton* MakeActionButtonWithText(const QString& text, const QString& tool_tip,
                                      ActionButtonSize size, QWidget* parent = nullptr);

// The same with the text and tool tip of translation keys.
QPushButton* MakeActionButton(const char* key, const char* tooltip_key,
                              ActionButtonSize size = ActionButtonSize::kNatural);

// Takes the screen's buttons off the action bar when they are on it, then deletes them. A null
// controller (already gone) leaves only the deleting.
void DeleteActionButtons(KolvLiteController* controller,
                         std::initializer_list<QPushButton*> buttons);
