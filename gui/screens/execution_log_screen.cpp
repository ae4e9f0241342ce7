#include "gui/screens/execution_log_screen.h"

#include <QFrame>
#include <QHash>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextEdit>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>

#include "gui/logs/html_generator.h"
#include "gui/logs/logs_reader.h"
#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/test_selections.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/views.h"
#include "ui_execution_log_screen.h"

namespace {

const char kScreenContext[] = "ExecutionLogScreen";

constexpr ActionButtonSize kButtonSize = ActionButtonSize::kAtLeastStandard;

bool HasTest(const DiagnosticTestSelection& diagnostic) {
  return diagnostic.diagnostic &&
         std::any_of(diagnostic.tests.begin(), diagnostic.tests.end(),
                     [](const morva_service::TestView* test) { return test != nullptr; });
}

// The devices that each iteration ran tests on, and so wrote into the log.
int DevicesRun(const KolvLiteContext& context) {
  int devices = 0;
  for (const DeviceTestSelection* record : context.selected_tests) {
    if (record && record->device && record->diagnostics &&
        std::any_of(record->diagnostics->begin(), record->diagnostics->end(), HasTest))
      ++devices;
  }
  return devices;
}

}  // namespace

ExecutionLogScreen::ExecutionLogScreen(KolvLiteController* screen_controller)
    : KolvLiteScreen(screen_controller),
      stop_requested(false),
      reader(nullptr),
      back_button(
          MakeActionButton(TranslationKeys::BACK, TranslationKeys::BACK_TOOLTIP, kButtonSize)),
      export_button(MakeActionButton(TranslationKeys::EXPORT_ENTRY,
                                     TranslationKeys::EXPORT_ENTRY_TOOLTIP, kButtonSize)),
      form(new Ui::ExecutionLogScreen),
      read_thread_(new QThread),
      read_output_(nullptr),
      read_pending_(false) {
  read_thread_->setObjectName(QStringLiteral("ExecutionLogRead"));
  BuildForm();
  connect(back_button, &QPushButton::clicked, controller, &KolvLiteController::GoToPreviousScreen);
  connect(export_button, &QPushButton::clicked, this, &ExecutionLogScreen::ExportLog);
  connect(form->previous_iteration_pushButton, &QPushButton::clicked, this,
          &ExecutionLogScreen::PreviousIteration);
  connect(form->next_iteration_pushButton, &QPushButton::clicked, this,
          &ExecutionLogScreen::NextIteration);
  connect(form->iterations_stackedWidget, &QStackedWidget::currentChanged, this,
          &ExecutionLogScreen::UpdateIterationButtons);
}

ExecutionLogScreen::~ExecutionLogScreen() {
  if (reader) {
    reader->AbortRead();
    disconnect(reader, nullptr, this, nullptr);
  }
  read_thread_->quit();
  read_thread_->wait();
  // The thread has ended: nothing runs on the reader any more.
  delete reader;
  delete read_output_;
  delete read_thread_;
  delete back_button;
  delete export_button;
  delete form;
}

void ExecutionLogScreen::BuildForm() {
  setObjectName(QStringLiteral("ExecutionLogScreen"));
  form->setupUi(this);
  form->verticalLayout_3->setAlignment(Qt::AlignTop);
  form->execution_log_label->setText(KolvLiteTranslate(kScreenContext, "EXECUTION_LOG"));
}

QTextEdit* ExecutionLogScreen::NewPage(bool wrap) {
  auto* page = new QTextEdit(form->iterations_stackedWidget);
  page->setReadOnly(true);
  page->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  page->setFrameShape(QFrame::NoFrame);
  page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  page->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  page->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return page;
}

void ExecutionLogScreen::SetIterationWidgetsVisible(bool visible) {
  form->previous_iteration_pushButton->setVisible(visible);
  form->iterations_label->setVisible(visible);
  form->next_iteration_pushButton->setVisible(visible);
}

QTextEdit* ExecutionLogScreen::CreateTextEditAreaForSingleIteration() {
  SetIterationWidgetsVisible(false);
  QTextEdit* page = NewPage(false);
  form->iterations_stackedWidget->addWidget(page);
  form->iterations_stackedWidget->setCurrentWidget(page);
  export_button->show();
  return page;
}

