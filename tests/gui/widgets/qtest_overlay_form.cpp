// The dimming overlay (clicks outside and inside its central widget, replacing the central
// widget, the context of its accessible name) and the description pop-up (close button, focus
// kept inside until a click elsewhere).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextDocument>
#include <QUrl>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtTest>

#include "gui/widgets/description_popup.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/overlay_form.h"
#include "tests/gui/support/table_translator.h"

namespace {

QPoint CentreOf(QWidget* widget, QWidget* in) {
  return widget->mapTo(in, widget->rect().center());
}

}  // namespace

class TestOverlayForm : public QObject {
  Q_OBJECT

 private slots:
  void clickOutsideAndInside() {
    OverlayForm overlay;
    overlay.resize(800, 600);
    auto* central = new QWidget;
    central->setFixedSize(200, 100);
    overlay.SetCentralWidget(central);
    overlay.show();
    QVERIFY(QTest::qWaitForWindowExposed(&overlay));
    QSignalSpy clicked(&overlay, &OverlayForm::Clicked);

    const QPoint veil(10, 10);
    const QPoint inside = CentreOf(central, &overlay);
    QCOMPARE(overlay.childAt(inside), central);

    QTest::mouseClick(&overlay, Qt::LeftButton, {}, veil);
    QCOMPARE(clicked.count(), 1);

    // Pressed on the veil, released on the central widget: no close.
    QTest::mousePress(&overlay, Qt::LeftButton, {}, veil);
    QTest::mouseRelease(&overlay, Qt::LeftButton, {}, inside);
    QCOMPARE(clicked.count(), 1);

    // Pressed on the central widget: the press reaches the overlay through its parent chain.
    QTest::mouseClick(central, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);

    // Only the left button closes, and only a press and release pair.
    QTest::mouseClick(&overlay, Qt::RightButton, {}, veil);
    QCOMPARE(clicked.count(), 1);
    QTest::mouseRelease(&overlay, Qt::LeftButton, {}, veil);
    QCOMPARE(clicked.count(), 1);

    // Pressed on the central widget, released on the veil.
    QTest::mousePress(&overlay, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(&overlay, Qt::LeftButton, {}, veil);
    QCOMPARE(clicked.count(), 1);
    QTest::mouseClick(&overlay, Qt::LeftButton, {}, QPoint(790, 590));
    QCOMPARE(clicked.count(), 2);
  }

  void replacingTheCentralWidget() {
    OverlayForm overlay;
    QPointer<QWidget> first = new QWidget;
    overlay.SetCentralWidget(first);
    QCOMPARE(first->parentWidget(), static_cast<QWidget*>(&overlay));
    QCOMPARE(overlay.central_widget(), first.data());

    auto* second = new QWidget;
    overlay.SetCentralWidget(second);
    QVERIFY(!first.isNull());
    QCOMPARE(first->parentWidget(), static_cast<QWidget*>(nullptr));
    QCOMPARE(overlay.central_widget(), second);
    QCOMPARE(second->parentWidget(), static_cast<QWidget*>(&overlay));

    overlay.SetCentralWidget(nullptr);
    QCOMPARE(overlay.central_widget(), static_cast<QWidget*>(nullptr));
    QCOMPARE(second->parentWidget(), static_cast<QWidget*>(nullptr));
    delete first;
    delete second;

    // With no central widget every click on the veil closes.
    overlay.resize(300, 300);
    QSignalSpy clicked(&overlay, &OverlayForm::Clicked);
    QTest::mouseClick(&overlay, Qt::LeftButton, {}, QPoint(150, 150));
    QCOMPARE(clicked.count(), 1);
  }

  void accessibleNameIsTranslatedInItsContext() {
    gui_test::TableTranslator translator({{"OverlayForm", {{"Overlay", "Veil"}}}});
    QCoreApplication::installTranslator(&translator);
    OverlayForm overlay;
    QCOMPARE(overlay.accessibleName(), QString("Veil"));
    QCoreApplication::removeTranslator(&translator);
  }

  void popupContents() {
    DescriptionPopup popup;
    popup.SetTitle("Read test");
    popup.SetText("<b>Reads</b> every sector.");
    QCOMPARE(popup.title_label()->text(), QString("Read test"));
    QCOMPARE(popup.body()->toPlainText(), QString("Reads every sector."));
    QCOMPARE(popup.accessibleName(), QString("TestDescription"));
    QCOMPARE(popup.title_label()->max_lines(), 1);
    QVERIFY(!popup.body()->openExternalLinks());
    QVERIFY(!popup.body()->openLinks());
    // Markup may not reach outside the program for images.
    const QString outside = QDir(qEnvironmentVariable("KOLV_TEST_TMP", QDir::tempPath()))
                                .filePath("description_image.png");
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(outside));
    QVERIFY(popup.body()->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(outside))
                .isNull());
    QVERIFY(popup.body()->loadResource(QTextDocument::ImageResource, QUrl(outside)).isNull());
    QFile::remove(outside);
    QSignalSpy closed(&popup, &DescriptionPopup::CloseClicked);
    popup.close_button()->click();
    QCOMPARE(closed.count(), 1);
  }

  void focusStaysInsideUntilAClickElsewhere() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* popup = new DescriptionPopup(&window);
    auto* after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(popup);
    layout->addWidget(after);
    popup->hide();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    popup->show();
    QVERIFY(popup->trap_active());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(popup->close_button()));

    // Tab away from the close button: focus goes to the body, never outside.
    QTest::keyClick(popup->close_button(), Qt::Key_Tab);
    QTRY_VERIFY(popup->isAncestorOf(QApplication::focusWidget()));
    after->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(popup->isAncestorOf(QApplication::focusWidget()));
    popup->body()->setFocus(Qt::TabFocusReason);
    after->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(popup->close_button()));
    popup->close_button()->setFocus();
    before->setFocus(Qt::BacktabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(popup->body()));

    // A click on the pop-up itself keeps the trap.
    QTest::mousePress(popup->body()->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(popup->trap_active());

    // A click elsewhere releases it.
    QTest::mouseClick(before, Qt::LeftButton, {}, QPoint(3, 3));
    QVERIFY(!popup->trap_active());
    before->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(before));

    // Showing again arms it again; hiding disarms it.
    popup->hide();
    popup->show();
    QVERIFY(popup->trap_active());
    popup->hide();
    QVERIFY(!popup->trap_active());
    after->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(after));
  }
};

QTEST_MAIN(TestOverlayForm)
#include "qtest_overlay_form.moc"
