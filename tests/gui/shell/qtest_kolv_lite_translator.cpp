// The translator: the start-up catalogue compiled into the program, the main catalogue with its
// en_US fallback, and module catalogues that override it while installed.
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSet>
#include <QXmlStreamReader>
#include <QResource>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "tests/gui/shell/support/catalogue_builder.h"
#include "tests/gui/support/program_resources.h"
#include "tests/support/scratch.h"

namespace {

QString InternalText(const QString& locale, const char* key) {
  KolvLiteTranslator::set_locale(locale);
  QTranslator translator;
  if (!KolvLiteTranslator::InstallKolvLiteInternalTranslator(&translator)) return QString();
  return KolvLiteTranslateInternal(key);
}

// "context/source" of every message that carries a finished translation.
QSet<QString> TranslatedMessages(const QString& ts_path) {
  QSet<QString> messages;
  QFile file(ts_path);
  if (!file.open(QIODevice::ReadOnly)) return messages;
  QXmlStreamReader xml(&file);
  QString context, source;
  bool finished = false;
  QString translation;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      if (xml.name() == u"name") context = xml.readElementText();
      else if (xml.name() == u"source") source = xml.readElementText();
      else if (xml.name() == u"translation") {
        finished = xml.attributes().value("type").isEmpty();
        translation = xml.readElementText();
      }
    } else if (xml.isEndElement() && xml.name() == u"message") {
      if (finished && !translation.trimmed().isEmpty()) messages.insert(context + "/" + source);
      finished = false;
      translation.clear();
    }
  }
  return messages;
}

}  // namespace

class TranslatorTest : public QObject {
  Q_OBJECT

 private:
  QString module_rcc_;

 private slots:
  void initTestCase() {
    KolvLiteTranslator::InitTranslator();
    if (!CatalogueBuilder::ToolsAvailable()) return;
    // A module "Demo" with its catalogue under its lower-case name.
    const QString dir = test_support::ScratchPath("translator");
    QVERIFY(CatalogueBuilder::WriteCatalogue(dir + "/demo_en_US.qm", "Demo",
                                             {{"CANCEL", "Abandon"}, {"YES", "YES"}}));
    module_rcc_ = dir + "/demo.rcc";
    QVERIFY(CatalogueBuilder::PackResourceFile(
        module_rcc_, "/demo", {{"resources/translations/demo_en_US.qm", dir + "/demo_en_US.qm"}}));
  }

  void cleanup() { KolvLiteTranslator::ClearTranslators(); }

  void InternalCatalogueSpeaksEveryLanguage() {
    QCOMPARE(InternalText("en_US", "ERROR"), QString("Error"));
    QCOMPARE(InternalText("en_US", "RESOURCE_FILE_NOT_FOUND_TEXT"),
             QString("Resource file not found. Try to reinstall the application."));
    QCOMPARE(InternalText("de_DE", "ERROR"), QString("Fehler"));
    QCOMPARE(InternalText("de_DE", "NO_LANGUAGE_FILE_LOADED"), QString("Sprachdatei nicht geladen"));
    // Catalogues named by language alone serve every country of it.
    QCOMPARE(InternalText("fr_FR", "ERROR"), QString("Erreur"));
    QCOMPARE(InternalText("fr_CA", "NO_LANGUAGE_FILE_LOADED"),
             QString::fromUtf8("Fichier de langue non chargé"));
    for (const char* locale : {"zh_CN", "nl_NL", "it_IT", "es_ES", "pt_BR"}) {
      const QString text = InternalText(locale, "RESOURCE_FILE_NOT_FOUND_TEXT");
      QVERIFY2(!text.isEmpty() && text != "RESOURCE_FILE_NOT_FOUND_TEXT", locale);
      QVERIFY2(text != InternalText("en_US", "RESOURCE_FILE_NOT_FOUND_TEXT"), locale);
    }
  }

