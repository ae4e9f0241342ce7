// Start-up of the windowed program: the checks in their order with each failure's box in two
// languages, then the real start (splash, window, about box, the logs of an earlier installation
// moved), closing with and without running work, and the power events.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QProcess>
#include <QPushButton>
#include <QResource>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTranslator>
#include <QtTest>
#include <memory>

#include "gui/logs/core/log_paths.h"
#include "gui/shell/about_screen.h"
#include "gui/shell/kolv_lite.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/kolv_lite_window.h"
#include "gui/shell/sleep_signal_watch.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/morva_service.h"
#include "tests/gui/shell/support/catalogue_builder.h"
#include "tests/gui/shell/support/recording_screen.h"
#include "tests/gui/support/engine_throws.h"
#include "tests/gui/support/modal_answers.h"
#include "tests/gui/support/program_resources.h"
#include "tests/support/fault_injection.h"
#include "tests/support/scratch.h"
#include "zerka/zerka.h"

namespace {

// Counts the paints of a window that cover all of it.
class WholeWindowPaints : public QObject {
 public:
  explicit WholeWindowPaints(QWidget* window) : window_(window) { window->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Paint) {
      const QRegion painted = static_cast<QPaintEvent*>(event)->region();
      if (painted.boundingRect() == window_->rect()) ++count;
    }
    return false;
  }

 private:
  QWidget* window_;
};

// Runs the checks with a fresh main translator in the given language.
StartupResult Check(const QString& locale, const QString& resource_file) {
  KolvLiteTranslator::set_locale(locale);
  QTranslator translator;
  return KolvLite::RunStartupChecks(&translator, resource_file);
}

// The first button (OK) of a KolvLiteDialog.
void ClickFirstButton(QWidget* dialog) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->accessibleName() == "white_button") {
      button->click();
      return;
    }
  }
  QFAIL("the dialog has no answer button");
}

// A confirmed close is final, so each close scenario runs in a process of its own.
void RunCloseScenario(const QString& scenario) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KOLV_TEST_CLOSE_SCENARIO", "1");
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {scenario});
  QVERIFY(child.waitForStarted(10000));
  QVERIFY2(child.waitForFinished(120000), "the close scenario hangs");
  const QByteArray output = child.readAll();
  QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
           output.constData());
}

