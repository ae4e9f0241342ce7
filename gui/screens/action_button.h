// The buttons a screen puts on the controller's action bar.
#pragma once

#include <initializer_list>

class KolvLiteController;
class QPushButton;

enum class ActionButtonSize { kNatural, kAtLeastStandard };

// A hidden, parentless action-bar button with translated text and tool tip; the controller
// shows it and gives it a parent when the screen adds it. The caller owns it.
QPushButton* MakeActionButton(const char* key, const char* tooltip_key,
                              ActionButtonSize size = ActionButtonSize::kNatural);

// Takes the screen's buttons off the action bar when they are on it, then deletes them. A null
// controller (already gone) leaves only the deleting.
void DeleteActionButtons(KolvLiteController* controller,
                         std::initializer_list<QPushButton*> buttons);
