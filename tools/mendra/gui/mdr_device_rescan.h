// The tool's flows scan the module's devices again before the device screen: what the tool may
// work on can have changed since the last scan.
#pragma once

class KolvLiteController;

// Shows the devices loading screen; once its scan succeeds, the controller goes to the next
// screen. Nothing happens without a devices loading screen.
void RescanDevicesThenGoOn(KolvLiteController* controller);