void ReleaseHeld(StartupResult& result) {
  if (result.service != nullptr) ReleaseMorvaServiceInstance();
  if (result.lock != nullptr) release_app_mutex(result.lock);
  result.service = nullptr;
  result.lock = nullptr;
}

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void MissingResourceFileSpeaksThroughTheCompiledInCatalogue() {
    const QString missing = test_support::ScratchPath("absent/kolv_lite.rcc");
    StartupResult en = Check("en_US", missing);
    QVERIFY(!en.ok);
    QCOMPARE(en.failed, StartupResult::kResourceFile);
    QCOMPARE(en.title, QString("Error"));
    QCOMPARE(en.text, QString("Resource file not found. Try to reinstall the application."));
    StartupResult de = Check("de_DE", missing);
    QCOMPARE(de.title, QString("Fehler"));
    QCOMPARE(de.text, QString("Ressourcendatei nicht gefunden. Versuchen Sie, die Anwendung "
                              "erneut zu installieren."));

    std::unique_ptr<QMessageBox> box(KolvLite::CreateFailureBox(de));
    QCOMPARE(box->windowTitle(), de.title);
    QCOMPARE(box->text(), de.text);
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(box->parent() == nullptr);
  }

  void ResourceFileWithoutLanguageFile() {
    if (!CatalogueBuilder::ToolsAvailable()) QSKIP("lrelease or rcc not available");
    // A resource file whose main catalogue is missing in every language.
    const QString dir = test_support::ScratchPath("no_language");
    QDir().mkpath(dir);
    QFile filler(dir + "/filler.txt");
    QVERIFY(filler.open(QIODevice::WriteOnly));
    filler.write("x");
    filler.close();
    const QString rcc = dir + "/kolv_lite.rcc";
    QVERIFY(CatalogueBuilder::PackResourceFile(rcc, "/kolv_lite", {{"filler.txt", filler.fileName()}}));
    StartupResult en = Check("en_US", rcc);
    QCOMPARE(en.failed, StartupResult::kLanguageFile);
    QCOMPARE(en.title, QString("Error"));
    QCOMPARE(en.text, QString("Language file not loaded"));
    StartupResult de = Check("de_DE", rcc);
    QCOMPARE(de.title, QString("Fehler"));
    QCOMPARE(de.text, QString("Sprachdatei nicht geladen"));
    QVERIFY(QResource::unregisterResource(rcc));
  }

  void NotAnAdministrator() {
    qputenv("ZERKA_ADMIN", "0");
    StartupResult en = Check("en_US", gui_test::ProgramResourceFile());
    QCOMPARE(en.failed, StartupResult::kAdministrator);
    QCOMPARE(en.title, QString("Error"));
    QVERIFY2(en.text.contains("administrator"), qPrintable(en.text));
    StartupResult de = Check("de_DE", gui_test::ProgramResourceFile());
    QCOMPARE(de.title, QString("Fehler"));
    QVERIFY2(de.text.contains("Administratorrechte"), qPrintable(de.text));
    qputenv("ZERKA_ADMIN", "1");
  }

  void AnotherInstanceHoldsTheLock() {
    ZerkaAppMutex* other = get_app_mutex();
    QCOMPARE(other->Acquire(), 0);
    StartupResult en = Check("en_US", gui_test::ProgramResourceFile());
    QCOMPARE(en.failed, StartupResult::kSingleInstance);
    QCOMPARE(en.text, QString("The application is already running. Only one copy can run at a time."));
    StartupResult de = Check("de_DE", gui_test::ProgramResourceFile());
    QCOMPARE(de.title, QString("Fehler"));
    QVERIFY2(de.text.contains("bereits"), qPrintable(de.text));
    QVERIFY(en.lock == nullptr && de.lock == nullptr);
    release_app_mutex(other);
  }

  // A second start shows its box and builds nothing; the old logs are left to the instance that
  // runs.
  void SecondInstanceLeavesTheOldLogsAlone() {
    auto* app = static_cast<KolvLite*>(qApp);
    const QString drive = test_support::ScratchPath("second_instance_drive");
    QDir(drive).removeRecursively();
    const QByteArray own_drive = qgetenv("ZERKA_SYSTEM_DRIVE");
    qputenv("ZERKA_SYSTEM_DRIVE", drive.toUtf8());
    const QString legacy_log = QString::fromStdString(LegacyLogFilePath("morva"));
    const QString current_log = QString::fromStdString(LogFilePath("morva"));
    QVERIFY(QDir().mkpath(QFileInfo(legacy_log).path()));
    QVERIFY(QDir().mkpath(QFileInfo(current_log).path()));
    const QByteArray older = "+++ 2019-03-01 10:00:00 storage 1551434400\n--- storage\n";
    const QByteArray newer = "+++ 2024-05-01 10:00:00 storage 1714557600\n--- storage\n";
    QVERIFY(test_support::WriteFile(legacy_log, older));
    QVERIFY(test_support::WriteFile(current_log, newer));

    ZerkaAppMutex* other = get_app_mutex();
    QCOMPARE(other->Acquire(), 0);
    const StartupResult second = Check("en_US", gui_test::ProgramResourceFile());
    std::unique_ptr<QMessageBox> box(app->Launch(second));
    release_app_mutex(other);
    qputenv("ZERKA_SYSTEM_DRIVE", own_drive);

    QCOMPARE(second.failed, StartupResult::kSingleInstance);
    QVERIFY(box != nullptr);
    QVERIFY(box->isVisible());
    QCOMPARE(box->text(), second.text);
    QVERIFY(app->main_window() == nullptr);
    QCOMPARE(test_support::ReadFile(legacy_log), older);
    QCOMPARE(test_support::ReadFile(current_log), newer);
  }

  void ServiceThatCannotBeObtained() {
    const QByteArray catalogue = qgetenv("MORVA_CATALOGUE");
    qputenv("MORVA_CATALOGUE", test_support::ScratchPath("no_catalogue.json").toUtf8());
    StartupResult en = Check("en_US", gui_test::ProgramResourceFile());
    qputenv("MORVA_CATALOGUE", catalogue);
    QCOMPARE(en.failed, StartupResult::kService);
    QCOMPARE(en.title, QString("Error"));
    QVERIFY2(en.text.contains("diagnostics service"), qPrintable(en.text));
    // An engine that throws as it loads (out of memory, for one) cannot be obtained either.
    gui_test::engine_throws_at = "GetMorvaServiceInstance";
    StartupResult thrown = Check("en_US", gui_test::ProgramResourceFile());
    gui_test::engine_throws_at = nullptr;
    QCOMPARE(thrown.failed, StartupResult::kService);
    // The lock is given back, so a corrected start can take it.
    StartupResult next = Check("en_US", gui_test::ProgramResourceFile());
    QVERIFY(next.ok);
    ReleaseHeld(next);
  }

  void SuccessHoldsTheLockForTheRun() {
    StartupResult first = Check("en_US", gui_test::ProgramResourceFile());
    QVERIFY(first.ok);
    QVERIFY(first.lock != nullptr);
    QVERIFY(first.service != nullptr);
    StartupResult second = Check("en_US", gui_test::ProgramResourceFile());
    QCOMPARE(second.failed, StartupResult::kSingleInstance);
    ReleaseHeld(first);
  }

  // Without the worker thread, or with an engine that throws as the worker's executor takes it,
  // nothing could reach the engine: the start fails as one whose service cannot be used, not as
  // an installation without modules.
  void WorkerThatCannotStartFailsTheStart() {
    auto* app = static_cast<KolvLite*>(qApp);
    for (const char* faults : {"thread:1", ""}) {
      StartupResult startup = Check("en_US", gui_test::ProgramResourceFile());
      QVERIFY(startup.ok);
      std::unique_ptr<QMessageBox> box;
      {
        const test_support::FaultScope scope(faults);
        gui_test::engine_throws_at = *faults ? nullptr : "GetMorvaServiceInstance";
        box.reset(app->Launch(startup));
        gui_test::engine_throws_at = nullptr;
        QCOMPARE(test_support::FaultsFired(), *faults ? 1 : 0);
      }
      ReleaseHeld(startup);
      QVERIFY(box != nullptr && box->isVisible());
      QCOMPARE(box->text(), KolvLiteTranslate(TranslationKeys::SERVICE_NOT_AVAILABLE_TEXT));
      QVERIFY(app->main_window() == nullptr);
    }
  }

  void StartShowsTheSplashThenTheWindow() {
    auto* app = static_cast<KolvLite*>(qApp);
    QElapsedTimer clock;
    clock.start();
    app->Start();
    KolvLiteWindow* window = app->main_window();
    QVERIFY(window != nullptr);
    QCOMPARE(window->windowTitle(), QString("Kolv Lite"));
    QVERIFY(!window->isVisible());
    QVERIFY(!window->accepts_close());
    QVERIFY(!window->findChild<QPushButton*>("sysinfo_pushButton")->isEnabled());
    QVERIFY(window->findChild<QPushButton*>("log_pushButton")->isEnabled());
    QVERIFY(window->findChild<QLabel*>("bios_label")->text().endsWith(": "));

    QPointer<SplashScreen> splash = app->splash_screen();
    QVERIFY(splash != nullptr && splash->isVisible());
    QTest::mouseClick(splash.data(), Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(splash != nullptr && splash->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 15000);
    QVERIFY2(clock.elapsed() >= 2990, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT(splash == nullptr, 5000);
  }

  void AboutBoxOpensCentredOnTheWindow() {
    auto* app = static_cast<KolvLite*>(qApp);
    KolvLiteWindow* window = app->main_window();
    window->setGeometry(100, 80, 900, 700);
    emit window->AboutClicked();
    AboutScreen* about = app->about_screen();
    QVERIFY(about->isVisible());
    QCOMPARE(about->isModal(), true);
    QCOMPARE(about->windowModality(), Qt::ApplicationModal);
    QVERIFY(qAbs(about->geometry().center().x() - window->geometry().center().x()) <= 1);
    QVERIFY(qAbs(about->geometry().center().y() - window->geometry().center().y()) <= 1);
    about->close();
    QVERIFY(!about->isVisible());
  }

  // Waking repaints the whole window, whatever the sleep did to the screen; going to sleep, an
  // unknown power event or another message take nothing from the window and paint nothing.
  void PowerBroadcasts() {
    auto* app = static_cast<KolvLite*>(qApp);
    KolvLiteWindow* window = app->main_window();
    QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 20000);
    WholeWindowPaints paints(window);
    const auto broadcast = [&](unsigned message, unsigned long event) {
      QCoreApplication::processEvents();
      paints.count = 0;
      const bool handled = app->HandlePowerBroadcast(message, event);
      QCoreApplication::processEvents();
      return handled;
    };
    QVERIFY(broadcast(KolvLite::kPowerBroadcast, KolvLite::kPowerSuspend));
    QCOMPARE(paints.count, 0);
    QVERIFY(broadcast(KolvLite::kPowerBroadcast, KolvLite::kPowerResumeSuspend));
    QCOMPARE(paints.count, 1);
    QVERIFY(!broadcast(KolvLite::kPowerBroadcast, 10));
    QCOMPARE(paints.count, 0);
    QVERIFY(!broadcast(0x100, KolvLite::kPowerSuspend));
    QCOMPARE(paints.count, 0);
  }

  // logind's sleep signal on the system bus is a suspend and a resume; a bus that is not there
  // delivers nothing and breaks nothing.
  void SleepAndWakeFromTheSystemBus() {
    const QString daemon_program = QStandardPaths::findExecutable("dbus-daemon");
    if (daemon_program.isEmpty()) QSKIP("dbus-daemon is not installed");
    const QString socket = test_support::ScratchPath("system_bus");
    QFile::remove(socket);
    QProcess daemon;
    daemon.start(daemon_program, {"--session", "--nofork", "--print-address=1",
                                  "--address=unix:path=" + socket});
    QVERIFY(daemon.waitForStarted(10000));
    QVERIFY(daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    {
      QDBusConnection program = QDBusConnection::connectToBus(address, "program");
      QDBusConnection logind = QDBusConnection::connectToBus(address, "logind");
      QVERIFY(logind.registerService("org.freedesktop.login1"));
      SleepSignalWatch watch(program);
      QVERIFY(watch.listening());
      QSignalSpy events(&watch, &SleepSignalWatch::PowerEvent);
      for (bool going_to_sleep : {true, false}) {
        QDBusMessage signal = QDBusMessage::createSignal(
            "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep");
        signal << going_to_sleep;
        QVERIFY(logind.send(signal));
      }
      QTRY_COMPARE_WITH_TIMEOUT(events.count(), 2, 10000);
      QCOMPARE(events.at(0).at(0).toULongLong(), qulonglong(KolvLite::kPowerSuspend));
      QCOMPARE(events.at(1).at(0).toULongLong(), qulonglong(KolvLite::kPowerResumeSuspend));
    }
    QDBusConnection::disconnectFromBus("program");
    QDBusConnection::disconnectFromBus("logind");
    daemon.terminate();
    QVERIFY(daemon.waitForFinished(10000));

    SleepSignalWatch without(QDBusConnection::connectToBus("unix:path=" + socket, "gone"));
    QVERIFY(!without.listening());
    QDBusConnection::disconnectFromBus("gone");
  }

  // Nothing running: the window goes at once and nothing is asked.
  void CloseWhileIdleQuitsWithoutAsking() {
    auto* app = static_cast<KolvLite*>(qApp);
    KolvLiteWindow* window = app->main_window();
    QVERIFY(window->isVisible());
    // The real default screens end their own work (module checks) first.
    QTRY_VERIFY_WITH_TIMEOUT(!app->controller()->IsAnyScreenBusy(), 20000);
    int asked = 0;
    gui_test::ModalAnswers answers([&asked](QDialog* dialog) {
      ++asked;
      dialog->reject();
    });
    window->close();
    QVERIFY(!window->isVisible());
    QVERIFY(window->accepts_close());
    QCoreApplication::processEvents();
    QCOMPARE(asked, 0);
    // The window comes back for the closes that follow.
    window->IgnoreClose();
    window->show();
  }

  // The work ends while the question is open: a confirmed close has nothing to wait for.
  void WorkEndedWhileTheQuestionWasOpenQuitsAtOnce() {
    RunCloseScenario("WorkEndedWhileTheQuestionWasOpenQuitsAtOnce");
  }

  // A screen that never reports Stopped only delays a confirmed close.
  void ScreenThatNeverStopsOnlyDelaysTheClose() {
    RunCloseScenario("ScreenThatNeverStopsOnlyDelaysTheClose");
  }

  void CloseWhileBusyAsksAndWaitsForTheWork() {
    auto* app = static_cast<KolvLite*>(qApp);
    KolvLiteWindow* window = app->main_window();
    RecordingScreen runner(app->controller(), "runner");
    runner.busy = true;
    app->controller()->AddDefaultScreen(&runner);

    // Closing the question with its own close button leaves everything running.
    QTimer::singleShot(0, [] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<KolvLiteDialog*>(w); dialog && dialog->isVisible()) {
          dialog->OnClose();
        }
      }
    });
    window->close();
    QVERIFY(window->isVisible());
    QCOMPARE(runner.stop_requests, 0);

    // Confirming while the work's question to the user is open answers that question "no
    // answer", stops the work and closes once it has stopped.
    InputRequest question("QUESTION", "QUESTION_TEXT", InputRequest::kQuestion,
                          InputRequest::kOkCancel);
    question.answer = -1;
    bool question_over = false;
    QTimer::singleShot(0, [&] {
      KolvLiteDialog interaction(&question, window);
      // Inside the question's loop the window is closed; inside the close question's loop OK.
      QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
          for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<KolvLiteDialog*>(w);
            if (dialog != nullptr && dialog != &interaction && dialog->isVisible())
              ClickFirstButton(dialog);
          }
        });
        window->close();
      });
      // Only a guard against a hang: left open, the question would keep its answer -1.
      QTimer::singleShot(20000, &interaction, &QDialog::reject);
      interaction.exec();
      question_over = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(question_over, 30000);
    QCOMPARE(question.answer, int(InputRequest::kNoAnswer));
    QCOMPARE(runner.stop_requests, 1);
    QVERIFY(window->isVisible());
    QVERIFY(!window->centralWidget()->isEnabled());
    // A second close request while waiting asks nothing.
    window->close();
    QVERIFY(window->isVisible());
    runner.FinishWork();
    // The real default screens may still be finishing their own work (module checks, scans).
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 20000);
    app->controller()->RemoveDefaultScreen(&runner);
  }

  // The real program, started with the logs of an earlier installation still in their old
  // folder: by the time the window is up they are behind the current log and the folder is gone.
  void RealProgramRunsPastTheSplashAndMovesLegacyLogs() {
    const QString program = QCoreApplication::applicationDirPath() + "/../../bin/kolv_lite";
    if (!QFileInfo(program).isExecutable()) QSKIP("kolv_lite is not built");
    const QString drive = test_support::ScratchPath("smoke_drive");
    QDir(drive).removeRecursively();
    QDir().mkpath(drive);
    const QByteArray own_drive = qgetenv("ZERKA_SYSTEM_DRIVE");
    qputenv("ZERKA_SYSTEM_DRIVE", drive.toUtf8());
    const QString legacy_folder = QString::fromStdString(LegacyLogFolderPath());
    const QString legacy_log = QString::fromStdString(LegacyLogFilePath("morva"));
    const QString current_log = QString::fromStdString(LogFilePath("morva"));
    qputenv("ZERKA_SYSTEM_DRIVE", own_drive);
    QVERIFY(QDir().mkpath(legacy_folder));
    QVERIFY(QDir().mkpath(QFileInfo(current_log).path()));
    const QByteArray older = "+++ 2019-03-01 10:00:00 storage 1551434400\n--- storage\n";
    const QByteArray newer = "+++ 2024-05-01 10:00:00 storage 1714557600\n--- storage\n";
    QVERIFY(test_support::WriteFile(legacy_log, older));
    QVERIFY(test_support::WriteFile(current_log, newer));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ZERKA_SYSTEM_DRIVE", drive);
    env.insert("ZERKA_ADMIN", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(program, {});
    QVERIFY(process.waitForStarted(10000));
    // Past the splash the window is up; a start-up failure or a crash would have ended it.
    QVERIFY(!process.waitForFinished(KolvLite::kSplashMilliseconds + 2500));
    QCOMPARE(process.state(), QProcess::Running);
    QVERIFY(!QFileInfo::exists(legacy_folder));
    QFile log(current_log);
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), newer + older);
    process.terminate();
    QVERIFY(process.waitForFinished(10000));
    QVERIFY2(!process.readAllStandardError().contains("ERROR: AddressSanitizer"), "sanitizer report");
  }
};

