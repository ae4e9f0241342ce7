// Reports beside the diagnostics log: a tool run with nested blocks, a device's description and
// the machine table, with the texts of tools, devices and firmware kept as text.
#include <QtTest>

#include "gui/logs/html_generator.h"
#include "gui/logs/tool_execution_log.h"
#include "morva_service/views.h"
#include "tests/gui/logs/support/report_test_support.h"

namespace {

const QString kStatuses = QStringLiteral(":/kolv_lite/Resources/Images/Statuses/");

class FakeDevice : public morva_service::SystemComponentView {
 public:
  std::string id() const override { return "device"; }
  morva_service::SystemComponentInformation information() const override { return information_; }
  void resources(std::vector<morva_service::SystemComponentResource>& out) const override {
    out = resources_;
  }
  morva_service::SystemComponentInformation information_;
  std::vector<morva_service::SystemComponentResource> resources_;
};

ToolExecutionLogEntry_ Block(const std::string& name, int status) {
  ToolExecutionLogEntry_ block;
  block.name = name;
  block.status = status;
  block.start_time = 1714558830;
  block.end_time = 1714558890;
  return block;
}

}  // namespace

class TestInfoRendering : public QObject {
  Q_OBJECT

 private slots:
  void toolReportHeaderAndBlocks() {
    ToolExecutionLog_ log;
    log.status = 7;
    log.title = "Scan <done>";
    log.subtitle = "2 devices";
    log.entries.push_back(Block("EMPTY_BLOCK", 0));

    ToolExecutionLogEntry_ device = Block("Disk <1>", 1);
    device.properties = {{"Size", "512 GB & more"}};
    device.task_results.push_back(
        {"SCAN_LABEL", {{LOG_ENTRY_FAILED, "ERRORS_FOUND"}, {"MESSAGE_: BAD <SECTOR>", "a  b"}}});
    device.task_results.push_back({"ODD", {{LOG_ENTRY_INVALID, "UNDEFINED_STATUS"}, {}}});
    device.note = "<b>prepared by the tool</b>";
    ToolExecutionLogEntry_ partition = Block("PART_1", 4);
    partition.children.push_back(Block("INNER", 3));
    device.children.push_back(partition);
    log.entries.push_back(device);

    QString html;
    HtmlGenerator generator;
    QVERIFY(generator.ReadToolExecutionLog(html, &log));

    // A status outside the known ones: the invalid image under the report's own two lines.
    QVERIFY(html.startsWith(QStringLiteral("<table cellspacing='0' cellpadding='5'><tr><td width='0%' "
                                           "height='0%'><b><img src='") +
                            kStatuses + QStringLiteral("icn_Invalid_big.png'")));
    QVERIFY(html.contains(QStringLiteral(">Scan &lt;done&gt;</span><br>2 devices</td>")));

    // A block with nothing in it is its title bar alone.
    const QString empty_block =
        QStringLiteral("<table cellspacing='0' cellpadding='3' style='margin: 5px 0px 0px;'><tr>"
                       "<td  style='vertical-align: bottom; horizontal-align: right;'></td>"
                       "<td width='100%' style='vertical-align: bottom;'><img src='") +
        kStatuses +
        QStringLiteral("icn_OK16x16.png'><b style='vertical-align: bottom;font-size:14px'> "
                       "EMPTY_BLOCK</b></td></tr></table><hr><br><br><br>");
    QVERIFY(html.contains(empty_block));

    QVERIFY(html.contains(QStringLiteral("> Disk &lt;1&gt;</b>")));
    QVERIFY(html.contains(QStringLiteral("<b>Size:</b></td><td style='padding-left: 35px; "
                                         "white-space:pre-wrap;' width='60%'>512 GB &amp; more</td>")));
    QVERIFY(html.contains(QStringLiteral("<tr bgcolor='#EEEEEE'><td width='100%'>5/1/2024 "
                                         "10&#58;20&#58;30 AM - SCAN_LABEL</td><td width='100%' >"
                                         "<img src='") +
                          kStatuses +
                          QStringLiteral("icn_Error16x16.png'></td><td width='0%' "
                                         "nowrap='nowrap'>ERRORS_FOUND</td></tr>")));
    QVERIFY(html.contains(QStringLiteral("<tr bgcolor='#FFFFFF'><td width='100%'>5/1/2024 10&#58;21&#58;30 "
                                         "AM - MESSAGE_&#58; BAD &lt;SECTOR&gt;</td><td></td><td></td></tr>")));
    QVERIFY(html.contains(QStringLiteral("AM - a  b</td>")));
    // A task status without an image of its own shows an image element without a file.
    QVERIFY(html.contains(QStringLiteral("ODD</td><td width='100%' ><img src=''></td>")));
    QVERIFY(html.contains(QStringLiteral("<tr bgcolor='#EEEEEE'><td><b>prepared by the tool</b></td></tr>")));

    // Children nest, each level in its own indentation.
    const QString indent = QStringLiteral("<blockquote style='margin: 0px 0px 0px 15px'><table width=100%><tr><td width=100%><br>");
    const int part = html.indexOf(indent + QStringLiteral("<table cellspacing='0' cellpadding='3'"));
    QVERIFY(part > 0);
    QVERIFY(html.indexOf(QStringLiteral("> PART_1</b>"), part) > part);
    const int inner = html.indexOf(indent, part + 1);
    QVERIFY(inner > html.indexOf(QStringLiteral("> PART_1</b>")));
    QVERIFY(html.indexOf(kStatuses + QStringLiteral("icn_Aborted16x16.png'><b style='vertical-align: "
                                                    "bottom;font-size:14px'> INNER</b>"), inner) > 0);
    QCOMPARE(html.count(QStringLiteral("<blockquote")), html.count(QStringLiteral("</blockquote>")));
  }

