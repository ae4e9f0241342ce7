#include "gui/screens/choice_form.h"

#include <QLabel>
#include <QRadioButton>
#include <QString>

namespace {

const char kScreenStyle[] =
    "*[accessibleName=\"screen_label\"] {\n\tfont: bold 18pt \"Segoe UI\";\n}\n\n"
    "*[accessibleName=\"test_hint\"]{\n\tcolor: rgb(140, 140, 140);\n\tfont: italic 10pt "
    "\"Segoe UI\";\n}\n\n"
    "*[accessibleName=\"test_label\"]{\n\tfont: bold 10pt \"Segoe UI\";\n}\n\n"
    "*[accessibleName=\"test_description\"]{\n\tfont: 8pt \"Segoe UI\";\n}";
const char kRadioStyle[] = ".QRadioButton { \n\tfont:  bold 10pt \"Segoe UI\";\n\tspacing: 5px;\n}";
const char kDescriptionStyle[] = ".QLabel { font: 8pt \"Segoe UI\";}";

}  // namespace

void StyleChoiceScreen(QWidget* screen) { screen->setStyleSheet(QLatin1String(kScreenStyle)); }

QRadioButton* MakeChoiceRadio(QWidget* parent, const QString& object_name) {
  auto* radio = new QRadioButton(parent);
  radio->setObjectName(object_name);
  radio->setAccessibleName(QStringLiteral("test_label"));
  radio->setStyleSheet(QLatin1String(kRadioStyle));
  return radio;
}

QLabel* MakeChoiceDescription(QWidget* parent, const QString& object_name) {
  auto* label = new QLabel(parent);
  label->setObjectName(object_name);
  label->setAccessibleName(QStringLiteral("test_description"));
  label->setStyleSheet(QLatin1String(kDescriptionStyle));
  label->setMargin(0);
  label->setIndent(20);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  return label;
}