// Run by ApplicationTest in a process of its own.
class CloseScenario : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    StartupResult startup = Check("en_US", gui_test::ProgramResourceFile());
    QVERIFY(startup.ok);
    ReleaseHeld(startup);
    app->Start();
    QTRY_VERIFY_WITH_TIMEOUT(app->main_window()->isVisible(), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(!app->controller()->IsAnyScreenBusy(), 20000);
  }

  void WorkEndedWhileTheQuestionWasOpenQuitsAtOnce() {
    KolvLiteWindow* window = app->main_window();
    RecordingScreen runner(app->controller(), "runner");
    runner.busy = true;
    app->controller()->AddDefaultScreen(&runner);
    int asked = 0;
    gui_test::ModalAnswers answers([&](QDialog* dialog) {
      ++asked;
      runner.busy = false;
      ClickFirstButton(dialog);
    });
    window->close();
    QCOMPARE(asked, 1);
    QVERIFY(!window->isVisible());
    QVERIFY(window->accepts_close());
    QCOMPARE(runner.stop_requests, 0);
    app->controller()->RemoveDefaultScreen(&runner);
  }

  void ScreenThatNeverStopsOnlyDelaysTheClose() {
    KolvLiteWindow* window = app->main_window();
    RecordingScreen stuck(app->controller(), "stuck");
    stuck.busy = true;
    app->controller()->AddDefaultScreen(&stuck);
    gui_test::ModalAnswers answers([](QDialog* dialog) { ClickFirstButton(dialog); });
    window->close();
    QCOMPARE(stuck.stop_requests, 1);
    QVERIFY(window->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), KolvLite::kCloseWaitMilliseconds + 5000);
    app->controller()->RemoveDefaultScreen(&stuck);
  }

 private:
  KolvLite* app = static_cast<KolvLite*>(qApp);
};

int main(int argc, char** argv) {
  // The application object is the program's own, so the real start-up runs here.
  KolvLite app(argc, argv);
  KolvLiteTranslator::InitTranslator();
  if (qEnvironmentVariableIsSet("KOLV_TEST_CLOSE_SCENARIO")) {
    CloseScenario scenario;
    return QTest::qExec(&scenario, argc, argv);
  }
  ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_kolv_lite_application.moc"
