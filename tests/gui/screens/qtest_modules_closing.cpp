// Closing the real program right after start, while the home screen still checks the shipped
// demo modules: the close is confirmed, waits for the last check and then ends.
#include <QLabel>
#include <QPushButton>
#include <QResource>
#include <QTranslator>
#include <QtTest>

#include "gui/screens/modules_screen.h"
#include "gui/shell/kolv_lite.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/kolv_lite_window.h"
#include "support/dialog_watch.h"
#include "support/program_texts.h"

class ModulesClosingTest : public QObject {
  Q_OBJECT

 private:
  QTranslator translator_;
  QStringList dialogs_;
  // Every dialog is answered with its first button and remembered by its labels.
  DialogWatch answers_{[this](KolvLiteDialog* dialog) {
    dialogs_ << DialogLabels(dialog).join(" ");
    ClickFirstAnswer(dialog);
  }};

 private slots:
  void initTestCase() {
    LoadProgramTexts(&translator_);
  }

  void CloseDuringValidationWaitsForTheChecks() {
    auto* app = static_cast<KolvLite*>(qApp);
    app->Start();
    KolvLiteWindow* window = app->main_window();
    QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 15000);
    auto* home = qobject_cast<ModulesScreen*>(app->controller()->current_screen());
    QVERIFY(home != nullptr);
    QCOMPARE(home->buttons().size(), 3);
    QString message;
    QVERIFY(home->isBusy(message));
    auto* sysinfo = window->findChild<QPushButton*>("sysinfo_pushButton");
    QVERIFY(!sysinfo->isEnabled());
    QVERIFY(sysinfo->testAttribute(Qt::WA_ForceDisabled));

    window->close();
    QCOMPARE(dialogs_.size(), 1);
    QVERIFY2(dialogs_.first().contains(KolvLiteTranslate("CLOSE_CONFIRMATION_MESSAGE")),
             qPrintable(dialogs_.first()));
    // Confirmed, but the checks are still running on the worker.
    QVERIFY(window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
    QVERIFY(!home->isBusy(message));
    // The page itself went dead with the confirmed close; the button was enabled on its own.
    QVERIFY(!sysinfo->testAttribute(Qt::WA_ForceDisabled));
    // The shipped modules are all valid: no error dialog came.
    QCOMPARE(dialogs_.size(), 1);
  }
};

int main(int argc, char** argv) {
  // Real durations, so that the checks are still running when the window appears.
  qputenv("MORVA_TIME_SCALE", "1");
  KolvLite app(argc, argv);
  KolvLiteTranslator::InitTranslator();
  ModulesClosingTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_modules_closing.moc"
