#include "program_texts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QRegularExpression>
#include <QResource>
#include <QTranslator>
#include <QtTest>

#include "gui/shell/kolv_lite_translator.h"
#include "tests/gui/support/drawn_texts.h"

void LoadProgramTexts(QTranslator* translator) {
  KolvLiteTranslator::set_locale("en_US");
  QVERIFY(QResource::registerResource(QStringLiteral(KOLV_BIN_DIR "/kolv_lite.rcc")));
  QVERIFY(KolvLiteTranslator::InstallKolvLiteTranslator(translator));
}

QString Shown(QAbstractButton* button) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
  const QString named = accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
  gui_test::DrawnTexts style;
  // The isolates around an engine name draw nothing.
  const QString drawn =
      style.Of(button).join(QLatin1Char('|')).remove(QRegularExpression("[\u2066-\u2069]"));
  if (drawn != named) return QStringLiteral("drawn \"%1\", named \"%2\"").arg(drawn, named);
  return drawn;
}
