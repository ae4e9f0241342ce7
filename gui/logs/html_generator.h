// Builds every HTML text the program shows or saves: the pages of the diagnostics log, the report
// of a tool run, the property tables of a device and of the machine; and saves them, with the
// status images they show, as files the user chooses.
//
// Every text taken from a log, a device, the machine or a tool is escaped before it goes into a
// page. Rendering may run on any thread, one generator per thread; the export operations open
// dialogs and run on the GUI thread, which keeps handling its events while the files are written
// on a thread of their own.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>
#include <QtGlobal>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/logs/html_log_entry.h"
#include "gui/logs/tool_execution_log.h"

class SavedFileSet;
struct LogGroup;
struct LogGroupEntry;
struct LogMessage;
struct LogResource;
namespace morva_service {
class SystemComponentView;
}

class HtmlGenerator {
 public:
  HtmlGenerator();
  ~HtmlGenerator();

  // The module whose translations are looked up before the program's own.
  void set_translation_context(QString context);
  QString translation_context() const;

  // Ask for a file name and save; the outcome is shown in a message dialog with the given keys.
  // Cancelling the file dialog does nothing.
  void ExportLogEntry(HtmlLogEntry& entry, int index, const QString& default_file_name,
                      const QString& success_title, const QString& success_message,
                      const QString& failure_title, const QString& failure_message);
  // An index page plus one page per entry in a folder beside it.
  void ExportAllLogEntries(QVector<HtmlLogEntry>& entries, const QString& default_file_name,
                           const QString& success_title, const QString& success_message,
                           const QString& failure_title, const QString& failure_message);
  void ExportHtml(const QString& body, const QString& default_file_name,
                  const QString& success_title, const QString& success_message,
                  const QString& failure_title, const QString& failure_message,
                  const QString& page_title);

  // Appends one record per entry of the group to out. Entries whose module matches name_filter
  // (or all, with "ALL") and whose group number equals time_filter get their device sections
  // and time text. False, with nothing appended, for a null group.
  // With parsed_log, the owner of group, the pages of matching entries are rendered only when
  // EntryBody asks for them; their records keep parsed_log alive until then.
  bool ReadLogGroup(QVector<HtmlLogEntry>& out, const LogGroup* group, qint64 time_filter,
                    QString name_filter, const std::shared_ptr<const void>& parsed_log = {});
  // The entry's page body, rendered now when the record holds only its source.
  QString EntryBody(const HtmlLogEntry& entry);
  // The page of a run's entry that the log holds only in part (without a source: none of it).
  // It says so, and sets the entry's status, never to a pass.
  QString IncompleteEntryPage(HtmlLogEntry& entry);

  // Appends the report of a tool run. Always true.
  bool ReadToolExecutionLog(QString& html, ToolExecutionLog_* log);
  // Appends a device's properties and resources, under a title bar when with_header is set.
  // Always true.
  bool ReadSystemComponentInformation(QString& html, morva_service::SystemComponentView* device,
                                      bool with_header);
  // Appends the machine table; full adds model, serial number, BIOS and processor rows. keys
  // names the rows (seven for the full table, four otherwise). False without a BIOS record.
  bool ReadBiosInformation(QString& html, std::vector<std::string>& keys, bool full);
  // A title bar holding name.
  QString GenerateDeviceHeader(QString name);

  // Result of saving a page; public so that the file layout can be checked without dialogs.
  bool SaveSingleEntry(HtmlLogEntry& entry, QString file_path, int index);
  bool SaveAllEntries(QVector<HtmlLogEntry>& entries, QString file_path);
  bool SaveHtml(const QString& body, QString file_path, const QString& page_title);

  // Text as it may stand in a page: markup characters and the colon are written as references,
  // so neither markup nor a resource path can come out of data; text that could reorder the page
  // around it (a right-to-left letter, a direction control) stands between isolate marks.
  static QString Escape(const QString& text);
  // Text as it may stand beside other text: between isolate marks when it could reorder what is
  // around it; left-to-right text stays as it is.
  static QString Isolated(const QString& text);

 private:
  // The key's text in the translation context, else in the program's contexts, else the key.
  QString GetTranslatedToken(const QString& key);
  QString GetTranslatedToken(std::string_view key);

  QString GenerateExportedHtmlHeader(QString title);
  bool ExportImage(QString source, QString target_folder, SavedFileSet& files);
  // Readies a page for disk in one pass: adds the status images it shows to files, in
  // images_folder (those not added yet; files is shared by the pages of one export), points the
  // page at them through image_prefix, and turns "<pre" and "pre>" into "<span" and "span>".
  // False, with the page unchanged, when an image cannot be written.
  bool PrepareForDisk(QString& html, const QString& images_folder, const QString& image_prefix,
                      SavedFileSet& files);
  bool SaveEntry(HtmlLogEntry& entry, QString file_path, QString images_folder,
                 QString image_prefix, int index, QString back_link, SavedFileSet& files);

  // Building blocks of the pages. They take plain text and escape it; only the headers they
  // return are HTML.
  void InsertProperty(QString& html, const QString& key, const QString& value,
                      const QString& key_attribute, const QString& value_attribute);
  // The same row with the key cell's white-space mode chosen.
  void AppendPropertyRow(QString& html, const QString& key, const QString& value,
                         const QString& key_white_space, const QString& key_attribute,
                         const QString& value_attribute);
  void InsertDeviceHeader(QString& html, const QString& name, const QString& code,
                          quint32 mask, bool broken, bool show_code);
  void InsertDeviceHeader(QString& html, const QString& name);
  void InsertTestResult(QString& html, std::string_view name, std::string_view result,
                        const QString& start_text, const QString& seconds_text,
                        const QString& colour, const std::vector<LogMessage>& messages);
  QString CreateLogEntryHeader(HtmlLogEntry& entry, int mask, bool return_header,
                               QString title, QString subtitle);
  QString RemovePontuaction(std::string_view text);
  QString LocaleSafeTimeToString(qint64 seconds);
  void InsertSubsystemError(QString& html, const QString& text);
  void BeginTable(QString& html);
  void EndTable(QString& html);
  void BeginTestsTable(QString& html);
  void EndTestsTable(QString& html);
  void BeginIdent(QString& html, const QString& px, int count);
  void EndIdent(QString& html, int count);
  void BreakLines(QString& html, int count);
  void AppendDeviceSection(QString& html, const LogResource& resource);
  // Header and device sections; sets the record's status. Call with the entry's module as the
  // translation context.
  QString RenderEntryPage(HtmlLogEntry& record, const LogGroupEntry& log_entry);
  // Around the rendering of a group or a page: translations and times are cached meanwhile.
  // Begin returns the translation context, which End restores.
  QString BeginCachedRendering();
  void EndCachedRendering(const QString& kept_context);

  bool AddToolExecutionEntry(QString& html, ToolExecutionLogEntry_* entry, QString indent);
  void InsertToolTaskResult(QString& html, ToolTaskResult_* task, qint64* start_time,
                            qint64* end_time);

  QString translation_context_;
  // While a group is rendered: tokens already translated in the current context, by their UTF-8
  // bytes (emptied when the context changes), and the times shown, which a log repeats. Both
  // start empty at each group, so a change of language or locale shows at the next group.
  bool caching_ = false;
  QHash<QByteArray, QString> translated_;
  QHash<qint64, QString> time_texts_;
};
