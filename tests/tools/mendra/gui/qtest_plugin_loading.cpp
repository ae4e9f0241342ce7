// The program's way to the tool's screens: the storage module's tool finds mendra_gui.so in the
// program folder, its resource file brings the tool's texts, and the screen it gives is the
// tool's operation screen, which goes back through the library.
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QResource>
#include <QTest>

#include "gui/screens/fork_screen.h"
#include "gui/screens/gui_tool_plugins.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "morva_service/morva_service.h"
#include "tests/gui/support/engine_rig.h"

class TestPluginLoading : public QObject {
  Q_OBJECT

 private slots:
  void storageToolGetsOperationScreen() {
    const QString folder = QStringLiteral(KOLV_PLUGIN_FOLDER);
    QVERIFY(QFileInfo(folder + QStringLiteral("/mendra_gui.so")).isFile());
    QVERIFY(QFileInfo(folder + QStringLiteral("/mendra_gui.rcc")).isFile());

    gui_test::EngineRig engine;
    KolvLiteController* controller = engine.controller;
    morva_service::ModuleInterfaceView* storage = engine.Module("storage");
    QVERIFY(storage != nullptr);

    QStringList asked;
    GuiToolPlugins plugins;
    const auto screens = plugins.Load(storage, controller, folder.toStdString(),
                                      [&asked, &folder](const QString& name) {
      asked << name;
      const QString rcc = folder + QLatin1Char('/') + name.toLower() + QStringLiteral(".rcc");
      return QResource::registerResource(rcc) && KolvLiteTranslator::LoadTranslator(name) &&
             KolvLiteTranslator::InstallTranslator(name);
    });
    QCOMPARE(asked, QStringList{QStringLiteral("Mendra_GUI")});
    QCOMPARE(screens.size(), 1);
    auto* screen = qobject_cast<ForkScreen*>(screens.first());
    QVERIFY(screen != nullptr);
    QCOMPARE(screen->objectName(), QStringLiteral("MdrOperationsScreen"));
    QCOMPARE(screen->flow_count(), 3);
    // The tool's own catalogue answers for its keys.
    QCOMPARE(KolvLiteTranslate("SCAN_BAD_SECTORS_LABEL"), QStringLiteral("Scan for bad sectors"));
    QCOMPARE(KolvLiteTranslate("MdrOperationsScreen", "TASK_LIST_DESCRIPTION"),
             QStringLiteral("Choose the operation to run:"));

    plugins.Unload(controller);
    QVERIFY(plugins.tool_screens().isEmpty());
    KolvLiteTranslator::ClearTranslators();
    delete controller;
  }

  // The load runs in a child: a loader that dies on the file fails the check, not the program.
  void pluginCutShortIsNotOffered() {
    const QString folder = QDir::currentPath() + QStringLiteral("/cut_plugin");
    const QString cut = folder + QStringLiteral("/mendra_gui.so");
    QVERIFY(QDir().mkpath(folder));
    QFile::remove(cut);
    QVERIFY(QFile::copy(QStringLiteral(KOLV_PLUGIN_FOLDER "/mendra_gui.so"), cut));
    QVERIFY(QFile::resize(cut, 20000));
    gui_test::EngineRig engine;
    morva_service::ModuleInterfaceView* storage = engine.Module("storage");
    QVERIFY(storage != nullptr);
    const pid_t child = fork();
    if (child == 0) {
      alarm(10);
      GuiToolPlugins plugins;
      _exit(static_cast<int>(plugins.Load(storage, engine.controller, folder.toStdString(),
                                          [](const QString&) { return true; }).size()));
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the loader died");
    QCOMPARE(WEXITSTATUS(status), 0);
    delete engine.controller;
  }
};

QTEST_MAIN(TestPluginLoading)
#include "qtest_plugin_loading.moc"
