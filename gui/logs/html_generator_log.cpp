// Pages of the diagnostics log: the entry header, one section per device with its properties,
// resources, messages and test rows, and the blocks the other reports reuse.
#include <QDateTime>
#include <QLocale>
#include <QStringBuilder>
#include <QStringList>

#include "gui/logs/core/log_format.h"
#include "gui/logs/core/log_records.h"
#include "gui/logs/html_generator.h"
#include "gui/logs/report_images.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/local_to_utf8.h"

namespace {

// How a status mask is shown. The rows stand in priority order: the first whose bit the mask
// holds decides, so that one failed test marks its device and its entry as failed.
struct MaskLook {
  quint32 bit;
  const char* small_image;
  const char* big_image;
  HtmlLogEntryStatus status;
  const char* title_key;
  const char* message_key;
};

const MaskLook kMaskLooks[] = {
    {kLogStatusFailed, report_images::kSmallError, report_images::kBigError, LOG_ENTRY_FAILED,
     "FAILED", "LOG_ENTRY_FAILED_MESSAGE"},
    {kLogStatusWarning, report_images::kSmallWarning, report_images::kBigWarning,
     LOG_ENTRY_WARNING, "WARNING", "LOG_ENTRY_WARNING_MESSAGE"},
    {kLogStatusAborted, report_images::kSmallAborted, report_images::kBigAborted,
     LOG_ENTRY_ABORTED, "ABORTED", "LOG_ENTRY_ABORTED_MESSAGE"},
    {kLogStatusSuccess, report_images::kSmallOk, report_images::kBigOk, LOG_ENTRY_SUCCESS,
     "SUCCESS", "LOG_ENTRY_SUCCESS_MESSAGE"},
    {kLogStatusInvalid, report_images::kSmallInvalid, report_images::kBigInvalid,
     LOG_ENTRY_INVALID, "INVALID", "LOG_ENTRY_INVALID_MESSAGE"},
    {kLogStatusNotApplicable, report_images::kSmallUnsupported, report_images::kBigUnsupported,
     LOG_ENTRY_NOT_APPLICABLE, "NOT_APPLICABLE", "LOG_ENTRY_NOT_APPLICABLE_MESSAGE"},
};

// Null when no bit that counts is set.
const MaskLook* LookOfMask(quint32 mask) {
  for (const MaskLook& look : kMaskLooks) {
    if (mask & look.bit) return &look;
  }
  return nullptr;
}

const char* SmallImageOfMask(quint32 mask, bool broken) {
  if (broken) return report_images::kSmallBroken;
  const MaskLook* look = LookOfMask(mask);
  return look ? look->small_image : "";
}

// A test's result word; a word that does not count is shown as invalid.
const char* SmallImageOfResult(std::string_view result) {
  const MaskLook* look = LookOfMask(LogStatusBit(result));
  return look ? look->small_image : report_images::kSmallInvalid;
}

// The status an entry is listed by. One whose results set no status bit still needs one.
int EntryStatus(quint32 mask, bool broken) {
  if (broken) return LOG_ENTRY_BROKEN;
  const MaskLook* look = LookOfMask(mask);
  return look ? look->status : LOG_ENTRY_INVALID;
}

// Characters of an entry's device sections, roughly: each kind of row has its own markup.
qsizetype EstimatedSize(const LogGroupEntry& entry) {
  qsizetype size = 0;
  for (const auto& named : entry.resources) {
    const LogResource& resource = named.second;
    size += 1500 + 240 * qsizetype(resource.properties.size() + resource.messages.size());
    for (const LogResourceSection& section : resource.sections) {
      for (const LogResourceItem& item : section.items) {
        size += 240 * qsizetype(3 + item.properties.size());
      }
    }
    for (const LogTest& test : resource.tests) {
      size += 500 + 160 * qsizetype(test.messages.size());
      for (const LogMessage& message : test.messages) size += 40 * qsizetype(message.words().size());
    }
  }
  return size;
}

}  // namespace

void HtmlGenerator::BeginTable(QString& html) {
  html += QStringLiteral("<table  width='100%' cellspacing='0' cellpadding='2'>");
}

