// Helpers of the report tests: a fixed time zone and locale, the program's images, logs parsed
// from text or written where the program reads them, a translator from a table, and a hand that
// answers the file and message dialogs of an export.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QResource>
#include <QString>
#include <QVector>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "gui/logs/core/log_paths.h"
#include "gui/logs/core/morva_log_reader.h"
#include "gui/logs/html_generator.h"
#include "gui/logs/html_log_entry.h"
#include "tests/gui/support/modal_answers.h"
#include "tests/gui/support/program_resources.h"
#include "tests/gui/support/table_translator.h"
#include "tests/support/scratch.h"

namespace report_test {

// Times shown in UTC and in the fixed "M/d/yyyy h:mm:ss AP" form, whatever the machine's settings.
// Call before the application object is built, so that the system locale is "C".
inline void FixTimeAndLocale() {
  qputenv("LC_ALL", "C");
  qputenv("TZ", "UTC");
  tzset();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

#ifdef KOLV_LOG_FIXTURES
inline QString Fixture(const char* name) {
  QFile file(QStringLiteral(KOLV_LOG_FIXTURES "/") + QLatin1String(name));
  file.open(QIODevice::ReadOnly);
  return QString::fromUtf8(file.readAll());
}
#endif

inline std::unique_ptr<MorvaLogReader> Parse(const QString& text, bool keyed_by_number = true) {
  auto reader = std::make_unique<MorvaLogReader>(keyed_by_number);
  reader->ParseText(text.toStdString());
  return reader;
}

// Every group of the log, oldest first, rendered as the search worker renders it.
inline QVector<HtmlLogEntry> Render(const QString& text) {
  const auto reader = Parse(text);
  QVector<HtmlLogEntry> entries;
  HtmlGenerator generator;
  for (const auto& group : reader->groups()) {
    generator.ReadLogGroup(entries, &group.second, 0, QStringLiteral("ALL"));
  }
  return entries;
}

inline QString DiagnosticsLogPath() {
  return QString::fromStdString(LogFilePath("morva"));
}

inline void WriteDiagnosticsLog(const QString& text) {
  QDir().mkpath(QFileInfo(DiagnosticsLogPath()).absolutePath());
  QFile file(DiagnosticsLogPath());
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(text.toUtf8());
}

inline void RemoveDiagnosticsLog() { QFile::remove(DiagnosticsLogPath()); }

inline QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

// Whether every right-to-left letter and direction control of the page stands inside an isolate,
// the marks balanced and closed at each line end: nothing of it can reorder the page around it.
inline bool AllIsolated(const QString& page) {
  int depth = 0;
  for (const QChar c : page) {
    switch (c.direction()) {
      case QChar::DirLRI: case QChar::DirRLI: case QChar::DirFSI: ++depth; break;
      case QChar::DirPDI: if (--depth < 0) return false; break;
      case QChar::DirB: if (depth != 0) return false; break;
      case QChar::DirR: case QChar::DirAL: case QChar::DirRLO: case QChar::DirRLE:
      case QChar::DirLRO: case QChar::DirLRE: case QChar::DirPDF:
        if (depth == 0) return false;
        break;
      default: break;
    }
  }
  return depth == 0;
}

using gui_test::TableTranslator;

// While it lives, answers the file dialog with a path (cancels it when the path is empty) and
// closes the message dialog that follows, keeping its title and text.
class DialogHand {
 public:
  explicit DialogHand(QString path) : path_(std::move(path)) {}

  bool file_dialog_seen = false;
  int file_dialogs = 0;
  bool message_seen = false;
  QString title;
  QString message;

 private:
  void Answer(QDialog* dialog) {
    if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
      file_dialog_seen = true;
      ++file_dialogs;
      if (path_.isEmpty()) {
        files->reject();
      } else {
        gui_test::ChooseFile(files, path_);
      }
      return;
    }
    if (dialog->objectName() == QLatin1String("KolvLiteDialog")) {
      message_seen = true;
      title = dialog->findChild<QLabel*>(QStringLiteral("header_label"))->text();
      message = dialog->findChild<QLabel*>(QStringLiteral("message_label"))->text();
      dialog->reject();
    }
  }

  QString path_;
  gui_test::ModalAnswers answers_{[this](QDialog* dialog) { Answer(dialog); }};
};

}  // namespace report_test
