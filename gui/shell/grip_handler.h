// Event filter on the thin frames along the edges of a frameless window (and on its title area):
// a left press hands the mouse to the window system's own move or resize, and the frame shows
// the matching resize cursor. Where the platform cannot move or resize a window itself (no window
// manager, offscreen), the grip follows the mouse and moves or resizes the window on its own.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QMouseEvent;
class QWidget;

class GripHandler : public QObject {
  Q_OBJECT

 public:
  enum Kind : int {
    kMove = 0,
    kLeft = 1,
    kRight = 2,
    kTop = 3,
    kBottom = 4,
    kTopLeft = 5,
    kTopRight = 6,
    kBottomLeft = 7,
    kBottomRight = 8,
  };

  GripHandler(int kind, QObject* parent = nullptr);
  ~GripHandler() override;

  // A disabled grip lets every event pass.
  void set_enabled(bool enabled);
  bool is_enabled() const { return enabled_; }
  int kind() const { return kind_; }
  // The cursor a grip of this kind gives its widget.
  static Qt::CursorShape CursorFor(int kind);
  // The window edges a grip of this kind drags; none for the move kind.
  static Qt::Edges EdgesFor(int kind);
  // The geometry a window of start geometry gets when the mouse has moved by delta on a grip of
  // this kind, kept within the window's minimum and maximum size.
  static QRect DraggedGeometry(int kind, const QRect& start, const QPoint& delta,
                               const QSize& minimum, const QSize& maximum);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The window to move or resize, or null when the grip must leave it alone.
  static QWidget* TargetWindow(QWidget* grip_widget);
  bool StartSystemDrag(QWidget* window);

  bool pressed_;
  bool enabled_;
  int kind_;
  // Set while the grip itself follows the mouse.
  bool manual_;
  QPoint press_position_;
  QRect start_geometry_;
};
