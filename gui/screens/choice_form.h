// The form of the screens that offer a choice of flows: radio buttons, each with a description
// below it, and a hint beside one of them.
#pragma once

class QLabel;
class QRadioButton;
class QString;
class QWidget;

// The screen-wide style the choice widgets are named for.
void StyleChoiceScreen(QWidget* screen);

QRadioButton* MakeChoiceRadio(QWidget* parent, const QString& object_name);
// Plain text, wrapped and indented under its radio button.
QLabel* MakeChoiceDescription(QWidget* parent, const QString& object_name);
