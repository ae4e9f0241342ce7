// Loads and installs the program's, the start-up's and each module's translation catalogues, and
// turns text keys into display text by looking them up in the installed contexts.
#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <string>

class QTranslator;

class KolvLiteTranslator : public QObject {
  Q_OBJECT

 public:
  // Remembers the system locale; the catalogues are chosen by it.
  static void InitTranslator();
  // The locale whose catalogues are loaded (set by InitTranslator).
  static QString locale();
  // Chooses another locale than the system's for the catalogues loaded from now on.
  static void set_locale(const QString& locale_name);

  // Loads the main catalogue (or its en_US fallback) into translator and installs it.
  static bool InstallKolvLiteTranslator(QTranslator* translator);
  // The same for the catalogue compiled into the program.
  static bool InstallKolvLiteInternalTranslator(QTranslator* translator);

  // Loads a module's catalogue from its registered resource file; does not install it.
  static bool LoadTranslator(QString module);
  static bool InstallTranslator(QString module);
  static void UninstallTranslator(QString module);
  // Uninstalls and frees every module translator.
  static void ClearTranslators();

  // Lookup order of the contexts, most recently pushed first.
  static QStringList translation_contexts();

  static KolvLiteTranslator* get_instance();
  static void ReleaseInstance();

 public slots:
  void InstallModuleTranslator(QString module);
  void UninstallModuleTranslator(QString module);

 signals:
  void InstallSucceeded();
  void InstallFailed();

 private:
  KolvLiteTranslator() = default;
  static void PushContext(const QString& context);
  static void RemoveContext(const QString& context);
  // Only the program's own catalogues make the fallback language the default locale; a module
  // that speaks only English says nothing about the language of the rest of the program.
  enum class FallbackLocale { kBecomesDefault, kLeftAlone };
  static bool LoadWithFallback(QTranslator* translator, const QString& folder,
                               const QString& prefix, FallbackLocale fallback_locale);

  static QMap<QString, QTranslator*> translators_;
  static QStringList contexts_;
  static QString locale_;
  static KolvLiteTranslator* instance_;
};

// The key's text from the newest installed context that has one; the key itself otherwise.
QString KolvLiteTranslate(std::string key);
// The same lookup, telling whether a catalogue holds the whole key: only then is the text the
// program's own. Without one, text is the key itself, unchanged.
bool KolvLiteLookUp(const std::string& key, QString* text);
// The key's text in one context only; the key itself when that context has none.
QString KolvLiteTranslate(std::string context, std::string key);
// The key's text from the catalogue compiled into the program.
QString KolvLiteTranslateInternal(std::string key);
// "<position> OF <total>" with the translated "OF", as the pagers show it.
QString KolvLitePositionOf(qsizetype position, qsizetype total);