  // Each status a tool gives has its own image: big in the report's header, small in a block's
  // title bar and in a task row.
  void eachToolStatusShowsItsImage() {
    const QStringList images = {QStringLiteral("OK"), QStringLiteral("Error"),
                                QStringLiteral("Unsupported"), QStringLiteral("Aborted"),
                                QStringLiteral("Warning")};
    for (int status = 0; status < images.size(); ++status) {
      ToolExecutionLog_ log;
      log.status = status;
      ToolExecutionLogEntry_ block = Block("BLOCK", status);
      block.task_results.push_back(
          {"TASK", {{static_cast<HtmlLogEntryStatus>(status), "RESULT"}, {}}});
      log.entries.push_back(block);
      QString html;
      HtmlGenerator generator;
      QVERIFY(generator.ReadToolExecutionLog(html, &log));
      const QString big = kStatuses + QStringLiteral("icn_") + images[status] +
                          QStringLiteral("_big.png'");
      const QString small = kStatuses + QStringLiteral("icn_") + images[status] +
                            QStringLiteral("16x16.png'");
      QVERIFY2(html.contains(QStringLiteral("<b><img src='") + big), qPrintable(images[status]));
      QVERIFY2(html.contains(small + QStringLiteral("><b style='vertical-align: bottom;"
                                                    "font-size:14px'> BLOCK</b>")),
               qPrintable(images[status]));
      QVERIFY2(html.contains(QStringLiteral("TASK</td><td width='100%' ><img src='") + small +
                             QStringLiteral("></td>")),
               qPrintable(images[status]));
    }
  }

  void deviceDescription() {
    FakeDevice device;
    device.information_.display_name = "<script>alert(1)</script>";
    device.information_.properties = {{"MODEL", "X</td></table>"}, {"SERIAL", "42"}};
    HtmlGenerator generator;
    QString bare;
    QVERIFY(generator.ReadSystemComponentInformation(bare, &device, false));
    QVERIFY(!bare.contains(QStringLiteral("log_device_header_bg")));
    QVERIFY(!bare.contains(QStringLiteral("RESOURCES")));
    QVERIFY(!bare.contains(QStringLiteral("<blockquote")));
    QVERIFY(bare.contains(QStringLiteral("<b>MODEL:</b></td><td style='padding-left: 35px; "
                                         "white-space:pre-wrap;' width='60%'>X&lt;/td&gt;&lt;/table&gt;</td>")));
    QVERIFY(bare.endsWith(QStringLiteral("</table><br>")));

    device.resources_ = {{"PARTITION", {{"INDEX", "0"}, {"MOUNT_POINT", "/"}}},
                         {"PARTITION", {{"INDEX", "1"}}}};
    report_test::TableTranslator translator({{"STORAGE", {{"PARTITION", "Partition"}}}});
    QCoreApplication::installTranslator(&translator);
    generator.set_translation_context(QStringLiteral("STORAGE"));
    QString full;
    QVERIFY(generator.ReadSystemComponentInformation(full, &device, true));
    QCoreApplication::removeTranslator(&translator);
    QVERIFY(full.startsWith(
        QStringLiteral("<table cellspacing='0' cellpadding='2'><tr style='background: "
                       "url(:/kolv_lite/Resources/Images/Reports/log_device_header_bg.png); "
                       "background-repeat: repeat-x; background-position: center;'><td "
                       "width='100%' height='0%'><b>&lt;script&gt;alert(1)&lt;/script&gt;</b>"
                       "</td></tr></table><br>")));
    QVERIFY(!full.contains(QStringLiteral("<script")));
    QVERIFY(full.contains(QStringLiteral("<b>RESOURCE_TYPE:</b></td><td style='padding-left: 35px; "
                                         "white-space:pre-wrap;' width='100%'>Partition</td>")));
    QCOMPARE(full.count(QStringLiteral("RESOURCE_TYPE")), 2);
    // One spacer between the two resources, none after the last; the indentation closes after
    // the table it holds.
    QCOMPARE(full.count(QStringLiteral("<b></b>")), 1);
    QVERIFY(full.endsWith(QStringLiteral("</table></blockquote></blockquote></blockquote>")));
  }

