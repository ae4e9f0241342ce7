// The about box: version and revision drawn at their places, modal, Escape and the close button
// close it, and the text area takes no mouse selection.
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QtTest>

#include "gui/shell/about_screen.h"
#include "gui/shell/product_artwork.h"
#include "tests/gui/shell/support/artwork_probe.h"
#include "tests/gui/support/program_resources.h"

class AboutBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(gui_test::RegisterProgramResources());
  }

  void VersionTexts() {
    QCOMPARE(ProductArtwork::VersionText(), QString("3.2.0"));
    QCOMPARE(ProductArtwork::RevisionText(), QString("Revision: 4749"));
  }

  void DrawsVersionInRedAndRevisionInWhite() {
    AboutScreen about;
    QCOMPARE(about.size(), QSize(320, 415));
    QCOMPARE(about.windowTitle(), QString("Kolv Lite About"));
    const QImage image = about.grab().toImage();
    const int h = about.height();
    QVERIFY(HasColourNear(image, QRect(193, h - 207 - 30, 120, 30), QColor("#da2c36")));
    QVERIFY(!HasColourNear(image, QRect(193, h - 207 + 12, 120, 20), QColor("#da2c36")));
    QVERIFY(HasColourNear(image, QRect(6, h - 38 - 10, 100, 10), QColor("#ffffff")));
  }

  void ModalAndClosedByEscapeOrButton() {
    QWidget parent;
    AboutScreen about(&parent);
    QCOMPARE(about.windowModality(), Qt::ApplicationModal);
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
    about.show();
    about.findChild<QPushButton*>("close_pushButton")->click();
    QVERIFY(!about.isVisible());
  }

  void TextAreaSwallowsPressesAndScrollsToTop() {
    AboutScreen about;
    QTextEdit* text = about.text_edit();
    QVERIFY(text->toPlainText().isEmpty());
    QString lines;
    for (int i = 0; i < 40; ++i) lines += QString("line %1\n").arg(i);
    text->setPlainText(lines);
    about.show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QVERIFY(about.eventFilter(text->viewport(), &press));
    QEvent other(QEvent::Enter);
    QVERIFY(!about.eventFilter(text->viewport(), &other));
    QScrollBar* bar = text->verticalScrollBar();
    bar->setValue(bar->maximum());
    QVERIFY(bar->value() > 0);
    about.ScrollTextToTop();
    QCOMPARE(bar->value(), 0);
  }
};

QTEST_MAIN(AboutBoxTest)
#include "qtest_about_screen.moc"
