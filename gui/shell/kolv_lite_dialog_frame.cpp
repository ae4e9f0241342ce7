#include "gui/shell/kolv_lite_dialog_frame.h"

#include <QBitmap>
#include <QDialog>
#include <QMouseEvent>
#include <QPoint>
#include <QPushButton>
#include <QRegion>
#include <QString>

#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_dialog_header.h"
#include "gui/shell/kolv_lite_translator.h"

namespace {

const char kMaskImage[] = ":/kolv_lite/Resources/Images/General/pop_up_mask.png";

// hit is the area itself or lies inside it.
bool Within(const QWidget* hit, const QWidget* area) {
  return hit && (hit == area || area->isAncestorOf(hit));
}

}  // namespace

namespace dialog_frame {

void SetDialogFlags(QDialog* dialog) {
  dialog->setWindowFlags((Qt::Dialog | Qt::FramelessWindowHint | Qt::MSWindowsFixedSizeDialogHint) &
                         ~Qt::WindowContextHelpButtonHint);
}

void ApplyWindowShape(QWidget* dialog, MaskWidth width) {
  QBitmap image(QString::fromLatin1(kMaskImage));
  if (image.isNull()) {
    dialog->clearMask();
    return;
  }
  if (width == MaskWidth::kStretched) {
    image = QBitmap::fromPixmap(
        image.scaled(dialog->width(), image.height(), Qt::IgnoreAspectRatio));
  }
  QRegion shape(image);
  shape += QRegion(0, image.height(), dialog->width(), dialog->height() - image.height());
  dialog->setMask(shape);
}

void KeepAnswerable(QWidget* dialog) {
  if (!dialog->isEnabled() && !dialog->testAttribute(Qt::WA_ForceDisabled)) {
    dialog->setEnabled(true);
  }
}

QPushButton* MakeWhiteButton(const char* key, QWidget* parent) {
  return MakeActionButtonWithText(KolvLiteTranslate(key), QString(), ActionButtonSize::kStandard,
                                  parent);
}

void PressForDrag(QWidget* dialog, KolvLiteDialogHeader* header, QMouseEvent* event,
                  bool& dragging, QPoint& drag_offset) {
  const QPoint pos = event->position().toPoint();
  QWidget* hit = dialog->childAt(pos);
  if (!Within(hit, header) || Within(hit, header->close_button())) return;
  dragging = true;
  drag_offset = pos;
  dialog->setCursor(Qt::ClosedHandCursor);
}

void ReleaseDrag(QWidget* dialog, KolvLiteDialogHeader* header, QMouseEvent* event,
                 bool& dragging) {
  if (!Within(dialog->childAt(event->position().toPoint()), header)) return;
  dragging = false;
  dialog->unsetCursor();
}

void FollowDrag(QWidget* dialog, QMouseEvent* event, bool dragging, const QPoint& drag_offset) {
  if (dragging) dialog->move(event->globalPosition().toPoint() - drag_offset);
}

}  // namespace dialog_frame
