// The application object of the windowed program: runs the start-up checks, builds the main
// window, the controller and the default screens, shows the splash screen, and decides about
// closing while work is running.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>

#include "gui/shell/splash_screen.h"
#include "gui/shell/startup_result.h"

class AboutScreen;
class KolvLiteController;
class KolvLiteScreen;
class KolvLiteWindow;
class PowerEventFilter;
class QMessageBox;
class QTranslator;

class KolvLite : public QApplication {
  Q_OBJECT

 public:
  // How long the splash screen stays before the window appears.
  static constexpr int kSplashMilliseconds = 3000;
  // How long a confirmed close waits for the screens to stop before it closes all the same.
  static constexpr int kCloseWaitMilliseconds = 5000;
  // Power broadcast message and the two events of it that are handled.
  static constexpr unsigned kPowerBroadcast = 0x218;
  static constexpr unsigned kPowerSuspend = 4;
  static constexpr unsigned kPowerResumeSuspend = 7;

  KolvLite(int& argc, char** argv);
  ~KolvLite() override;

  // kolv_lite.rcc beside the program.
  static QString ResourceFilePath();
  // Runs the checks in their order and stops at the first failure, whose title and text are
  // translated in the user's language; shows nothing.
  static StartupResult RunStartupChecks(QTranslator* main_translator,
                                        const QString& resource_file);
  // The critical box of a failed start, not yet shown.
  static QMessageBox* CreateFailureBox(const StartupResult& result);

  // After the checks: a failed start gets its critical box, shown and handed to the caller,
  // and nothing else happens; a good one moves the legacy logs and starts (null returned),
  // unless the start itself fails, which gets its box as well.
  QMessageBox* Launch(const StartupResult& startup);
  // Builds the user interface and shows the splash screen. False, with nothing built, when the
  // worker thread cannot start or the engine cannot be had for it.
  bool Start();
  KolvLiteWindow* main_window() const { return window_; }
  KolvLiteController* controller() const { return controller_; }
  AboutScreen* about_screen() const { return about_screen_; }
  SplashScreen* splash_screen() const { return splash_; }

  // A power broadcast of the window system: true when it is swallowed.
  bool HandlePowerBroadcast(unsigned message, unsigned long event);

 signals:
  void ExecutionAborted();

 private slots:
  void Close();
  void ConfirmClose();
  void GoToLogsScreen();
  void GoToHomeScreen();
  void GoToSystemInformationScreen();
  void EnableSystemInformationButton();
  void DisableSystemInformationButton();
  void DisplayAboutScreen();
  // End of the splash time: the home screen is entered before the window appears.
  void FinishSplash();

 private:
  KolvLiteWindow* window_;
  KolvLiteController* controller_;
  KolvLiteScreen* logs_screen_;
  KolvLiteScreen* modules_screen_;
  KolvLiteScreen* system_information_screen_;
  AboutScreen* about_screen_;
  KolvLiteScreen* devices_loading_screen_;
  QPointer<SplashScreen> splash_;
  PowerEventFilter* power_filter_;
  // Set once a close has been confirmed: further close requests wait for it.
  bool closing_;
};
