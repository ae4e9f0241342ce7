#include "tools/mendra/gui/mdr_widgets.h"

#include <QImage>
#include <QLabel>

#include "gui/logs/html_log_entry.h"
#include "gui/shell/kolv_lite_translator.h"
#include "tools/mendra/gui/mdr_tool_log.h"

namespace {

struct StatusLook {
  const char* label;
  const char* icon;
  int status;  // as the panel counts it
};

StatusLook LookOf(int row_status) {
  switch (row_status) {
    case LOG_ENTRY_SUCCESS: return {"SUCCESS", ":/kolv_lite/Resources/Images/Statuses/icn_OK16x16.png", SUCCESS};
    case LOG_ENTRY_FAILED: return {"FAILED", ":/kolv_lite/Resources/Images/Statuses/icn_Error16x16.png", FAILED};
    case LOG_ENTRY_NOT_APPLICABLE:
      return {"NOT_APPLICABLE", ":/kolv_lite/Resources/Images/Statuses/icn_Unsupported16x16.png",
              NOT_APPLICABLE};
    case LOG_ENTRY_ABORTED: return {"ABORTED", ":/kolv_lite/Resources/Images/Statuses/icn_Aborted16x16.png", ABORTED};
    case LOG_ENTRY_WARNING: return {"WARNING", ":/kolv_lite/Resources/Images/Statuses/icn_Warning16x16.png", WARNING};
    default: return {"INVALID", ":/kolv_lite/Resources/Images/Statuses/icn_Invalid_16x16.png", INVALID};
  }
}

}  // namespace

MdrTestWidget::MdrTestWidget(QString name, int row, QWidget* parent)
    : TestWidget(std::move(name), row, parent) {}

void MdrTestWidget::ShowWaiting() {
  status_ = WAITING;
  UiWhenTestWaiting();
  UiTestStatusLabel()->setText(KolvLiteTranslate("WAITING"));
}

void MdrTestWidget::ShowRunning() {
  status_ = RUNNING;
  UiWhenTestRunning();
  UiTestStatusLabel()->setText(KolvLiteTranslate("RUNNING"));
}

void MdrTestWidget::SetResult(int code) {
  result_code_ = code;
  const MdrCodeMeaning meaning = MdrMeaningOf(code);
  if (meaning.message_key[0] != '\0') {
    // The texts of the result messages live in the tool's own catalogue.
    AddTestMessage(QString::fromLatin1(meaning.message_key), QStringLiteral("Mendra_GUI"));
  }
  const StatusLook look = LookOf(meaning.row_status);
  status_ = look.status;
  UiTestStatusLabel()->setText(KolvLiteTranslate(look.label));
  QImage icon(QString::fromLatin1(look.icon));
  UiWhenFinishedTest(&icon);
}

void MdrTestWidget::set_status(KolvLiteTestStatus status) {
  switch (status) {
    case WAITING: ShowWaiting(); break;
    case RUNNING: ShowRunning(); break;
    case ABORTED: SetResult(kMdrAborted); break;
    default:
      status_ = status;
      TestWidget::set_status(status);
      break;
  }
}

MdrDiagnosticWidget::MdrDiagnosticWidget(QString device_name, QWidget* parent)
    : DiagnosticWidget(std::move(device_name), parent) {}

void MdrDiagnosticWidget::AddTest(int id, QString name) {
  auto* added = new MdrTestWidget(std::move(name), RowFor(id), table());
  added->ShowWaiting();
  added->AdjustSizeToContents();
  RegisterTest(id, added);
}

MdrTestWidget* MdrDiagnosticWidget::row(int id) {
  return HasTest(id) ? qobject_cast<MdrTestWidget*>(&(*this)[id]) : nullptr;
}