  void UnknownLocaleFallsBackToEnglish() {
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    QCOMPARE(InternalText("xx_YY", "ERROR"), QString("Error"));
    QCOMPARE(QLocale().name(), QString("en_US"));
  }

  void MissingMainCatalogueLeavesNoContext() {
    KolvLiteTranslator::set_locale("en_US");
    const QStringList before = KolvLiteTranslator::translation_contexts();
    QTranslator translator;
    QVERIFY(!KolvLiteTranslator::InstallKolvLiteTranslator(&translator));
    QCOMPARE(KolvLiteTranslator::translation_contexts(), before);
    QCOMPARE(KolvLiteTranslate(TranslationKeys::CANCEL), QString("CANCEL"));
  }

  void MainCatalogueWithFallback() {
    QVERIFY(gui_test::RegisterProgramResources());
    KolvLiteTranslator::set_locale("sv_SE");
    static QTranslator translator;
    QVERIFY(KolvLiteTranslator::InstallKolvLiteTranslator(&translator));
    QCOMPARE(KolvLiteTranslator::translation_contexts().first(), QString("Translations"));
    QCOMPARE(KolvLiteTranslate(TranslationKeys::CANCEL), QString("Cancel"));
    QCOMPARE(KolvLiteTranslate("KolvLiteWindow", TranslationKeys::BIOS_SERIAL), QString("BIOS serial"));
    // The two-argument form looks in that one context only.
    QCOMPARE(KolvLiteTranslate("KolvLiteWindow", TranslationKeys::CANCEL), QString("CANCEL"));
    QCOMPARE(KolvLiteTranslate("NO_SUCH_KEY"), QString("NO_SUCH_KEY"));
  }

  // Keys and contexts are compared whole: a NUL byte never cuts one down to a shorter key that a
  // catalogue holds, and the text after it is never dropped.
  void KeysWithANulAreNeverCut() {
    if (!KolvLiteTranslator::translation_contexts().contains("Translations")) {
      QVERIFY(gui_test::RegisterProgramResources());
      KolvLiteTranslator::set_locale("en_US");
      static QTranslator translator;
      QVERIFY(KolvLiteTranslator::InstallKolvLiteTranslator(&translator));
    }
    const std::string key("CANCEL\0<b>x</b>", 15);
    const QString whole = QString::fromStdString(key);
    QCOMPARE(whole.size(), 15);
    QCOMPARE(KolvLiteTranslate(key), whole);
    QCOMPARE(KolvLiteTranslate("Translations", key), whole);
    QCOMPARE(KolvLiteTranslate(std::string("Translations\0x", 14), "CANCEL"), QString("CANCEL"));
    QCOMPARE(KolvLiteTranslateInternal(std::string("ERROR\0", 6)), QString::fromStdString(std::string("ERROR\0", 6)));
    QString text;
    QVERIFY(!KolvLiteLookUp(key, &text));
    QCOMPARE(text, whole);
    QVERIFY(KolvLiteLookUp(TranslationKeys::CANCEL, &text));
    QCOMPARE(text, QString("Cancel"));
    QVERIFY(!KolvLiteLookUp("NO_SUCH_KEY", &text));
    QCOMPARE(text, QString("NO_SUCH_KEY"));
  }

