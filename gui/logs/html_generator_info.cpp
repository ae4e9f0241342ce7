// Reports other than the diagnostics log: a tool run, a device's description and the machine's
// identity, built from the same blocks as the log pages.
#include <QStringList>

#include "gui/logs/core/log_format.h"
#include "gui/logs/html_generator.h"
#include "gui/logs/report_images.h"
#include "gui/widgets/local_to_utf8.h"
#include "morva_service/views.h"
#include "zerka/zerka.h"

namespace {

// How a tool report shows each status it gives: the log's status bit, so that its images follow
// the log's rules, and the small image of a task row.
struct ToolStatusLook {
  HtmlLogEntryStatus status;
  quint32 mask;
  const char* small_image;
};

constexpr ToolStatusLook kToolStatusLooks[] = {
    {LOG_ENTRY_SUCCESS, kLogStatusSuccess, report_images::kSmallOk},
    {LOG_ENTRY_FAILED, kLogStatusFailed, report_images::kSmallError},
    {LOG_ENTRY_NOT_APPLICABLE, kLogStatusNotApplicable, report_images::kSmallUnsupported},
    {LOG_ENTRY_ABORTED, kLogStatusAborted, report_images::kSmallAborted},
    {LOG_ENTRY_WARNING, kLogStatusWarning, report_images::kSmallWarning},
};

// Null for any other status: a report shows it as invalid, a task row without an image.
const ToolStatusLook* LookOfToolStatus(int status) {
  for (const ToolStatusLook& look : kToolStatusLooks) {
    if (look.status == status) return &look;
  }
  return nullptr;
}

quint32 MaskOfToolStatus(int status) {
  const ToolStatusLook* look = LookOfToolStatus(status);
  return look != nullptr ? look->mask : kLogStatusInvalid;
}

const char* SmallImageOfToolStatus(int status) {
  const ToolStatusLook* look = LookOfToolStatus(status);
  return look != nullptr ? look->small_image : "";
}

QString FromLocal(const std::string& text) { return QString::fromStdString(LocalToUtf8(text)); }

}  // namespace

bool HtmlGenerator::ReadToolExecutionLog(QString& html, ToolExecutionLog_* log) {
  HtmlLogEntry scratch;
  html += CreateLogEntryHeader(scratch, static_cast<int>(MaskOfToolStatus(log->status)), true,
                               FromLocal(log->title), FromLocal(log->subtitle));
  for (ToolExecutionLogEntry_& entry : log->entries) {
    AddToolExecutionEntry(html, &entry, QString());
    BreakLines(html, 3);
  }
  return true;
}

bool HtmlGenerator::AddToolExecutionEntry(QString& html, ToolExecutionLogEntry_* entry,
                                          QString indent) {
  InsertDeviceHeader(html, GetTranslatedToken(LocalToUtf8(entry->name)), QString(),
                     MaskOfToolStatus(entry->status), false, false);
  if (!entry->properties.empty()) {
    BeginTable(html);
    for (const auto& property : entry->properties) {
      InsertProperty(html, FromLocal(property.first), FromLocal(property.second),
                     QStringLiteral("width='40%'"), QStringLiteral("width='60%'"));
    }
    EndTable(html);
  }
  if (!entry->task_results.empty()) {
    html += QStringLiteral("<br>");
    BeginTestsTable(html);
    for (ToolTaskResult_& task : entry->task_results) {
      InsertToolTaskResult(html, &task, &entry->start_time, &entry->end_time);
    }
    EndTestsTable(html);
  }
  if (!entry->note.empty()) {
    html += QStringLiteral("<br>");
    BeginTestsTable(html);
    // The note is HTML that the tool's plug-in built, with its texts escaped there.
    html += QStringLiteral("<tr bgcolor='#EEEEEE'>") + QStringLiteral("<td>") +
            QString::fromStdString(entry->note) + QStringLiteral("</td>") + QStringLiteral("</tr>");
    EndTestsTable(html);
  }
  if (!entry->children.empty()) {
    html += QStringLiteral("<blockquote style='margin: 0px 0px 0px ") + QStringLiteral("15") +
            QStringLiteral("px'>") + QStringLiteral("<table width=100%><tr><td width=100%>");
    for (ToolExecutionLogEntry_& child : entry->children) {
      html += QStringLiteral("<br>");
      AddToolExecutionEntry(html, &child, QString());
    }
    html += QStringLiteral("</td></tr></table>") + QStringLiteral("</blockquote>");
  }
  if (!indent.isEmpty()) html += QStringLiteral("</blockquote>");
  return true;
}

