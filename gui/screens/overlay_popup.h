// A screen's information pop-up on the controller's overlay, which all screens share.
#pragma once

class KolvLiteController;
class QWidget;

// Puts the pop-up on the overlay and shows both.
void ShowPopupOnOverlay(KolvLiteController* controller, QWidget* popup);

// When the pop-up is on the overlay (no longer a child of its screen), takes the overlay down
// and empties it; returns whether it was there. The overlay is left alone while it shows another
// screen's pop-up. A null controller only answers the question.
bool TakePopupOffOverlay(KolvLiteController* controller, QWidget* popup, const QWidget* screen);

// Hides the pop-up and gives it back to its screen, when it was on the overlay.
void ReturnPopupToScreen(KolvLiteController* controller, QWidget* popup, QWidget* screen);
