#include "gui/logs/html_generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QSet>
#include <QUrl>
#include <QWidget>

#include "gui/logs/report_images.h"
#include "gui/shell/kolv_lite_application.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_main_window.h"
#include "gui/shell/kolv_lite_translator.h"
#include "morva_service/input_request.h"

namespace {

const char kImagesFolder[] = "images";
const char kCompanionSuffix[] = "_files";
const char kExtension[] = ".html";
const char kEntryImagePrefix[] = "./images/";
const char kPageTitleKey[] = "Log";

// A name typed with or without the extension ends in exactly one; a name that already ends in it,
// in any case, is kept as typed.
QString WithExtension(const QString& path) {
  return path.endsWith(QLatin1String(kExtension), Qt::CaseInsensitive)
             ? path
             : path + QLatin1String(kExtension);
}

QString WithoutExtension(const QString& path) {
  return path.endsWith(QLatin1String(kExtension), Qt::CaseInsensitive)
             ? path.left(path.size() - int(sizeof(kExtension) - 1))
             : path;
}

QString CompanionFolder(const QString& path) {
  return WithoutExtension(path) + QLatin1String(kCompanionSuffix);
}

// One segment of a relative link, safe in a URL and in a quoted attribute.
QString LinkSegment(const QString& name) {
  return QString::fromLatin1(QUrl::toPercentEncoding(name));
}

// Where a saved page's images go, inside its companion folder, and how the page refers to them.
QString ImagesFolder(const QString& companion_folder) {
  return companion_folder + QLatin1Char('/') + QLatin1String(kImagesFolder);
}

QString ImagesLink(const QString& companion_folder) {
  return QStringLiteral("./") + LinkSegment(QFileInfo(companion_folder).fileName()) +
         QLatin1Char('/') + QLatin1String(kImagesFolder) + QLatin1Char('/');
}

bool MakeFolder(const QString& folder) { return QDir(folder).mkpath(QStringLiteral(".")); }

bool WriteWhole(const QString& path, const QString& text) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const QByteArray bytes = text.toUtf8();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QWidget* MainWindow() {
  auto* application = qobject_cast<KolvLite*>(QCoreApplication::instance());
  if (!application) return nullptr;
  return application->main_window();
}

QString AskFileName(QWidget* parent, const QString& default_file_name) {
  return QFileDialog::getSaveFileName(parent, KolvLiteTranslate("SAVE_FILE"), default_file_name,
                                      KolvLiteTranslate("HTML_FILES") + QStringLiteral("(*.html)"));
}

void ShowOutcome(QWidget* parent, bool saved, const QString& success_title,
                 const QString& success_message, const QString& failure_title,
                 const QString& failure_message) {
  InputRequest request((saved ? success_title : failure_title).toStdString(),
                       (saved ? success_message : failure_message).toStdString(),
                       saved ? InputRequest::kInformation : InputRequest::kError, InputRequest::kOk);
  KolvLiteDialog dialog(&request, parent);
  dialog.exec();
}

// What every export does around its own save: ask for the name, then say how the save went.
// Cancelling the file dialog writes and shows nothing.
template <typename Save>
void AskSaveAndTell(const QString& default_file_name, Save save, const QString& success_title,
                    const QString& success_message, const QString& failure_title,
                    const QString& failure_message) {
  QWidget* parent = MainWindow();
  const QString name = AskFileName(parent, default_file_name);
  if (name.isEmpty()) return;
  ShowOutcome(parent, save(name), success_title, success_message, failure_title,
              failure_message);
}

}  // namespace

HtmlGenerator::HtmlGenerator() = default;

HtmlGenerator::~HtmlGenerator() = default;

void HtmlGenerator::set_translation_context(QString context) {
  translation_context_ = std::move(context);
}

QString HtmlGenerator::translation_context() const { return translation_context_; }

QString HtmlGenerator::Escape(const QString& text) {
  QString out;
  out.reserve(text.size() + text.size() / 8);
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '&': out += QLatin1String("&amp;"); break;
      case '<': out += QLatin1String("&lt;"); break;
      case '>': out += QLatin1String("&gt;"); break;
      case '"': out += QLatin1String("&quot;"); break;
      case '\'': out += QLatin1String("&#39;"); break;
      case ':': out += QLatin1String("&#58;"); break;
      default: out += c;
    }
  }
  return out;
}

