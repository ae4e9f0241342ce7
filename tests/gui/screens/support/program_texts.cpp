#include "program_texts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QResource>
#include <QTranslator>
#include <QtTest>

#include "gui/shell/kolv_lite_translator.h"

void LoadProgramTexts(QTranslator* translator) {
  KolvLiteTranslator::set_locale("en_US");
  QVERIFY(QResource::registerResource(QStringLiteral(KOLV_BIN_DIR "/kolv_lite.rcc")));
  QVERIFY(KolvLiteTranslator::InstallKolvLiteTranslator(translator));
}

QString Shown(QAbstractButton* button) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
  return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}
