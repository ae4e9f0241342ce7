#include "gui/logs/html_generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QBuffer>
#include <QSet>
#include <QThread>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <memory>

#include "gui/logs/core/log_records.h"
#include "gui/logs/report_images.h"
#include "gui/logs/saved_file_set.h"
#include "gui/shell/kolv_lite.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/kolv_lite_window.h"
#include "gui/widgets/literal_button_text.h"
#include "morva_service/input_request.h"

namespace {

const char kImagesFolder[] = "images";
const char kCompanionSuffix[] = "_files";
const char kExtension[] = ".html";
const char kEntryImagePrefix[] = "./images/";
const char kPageTitleKey[] = "Log";
const char kIncompleteLogKey[] = "LOG_INCOMPLETE_MESSAGE";

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

// Set while a save runs: the window keeps handling its events meanwhile, and another export
// started then would run over this one.
bool save_running = false;

// Saves on a thread of its own while the GUI thread goes on handling its events, so that a large
// export does not freeze the window. save works on copies of what it writes.
bool SaveAside(const std::function<bool()>& save) {
  bool saved = false;
  QEventLoop loop;
  std::unique_ptr<QThread> worker(QThread::create([&] { saved = save(); }));
  QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  // A thread that could not start never finishes: nothing was saved.
  if (!worker->isRunning() && !worker->isFinished()) return false;
  loop.exec();
  worker->wait();
  return saved;
}

// What every export does around its own save: ask for the name, then say how the save went.
// Cancelling the file dialog writes and shows nothing; so does an export asked for while
// another one saves.
template <typename Save>
void AskSaveAndTell(const QString& default_file_name, Save save, const QString& success_title,
                    const QString& success_message, const QString& failure_title,
                    const QString& failure_message) {
  if (save_running) return;
  QWidget* parent = MainWindow();
  const QString name = AskFileName(parent, default_file_name);
  if (name.isEmpty()) return;
  save_running = true;
  const bool saved = SaveAside([&] { return save(name); });
  save_running = false;
  ShowOutcome(parent, saved, success_title, success_message, failure_title, failure_message);
}

}  // namespace

HtmlGenerator::HtmlGenerator() = default;

HtmlGenerator::~HtmlGenerator() = default;

void HtmlGenerator::set_translation_context(QString context) {
  if (context != translation_context_) translated_.clear();
  translation_context_ = std::move(context);
}

QString HtmlGenerator::translation_context() const { return translation_context_; }

namespace {

QString EscapeMarkup(const QString& text) {
  const auto special = [](QChar c) {
    const char16_t u = c.unicode();
    return u == '&' || u == '<' || u == '>' || u == '"' || u == '\'' || u == ':';
  };
  if (std::none_of(text.begin(), text.end(), special)) return text;
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

// Whether the text could reorder what stands around it in a page: it holds a right-to-left
// letter or number, or a direction control. Left-to-right text cannot, and stays as it is.
bool MovesItsNeighbours(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t c = text[i].unicode();
    if (c < 0x590) continue;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    switch (QChar::direction(c)) {
      case QChar::DirR: case QChar::DirAL: case QChar::DirAN:
      case QChar::DirLRE: case QChar::DirLRO: case QChar::DirRLE: case QChar::DirRLO:
      case QChar::DirPDF: case QChar::DirLRI: case QChar::DirRLI: case QChar::DirFSI:
      case QChar::DirPDI:
        return true;
      default:
        break;
    }
  }
  return false;
}

}  // namespace

QString HtmlGenerator::Escape(const QString& text) { return Isolated(EscapeMarkup(text)); }

QString HtmlGenerator::Isolated(const QString& text) {
  return MovesItsNeighbours(text) ? IsolatedText(text) : text;
}

QString HtmlGenerator::GetTranslatedToken(const QString& key) {
  const QByteArray bytes = key.toUtf8();
  return GetTranslatedToken(std::string_view(bytes.constData(), size_t(bytes.size())));
}

