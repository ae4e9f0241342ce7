// Result codes, status merging and the tool run's report, from the listener's notifications to
// the rendered HTML.
#include <QApplication>
#include <QResource>
#include <QTest>
#include <QTextDocument>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gui/logs/html_generator.h"
#include "gui/shell/kolv_lite_controller.h"
#include "kolv_os/os.h"
#include "tests/gui/logs/support/report_test_support.h"
#include "tests/support/file_size_limit.h"
#include "tools/mendra/common/mdr_code_meaning.h"
#include "tools/mendra/common/mdr_utils.h"
#include "tools/mendra/gui/mdr_diagnostic_widget.h"
#include "tools/mendra/gui/mdr_execution_log_screen.h"
#include "tools/mendra/gui/mdr_listener.h"
#include "tools/mendra/gui/mdr_plugin.h"
#include "tools/mendra/gui/mdr_report_terms.h"
#include "tools/mendra/gui/mdr_test_widget.h"
#include "gui/logs/html_log_entry.h"
#include "morva_service/views.h"
#include "gui/shell/kolv_lite_translator.h"
#include "tools/mendra/gui/tool_log_builder.h"

namespace {

class FakeEvent : public morva_service::ToolEventView {
 public:
  explicit FakeEvent(std::map<std::string, std::vector<std::string>> values)
      : values_(std::move(values)) {}
  std::vector<std::string> GetValues(const std::string& key) const override {
    auto it = values_.find(key);
    return it == values_.end() ? std::vector<std::string>() : it->second;
  }

 private:
  std::map<std::string, std::vector<std::string>> values_;
};

void Send(MdrListener& listener, const std::string& name,
          std::map<std::string, std::vector<std::string>> values) {
  FakeEvent event(std::move(values));
  QVERIFY(listener.Dispatch(name, &event));
}

}  // namespace

class TestToolLog : public QObject {
  Q_OBJECT

 private slots:
  // A device's result row shows the tool's own text for its code, not the key.
  void resultRowSpeaksTheToolsCatalogue() {
    QVERIFY(QResource::registerResource(QStringLiteral(KOLV_PLUGIN_FOLDER "/mendra_gui.rcc")));
    QVERIFY(KolvLiteTranslator::LoadTranslator(QStringLiteral("Mendra_GUI")));
    QVERIFY(KolvLiteTranslator::InstallTranslator(QStringLiteral("Mendra_GUI")));
    // The other cases read keys: the catalogue goes away however this one ends.
    struct Uninstall {
      ~Uninstall() { KolvLiteTranslator::ClearTranslators(); }
    } uninstall;
    MdrTestWidget row(QStringLiteral("Scan"), 0);
    row.SetResult(0);
    QCOMPARE(row.messages().size(), 1);
    QCOMPARE(row.messages().front().trimmed(), QStringLiteral("No errors were found"));
  }

  void cleanup() { MdrPlugin::Release(); }

  // The tool's panel is a panel like any other: it counts, finds and aborts its own rows.
  void panelKnowsItsRows() {
    MdrDiagnosticWidget panel(QStringLiteral("DISK"));
    panel.AddTest(0, QStringLiteral("C:"));
    panel.AddTest(1, QStringLiteral("D:"));
    panel.AddTest(2, QStringLiteral("E:"));
    QCOMPARE(panel.TestsCount(), 3);
    QCOMPARE(&panel[1], static_cast<TestWidget*>(panel.row(1)));
    panel.row(0)->SetResult(0);
    panel.row(1)->ShowRunning();
    panel.AbortAll();
    QCOMPARE(panel.row(0)->result_code(), 0);
    QCOMPARE(panel.row(0)->test_status(), static_cast<int>(SUCCESS));
    QCOMPARE(panel.row(1)->result_code(), 8);
    QCOMPARE(panel.row(2)->result_code(), 8);
    QCOMPARE(panel.row(2)->test_status(), static_cast<int>(ABORTED));
  }

