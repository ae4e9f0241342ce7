#include "tools/mendra/gui/mdr_test_widget.h"

#include <utility>

#include "gui/logs/html_log_entry.h"
#include "tools/mendra/common/mdr_code_meaning.h"

namespace {

// The row look of a result's log-entry status; the base row holds its text and icon.
KolvLiteTestStatus LookOf(int row_status) {
  switch (row_status) {
    case LOG_ENTRY_SUCCESS: return SUCCESS;
    case LOG_ENTRY_FAILED: return FAILED;
    case LOG_ENTRY_NOT_APPLICABLE: return NOT_APPLICABLE;
    case LOG_ENTRY_ABORTED: return ABORTED;
    case LOG_ENTRY_WARNING: return WARNING;
    default: return INVALID;
  }
}

}  // namespace

MdrTestWidget::MdrTestWidget(QString name, int row, QWidget* parent)
    : TestWidget(std::move(name), row, parent) {}

void MdrTestWidget::ShowWaiting() { TestWidget::set_status(WAITING); }

void MdrTestWidget::ShowRunning() { TestWidget::set_status(RUNNING); }

void MdrTestWidget::SetResult(int code) {
  result_code_ = code;
  const MdrCodeMeaning meaning = MdrMeaningOf(code);
  if (meaning.message_key[0] != '\0') {
    // The texts of the result messages live in the tool's own catalogue.
    AddTestMessage(QString::fromLatin1(meaning.message_key), QStringLiteral("Mendra_GUI"));
  }
  TestWidget::set_status(LookOf(meaning.row_status));
}

void MdrTestWidget::set_status(KolvLiteTestStatus status) {
  if (status == ABORTED) {
    SetResult(kMdrAborted);
  } else {
    TestWidget::set_status(status);
  }
}
