// How the tool's own screens move its flows on: their NEXT and BACK buttons, and the scan before
// the device screen.
#pragma once

class KolvLiteController;
class QPushButton;

// key is a key of the host's "Translations" catalogue; the button is at least the standard size.
QPushButton* MdrActionButton(const char* key);

// What the tool may work on can have changed since the last scan: shows the devices loading
// screen; once its scan succeeds, the controller goes to the next screen. Nothing happens without
// a devices loading screen.
void RescanDevicesThenGoOn(KolvLiteController* controller);