  void codeMeanings() {
    struct Row {
      int code;
      int status;
      const char* message;
      const char* result;
    };
    const Row rows[] = {
        {0, LOG_ENTRY_SUCCESS, "NO_ERRORS_FOUND", "NO_ERRORS_FOUND"},
        {1, LOG_ENTRY_NOT_APPLICABLE, "PARTITION_LOCKED", "PARTITION_LOCKED"},
        {5, LOG_ENTRY_NOT_APPLICABLE, "FILESYSTEM_NOT_SUPPORTED", "UNABLE_TO_EXECUTE"},
        {6, LOG_ENTRY_ABORTED, "OPERATION_FAILED", "UNABLE_TO_EXECUTE"},
        {8, LOG_ENTRY_ABORTED, "", "ABORTED"},
        {10, LOG_ENTRY_WARNING, "ERRORS_FOUND_BUT_NOT_FIXED", "SOME_ERRORS_COULD_NOT_BE_FIXED"},
        {11, LOG_ENTRY_WARNING, "ERRORS_CORRECTED_BUT_NEED_TO_REBOOT", "ERRORS_FOUND_AND_FIXED"},
        {12, LOG_ENTRY_FAILED, "", "ERRORS_FOUND"},
        {13, LOG_ENTRY_INVALID, "", "UNDEFINED_STATUS"},
        {-1, LOG_ENTRY_INVALID, "", "UNDEFINED_STATUS"},
    };
    for (const Row& row : rows) {
      const MdrCodeMeaning meaning = MdrMeaningOf(row.code);
      QCOMPARE(meaning.row_status, row.status);
      QCOMPARE(QString::fromLatin1(meaning.message_key), QString::fromLatin1(row.message));
      QCOMPARE(QString::fromLatin1(meaning.result_key), QString::fromLatin1(row.result));
    }
    QCOMPARE(OperationLabel("repair"), std::string("SCAN_AND_REPAIR_BAD_SECTORS_LABEL"));
    QCOMPARE(OperationLabel("format"), std::string("UNKNOWN_OPERATION"));
  }

  // The engine knows its operations only by these words; a number no flow has starts nothing.
  void operationWordsSentToTheEngine() {
    const std::pair<int, const char*> words[] = {
        {kMdrScan, "scan"}, {kMdrScanAndRepair, "repair"}, {kMdrFilesystemRepair, "filesystem"},
        {3, ""}, {-1, ""}};
    for (const auto& [operation, word] : words) {
      MdrPlugin::set_operation(operation);
      QCOMPARE(MdrPlugin::operation_name(), std::string(word));
    }
    MdrPlugin::set_operation(kMdrScan);
  }

  void mergingAndParsing() {
    QCOMPARE(MergeStatus(LOG_ENTRY_SUCCESS, LOG_ENTRY_WARNING), int(LOG_ENTRY_WARNING));
    QCOMPARE(MergeStatus(LOG_ENTRY_ABORTED, LOG_ENTRY_FAILED), int(LOG_ENTRY_ABORTED));
    QCOMPARE(MergeStatus(LOG_ENTRY_NOT_APPLICABLE, LOG_ENTRY_SUCCESS), int(LOG_ENTRY_SUCCESS));
    QCOMPARE(MergeStatus(42, LOG_ENTRY_NOT_APPLICABLE), int(LOG_ENTRY_NOT_APPLICABLE));
    QCOMPARE(MergeStatus(LOG_ENTRY_SUCCESS, 42), int(LOG_ENTRY_SUCCESS));
    // A garbled code must not read as code 0, "no errors".
    QCOMPARE(MdrParseInt("12", -1), 12);
    QCOMPARE(MdrParseInt("x", -1), -1);
    QCOMPARE(MdrParseInt("3z", -1), -1);
    QCOMPARE(MdrParseInt("", -1), -1);
  }