QString HtmlGenerator::GetTranslatedToken(std::string_view key) {
  // The lookup goes through every installed translator; a page asks for the same few keys often.
  if (caching_) {
    const auto known =
        translated_.constFind(QByteArray::fromRawData(key.data(), qsizetype(key.size())));
    if (known != translated_.constEnd()) return *known;
  }
  const std::string text(key);
  QString translated = KolvLiteTranslate(translation_context_.toStdString(), text);
  if (translated == QString::fromStdString(text)) translated = KolvLiteTranslate(text);
  if (caching_) translated_.insert(QByteArray(key.data(), qsizetype(key.size())), translated);
  return translated;
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

bool HtmlGenerator::ExportImage(QString source, QString target_folder, SavedFileSet& files) {
  if (!QFileInfo(target_folder).isDir() && !MakeFolder(target_folder)) return false;
  const QImage image(source);
  if (image.isNull()) return false;
  const QFileInfo name(source);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, name.suffix().toLatin1().constData())) return false;
  return files.Add(target_folder + QLatin1Char('/') + name.fileName(), bytes);
}

bool HtmlGenerator::PrepareForDisk(QString& html, const QString& images_folder,
                                   const QString& image_prefix, SavedFileSet& files) {
  static const QLatin1String kImageRoot(":/kolv_lite/Resources/Images/");
  static const QLatin1String kPreOpen("<pre");
  static const QLatin1String kPreClose("pre>");
  // The exported image whose path starts at position, or null. Only an image source or a
  // background the generator wrote refers to one: text that reads like a path stays as it is.
  const auto image_at = [&html](qsizetype position) -> const char* {
    const QStringView before = QStringView(html).left(position);
    if (!before.endsWith(QLatin1String("src='")) && !before.endsWith(QLatin1String("url("))) {
      return nullptr;
    }
    const QStringView rest = QStringView(html).mid(position);
    for (const char* image : report_images::kExported) {
      if (rest.startsWith(QLatin1String(image))) return image;
    }
    return nullptr;
  };

  QHash<const char*, QString> links;
  for (qsizetype at = html.indexOf(kImageRoot); at >= 0; at = html.indexOf(kImageRoot, at + 1)) {
    const char* image = image_at(at);
    if (!image || links.contains(image)) continue;
    const QString path = QLatin1String(image);
    const QString file_name = QFileInfo(path).fileName();
    if (!files.Holds(images_folder + QLatin1Char('/') + file_name) &&
        !ExportImage(path, images_folder, files)) {
      return false;
    }
    links.insert(image, image_prefix + LinkSegment(file_name));
  }

  QString out;
  out.reserve(html.size());
  const QChar* const text = html.constData();
  const qsizetype size = html.size();
  qsizetype copied = 0;
  for (qsizetype i = 0; i < size;) {
    const char16_t c = text[i].unicode();
    const char* image = nullptr;
    QLatin1String replacement;
    qsizetype length = 0;
    if (c == ':' && !links.isEmpty() && (image = image_at(i)) != nullptr) {
      length = qsizetype(qstrlen(image));
    } else if (c == '<' && QStringView(html).mid(i, 4) == kPreOpen) {
      replacement = QLatin1String("<span");
      length = 4;
    } else if (c == 'p' && QStringView(html).mid(i, 4) == kPreClose) {
      replacement = QLatin1String("span>");
      length = 4;
    } else {
      ++i;
      continue;
    }
    out.append(text + copied, i - copied);
    if (image) {
      out += links.value(image);
    } else {
      out += replacement;
    }
    i += length;
    copied = i;
  }
  if (copied == 0) return true;
  out.append(text + copied, size - copied);
  html = std::move(out);
  return true;
}

bool HtmlGenerator::SaveEntry(HtmlLogEntry& entry, QString file_path, QString images_folder,
                              QString image_prefix, int index, QString back_link,
                              SavedFileSet& files) {
  if (index < 0) return false;
  QString page = GenerateExportedHtmlHeader(QLatin1String(kPageTitleKey)) + QStringLiteral("<body>");
  const QString back = QStringLiteral("<a href='") + back_link + QStringLiteral("'>") +
                       Escape(KolvLiteTranslate("BACK_TO_RESULTS")) + QStringLiteral("</a>");
  if (!back_link.isEmpty()) page += back + QStringLiteral("<hr><br>");
  page += EntryBody(entry);
  if (!back_link.isEmpty()) page += QStringLiteral("<hr>") + back;
  page += QStringLiteral("</body></html>");
  return PrepareForDisk(page, images_folder, image_prefix, files) &&
         files.Add(file_path, page.toUtf8());
}

