#include "tests/gui/shell/support/catalogue_builder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace CatalogueBuilder {
namespace {

QString FindTool(const QString& name) {
  for (QLibraryInfo::LibraryPath where :
       {QLibraryInfo::BinariesPath, QLibraryInfo::LibraryExecutablesPath}) {
    const QString path = QLibraryInfo::path(where) + QLatin1Char('/') + name;
    if (QFileInfo(path).isExecutable()) return path;
  }
  return QStandardPaths::findExecutable(name);
}

bool Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
         process.exitCode() == 0;
}

QString Escape(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

bool ToolsAvailable() {
  return !FindTool(QStringLiteral("lrelease")).isEmpty() && !FindTool(QStringLiteral("rcc")).isEmpty();
}

bool WriteCatalogue(const QString& qm_path, const QString& context,
                    const QMap<QString, QString>& messages) {
  const QString ts_path = qm_path + QStringLiteral(".ts");
  QDir().mkpath(QFileInfo(qm_path).absolutePath());
  QFile ts(ts_path);
  if (!ts.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QTextStream out(&ts);
  out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\">\n"
      << "<context><name>" << Escape(context) << "</name>\n";
  for (auto it = messages.begin(); it != messages.end(); ++it) {
    out << "<message><source>" << Escape(it.key()) << "</source><translation>"
        << Escape(it.value()) << "</translation></message>\n";
  }
  out << "</context>\n</TS>\n";
  ts.close();
  return Run(FindTool(QStringLiteral("lrelease")),
             {QStringLiteral("-silent"), ts_path, QStringLiteral("-qm"), qm_path});
}

bool PackResourceFile(const QString& rcc_path, const QString& prefix,
                      const QMap<QString, QString>& files) {
  const QString qrc_path = rcc_path + QStringLiteral(".qrc");
  QFile qrc(qrc_path);
  if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QTextStream out(&qrc);
  out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"" << Escape(prefix) << "\">\n";
  for (auto it = files.begin(); it != files.end(); ++it) {
    out << "<file alias=\"" << Escape(it.key()) << "\">" << Escape(QFileInfo(it.value()).absoluteFilePath())
        << "</file>\n";
  }
  out << "</qresource>\n</RCC>\n";
  qrc.close();
  return Run(FindTool(QStringLiteral("rcc")),
             {QStringLiteral("-binary"), qrc_path, QStringLiteral("-o"), rcc_path});
}

}  // namespace CatalogueBuilder