  void builderStatuses() {
    ToolLogBuilder builder;
    builder.PushEntry("A");
    builder.AddTask("SCAN_BAD_SECTORS_LABEL");
    builder.SetResult(0);
    builder.PopEntry(0);
    builder.PushEntry("B");
    builder.AddTask("SCAN_BAD_SECTORS_LABEL");
    builder.SetResult(10);
    builder.PopEntry(10);
    builder.Finish();
    ToolExecutionLog_* log = builder.log();
    QCOMPARE(int(log->entries.size()), 2);
    QCOMPARE(log->status, int(LOG_ENTRY_WARNING));
    const ToolTaskResult_& task = log->entries[1].task_results.at(0);
    QCOMPARE(int(task.second.first.first), int(LOG_ENTRY_WARNING));
    QCOMPARE(task.second.first.second, std::string("WARNING"));
    QCOMPARE(int(task.second.second.size()), 1);
    QVERIFY(QString::fromStdString(task.second.second[0]).endsWith("SOME_ERRORS_COULD_NOT_BE_FIXED"));

    // Code 8: aborted, without a message line; the graver status wins over FAILED.
    builder.Reset();
    QVERIFY(builder.log()->entries.empty());
    builder.PushEntry("C");
    builder.AddTask("SCAN_BAD_SECTORS_LABEL");
    builder.SetResult(8);
    QVERIFY(builder.log()->entries.empty());
    builder.PopEntry(8);
    builder.PushEntry("D");
    builder.AddTask("SCAN_BAD_SECTORS_LABEL");
    builder.SetResult(12);
    builder.PopEntry(12);
    builder.Finish();
    QCOMPARE(builder.log()->status, int(LOG_ENTRY_ABORTED));
    QVERIFY(builder.log()->entries[0].task_results[0].second.second.empty());

    // An empty log is not applicable; work on no entry is refused, not undefined.
    builder.Reset();
    builder.Finish();
    QCOMPARE(builder.log()->status, int(LOG_ENTRY_NOT_APPLICABLE));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, builder.SetResult(0));
    builder.PushEntry("E");
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, builder.SetResult(0));
  }

  void notesAreEscaped() {
    QCOMPARE(MdrListener::PartitionNote("a<b>\nc", "repair", 0),
             std::string("<pre>a&lt;b&gt;<br>c</pre>"));
    QCOMPARE(MdrListener::PartitionNote("failed badly", "filesystem", 6), std::string());
    QCOMPARE(MdrListener::PartitionNote("", "filesystem", 0), std::string());
    // What the tool said is saved as it was shown: never an image of the report, never turned
    // around what follows it, line by line.
    const QString image =
        QStringLiteral("<img src=':/kolv_lite/Resources/Images/Statuses/icn_OK16x16.png'>");
    QCOMPARE(MdrListener::PartitionNote("a\u202E\nb", "repair", 0),
             std::string("<pre>\u2068a\u202E\u2069<br>\u2068b\u2069</pre>"));
    ToolExecutionLog_ log;
    log.entries.push_back(
        {"D", 0, {}, {}, MdrListener::PartitionNote(image.toStdString(), "repair", 0), {}, 0, 0});
    QString html;
    QVERIFY(HtmlGenerator().ReadToolExecutionLog(html, &log));
    QVERIFY(gui_test::RegisterProgramResources());
    const QString saved = test_support::ScratchDir(QStringLiteral("note")) + "/mendra_log.html";
    QVERIFY(HtmlGenerator().SaveHtml(html, saved, QStringLiteral("T")));
    QTextDocument page;
    page.setHtml(report_test::ReadText(saved));
    QVERIFY(page.toPlainText().contains(image));
    const std::string scan = MdrListener::SectorTable({"100", "<3>", "0", "0"}, "scan");
    QVERIFY(scan.find("&lt;3&gt;") != std::string::npos);
    QVERIFY(scan.find("TOTAL_FIXED_SECTORS") == std::string::npos);
    // A short list does not read past its end.
    const std::string repair = MdrListener::SectorTable({"100"}, "repair");
    QVERIFY(repair.find("TOTAL_NON_FIXED_SECTORS") != std::string::npos);
  }

  // A filesystem run records partitions below their device; events out of order or with
  // missing values leave the tool's thread alive and the report readable.
  void listenerRecordsRun() {
    MdrListener listener;
    Send(listener, "OnRecoverInit", {});
    Send(listener, "OnOperationInit", {{"Operation", {"filesystem"}}});
    Send(listener, "OnDeviceInit", {{"DeviceInit", {"dev9"}}, {"Operation", {"filesystem"}}});
    Send(listener, "OnPartitionInit",
         {{"PartitionInit", {"dev9", "D:\\"}}, {"Operation", {"filesystem"}}});
    Send(listener, "OnPartitionFinish",
         {{"PartitionFinish", {"dev9", "D:\\", "FIXED <2>", "9"}}, {"Operation", {"filesystem"}}});
    Send(listener, "OnDeviceFinish", {{"DeviceFinish", {"dev9", "9"}}, {"Operation", {"filesystem"}}});
    // Unbalanced and incomplete notifications.
    Send(listener, "OnPartitionFinish", {{"Operation", {"filesystem"}}});
    Send(listener, "OnDeviceFinish", {});
    Send(listener, "OnProgress", {{"Progress", {"abc"}}});
    Send(listener, "OnRecoverFinish", {});

    ToolExecutionLog_* log = MdrPlugin::tool_log()->log();
    QCOMPARE(int(log->entries.size()), 1);
    const ToolExecutionLogEntry_& device = log->entries[0];
    QCOMPARE(device.name, std::string("dev9"));
    QVERIFY(device.task_results.empty());
    QCOMPARE(int(device.children.size()), 1);
    QCOMPARE(device.children[0].name, std::string("D:\\"));
    QCOMPARE(device.children[0].note, std::string("<pre>FIXED &lt;2&gt;</pre>"));
    QCOMPARE(log->status, int(LOG_ENTRY_SUCCESS));

    QString html;
    HtmlGenerator generator;
    QVERIFY(generator.ReadToolExecutionLog(html, log));
    QVERIFY(html.contains(QStringLiteral("dev9")));
    QVERIFY(html.contains(QStringLiteral("FIXED &lt;2&gt;")));
    QVERIFY(!html.contains(QStringLiteral("FIXED <2>")));
  }

  // The report saved on a disk that fills on the way is told as not saved, and the report
  // saved there before stays whole.
  void exportOnAFullDiskKeepsTheEarlierReport() {
    kolv_os::IgnoreFileSizeLimitSignal();  // as the program starts
    QVERIFY(gui_test::RegisterProgramResources());
    MdrListener listener;
    Send(listener, "OnRecoverInit", {});
    Send(listener, "OnOperationInit", {{"Operation", {"scan"}}});
    Send(listener, "OnDeviceInit", {{"DeviceInit", {"dev7"}}, {"Operation", {"scan"}}});
    Send(listener, "OnDeviceFinish", {{"DeviceFinish", {"dev7", "12"}}, {"Operation", {"scan"}}});
    Send(listener, "OnRecoverFinish", {});
    KolvLiteController controller;
    MdrExecutionLogScreen screen(&controller);
    screen.ReadExecutionLog();
    const QString path = test_support::ScratchDir(QStringLiteral("tool_report")) + "/report.html";
    const auto save = [&](qint64 limit) {
      report_test::DialogHand hand(path);
      std::unique_ptr<test_support::FileSizeLimit> full;
      if (limit > 0) full = std::make_unique<test_support::FileSizeLimit>(limit);
      screen.ExportLogAction();
      return hand.message;
    };
    QCOMPARE(save(0), QStringLiteral("LOG_SAVED_OK"));
    const QString earlier = report_test::ReadText(path);
    QVERIFY(earlier.contains(QStringLiteral("dev7")));
    QVERIFY(earlier.contains(QStringLiteral("./report_files/images/icn_Error16x16.png")));
    const QString earlier_image = report_test::ReadText(path.chopped(5) + "_files/images/icn_Error16x16.png");

    Send(listener, "OnRecoverInit", {});
    Send(listener, "OnOperationInit", {{"Operation", {"scan"}}});
    Send(listener, "OnDeviceInit", {{"DeviceInit", {"dev8"}}, {"Operation", {"scan"}}});
    Send(listener, "OnDeviceFinish", {{"DeviceFinish", {"dev8", "0"}}, {"Operation", {"scan"}}});
    Send(listener, "OnRecoverFinish", {});
    screen.ReadExecutionLog();
    QCOMPARE(save(earlier.toUtf8().size() / 2), QStringLiteral("LOG_SAVE_FAILED"));
    QCOMPARE(report_test::ReadText(path), earlier);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({"report.html", "report_files"}));
    QCOMPARE(report_test::ReadText(path.chopped(5) + "_files/images/icn_Error16x16.png"), earlier_image);
  }
};

QTEST_MAIN(TestToolLog)
#include "qtest_tool_log.moc"