  // No text of a tool or a device reorders the report around it.
  void engineTextNeverReordersTheReport() {
    ToolExecutionLog_ log;
    log.title = "T\u202E";
    log.subtitle = "S\u202E";
    log.entries.push_back(Block("N\u202E", 0));
    log.entries[0].properties = {{"K\u202E", "V\u202E"}};
    log.entries[0].task_results.push_back(
        {"A\u202E", {{LOG_ENTRY_SUCCESS, "R\u202E"}, {"M\u202E"}}});
    FakeDevice device;
    device.information_.display_name = "D\u202E";
    device.information_.properties = {{"P\u202E", "\u05D0"}};
    device.resources_ = {{"R\u202E", {{"I\u202E", "J\u202E"}}}};
    QString html;
    HtmlGenerator generator;
    QVERIFY(generator.ReadToolExecutionLog(html, &log));
    QVERIFY(generator.ReadSystemComponentInformation(html, &device, true));
    QCOMPARE(html.count(QChar(0x202E)), 13);
    QVERIFY(report_test::AllIsolated(html));
  }

  void machineTable() {
    const QString dir = test_support::ScratchDir(QStringLiteral("bios"));
    QVERIFY(test_support::WriteFile(dir + "/product_name", "Model <X>\n"));
    QVERIFY(test_support::WriteFile(dir + "/product_serial", "S/N 1\n"));
    QVERIFY(test_support::WriteFile(dir + "/sys_vendor", "Vendor & Co\n"));
    QVERIFY(test_support::WriteFile(dir + "/bios_version", "1.2.3\n"));
    QVERIFY(test_support::WriteFile(dir + "/cpuinfo", "vendor_id : CpuMaker\nmodel name : Cpu 9000\n"));
    qputenv("ZERKA_BIOS_DIR", dir.toUtf8());
    std::vector<std::string> keys = {"MODEL", "SYSTEM_SERIAL_NUMBER", "SYSTEM_VENDOR",
                                     "SYSTEM_MANUFACTURER", "BIOS_VERSION", "PROCESSOR_LABEL",
                                     "PROCESSOR_MANUFACTURER"};
    HtmlGenerator generator;
    generator.set_translation_context(QStringLiteral("KEPT"));
    QString full;
    QVERIFY(generator.ReadBiosInformation(full, keys, true));
    QCOMPARE(generator.translation_context(), QStringLiteral("KEPT"));
    QCOMPARE(full.count(QStringLiteral("<tr>")), 9);
    QVERIFY(full.contains(QStringLiteral("<b>MODEL:</b>")));
    QVERIFY(full.contains(QStringLiteral(">Model &lt;X&gt;</td>")));
    QVERIFY(full.contains(QStringLiteral(">Vendor &amp; Co</td>")));
    QVERIFY(full.indexOf(QStringLiteral("BIOS_VERSION")) < full.indexOf(QStringLiteral("PROCESSOR_LABEL")));
    QVERIFY(full.contains(QStringLiteral(">Cpu 9000</td>")));

    QString brief;
    QVERIFY(generator.ReadBiosInformation(brief, keys, false));
    QCOMPARE(brief.count(QStringLiteral("<tr>")), 2);
    QVERIFY(brief.contains(QStringLiteral("SYSTEM_VENDOR")));
    QVERIFY(brief.contains(QStringLiteral("SYSTEM_MANUFACTURER")));

    // Too few row names is refused rather than read past them.
    std::vector<std::string> four(keys.begin(), keys.begin() + 4);
    QString refused;
    QVERIFY(!generator.ReadBiosInformation(refused, four, true));
    QVERIFY(generator.ReadBiosInformation(refused, four, false));

    qputenv("ZERKA_NO_BIOS", "1");
    QString none;
    QVERIFY(!generator.ReadBiosInformation(none, keys, true));
    QVERIFY(none.isEmpty());
    qunsetenv("ZERKA_NO_BIOS");
  }
};

int main(int argc, char** argv) {
  report_test::FixTimeAndLocale();
  QApplication application(argc, argv);
  TestInfoRendering test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_info_rendering.moc"