  void ModuleCatalogueOverridesWhileInstalled() {
    if (module_rcc_.isEmpty()) QSKIP("lrelease or rcc not available");
    QVERIFY(QResource::registerResource(module_rcc_));
    QVERIFY(!KolvLiteTranslator::InstallTranslator("Demo"));
    QVERIFY(!KolvLiteTranslator::translation_contexts().contains("Demo"));

    // The module speaks English only; falling back to it is the module's affair and leaves the
    // program's default locale alone.
    KolvLiteTranslator::set_locale("sv_SE");
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    QVERIFY(KolvLiteTranslator::LoadTranslator("Demo"));
    QCOMPARE(QLocale().name(), QString("sv_SE"));
    QVERIFY(KolvLiteTranslator::InstallTranslator("Demo"));
    QCOMPARE(KolvLiteTranslator::translation_contexts().first(), QString("Demo"));
    QCOMPARE(KolvLiteTranslate(TranslationKeys::CANCEL), QString("Abandon"));
    // A text equal to its key counts as missing: the main catalogue answers.
    QCOMPARE(KolvLiteTranslate(TranslationKeys::YES), QString("Yes"));

    KolvLiteTranslator::UninstallTranslator("Demo");
    KolvLiteTranslator::UninstallTranslator("Demo");
    QVERIFY(!KolvLiteTranslator::translation_contexts().contains("Demo"));
    QVERIFY(KolvLiteTranslator::translation_contexts().contains("Translations"));
    QCOMPARE(KolvLiteTranslate(TranslationKeys::CANCEL), QString("Cancel"));
  }

  void ReloadingReplacesTheInstalledTranslator() {
    if (module_rcc_.isEmpty()) QSKIP("lrelease or rcc not available");
    QVERIFY(KolvLiteTranslator::LoadTranslator("Demo"));
    QVERIFY(KolvLiteTranslator::InstallTranslator("Demo"));
    QVERIFY(KolvLiteTranslator::LoadTranslator("Demo"));
    // The replaced translator is gone, and with it its context.
    QVERIFY(!KolvLiteTranslator::translation_contexts().contains("Demo"));
    QCOMPARE(KolvLiteTranslate(TranslationKeys::CANCEL), QString("Cancel"));
    QVERIFY(KolvLiteTranslator::InstallTranslator("Demo"));
    QCOMPARE(KolvLiteTranslator::translation_contexts().count("Demo"), 1);
    KolvLiteTranslator::ClearTranslators();
    QVERIFY(!KolvLiteTranslator::translation_contexts().contains("Demo"));
    QVERIFY(!KolvLiteTranslator::LoadTranslator("Missing"));
  }

  // A language that lacks a text the English catalogue has shows the user a raw key.
  void EveryLanguageTranslatesWhatEnglishDoes() {
    const QDir folder(QStringLiteral(KOLV_SOURCE_DIR "/resources/kolv_lite/translations"));
    const QSet<QString> english = TranslatedMessages(folder.filePath("kolv_lite_en_US.ts"));
    QVERIFY(english.size() > 100);
    const QStringList catalogues = folder.entryList({"kolv_lite_*.ts"}, QDir::Files);
    QVERIFY(catalogues.size() >= 2);
    for (const QString& name : catalogues) {
      const QSet<QString> other = TranslatedMessages(folder.filePath(name));
      QStringList missing = (english - other).values();
      missing.sort();
      QVERIFY2(missing.isEmpty(), qPrintable(name + " lacks: " + missing.join(", ")));
    }
  }

  void SingletonSlotsReportTheOutcome() {
    if (module_rcc_.isEmpty()) QSKIP("lrelease or rcc not available");
    KolvLiteTranslator* translator = KolvLiteTranslator::get_instance();
    QCOMPARE(KolvLiteTranslator::get_instance(), translator);
    QSignalSpy ok(translator, &KolvLiteTranslator::InstallSucceeded);
    QSignalSpy failed(translator, &KolvLiteTranslator::InstallFailed);
    translator->InstallModuleTranslator("Demo");
    QCOMPARE(failed.count(), 1);
    QVERIFY(KolvLiteTranslator::LoadTranslator("Demo"));
    translator->InstallModuleTranslator("Demo");
    QCOMPARE(ok.count(), 1);
    translator->UninstallModuleTranslator("Demo");
    QVERIFY(!KolvLiteTranslator::translation_contexts().contains("Demo"));
    KolvLiteTranslator::ReleaseInstance();
  }
};

QTEST_MAIN(TranslatorTest)
#include "qtest_kolv_lite_translator.moc"
