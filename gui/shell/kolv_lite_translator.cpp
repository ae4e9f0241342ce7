#include "gui/shell/kolv_lite_translator.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include "gui/shell/translation_keys.h"

QMap<QString, QTranslator*> KolvLiteTranslator::translators_;
QStringList KolvLiteTranslator::contexts_;
QString KolvLiteTranslator::locale_;
KolvLiteTranslator* KolvLiteTranslator::instance_ = nullptr;

void KolvLiteTranslator::InitTranslator() {
  // Qt reads narrow strings as UTF-8 already, so only the locale needs remembering.
  locale_ = QLocale::system().name();
}

QString KolvLiteTranslator::locale() { return locale_; }

void KolvLiteTranslator::set_locale(const QString& locale_name) { locale_ = locale_name; }

bool KolvLiteTranslator::LoadWithFallback(QTranslator* translator, const QString& folder,
                                          const QString& prefix,
                                          FallbackLocale fallback_locale) {
  if (translator == nullptr) return false;
  if (!locale_.isEmpty() && translator->load(prefix + locale_, folder)) return true;
  if (translator->load(prefix + QLatin1String(TranslatorPaths::FALLBACK_LOCALE), folder)) {
    if (fallback_locale == FallbackLocale::kBecomesDefault) {
      QLocale::setDefault(QLocale(QLatin1String(TranslatorPaths::FALLBACK_LOCALE)));
    }
    return true;
  }
  return false;
}

bool KolvLiteTranslator::InstallKolvLiteTranslator(QTranslator* translator) {
  PushContext(QLatin1String(TranslationKeys::TRANSLATIONS));
  if (LoadWithFallback(translator, QLatin1String(TranslatorPaths::MAIN_FOLDER),
                       QLatin1String(TranslatorPaths::MAIN_PREFIX),
                       FallbackLocale::kBecomesDefault)) {
    QCoreApplication::installTranslator(translator);
    return true;
  }
  RemoveContext(QLatin1String(TranslationKeys::TRANSLATIONS));
  return false;
}

bool KolvLiteTranslator::InstallKolvLiteInternalTranslator(QTranslator* translator) {
  if (!LoadWithFallback(translator, QLatin1String(TranslatorPaths::INTERNAL_FOLDER),
                        QLatin1String(TranslatorPaths::INTERNAL_PREFIX),
                        FallbackLocale::kBecomesDefault)) {
    return false;
  }
  QCoreApplication::installTranslator(translator);
  return true;
}

bool KolvLiteTranslator::LoadTranslator(QString module) {
  const QString lower = module.toLower();
  const QString folder = QLatin1Char(':') + lower + QLatin1String("/resources/translations");
  auto* translator = new QTranslator();
  if (!LoadWithFallback(translator, folder, lower + QLatin1Char('_'), FallbackLocale::kLeftAlone)) {
    delete translator;
    return false;
  }
  // A reload replaces the earlier translator; if that one was installed its context goes with it.
  QTranslator* old = translators_.value(module, nullptr);
  if (old != nullptr) {
    if (QCoreApplication::removeTranslator(old)) RemoveContext(module);
    delete old;
  }
  translators_.insert(module, translator);
  return true;
}

bool KolvLiteTranslator::InstallTranslator(QString module) {
  QTranslator* translator = translators_.value(module, nullptr);
  if (translator == nullptr) return false;
  QCoreApplication::installTranslator(translator);
  PushContext(module);
  return true;
}

void KolvLiteTranslator::UninstallTranslator(QString module) {
  QTranslator* translator = translators_.value(module, nullptr);
  if (translator == nullptr) return;
  QCoreApplication::removeTranslator(translator);
  RemoveContext(module);
}

void KolvLiteTranslator::ClearTranslators() {
  for (auto it = translators_.begin(); it != translators_.end(); ++it) {
    RemoveContext(it.key());
    QCoreApplication::removeTranslator(it.value());
    delete it.value();
  }
  translators_.clear();
}

QStringList KolvLiteTranslator::translation_contexts() { return contexts_; }

KolvLiteTranslator* KolvLiteTranslator::get_instance() {
  if (instance_ == nullptr) instance_ = new KolvLiteTranslator();
  return instance_;
}

void KolvLiteTranslator::ReleaseInstance() {
  delete instance_;
  instance_ = nullptr;
}

void KolvLiteTranslator::InstallModuleTranslator(QString module) {
  if (InstallTranslator(module)) {
    emit InstallSucceeded();
  } else {
    emit InstallFailed();
  }
}

void KolvLiteTranslator::UninstallModuleTranslator(QString module) { UninstallTranslator(module); }

void KolvLiteTranslator::PushContext(const QString& context) { contexts_.prepend(context); }

void KolvLiteTranslator::RemoveContext(const QString& context) { contexts_.removeOne(context); }

namespace {

// A catalogue's keys and contexts are C strings: a text holding a NUL can be none of them, and
// looking up what comes before the NUL would answer for a shorter key.
bool HoldsNul(const std::string& text) { return text.find('\0') != std::string::npos; }

}  // namespace

bool KolvLiteLookUp(const std::string& key, QString* text) {
  const QString qkey = QString::fromStdString(key);
  if (!HoldsNul(key)) {
    const QByteArray utf8_key = qkey.toUtf8();
    for (const QString& context : KolvLiteTranslator::translation_contexts()) {
      const QByteArray utf8_context = context.toUtf8();
      QString found = QCoreApplication::translate(utf8_context.constData(), utf8_key.constData());
      if (found != qkey) {
        if (text != nullptr) *text = std::move(found);
        return true;
      }
    }
  }
  if (text != nullptr) *text = qkey;
  return false;
}

QString KolvLiteTranslate(std::string key) {
  QString text;
  KolvLiteLookUp(key, &text);
  return text;
}

QString KolvLiteTranslate(std::string context, std::string key) {
  if (HoldsNul(context) || HoldsNul(key)) return QString::fromStdString(key);
  return QCoreApplication::translate(context.c_str(), key.c_str());
}

QString KolvLitePositionOf(qsizetype position, qsizetype total) {
  return QString::number(position) + QLatin1Char(' ') + KolvLiteTranslate(TranslationKeys::OF) +
         QLatin1Char(' ') + QString::number(total);
}

QString KolvLiteTranslateInternal(std::string key) {
  if (HoldsNul(key)) return QString::fromStdString(key);
  return QCoreApplication::translate(InternalTranslationKeys::INTERNAL_TRANSLATIONS, key.c_str());
}