void HtmlGenerator::InsertToolTaskResult(QString& html, ToolTaskResult_* task,
                                         qint64* start_time, qint64* end_time) {
  const int status = task->second.first.first;
  html += QStringLiteral("<tr bgcolor='#EEEEEE'>") + QStringLiteral("<td width='100%'>") +
          (start_time ? Escape(LocaleSafeTimeToString(*start_time)) + QStringLiteral(" - ")
                      : QString()) +
          Escape(GetTranslatedToken(task->first)) + QStringLiteral("</td>");
  html += QStringLiteral("<td width='100%' >") + QStringLiteral("<img src='") +
          QLatin1String(SmallImageOfToolStatus(status)) + QStringLiteral("'>") +
          QStringLiteral("</td>");
  html += QStringLiteral("<td width='0%' nowrap='nowrap'>") +
          Escape(GetTranslatedToken(task->second.first.second)) + QStringLiteral("</td>") +
          QStringLiteral("</tr>");
  for (const std::string& message : task->second.second) {
    QStringList words;
    for (const QString& word : QString::fromStdString(message).split(QLatin1Char(' '))) {
      words << GetTranslatedToken(word);
    }
    html += QStringLiteral("<tr bgcolor='#FFFFFF'>") + QStringLiteral("<td width='100%'>") +
            (end_time ? Escape(LocaleSafeTimeToString(*end_time)) + QStringLiteral(" - ")
                      : QString()) +
            Escape(words.join(QLatin1Char(' '))) + QStringLiteral("</td>") +
            QStringLiteral("<td>") + QStringLiteral("</td>") + QStringLiteral("<td>") +
            QStringLiteral("</td>") + QStringLiteral("</tr>");
  }
}

QString HtmlGenerator::GenerateDeviceHeader(QString name) {
  return QStringLiteral("<table cellspacing='0' cellpadding='2'>") +
         QStringLiteral("<tr style='background: url(") +
         QLatin1String(report_images::kDeviceHeaderBackground) +
         QStringLiteral("); background-repeat: repeat-x; background-position: center;'>") +
         QStringLiteral("<td width='100%' height='0%'><b>") + Escape(name) +
         QStringLiteral("</b></td></tr></table><br>");
}

void HtmlGenerator::InsertDeviceHeader(QString& html, const QString& name) {
  html += GenerateDeviceHeader(name);
}

bool HtmlGenerator::ReadSystemComponentInformation(QString& html,
                                                   morva_service::SystemComponentView* device,
                                                   bool with_header) {
  const QString row_key = QStringLiteral("width='40%'");
  const QString row_value = QStringLiteral("width='60%'");
  const morva_service::SystemComponentInformation information = device->information();
  if (with_header) InsertDeviceHeader(html, GetTranslatedToken(LocalToUtf8(information.display_name)));
  BeginTable(html);
  for (const auto& property : information.properties) {
    InsertProperty(html, GetTranslatedToken(property.first),
                   GetTranslatedToken(LocalToUtf8(property.second)), row_key, row_value);
  }
  EndTable(html);
  html += QStringLiteral("<br>");

  std::vector<morva_service::SystemComponentResource> resources;
  device->resources(resources);
  if (!resources.empty()) {
    BeginTable(html);
    InsertProperty(html, GetTranslatedToken(QStringLiteral("RESOURCES")), QString(),
                   QStringLiteral("width='100%'"), QStringLiteral("width='0%'"));
    EndTable(html);
    BeginIdent(html, QStringLiteral("5"), 3);
    BeginTable(html);
    for (size_t i = 0; i < resources.size(); ++i) {
      InsertProperty(html, GetTranslatedToken(QStringLiteral("RESOURCE_TYPE")),
                     GetTranslatedToken(resources[i].name), QString(),
                     QStringLiteral("width='100%'"));
      for (const auto& property : resources[i].properties) {
        InsertProperty(html, GetTranslatedToken(property.first),
                       GetTranslatedToken(LocalToUtf8(property.second)), row_key, row_value);
      }
      if (i + 1 < resources.size()) {
        InsertProperty(html, QString(), QString(), QString(), QStringLiteral("width='100%'"));
      }
    }
    // The table closes inside the indentation that holds it.
    EndTable(html);
    EndIdent(html, 3);
  }
  return true;
}

bool HtmlGenerator::ReadBiosInformation(QString& html, std::vector<std::string>& keys, bool full) {
  Bios* bios = get_bios();
  if (!bios) return false;
  // A table without the names of its rows would be no table at all.
  if (keys.size() < (full ? 7u : 4u)) return false;
  const QString kept_context = translation_context_;
  set_translation_context(QString());
  const QString row_key = QStringLiteral("width='40%'");
  const QString row_value = QStringLiteral("width='60%'");
  BeginTable(html);
  if (full) {
    InsertProperty(html, GetTranslatedToken(keys[0]), FromLocal(bios->model()), row_key, row_value);
    InsertProperty(html, GetTranslatedToken(keys[1]), FromLocal(bios->serial_number()), row_key,
                   row_value);
  }
  InsertProperty(html, GetTranslatedToken(keys[2]), FromLocal(bios->system_vendor()), row_key,
                 row_value);
  InsertProperty(html, GetTranslatedToken(keys[3]), FromLocal(bios->system_manufacturer()),
                 row_key, row_value);
  if (full) {
    InsertProperty(html, QString(), QString(), QString(), QStringLiteral("width='100%'"));
    InsertProperty(html, GetTranslatedToken(keys[4]), FromLocal(bios->bios_version()), row_key,
                   row_value);
    InsertProperty(html, QString(), QString(), row_key, row_value);
    InsertProperty(html, GetTranslatedToken(keys[5]), FromLocal(bios->processor_label()), row_key,
                   row_value);
    InsertProperty(html, GetTranslatedToken(keys[6]), FromLocal(bios->processor_manufacturer()),
                   row_key, row_value);
  }
  EndTable(html);
  set_translation_context(kept_context);
  return true;
}