void HtmlGenerator::EndTable(QString& html) { html += QStringLiteral("</table>"); }

void HtmlGenerator::BeginTestsTable(QString& html) {
  html += QStringLiteral(
      "<table width='100%' cellspacing='0'  border='1' "
      "style='border-color:#A7A7A7;border-collapse: collapse;border-spacing: 0;'>");
  html += QStringLiteral("<tr><td><table width ='100%' cellspacing='0' cellpadding='5'>");
}

void HtmlGenerator::EndTestsTable(QString& html) {
  html += QStringLiteral("</table></td></tr>");
  html += QStringLiteral("</table>");
}

void HtmlGenerator::BeginIdent(QString& html, const QString& px, int count) {
  for (int i = 0; i < count; ++i) {
    html += QStringLiteral("<blockquote style='margin: 0px 0px 0px ") + px + QStringLiteral("px'>");
  }
}

void HtmlGenerator::EndIdent(QString& html, int count) {
  for (int i = 0; i < count; ++i) html += QStringLiteral("</blockquote>");
}

void HtmlGenerator::BreakLines(QString& html, int count) {
  for (int i = 0; i < count; ++i) html += QStringLiteral("<br>");
}

void HtmlGenerator::InsertSubsystemError(QString& html, const QString& text) {
  html += QStringLiteral("<table>") + QStringLiteral("<tr>") + QStringLiteral("<td width='100%'>") +
          QStringLiteral("<font color='red'><p><strong>") + Escape(text) +
          QStringLiteral("</strong></p></font>") + QStringLiteral("</td>") +
          QStringLiteral("</table>");
}

void HtmlGenerator::InsertProperty(QString& html, const QString& key, const QString& value,
                                   const QString& key_attribute, const QString& value_attribute) {
  AppendPropertyRow(html, key, value, QStringLiteral("pre-wrap"), key_attribute, value_attribute);
}

void HtmlGenerator::AppendPropertyRow(QString& html, const QString& key, const QString& value,
                                      const QString& key_white_space,
                                      const QString& key_attribute,
                                      const QString& value_attribute) {
  const bool colon = !key.isEmpty() && !key.contains(QLatin1Char(':'));
  // Built with % so that the row is appended in one step, without intermediate texts.
  html += QStringLiteral("<tr>") % QStringLiteral("<td style='white-space:") % key_white_space %
          QStringLiteral(";' ") % key_attribute % QStringLiteral("><b>") % Escape(key) %
          (colon ? QStringLiteral(":") : QString()) % QStringLiteral("</b></td>") %
          QStringLiteral("<td style='padding-left: 35px; white-space:pre-wrap;' ") %
          value_attribute % QStringLiteral(">") % Escape(value) % QStringLiteral("</td>") %
          QStringLiteral("</tr>");
}

void HtmlGenerator::InsertDeviceHeader(QString& html, const QString& name, const QString& code,
                                       quint32 mask, bool broken, bool show_code) {
  html += QStringLiteral("<table cellspacing='0' cellpadding='3' style='margin: 5px 0px 0px;'>") +
          QStringLiteral("<tr>");
  if (!show_code) {
    html += QStringLiteral("<td  style='vertical-align: bottom; horizontal-align: right;'>") +
            QStringLiteral("</td>");
  }
  html += QStringLiteral("<td width='100%' style='vertical-align: bottom;'>") +
          QStringLiteral("<img src='") + QLatin1String(SmallImageOfMask(mask, broken)) +
          QStringLiteral("'>") + QStringLiteral("<b style='vertical-align: bottom;font-size:14px'> ") +
          Escape(name) + QStringLiteral("</b>") + QStringLiteral("</td>");
  if (show_code) {
    html += QStringLiteral(
                "<td width='0%' style=' border: 1px solid #999; white-space: nowrap; background:") +
            (code.isEmpty() ? QStringLiteral("#CE4E34") : QStringLiteral("#F2F2F2")) +
            QStringLiteral(";'>") +
            QStringLiteral("<pre style='font-family: Segoe UI;font-size:14px;'>") +
            QStringLiteral("<span style='font-weight: bold;'>") +
            Escape(KolvLiteTranslate("RESULT_CODE")) + QStringLiteral("</span>") +
            QStringLiteral(":") +
            Escape(code.isEmpty() ? KolvLiteTranslate("INVALID") : code) +
            QStringLiteral("</pre>") + QStringLiteral("</td>");
  }
  html += QStringLiteral("</tr>") + QStringLiteral("</table>") + QStringLiteral("<hr>");
}

