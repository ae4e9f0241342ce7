// The splash screen: same artwork and texts as the about box, and a click does not close it.
#include <QtTest>

#include "gui/shell/splash_screen.h"
#include "tests/gui/shell/support/artwork_probe.h"
#include "tests/gui/support/program_resources.h"

class SplashScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(gui_test::RegisterProgramResources());
  }

  void ClickDoesNotClose() {
    SplashScreen splash;
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QTest::mouseClick(&splash, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QTest::mouseClick(&splash, Qt::RightButton);
    QCoreApplication::processEvents();
    QVERIFY(splash.isVisible());
  }

  void DrawsArtworkAndTexts() {
    SplashScreen splash;
    QCOMPARE(splash.size(), QSize(320, 415));
    QVERIFY(!splash.pixmap().isNull());
    const QImage image = splash.grab().toImage();
    const int h = splash.height();
    QVERIFY(HasColourNear(image, QRect(193, h - 207 - 30, 120, 30), QColor("#da2c36")));
    QVERIFY(HasColourNear(image, QRect(6, h - 38 - 10, 100, 10), QColor("#ffffff")));
  }
};

QTEST_MAIN(SplashScreenTest)
#include "qtest_splash_screen.moc"
