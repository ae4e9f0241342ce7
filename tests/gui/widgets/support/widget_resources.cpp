#include "tests/gui/widgets/support/widget_resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QResource>

namespace {

bool g_registered = false;

// Test programs live in <build>/tests/bin, the resource file beside the programs in <build>/bin.
void RegisterProgramResources() {
  const QString path =
      QDir(QCoreApplication::applicationDirPath()).filePath("../../bin/kolv_lite.rcc");
  g_registered = QFileInfo::exists(path) && QResource::registerResource(path);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(RegisterProgramResources)

bool WidgetResourcesRegistered() { return g_registered; }