QString HtmlGenerator::LocaleSafeTimeToString(qint64 seconds) {
  if (caching_) {
    const auto known = time_texts_.constFind(seconds);
    if (known != time_texts_.constEnd()) return *known;
  }
  QString text;
  const QDateTime time = QDateTime::fromSecsSinceEpoch(seconds);
  const QLocale locale;
  const QLocale system = QLocale::system();
  if (!time.isValid()) {
    // Beyond any date the calendar holds: the number the log gave says as much.
    text = QString::number(seconds);
  } else if (locale.name() == system.name()) {
    text = system.toString(time.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           time.time().toString(QStringLiteral("hh:mm:ss"));
  } else {
    text = locale.toString(time, QStringLiteral("M/d/yyyy h:mm:ss AP"));
  }
  if (caching_) time_texts_.insert(seconds, text);
  return text;
}

QString HtmlGenerator::RemovePontuaction(std::string_view text) {
  static const QChar kPunctuation[] = {QLatin1Char('.'), QLatin1Char(':'), QLatin1Char(','),
                                       QLatin1Char('?'), QLatin1Char(';')};
  QString out;
  // Empty words between two blanks are kept, so that the spacing of the text survives.
  const QStringList words =
      QString::fromUtf8(text.data(), qsizetype(text.size())).split(QLatin1Char(' '));
  for (const QString& word : words) {
    const QString first = GetTranslatedToken(word);
    if (first != word) {
      out += first;
    } else {
      QString stripped = word;
      stripped.remove(QLatin1Char('|'));
      QString removed;
      for (const QChar mark : kPunctuation) {
        if (stripped.contains(mark)) {
          stripped.remove(mark);
          removed = mark;
          break;
        }
      }
      const QString second = GetTranslatedToken(stripped);
      out += second != stripped ? second + removed : first;
    }
    out += QLatin1Char(' ');
  }
  return out;
}

void HtmlGenerator::InsertTestResult(QString& html, std::string_view name,
                                     std::string_view result, const QString& start_text,
                                     const QString& seconds_text, const QString& colour,
                                     const std::vector<LogMessage>& messages) {
  html += QStringLiteral("<tr bgcolor='") % colour % QStringLiteral("'>") %
          QStringLiteral("<td width='100%'>") % Escape(start_text) % QStringLiteral(" - ") %
          Escape(GetTranslatedToken(name));
  for (const LogMessage& message : messages) {
    const LogMessageParts parts = message.parts();
    // Isolated as a whole: words isolated one by one would stand left to right whatever their
    // direction.
    QString words = RemovePontuaction(parts.first_word);
    for (const std::string_view word : parts.words) {
      words += QLatin1Char(' ') + RemovePontuaction(word);
    }
    html += QStringLiteral("<p style='margin:5px 0px;padding: 0px;'>") %
            Escape(LocaleSafeTimeToString(message.time)) % QStringLiteral(" - ") %
            QStringLiteral("<i><b>") % Escape(GetTranslatedToken(parts.kind)) %
            QStringLiteral("</b>") % QLatin1Char(' ') % Escape(words) % QStringLiteral("</i>") %
            QStringLiteral("</p>");
  }
  html += QStringLiteral("</td>") % QStringLiteral("<td width='0%' valign='top'>") %
          QStringLiteral("<img src='") % QLatin1String(SmallImageOfResult(result)) %
          QStringLiteral("'>") % QStringLiteral("</td>") %
          QStringLiteral("<td width='100%' style='white-space:nowrap;' valign='top'>") %
          QStringLiteral("<pre style='font-family: Segoe UI;font-size:11px;'>") %
          Escape(GetTranslatedToken(result)) % QStringLiteral(" (") % Escape(seconds_text) %
          QStringLiteral("s)</pre>") % QStringLiteral("</td>") % QStringLiteral("</tr>");
}

QString HtmlGenerator::CreateLogEntryHeader(HtmlLogEntry& entry, int mask, bool return_header,
                                            QString title, QString subtitle) {
  const char* image = "";
  const char* first_key = nullptr;
  const char* second_key = nullptr;
  const MaskLook* look = LookOfMask(static_cast<quint32>(mask));
  entry.status = EntryStatus(static_cast<quint32>(mask), entry.broken);
  if (entry.broken) {
    image = report_images::kBigBroken;
  } else if (look) {
    image = look->big_image;
    first_key = look->title_key;
    second_key = look->message_key;
  }
  QString first_line = first_key ? KolvLiteTranslate(first_key) : QString();
  QString second_line = second_key ? KolvLiteTranslate(second_key) : QString();
  if (!title.isEmpty()) first_line = title;
  if (!subtitle.isEmpty()) second_line = subtitle;

  const QString header =
      QStringLiteral("<table cellspacing='0' cellpadding='5'>") + QStringLiteral("<tr>") +
      QStringLiteral("<td width='0%' height='0%'><b>") + QStringLiteral("<img src='") +
      QLatin1String(image) + QStringLiteral("' height='50' width='50'>") + QStringLiteral("</td>") +
      QStringLiteral("<td width='100%' valign='bottom' style='font-size:14px'>") +
      QStringLiteral("<span style='font-size:18px;font-weight:bold'>") + Escape(first_line) +
      QStringLiteral("</span>") + QStringLiteral("<br>") + Escape(second_line) +
      QStringLiteral("</td>") + QStringLiteral("</td></table></tr></table>");
  if (return_header) return header;
  entry.body.prepend(header);
  return QString();
}

void HtmlGenerator::AppendDeviceSection(QString& html, const LogResource& resource) {
  const QString row_key = QStringLiteral("width='40%'");
  const QString row_value = QStringLiteral("width='60%'");
  InsertDeviceHeader(html, GetTranslatedToken(LocalToUtf8(std::string(resource.display_name))),
                     QString::fromUtf8(resource.result_code.data(),
                                       qsizetype(resource.result_code.size())),
                     resource.status_mask, resource.broken, true);

  BeginTable(html);
  for (const LogProperty& property : resource.properties) {
    InsertProperty(html, GetTranslatedToken(property.key()),
                   GetTranslatedToken(LocalToUtf8(std::string(property.value()))), row_key,
                   row_value);
  }
  EndTable(html);

  if (!resource.sections.empty()) {
    BeginTable(html);
    InsertProperty(html, GetTranslatedToken(QStringLiteral("RESOURCES")), QString(),
                   QStringLiteral("width='100%'"), QStringLiteral("width='0%'"));
    EndTable(html);
    BeginIdent(html, QStringLiteral("5"), 3);
    BeginTable(html);
    for (const LogResourceSection& section : resource.sections) {
      for (const LogResourceItem& item : section.items) {
        InsertProperty(html, GetTranslatedToken(QStringLiteral("RESOURCE_TYPE")),
                       GetTranslatedToken(section.type), row_key, row_value);
        InsertProperty(html, GetTranslatedToken(QStringLiteral("INDEX")),
                       QString::number(item.index), row_key, row_value);
        for (const LogProperty& property : item.properties) {
          InsertProperty(html, GetTranslatedToken(property.key()),
                         GetTranslatedToken(LocalToUtf8(std::string(property.value()))), row_key,
                         row_value);
        }
        InsertProperty(html, QString(), QString(), QString(), QStringLiteral("width='100%'"));
      }
    }
    EndTable(html);
    EndIdent(html, 3);
  }

  BeginTable(html);
  for (const LogMessage& message : resource.messages) {
    const LogMessageParts parts = message.parts();
    QString text = GetTranslatedToken(parts.kind) + QLatin1Char(' ') +
                   GetTranslatedToken(parts.first_word);
    for (const std::string_view word : parts.words) {
      text += QLatin1Char(' ') + GetTranslatedToken(word);
    }
    // Beside a value cell of the whole width, a time that may wrap is squeezed to one
    // character per line.
    AppendPropertyRow(html, LocaleSafeTimeToString(message.time), text, QStringLiteral("nowrap"),
                      QString(), QStringLiteral("width='100%'"));
  }
  EndTable(html);

  BeginTestsTable(html);
  bool white = true;
  for (const LogTest& test : resource.tests) {
    const std::string_view result = test.result();
    if (result.empty()) continue;
    InsertTestResult(html, test.name(), result, LocaleSafeTimeToString(test.start_time),
                     QString::number(test.duration, 'g', 6),
                     white ? QStringLiteral("#FFFFFF") : QStringLiteral("#EEEEEE"), test.messages);
    white = !white;
  }
  EndTestsTable(html);

  if (resource.broken) {
    BeginTable(html);
    InsertSubsystemError(html, GetTranslatedToken(QStringLiteral("LOG_BROKEN")));
    EndTable(html);
  }
  BreakLines(html, 3);
}

QString HtmlGenerator::BeginCachedRendering() {
  caching_ = true;
  return translation_context_;
}

void HtmlGenerator::EndCachedRendering(const QString& kept_context) {
  caching_ = false;
  translated_.clear();
  time_texts_.clear();
  set_translation_context(kept_context);
}

QString HtmlGenerator::RenderEntryPage(HtmlLogEntry& record, const LogGroupEntry& log_entry) {
  // The header depends on the entry alone: written first, it lets the device sections grow the
  // body in place.
  QString body = CreateLogEntryHeader(record, static_cast<int>(log_entry.status_mask), true,
                                      QString(), QString());
  // Room for the whole page up front, and no more than it needs afterwards: a growing page would
  // be copied again and again.
  body.reserve(body.size() + EstimatedSize(log_entry));
  for (const auto& resource : log_entry.resources) AppendDeviceSection(body, resource.second);
  body.squeeze();
  return body;
}

bool HtmlGenerator::ReadLogGroup(QVector<HtmlLogEntry>& out, const LogGroup* group,
                                 qint64 time_filter, QString name_filter,
                                 const std::shared_ptr<const void>& parsed_log) {
  if (!group) return false;
  const QString kept_context = BeginCachedRendering();
  const bool all = name_filter.toUpper() == QLatin1String("ALL");
  for (const auto& named : group->entries) {
    const LogGroupEntry& log_entry = named.second;
    HtmlLogEntry record;
    record.broken = log_entry.broken;
    record.time_key = LogEntryTimeKey(group->number);
    const QString module =
        QString::fromUtf8(log_entry.name.data(), qsizetype(log_entry.name.size()));
    set_translation_context(module);
    record.title = GetTranslatedToken(log_entry.name);
    const bool matches =
        all || (name_filter.toUpper() == module.toUpper() && time_filter == group->number);
    if (!matches) {
      record.body = CreateLogEntryHeader(record, static_cast<int>(log_entry.status_mask), true,
                                         QString(), QString());
    } else {
      record.time_text = LocaleSafeTimeToString(group->number);
      if (parsed_log) {
        // The page comes when it is asked for.
        record.status = EntryStatus(log_entry.status_mask, record.broken);
        record.source = std::shared_ptr<const LogGroupEntry>(parsed_log, &log_entry);
      } else {
        record.body = RenderEntryPage(record, log_entry);
      }
    }
    out.append(std::move(record));
  }
  EndCachedRendering(kept_context);
  return true;
}

QString HtmlGenerator::EntryBody(const HtmlLogEntry& entry) {
  if (!entry.source) return entry.body;
  const LogGroupEntry& log_entry = *entry.source;
  const QString kept_context = BeginCachedRendering();
  set_translation_context(QString::fromUtf8(log_entry.name.data(), qsizetype(log_entry.name.size())));
  HtmlLogEntry record;
  record.broken = entry.broken;
  const QString body = RenderEntryPage(record, log_entry);
  EndCachedRendering(kept_context);
  return body;
}
