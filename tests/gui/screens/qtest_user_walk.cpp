// The real program walked as a user walks it: home, the storage module's custom flow with every
// device and test and two runs, the write test's question answered with Cancel, the execution
// log. Each step asserts what the user sees (images present, texts translated, controls drawn
// whole, the run reported finished) and leaves a screenshot in KOLV_TEST_TMP.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QResource>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

#include "gui/screens/devices_screen.h"
#include "gui/screens/diagnostic_selection_screen.h"
#include "gui/screens/execution_log_screen.h"
#include "gui/screens/execution_screen.h"
#include "gui/screens/module_button.h"
#include "gui/screens/modules_screen.h"
#include "gui/screens/tests_screen.h"
#include "gui/shell/kolv_lite.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/kolv_lite_window.h"
#include "gui/widgets/groupable_check_box.h"
#include "gui/widgets/progress_widget.h"
#include "support/dialog_watch.h"
#include "support/program_texts.h"
#include "support/recommended_flow.h"

namespace {

// A text still in key form: upper-case words joined by underscores.
const QRegularExpression kKeyShape(QStringLiteral("\\b[A-Z][A-Z0-9]*(_[A-Z0-9]+)+\\b"));

QStringList KeysShownIn(const QWidget* root) {
  QStringList keys;
  for (const QLabel* label : root->findChildren<QLabel*>()) {
    if (!label->isVisibleTo(root)) continue;
    const QRegularExpressionMatch match = kKeyShape.match(label->text());
    if (match.hasMatch()) keys << match.captured(0);
  }
  for (const QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(root)) continue;
    const QRegularExpressionMatch match = kKeyShape.match(button->text());
    if (match.hasMatch()) keys << match.captured(0);
  }
  return keys;
}

}  // namespace

class UserWalkTest : public QObject {
  Q_OBJECT

 private:
  QTranslator translator_;
  QStringList questions_;
  // Questions of running tests are declined with their last button, as a careful user would
  // decline writing to a disk.
  DialogWatch answers_{[this](KolvLiteDialog* dialog) {
    questions_ << DialogLabels(dialog).join(QLatin1Char(' '));
    ClickLastVisibleAnswer(dialog);
  }};
  KolvLite* app_ = nullptr;
  KolvLiteWindow* window_ = nullptr;

