// What the two dialogs share around their forms: the frameless window, its shape, being dragged
// by the header, and staying answerable under a disabled parent. Each dialog keeps its own drag
// state; these rules serve both.
#pragma once

class KolvLiteDialogHeader;
class QDialog;
class QMouseEvent;
class QPoint;
class QPushButton;
class QWidget;

namespace dialog_frame {

// A frameless dialog of fixed size without the context-help button.
void SetDialogFlags(QDialog* dialog);

// How the mask image meets the dialog's width.
enum class MaskWidth { kStretched, kAsDrawn };

// The top edge follows the mask image (rounded corners), the rest is square.
void ApplyWindowShape(QWidget* dialog, MaskWidth width);

// A disabled parent disables its child windows too. The main window is disabled while the
// program waits for its screens to stop after a confirmed close, and a run may still ask a
// question then; a dialog that could not be answered would block that run for good.
void KeepAnswerable(QWidget* dialog);

// An answer button of the dialogs' standard size, with the text of a translation key.
QPushButton* MakeWhiteButton(const char* key, QWidget* parent);

// A press on the header, but not on its close button, starts a drag; a release over the header
// ends it; a move while dragging takes the dialog along.
void PressForDrag(QWidget* dialog, KolvLiteDialogHeader* header, QMouseEvent* event,
                  bool& dragging, QPoint& drag_offset);
void ReleaseDrag(QWidget* dialog, KolvLiteDialogHeader* header, QMouseEvent* event,
                 bool& dragging);
void FollowDrag(QWidget* dialog, QMouseEvent* event, bool dragging, const QPoint& drag_offset);

}  // namespace dialog_frame