void ExecutionLogScreen::OnEnter() {
  controller->AddAndShowActionWidget(export_button);
  controller->AddAndShowActionWidget(back_button);
  controller->ShowActionBar();
  controller->ShowModuleName();
  KolvLiteContext* context = controller->execution_context();
  if (!loaded) {
    SetIterationWidgetsVisible(false);
    export_button->hide();
    entries.clear();
    ReadExecutionLog();
    loaded = true;
  } else if (context->runs > 1 && !page_iterations_.isEmpty()) {
    form->iterations_stackedWidget->setCurrentIndex(PageOfIteration(context->current_iteration));
  }
}

void ExecutionLogScreen::OnExit() {
  controller->RemoveAndHideActionWidget(export_button);
  controller->RemoveAndHideActionWidget(back_button);
}

bool ExecutionLogScreen::isBusy(QString& /*message*/) { return false; }

void ExecutionLogScreen::Stop() {
  stop_requested = true;
  if (read_pending_) {
    // The read reports at its next group; Stopped follows its report.
    reader->AbortRead();
    return;
  }
  emit Stopped(this);
}

void ExecutionLogScreen::Unload() {
  AbandonRead();
  entries.clear();
  page_iterations_.clear();
  // The pages of an earlier run would otherwise stand where the next run's pages are looked for.
  while (form->iterations_stackedWidget->count() > 1) {
    QWidget* page = form->iterations_stackedWidget->widget(1);
    form->iterations_stackedWidget->removeWidget(page);
    delete page;
  }
  form->iterations_stackedWidget->setCurrentIndex(0);
  form->log_status_label->clear();
  loaded = false;
}

void ExecutionLogScreen::AbandonRead() {
  if (!reader) return;
  disconnect(reader, nullptr, this, nullptr);
  reader->AbortRead();
  // Freed on its thread once its read is over, together with what it was writing into.
  QVector<HtmlLogEntry>* output = read_output_;
  connect(reader, &QObject::destroyed, [output] { delete output; });
  reader->deleteLater();
  reader = nullptr;
  read_output_ = nullptr;
  if (read_pending_) {
    read_pending_ = false;
    if (stop_requested) emit Stopped(this);
  }
}

bool ExecutionLogScreen::FromCurrentRead() { return reader && sender() == reader; }

void ExecutionLogScreen::ReadEnded() { read_pending_ = false; }

void ExecutionLogScreen::ReadExecutionLog() {
  AbandonRead();
  KolvLiteContext* context = controller->execution_context();
  const QVector<qint64>& starts = context->iteration_start_times;
  if (starts.isEmpty()) {
    NoLogsFoundInInterval();
    return;
  }
  if (!read_thread_->isRunning()) read_thread_->start();
  // Without its thread the read never runs: the log could not be read.
  if (!read_thread_->isRunning()) {
    ShowStatus(TranslationKeys::LOG_FILE_NOT_FOUND);
    return;
  }
  const QString module = context->current_module
                             ? QString::fromStdString(context->current_module->name())
                             : context->module_name;
  read_output_ = new QVector<HtmlLogEntry>;
  // Exactly the groups this run wrote, by their numbers, so that a group missing for an aborted
  // iteration is never filled by an older run or by another program's.
  reader = new LogsReader(static_cast<time_t>(starts.first()), static_cast<time_t>(starts.last()),
                          read_output_, context->runs, true, true);
  reader->RestrictToGroups(starts, module, DevicesRun(*context));
  connect(reader, &LogsReader::LogFileNotFound, this, &ExecutionLogScreen::LogFileNotFound);
  connect(reader, &LogsReader::NoLogsFoundOnInterval, this,
          &ExecutionLogScreen::NoLogsFoundInInterval);
  connect(reader, &LogsReader::LogResultsFound, this, &ExecutionLogScreen::BuildLogEntries);
  connect(reader, &LogsReader::ReadAborted, this, &ExecutionLogScreen::ReadAborted);
  reader->moveToThread(read_thread_);
  read_pending_ = true;
  QMetaObject::invokeMethod(reader, "StartRead", Qt::QueuedConnection);
}