  void Shot(const QString& name) {
    const QString folder = qEnvironmentVariable("KOLV_TEST_TMP", QDir::tempPath());
    QVERIFY(window_->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")));
  }

  template <typename Screen>
  Screen* WaitForScreen(int timeout_ms = 20000) {
    Screen* screen = nullptr;
    const bool reached = QTest::qWaitFor(
        [&] {
          screen = qobject_cast<Screen*>(app_->controller()->current_screen());
          return screen != nullptr;
        },
        timeout_ms);
    if (!reached) QTest::qFail(Screen::staticMetaObject.className(), __FILE__, __LINE__);
    return screen;
  }

 private slots:
  void initTestCase() {
    LoadProgramTexts(&translator_);
  }

  void ImagesTheScreensAskForArePacked() {
    const char* const images[] = {
        "Buttons/btnRefreshActive.png",   "Buttons/btnRefreshDisabled.png",
        "Buttons/btnRefreshOver.png",     "Buttons/btnRefreshSelected.png",
        "Buttons/btnInfo.png",            "General/img_DropDown.png",
        "General/imgArrowIt_Left.png",    "General/imgArrowIt_Right.png",
        "General/img_ArrowMonthLeft.png", "General/img_ArrowMonthRight.png",
        "General/imgBackground.png"};
    for (const char* image : images) {
      const QString path = QStringLiteral(":/kolv_lite/Resources/Images/") + QLatin1String(image);
      QVERIFY2(!QPixmap(path).isNull(), qPrintable(path));
    }
    // Maximized on a large screen the tiled background must not repeat.
    QVERIFY(QPixmap(":/kolv_lite/Resources/Images/General/imgBackground.png").width() >= 1920);
    QMovie loading(":/kolv_lite/Resources/Images/General/imgAnimatedLoading.gif");
    QVERIFY(loading.isValid());
    QVERIFY(loading.frameCount() > 1);
  }

  void HomeOffersTheValidModules() {
    app_ = static_cast<KolvLite*>(qApp);
    app_->Start();
    window_ = app_->main_window();
    QTRY_VERIFY_WITH_TIMEOUT(window_->isVisible(), 15000);
    auto* home = WaitForScreen<ModulesScreen>();
    QVERIFY(home != nullptr);
    QString busy;
    QTRY_VERIFY_WITH_TIMEOUT(!home->isBusy(busy), 20000);
    QMap<QString, bool> enabled;
    for (ModuleButton* button : home->buttons()) {
      enabled.insert(QString::fromStdString(button->module()->name()), button->isEnabled());
    }
    QCOMPARE(enabled.value("storage", false), true);
    QCOMPARE(enabled.value("memory", false), true);
    QCOMPARE(enabled.value("optical", true), false);
    Shot("01_home");
  }

  void CustomFlowDevicesAreDrawnWhole() {
    auto* home = qobject_cast<ModulesScreen*>(app_->controller()->current_screen());
    QVERIFY(home != nullptr);
    ModuleButton* storage = nullptr;
    for (ModuleButton* button : home->buttons()) {
      if (button->module()->name() == "storage") storage = button;
    }
    QVERIFY(storage != nullptr);
    storage->click();
    auto* selection = WaitForScreen<DiagnosticSelectionScreen>();
    QVERIFY(selection != nullptr);
    FlowChoice(selection, "radial_button_custom")->click();
    selection->next_button()->click();

    auto* devices = WaitForScreen<DevicesScreen>();

    QVERIFY(devices != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(devices->model()->rowCount() > 1, 20000);
    QTest::qWait(50);
    Shot("02_devices");
    // The rescan button keeps its full size inside the bar, above the bar's shadow.
    QPushButton* refresh = devices->refresh_button();
    QVERIFY(refresh->isVisible());
    QVERIFY2(refresh->height() >= 24, qPrintable(QString::number(refresh->height())));
    QWidget* bar = devices->findChild<QWidget*>("select_all_with_reload");
    QVERIFY(bar != nullptr);
    const QRect in_bar(refresh->mapTo(bar, QPoint(0, 0)), refresh->size());
    QVERIFY(in_bar.top() >= 0);
    QVERIFY2(in_bar.bottom() < bar->height() - 7, qPrintable(QString::number(in_bar.bottom())));
    // The bar's gradient and shadow belong to the bar only, not to its check box.
    QVERIFY(devices->select_all()->styleSheet().indexOf("border-bottom") < 0);
    QVERIFY(!bar->styleSheet().trimmed().startsWith("background"));
    // Parent folders of the tree read as words, not as keys.
    QStringList shown;
    std::function<void(QStandardItem*)> walk = [&](QStandardItem* item) {
      for (int row = 0; row < item->rowCount(); ++row) {
        QStandardItem* child = item->child(row, 0);
        if (child == nullptr) continue;
        shown << child->text();
        walk(child);
      }
    };
    walk(devices->model()->invisibleRootItem());
    for (const QCheckBox* box : devices->findChildren<QCheckBox*>()) shown << box->text();
    for (const QString& text : shown) {
      QVERIFY2(!kKeyShape.match(text).hasMatch(), qPrintable(text));
    }
    QVERIFY(shown.contains("SATA controller"));
    QVERIFY(KeysShownIn(devices).isEmpty());
    devices->next_button()->click();
  }

  void TwoRunsOfEveryTestFinishAtFullProgress() {
    auto* tests = WaitForScreen<TestsScreen>();
    QVERIFY(tests != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!tests->test_items().isEmpty(), 10000);
    tests->select_all()->setChecked(true);
    QComboBox* runs = tests->iterations_combo();
    runs->setCurrentIndex(runs->findText("2"));
    QVERIFY(runs->currentIndex() >= 0);
    Shot("03_tests");
    QVERIFY2(KeysShownIn(tests).isEmpty(), qPrintable(KeysShownIn(tests).join(", ")));
    tests->run_button()->click();

    auto* execution = WaitForScreen<ExecutionScreen>();

    QVERIFY(execution != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(execution->is_running(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!execution->is_running(), 120000);
    Shot("04_execution");
    QCOMPARE(execution->iteration_count(), 2);
    // The write test asked once per run and was declined each time.
    QCOMPARE(questions_.size(), 2);
    // A declined test ends early; the run still reads as complete.
    for (int index = 0; index < 2; ++index) {
      ProgressWidget* progress = execution->iteration(index)->progress;
      QCOMPARE(progress->progress_bar()->value(), 100);
      QCOMPARE(progress->status_label()->text(), KolvLiteTranslate("FINISHED"));
    }
    const QStringList keys = KeysShownIn(execution);
    QVERIFY2(keys.isEmpty(), qPrintable(keys.join(", ")));
    QVERIFY(execution->next_button_widget()->isVisible());
    execution->next_button_widget()->click();
  }

  void ExecutionLogIsTranslated() {
    auto* log = WaitForScreen<ExecutionLogScreen>();
    QVERIFY(log != nullptr);
    auto* stack = log->findChild<QStackedWidget*>("iterations_stackedWidget");
    QVERIFY(stack != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(stack->count() >= 3, 20000);
    Shot("05_execution_log");
    auto* title = log->findChild<QLabel*>("execution_log_label");
    QVERIFY(title != nullptr);
    QCOMPARE(title->text(), QStringLiteral("Execution log"));
    for (int page = 1; page < stack->count(); ++page) {
      auto* text = qobject_cast<QTextEdit*>(stack->widget(page));
      QVERIFY(text != nullptr);
      const QString plain = text->toPlainText();
      for (const char* key : {"LOG_ENTRY_", "RESOURCE_TYPE", "RESOURCES", "INDEX:",
                              "READING_SMART_ATTRIBUTES", "FIXED_HARD_DISK", "WRITE_TEST_"}) {
        QVERIFY2(!plain.contains(QLatin1String(key)), key);
      }
    }
  }

  void cleanupTestCase() {
    answers_.Stop();
    if (window_ != nullptr) window_->close();
  }
};

int main(int argc, char** argv) {
  KolvLite app(argc, argv);
  KolvLiteTranslator::InitTranslator();
  UserWalkTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_user_walk.moc"
