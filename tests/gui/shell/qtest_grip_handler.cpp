// Window grips and the main window they serve: moving and resizing through the grips' own
// fallback (the offscreen platform refuses system moves), disabled grips, maximize and restore,
// the close flag and the global buttons.
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include "gui/shell/kolv_lite_window.h"
#include "gui/shell/grip_handler.h"

namespace {

void Send(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
          const QPoint& global) {
  QMouseEvent event(type, target->mapFromGlobal(QPointF(global)), QPointF(global), button,
                    buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Presses on the grip widget, drags by delta and releases.
void Drag(QWidget* grip, const QPoint& delta, Qt::MouseButton button = Qt::LeftButton) {
  const QPoint start = grip->mapToGlobal(grip->rect().center());
  Send(grip, QEvent::MouseButtonPress, button, button, start);
  Send(grip, QEvent::MouseMove, Qt::NoButton, button, start + delta);
  Send(grip, QEvent::MouseButtonRelease, button, Qt::NoButton, start + delta);
}

// A window with one grip frame of the given kind.
struct GripWindow {
  explicit GripWindow(int kind) : handler(kind) {
    window.setMinimumSize(200, 150);
    window.setGeometry(300, 200, 400, 300);
    auto* layout = new QVBoxLayout(&window);
    grip = new QWidget(&window);
    grip->setFixedHeight(6);
    layout->addWidget(grip);
    grip->installEventFilter(&handler);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }
  QWidget window;
  QWidget* grip;
  GripHandler handler;
};

}  // namespace

class WindowGripTest : public QObject {
  Q_OBJECT

 private slots:
  void EdgesAndCursorsFollowTheKind() {
    QCOMPARE(GripHandler::EdgesFor(GripHandler::kTopLeft), Qt::TopEdge | Qt::LeftEdge);
    QCOMPARE(GripHandler::EdgesFor(GripHandler::kBottomLeft), Qt::BottomEdge | Qt::LeftEdge);
    QCOMPARE(GripHandler::EdgesFor(GripHandler::kMove), Qt::Edges());
    QCOMPARE(GripHandler::CursorFor(GripHandler::kTopRight), Qt::SizeBDiagCursor);
    QCOMPARE(GripHandler::CursorFor(GripHandler::kBottomRight), Qt::SizeFDiagCursor);
    QCOMPARE(GripHandler::CursorFor(GripHandler::kTop), Qt::SizeVerCursor);
    QCOMPARE(GripHandler::CursorFor(GripHandler::kLeft), Qt::SizeHorCursor);
  }

  void DraggedGeometryKeepsTheOppositeEdgesAndLimits() {
    const QRect start(100, 100, 400, 300);
    const QSize min(200, 150), max(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QCOMPARE(GripHandler::DraggedGeometry(GripHandler::kLeft, start, {30, 9}, min, max),
             QRect(130, 100, 370, 300));
    QCOMPARE(GripHandler::DraggedGeometry(GripHandler::kTopLeft, start, {-20, -10}, min, max),
             QRect(80, 90, 420, 310));
    QCOMPARE(GripHandler::DraggedGeometry(GripHandler::kBottomRight, start, {5, 7}, min, max),
             QRect(100, 100, 405, 307));
    // Never below the minimum size, and the right edge stays put when the left one hits it.
    QCOMPARE(GripHandler::DraggedGeometry(GripHandler::kLeft, start, {350, 0}, min, max),
             QRect(300, 100, 200, 300));
    QCOMPARE(GripHandler::DraggedGeometry(GripHandler::kMove, start, {-5, 5}, min, max),
             QRect(95, 105, 400, 300));
  }

  void MoveGripMovesTheWindow() {
    GripWindow w(GripHandler::kMove);
    const QRect before = w.window.geometry();
    Drag(w.grip, {40, 25});
    QCOMPARE(w.window.geometry(), before.translated(40, 25));
  }

  void ResizeGripResizesFromItsEdge() {
    GripWindow w(GripHandler::kBottomRight);
    const QRect before = w.window.geometry();
    Drag(w.grip, {50, 30});
    QCOMPARE(w.window.geometry(), QRect(before.topLeft(), before.size() + QSize(50, 30)));
  }

  void RightButtonAndDisabledGripsLeaveTheWindowAlone() {
    GripWindow w(GripHandler::kRight);
    const QRect before = w.window.geometry();
    Drag(w.grip, {50, 0}, Qt::RightButton);
    QCOMPARE(w.window.geometry(), before);
    w.handler.set_enabled(false);
    Drag(w.grip, {50, 0});
    QCOMPARE(w.window.geometry(), before);
    w.handler.set_enabled(true);
    Drag(w.grip, {50, 0});
    QCOMPARE(w.window.width(), before.width() + 50);
  }

  void HeightForWidthWindowsAreNotResized() {
    GripWindow w(GripHandler::kBottom);
    QSizePolicy policy = w.window.sizePolicy();
    policy.setHeightForWidth(true);
    w.window.setSizePolicy(policy);
    delete w.window.layout();
    const QRect before = w.window.geometry();
    Drag(w.grip, {0, 40});
    QCOMPARE(w.window.geometry(), before);
  }

  void MainWindowClosesOnlyWhenAccepted() {
    KolvLiteWindow window("Kolv Lite");
    window.show();
    QSignalSpy close_clicked(&window, &KolvLiteWindow::CloseClicked);
    window.IgnoreClose();
    window.findChild<QPushButton*>("close_pushButton")->click();
    QCOMPARE(close_clicked.count(), 1);
    window.close();
    QCOMPARE(close_clicked.count(), 2);
    QVERIFY(window.isVisible());
    window.AcceptClose();
    window.close();
    QCOMPARE(close_clicked.count(), 2);
    QVERIFY(!window.isVisible());
  }

  void GlobalButtons() {
    KolvLiteWindow window("Kolv Lite");
    auto* log = window.findChild<QPushButton*>("log_pushButton");
    auto* info = window.findChild<QPushButton*>("sysinfo_pushButton");
    window.DisableGlobalButton(KolvLiteWindow::kSystemInfoButton);
    QVERIFY(log->isEnabled());
    QVERIFY(!info->isEnabled());
    window.DisableGlobalButton();
    QVERIFY(!log->isEnabled());
    window.EnableGlobalButton(KolvLiteWindow::kLogButton);
    QVERIFY(log->isEnabled() && !info->isEnabled());
    window.show();
    window.HideGlobalButtons();
    QVERIFY(!log->isVisible() && !info->isVisible());
    window.ShowGlobalButtons(KolvLiteWindow::kSystemInfoButton);
    QVERIFY(!log->isVisible() && info->isVisible());
    window.SetBiosSerial("SN-42");
    QCOMPARE(window.findChild<QLabel*>("bios_value_label")->text(), QString("SN-42"));
  }

  void MaximizeAndRestore() {
    KolvLiteWindow window("Kolv Lite");
    window.setGeometry(120, 90, 820, 640);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect before = window.geometry();
    auto* top = window.findChild<QFrame*>("top_frame");
    auto* right = window.findChild<QFrame*>("right_grip");
    // A right-button double click, or one outside the title area, does nothing.
    QTest::mouseDClick(&window, Qt::RightButton, Qt::NoModifier, top->geometry().center());
    QVERIFY(!window.is_maximized());
    window.findChild<QPushButton*>("maximize_pushButton")->click();
    QVERIFY(window.is_maximized());
    QVERIFY(window.findChild<QPushButton*>("restore_pushButton")->isVisible());
    const QRect maximized = window.geometry();
    // While maximized neither the title area nor an edge moves or resizes the window.
    Drag(top, {30, 30});
    Drag(right, {30, 0});
    QCOMPARE(window.geometry(), maximized);
    window.findChild<QPushButton*>("restore_pushButton")->click();
    QVERIFY(!window.is_maximized());
    QCOMPARE(window.geometry(), before);
    Drag(top, {30, 20});
    QCOMPARE(window.geometry(), before.translated(30, 20));
  }
};

QTEST_MAIN(WindowGripTest)
#include "qtest_grip_handler.moc"
