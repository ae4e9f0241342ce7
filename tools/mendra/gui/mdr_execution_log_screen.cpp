#include "tools/mendra/gui/mdr_execution_log_screen.h"

#include <QTextEdit>

#include "gui/logs/html_generator.h"
#include "tools/mendra/gui/mdr_plugin.h"
#include "tools/mendra/gui/tool_log_builder.h"

MdrExecutionLogScreen::MdrExecutionLogScreen(KolvLiteController* controller)
    : ExecutionLogScreen(controller) {}

MdrExecutionLogScreen::~MdrExecutionLogScreen() = default;

void MdrExecutionLogScreen::ReadExecutionLog() {
  // Only the last run is shown, as only the last run is kept.
  html_.clear();
  HtmlGenerator generator;
  generator.ReadToolExecutionLog(html_, MdrPlugin::tool_log()->log());
  QTextEdit* page = CreateTextEditAreaForSingleIteration();
  if (page != nullptr) page->setHtml(html_);
}

void MdrExecutionLogScreen::ExportLogAction() {
  HtmlGenerator generator;
  generator.ExportHtml(html_, QStringLiteral("mendra_log.html"), QStringLiteral("LOG_SAVED_HEADER"),
                       QStringLiteral("LOG_SAVED_OK"), QStringLiteral("ERROR"),
                       QStringLiteral("LOG_SAVE_FAILED"), QStringLiteral("MENDRA"));
}