bool HtmlGenerator::SaveSingleEntry(HtmlLogEntry& entry, QString file_path, int index) {
  if (index < 0) return false;
  const QString path = WithExtension(file_path);
  const QString folder = CompanionFolder(path);
  if (!QFileInfo(folder).isDir() && !MakeFolder(folder)) return false;
  SavedFileSet files;
  return SaveEntry(entry, path, ImagesFolder(folder), ImagesLink(folder), index, QString(),
                   files) &&
         files.Commit();
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
  // Entries of one run share their time key; later ones get a number behind it, counted per key
  // so that many entries of one run do not search through every number taken before.
  QSet<QString> used;
  QHash<QString, int> last_number;
  // Nothing is put in place before every page is written, and the index page goes last: a
  // failure leaves the earlier export whole, and no index ever points at a page not there.
  SavedFileSet files;
  for (int i = 0; i < entries.size(); ++i) {
    HtmlLogEntry& entry = entries[i];
    QString stem = entry.time_key.isEmpty() ? QStringLiteral("entry") : entry.time_key;
    stem.replace(QLatin1Char('/'), QLatin1Char('_'));
    QString name = stem;
    if (used.contains(name)) {
      int& n = last_number[stem];
      do {
        name = stem + QLatin1Char('_') + QString::number(++n);
      } while (used.contains(name));
    }
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
                   QStringLiteral("../") + LinkSegment(QFileInfo(path).fileName()), files)) {
      return false;
    }
  }
  index_page += QStringLiteral("</ol>\n") + QStringLiteral("</body></html>\n");
  return PrepareForDisk(index_page, images_folder, ImagesLink(folder), files) &&
         files.Add(path, index_page.toUtf8()) && files.Commit();
}

bool HtmlGenerator::SaveHtml(const QString& body, QString file_path, const QString& page_title) {
  const QString folder = CompanionFolder(file_path);
  QString content = body;
  SavedFileSet files;
  return PrepareForDisk(content, ImagesFolder(folder), ImagesLink(folder), files) &&
         files.Add(file_path, (GenerateExportedHtmlHeader(page_title) + QStringLiteral("<body>") +
                               content + QStringLiteral("</body></html>"))
                                  .toUtf8()) &&
         files.Commit();
}

void HtmlGenerator::ExportLogEntry(HtmlLogEntry& entry, int index,
                                   const QString& default_file_name, const QString& success_title,
                                   const QString& success_message, const QString& failure_title,
                                   const QString& failure_message) {
  // The screen keeps its entries while the page is written aside.
  HtmlLogEntry copy = entry;
  AskSaveAndTell(
      default_file_name, [&](const QString& name) { return SaveSingleEntry(copy, name, index); },
      success_title, success_message, failure_title, failure_message);
}

void HtmlGenerator::ExportAllLogEntries(QVector<HtmlLogEntry>& entries,
                                        const QString& default_file_name,
                                        const QString& success_title,
                                        const QString& success_message,
                                        const QString& failure_title,
                                        const QString& failure_message) {
  QVector<HtmlLogEntry> copies = entries;
  AskSaveAndTell(
      default_file_name, [&](const QString& name) { return SaveAllEntries(copies, name); },
      success_title, success_message, failure_title, failure_message);
}

void HtmlGenerator::ExportHtml(const QString& body, const QString& default_file_name,
                               const QString& success_title, const QString& success_message,
                               const QString& failure_title, const QString& failure_message,
                               const QString& page_title) {
  const QString copy = body;
  AskSaveAndTell(
      default_file_name, [&](const QString& name) { return SaveHtml(copy, name, page_title); },
      success_title, success_message, failure_title, failure_message);
}

QString HtmlGenerator::IncompleteEntryPage(HtmlLogEntry& entry) {
  // What was found keeps its failures, warnings and aborts; none of it sums up as passed.
  const quint32 found = entry.source ? entry.source->status_mask : 0;
  const quint32 mask =
      (found & (kLogStatusFailed | kLogStatusWarning | kLogStatusAborted)) | kLogStatusInvalid;
  const QString kept_context = BeginCachedRendering();
  if (entry.source) {
    set_translation_context(
        QString::fromUtf8(entry.source->name.data(), qsizetype(entry.source->name.size())));
  }
  QString body = CreateLogEntryHeader(entry, int(mask), true, QString(),
                                      KolvLiteTranslate(kIncompleteLogKey));
  if (entry.source) {
    for (const auto& resource : entry.source->resources) AppendDeviceSection(body, resource.second);
  }
  EndCachedRendering(kept_context);
  return body;
}
