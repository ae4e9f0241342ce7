#include "gui/shell/grip_handler.h"

#include <QLayout>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

GripHandler::GripHandler(int kind, QObject* parent)
    : QObject(parent), pressed_(false), enabled_(true), kind_(kind), manual_(false) {}

GripHandler::~GripHandler() = default;

void GripHandler::set_enabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) {
    pressed_ = false;
    manual_ = false;
  }
}

Qt::CursorShape GripHandler::CursorFor(int kind) {
  switch (kind) {
    case kLeft:
    case kRight:
      return Qt::SizeHorCursor;
    case kTop:
    case kBottom:
      return Qt::SizeVerCursor;
    case kTopLeft:
    case kBottomRight:
      return Qt::SizeFDiagCursor;
    case kTopRight:
    case kBottomLeft:
      return Qt::SizeBDiagCursor;
    default:
      return Qt::ArrowCursor;
  }
}

Qt::Edges GripHandler::EdgesFor(int kind) {
  switch (kind) {
    case kLeft:
      return Qt::LeftEdge;
    case kRight:
      return Qt::RightEdge;
    case kTop:
      return Qt::TopEdge;
    case kBottom:
      return Qt::BottomEdge;
    case kTopLeft:
      return Qt::TopEdge | Qt::LeftEdge;
    case kTopRight:
      return Qt::TopEdge | Qt::RightEdge;
    case kBottomLeft:
      return Qt::BottomEdge | Qt::LeftEdge;
    case kBottomRight:
      return Qt::BottomEdge | Qt::RightEdge;
    default:
      return {};
  }
}

QRect GripHandler::DraggedGeometry(int kind, const QRect& start, const QPoint& delta,
                                   const QSize& minimum, const QSize& maximum) {
  if (kind == kMove) return start.translated(delta);
  const Qt::Edges edges = EdgesFor(kind);
  if (edges == Qt::Edges()) return start;
  const int min_w = qMax(1, minimum.width());
  const int min_h = qMax(1, minimum.height());
  const int max_w = maximum.width();
  const int max_h = maximum.height();
  QRect g = start;
  if (edges & Qt::LeftEdge) {
    const int width = qBound(min_w, start.width() - delta.x(), max_w);
    g.setLeft(start.right() - width + 1);
  }
  if (edges & Qt::RightEdge) {
    g.setWidth(qBound(min_w, start.width() + delta.x(), max_w));
  }
  if (edges & Qt::TopEdge) {
    const int height = qBound(min_h, start.height() - delta.y(), max_h);
    g.setTop(start.bottom() - height + 1);
  }
  if (edges & Qt::BottomEdge) {
    g.setHeight(qBound(min_h, start.height() + delta.y(), max_h));
  }
  return g;
}

QWidget* GripHandler::TargetWindow(QWidget* grip_widget) {
  QWidget* top = grip_widget;
  while (top->parentWidget() != nullptr && !top->isWindow() &&
         !top->windowFlags().testFlag(Qt::SubWindow)) {
    top = top->parentWidget();
  }
  if (!top->isWindow() || top->testAttribute(Qt::WA_DontShowOnScreen)) return nullptr;
  const bool height_for_width =
      top->layout() != nullptr ? top->layout()->hasHeightForWidth()
                               : top->sizePolicy().hasHeightForWidth();
  return height_for_width ? nullptr : top;
}

bool GripHandler::StartSystemDrag(QWidget* window) {
  QWindow* handle = window->windowHandle();
  if (handle == nullptr) return false;
  return kind_ == kMove ? handle->startSystemMove() : handle->startSystemResize(EdgesFor(kind_));
}

bool GripHandler::eventFilter(QObject* watched, QEvent* event) {
  if (!enabled_ || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      pressed_ = true;
      manual_ = false;
      QWidget* window = TargetWindow(widget);
      if (window == nullptr) return false;
      if (!StartSystemDrag(window)) {
        manual_ = true;
        press_position_ = mouse->globalPosition().toPoint();
        start_geometry_ = window->geometry();
      }
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->buttons() != Qt::LeftButton || !pressed_) return false;
      QWidget* window = TargetWindow(widget);
      if (window == nullptr) return false;
      if (manual_) {
        const QPoint delta = mouse->globalPosition().toPoint() - press_position_;
        window->setGeometry(DraggedGeometry(kind_, start_geometry_, delta,
                                            window->minimumSize(), window->maximumSize()));
      }
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      pressed_ = false;
      manual_ = false;
      return true;
    }
    case QEvent::Move:
      if (!pressed_ && kind_ != kMove) widget->setCursor(CursorFor(kind_));
      return true;
    default:
      return false;
  }
}