void ExecutionLogScreen::BuildLogEntries() {
  if (sender() && !FromCurrentRead()) return;
  ReadEnded();
  if (read_output_) {
    entries += *read_output_;
    read_output_->clear();
  }
  KolvLiteContext* context = controller->execution_context();
  setFocus();
  if (entries.size() > 1) SetIterationWidgetsVisible(true);
  // Each entry belongs to the iteration whose start time is its group's number; an iteration
  // that wrote no log has no page, so pages and iterations need not line up.
  QHash<QString, int> iteration_of_key;
  const QVector<qint64>& starts = context->iteration_start_times;
  for (int i = 0; i < starts.size(); ++i) {
    iteration_of_key.insert(LogEntryTimeKey(starts[i]), i);
  }
  HtmlGenerator generator;
  for (const HtmlLogEntry& entry : entries) {
    QTextEdit* page = NewPage(true);
    page->setHtml(generator.EntryBody(entry));
    form->iterations_stackedWidget->addWidget(page);
    page_iterations_.append(iteration_of_key.value(entry.time_key, page_iterations_.size()));
  }
  form->iterations_stackedWidget->setCurrentIndex(PageOfIteration(context->current_iteration));
  UpdateIterationButtons();
  export_button->show();
  if (stop_requested) emit Stopped(this);
}

void ExecutionLogScreen::ShowStatus(const char* key) {
  form->iterations_stackedWidget->setCurrentIndex(0);
  form->log_status_label->setText(KolvLiteTranslate(key));
  if (stop_requested) emit Stopped(this);
}

void ExecutionLogScreen::NoLogsFoundInInterval() {
  if (sender() && !FromCurrentRead()) return;
  ReadEnded();
  ShowStatus(TranslationKeys::NO_LOGS_FOUND_ON_INTERVAL);
}

void ExecutionLogScreen::LogFileNotFound() {
  if (sender() && !FromCurrentRead()) return;
  ReadEnded();
  ShowStatus(TranslationKeys::LOG_FILE_NOT_FOUND);
}

void ExecutionLogScreen::ReadAborted() {
  if (!FromCurrentRead()) return;
  ReadEnded();
  if (stop_requested) emit Stopped(this);
}

int ExecutionLogScreen::PageOfIteration(int iteration) const {
  if (page_iterations_.isEmpty()) return 0;
  for (int i = 0; i < page_iterations_.size(); ++i) {
    if (page_iterations_[i] >= iteration) return i + 1;
  }
  return page_iterations_.size();
}

void ExecutionLogScreen::UpdateIterationButtons() {
  const int shown = form->iterations_stackedWidget->currentIndex();
  const int count = form->iterations_stackedWidget->count();
  form->previous_iteration_pushButton->setEnabled(shown != 1);
  form->next_iteration_pushButton->setEnabled(shown != count - 1);
  // One total for the run, whatever pages it has; pages of no iteration count by position.
  const int iterations = controller->execution_context()->iteration_start_times.size();
  const bool mapped = shown >= 1 && shown <= page_iterations_.size();
  form->iterations_label->setText(KolvLitePositionOf(
      mapped ? page_iterations_[shown - 1] + 1 : shown, mapped ? iterations : count - 1));
}

void ExecutionLogScreen::NextIteration() {
  const int shown = form->iterations_stackedWidget->currentIndex();
  if (shown + 1 >= form->iterations_stackedWidget->count()) return;
  ShowPage(shown + 1);
}

void ExecutionLogScreen::PreviousIteration() {
  const int shown = form->iterations_stackedWidget->currentIndex();
  if (shown <= 1) return;
  ShowPage(shown - 1);
}

void ExecutionLogScreen::ShowPage(int page) {
  form->iterations_stackedWidget->setCurrentIndex(page);
  // The execution screen shows the same iteration when the user goes back.
  if (page <= page_iterations_.size()) {
    controller->execution_context()->current_iteration = page_iterations_[page - 1];
  }
}

void ExecutionLogScreen::ExportLog() { ExportLogAction(); }

void ExecutionLogScreen::ExportLogAction() {
  // The entry of the page shown, which is the context's iteration unless the log lacks groups
  // of the run; never one past the entries.
  const int index = form->iterations_stackedWidget->currentIndex() - 1;
  if (index < 0 || index >= entries.size()) return;
  KolvLiteContext* context = controller->execution_context();
  HtmlGenerator generator;
  if (context->current_module) {
    generator.set_translation_context(QString::fromStdString(context->current_module->name()));
  }
  generator.ExportLogEntry(entries[index], index, QStringLiteral("kolv_lite_log.html"),
                           QString::fromLatin1(TranslationKeys::LOG_SAVED_HEADER),
                           QString::fromLatin1(TranslationKeys::LOG_SAVED_OK),
                           QString::fromLatin1(TranslationKeys::ERROR),
                           QString::fromLatin1(TranslationKeys::LOG_SAVE_FAILED));
}

void ExecutionLogScreen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    controller->GoToPreviousScreen();
    return;
  }
  KolvLiteScreen::keyPressEvent(event);
}