QString HtmlGenerator::GetTranslatedToken(const QString& key) {
  return GetTranslatedToken(key.toStdString());
}

QString HtmlGenerator::GetTranslatedToken(const std::string& key) {
  const QString in_context = KolvLiteTranslate(translation_context_.toStdString(), key);
  if (in_context != QString::fromStdString(key)) return in_context;
  return KolvLiteTranslate(key);
}

QString HtmlGenerator::GenerateExportedHtmlHeader(QString title) {
  const QString text = Escape(GetTranslatedToken(title));
  return QStringLiteral("<?xml version='1.0' encoding='UTF-8'?>") +
         QStringLiteral("<!DOCTYPE html>") + QStringLiteral("<html>") + QStringLiteral("<head>") +
         QStringLiteral("<meta http-equiv='Content-Type' content='text/html; charset=UTF-8'/>") +
         QStringLiteral("<title>Tarvex Quorsa Lite - ") + text +
         QStringLiteral("</title><h1>Tarvex Quorsa Lite - ") + text + QStringLiteral("</h1>") +
         QStringLiteral("</head>");
}

bool HtmlGenerator::ExportImage(QString source, QString target_folder) {
  if (!QFileInfo(target_folder).isDir() && !MakeFolder(target_folder)) return false;
  const QImage image(source);
  if (image.isNull()) return false;
  const QFileInfo name(source);
  QSaveFile file(target_folder + QLatin1Char('/') + name.fileName());
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!image.save(&file, name.suffix().toLatin1().constData())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool HtmlGenerator::UpdateHtmlToExternalImages(QString& html, QString target_folder,
                                               QString image_prefix) {
  QStringList written;
  for (const char* image : report_images::kExported) {
    const QString path = QString::fromLatin1(image);
    if (!html.contains(path)) continue;
    if (!ExportImage(path, target_folder)) return false;
    written << path;
  }
  for (const QString& path : written) {
    html.replace(path, image_prefix + LinkSegment(QFileInfo(path).fileName()));
  }
  return true;
}

void HtmlGenerator::UpdateHtmlToFixResultCode(QString& html) {
  html.replace(QLatin1String("<pre"), QLatin1String("<span"));
  html.replace(QLatin1String("pre>"), QLatin1String("span>"));
}

bool HtmlGenerator::SaveEntry(HtmlLogEntry& entry, QString file_path, QString images_folder,
                              QString image_prefix, int index, QString back_link) {
  if (index < 0) return false;
  QString page = GenerateExportedHtmlHeader(QLatin1String(kPageTitleKey)) + QStringLiteral("<body>");
  const QString back = QStringLiteral("<a href='") + back_link + QStringLiteral("'>") +
                       Escape(KolvLiteTranslate("BACK_TO_RESULTS")) + QStringLiteral("</a>");
  if (!back_link.isEmpty()) page += back + QStringLiteral("<hr><br>");
  page += entry.body;
  if (!back_link.isEmpty()) page += QStringLiteral("<hr>") + back;
  page += QStringLiteral("</body></html>");
  if (!UpdateHtmlToExternalImages(page, images_folder, image_prefix)) return false;
  UpdateHtmlToFixResultCode(page);
  return WriteWhole(file_path, page);
}

bool HtmlGenerator::SaveSingleEntry(HtmlLogEntry& entry, QString file_path, int index) {
  if (index < 0) return false;
  const QString path = WithExtension(file_path);
  const QString folder = CompanionFolder(path);
  if (!QFileInfo(folder).isDir() && !MakeFolder(folder)) return false;
  return SaveEntry(entry, path, ImagesFolder(folder), ImagesLink(folder), index, QString());
}

bool HtmlGenerator::SaveAllEntries(QVector<HtmlLogEntry>& entries, QString file_path) {
  const QString path = WithExtension(file_path);
  const QString folder = CompanionFolder(path);
  if (!QFileInfo(folder).isDir() && !MakeFolder(folder)) return false;
  const QString folder_link = LinkSegment(QFileInfo(folder).fileName());
  const QString images_folder = ImagesFolder(folder);

  QString index_page = GenerateExportedHtmlHeader(QLatin1String(kPageTitleKey)) +
                       QStringLiteral("<body><p>") + QString::number(entries.size()) +
                       QLatin1Char(' ') + Escape(KolvLiteTranslate("RESULT(S)")) +
                       QStringLiteral("</p>\n") + QStringLiteral("<ol>\n");
  // Entries of one run share their time key; later ones get a number behind it.
  QSet<QString> used;
  for (int i = 0; i < entries.size(); ++i) {
    HtmlLogEntry& entry = entries[i];
    QString stem = entry.time_key.isEmpty() ? QStringLiteral("entry") : entry.time_key;
    stem.replace(QLatin1Char('/'), QLatin1Char('_'));
    QString name = stem;
    for (int n = 1; used.contains(name); ++n) name = stem + QLatin1Char('_') + QString::number(n);
    used.insert(name);
    const QString file_name = name + QLatin1String(kExtension);

    index_page += QStringLiteral("<li>") + QStringLiteral("<a href='") + folder_link +
                  QLatin1Char('/') + LinkSegment(file_name) + QStringLiteral("'>") +
                  QStringLiteral("<img src='") + QLatin1String(report_images::SmallImage(entry.status)) +
                  QStringLiteral("'></img>") + QStringLiteral("  ") + Escape(entry.title) +
                  QStringLiteral("  ") + Escape(entry.time_text) + QStringLiteral("</a><br>") +
                  QStringLiteral("</li>\n");
    if (!SaveEntry(entry, folder + QLatin1Char('/') + file_name, images_folder,
                   QLatin1String(kEntryImagePrefix), i,
                   QStringLiteral("../") + LinkSegment(QFileInfo(path).fileName()))) {
      return false;
    }
  }
  index_page += QStringLiteral("</ol>\n") + QStringLiteral("</body></html>\n");
  if (!UpdateHtmlToExternalImages(index_page, images_folder, ImagesLink(folder))) {
    return false;
  }
  UpdateHtmlToFixResultCode(index_page);
  return WriteWhole(path, index_page);
}

bool HtmlGenerator::SaveHtml(const QString& body, QString file_path, const QString& page_title) {
  const QString folder = CompanionFolder(file_path);
  QString content = body;
  if (!UpdateHtmlToExternalImages(content, ImagesFolder(folder), ImagesLink(folder))) {
    return false;
  }
  UpdateHtmlToFixResultCode(content);
  return WriteWhole(file_path, GenerateExportedHtmlHeader(page_title) + QStringLiteral("<body>") +
                                   content + QStringLiteral("</body></html>"));
}

void HtmlGenerator::ExportLogEntry(HtmlLogEntry& entry, int index,
                                   const QString& default_file_name, const QString& success_title,
                                   const QString& success_message, const QString& failure_title,
                                   const QString& failure_message) {
  AskSaveAndTell(
      default_file_name, [&](const QString& name) { return SaveSingleEntry(entry, name, index); },
      success_title, success_message, failure_title, failure_message);
}

void HtmlGenerator::ExportAllLogEntries(QVector<HtmlLogEntry>& entries,
                                        const QString& default_file_name,
                                        const QString& success_title,
                                        const QString& success_message,
                                        const QString& failure_title,
                                        const QString& failure_message) {
  AskSaveAndTell(
      default_file_name, [&](const QString& name) { return SaveAllEntries(entries, name); },
      success_title, success_message, failure_title, failure_message);
}

void HtmlGenerator::ExportHtml(const QString& body, const QString& default_file_name,
                               const QString& success_title, const QString& success_message,
                               const QString& failure_title, const QString& failure_message,
                               const QString& page_title) {
  AskSaveAndTell(
      default_file_name, [&](const QString& name) { return SaveHtml(body, name, page_title); },
      success_title, success_message, failure_title, failure_message);
}
