// A module's tile: icon and title from the module's own resource file, the version line, the
// disabled look, and names too long for two lines.
#include <QGuiApplication>
#include <QResource>
#include <QScreen>
#include <QTranslator>
#include <QtTest>
#include <cmath>

#include "gui/screens/module_button.h"
#include "gui/shell/kolv_lite_translator.h"
#include "morva_service/views.h"
#include "tests/gui/support/fake_module.h"
#include "support/program_texts.h"

using gui_test::FakeModule;

class ModuleButtonTest : public QObject {
  Q_OBJECT

 private:
  QTranslator main_translator_;

 private slots:
  void initTestCase() {
    LoadProgramTexts(&main_translator_);
    if (QTest::currentTestFailed()) return;
    const QString bin = QCoreApplication::applicationDirPath() + "/../../bin/";
    // The demo module's resource file as the build ships it beside the programs.
    QVERIFY(QResource::registerResource(bin + "storage.rcc"));
    QVERIFY(KolvLiteTranslator::LoadTranslator("storage"));
    QVERIFY(KolvLiteTranslator::InstallTranslator("storage"));
  }

  void cleanupTestCase() { KolvLiteTranslator::ClearTranslators(); }

  void ShippedModuleTile() {
    morva_service::ProductVersion version(2, 4, 1, 310);
    FakeModule module("storage", &version);
    ModuleButton tile(&module);
    QCOMPARE(tile.title(), QString("Storage"));
    QCOMPARE(tile.version_text(), QString("v2.4.1.310"));
    QVERIFY(!tile.icon_pixmap().isNull());
    QScreen* screen = QGuiApplication::primaryScreen();
    const int side = int(std::ceil(screen->physicalDotsPerInchY() * 1.3958));
    QCOMPARE(tile.height(), side);
    QCOMPARE(tile.minimumSize(), tile.maximumSize());
    QCOMPARE(tile.icon_pixmap().height(), int(screen->physicalDotsPerInchY() * 0.8125));
    QCOMPARE(ModuleButton::IconPath("Storage"), QString(":storage/resources/icon/icon.png"));

    QSignalSpy clicked(&tile, qOverload<morva_service::ModuleInterfaceView*>(&ModuleButton::clicked));
    tile.click();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().value<morva_service::ModuleInterfaceView*>(),
             static_cast<morva_service::ModuleInterfaceView*>(&module));
  }

  void StatusLineFollowsState() {
    morva_service::ProductVersion version(1, 0, 3, 7);
    FakeModule module("storage", &version);
    QWidget window;
    auto* tile = new ModuleButton(&module, &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    tile->clearFocus();
    // The offscreen pointer may rest on the new window.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(tile, &leave);
    QVERIFY(!tile->underMouse());
    QCOMPARE(tile->StatusText(), QString());
    tile->setFocus();
    QTRY_VERIFY(tile->hasFocus());
    QCOMPARE(tile->StatusText(), QString("v1.0.3.7"));

    tile->setEnabled(false);
    QCOMPARE(tile->StatusText(), QString("Not available"));
    QCOMPARE(tile->focusPolicy(), Qt::NoFocus);
    QCOMPARE(tile->cursor().shape(), Qt::ArrowCursor);
    tile->setEnabled(true);
    QCOMPARE(tile->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(tile->cursor().shape(), Qt::PointingHandCursor);
    // Painting in either state must work on the real style.
    tile->grab();
    tile->setEnabled(false);
    tile->grab();
  }

  void ModuleWithoutVersionOrResources() {
    FakeModule module("unshipped");
    ModuleButton tile(&module);
    QCOMPARE(tile.version_text(), QString());
    QVERIFY(tile.icon_pixmap().isNull());
    QCOMPARE(tile.title(), QString("unshipped"));
    tile.setEnabled(true);
    tile.grab();
  }

  void LongNamesShowTwoLines() {
    FakeModule module("Extraordinarily Long Module Name That Keeps Going On And On");
    ModuleButton tile(&module);
    const QStringList lines = tile.TitleLines();
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.join(" ").size() < tile.title().size());
    QVERIFY(tile.title().startsWith(lines.first()));
    FakeModule short_name("Disk");
    QCOMPARE(ModuleButton(&short_name).TitleLines(), QStringList{"Disk"});
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  KolvLiteTranslator::InitTranslator();
  ModuleButtonTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "qtest_module_button.moc"
