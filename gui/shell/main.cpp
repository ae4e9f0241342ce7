// Entry point of the windowed program: start-up checks, then either one critical message box or
// the main window after the splash screen. The Qt event loop is the only main loop.
#include <QFont>
#include <QMessageBox>
#include <QTranslator>
#include <memory>

#include "gui/shell/kolv_lite.h"
#include "gui/shell/kolv_lite_translator.h"
#include "kolv_os/os.h"
#include "morva_service/morva_service.h"
#include "zerka/zerka.h"

int main(int argc, char** argv) {
  kolv_os::IgnoreFileSizeLimitSignal();
  KolvLite application(argc, argv);
  QTranslator main_translator;
  KolvLiteTranslator::InitTranslator();
  QApplication::setFont(QFont(QStringLiteral("Segoe UI"), 8));

  const StartupResult startup =
      KolvLite::RunStartupChecks(&main_translator, KolvLite::ResourceFilePath());
  std::unique_ptr<QMessageBox> failure_box(application.Launch(startup));
  const bool started = failure_box == nullptr;
  const int status = QApplication::exec();
  failure_box.reset();
  if (startup.service != nullptr) ReleaseMorvaServiceInstance();
  // The single-instance lock stays held until the process ends.
  static ZerkaAppMutex* const held_lock = startup.lock;
  (void)held_lock;
  // A start that failed is a failure, whatever the event loop says.
  return started ? status : 1;
}
