// A screen with no work of its own, to stand in the flow around the screen under test.
#pragma once

#include <QString>

#include "gui/shell/kolv_lite_screen.h"

class StubScreen : public KolvLiteScreen {
 public:
  explicit StubScreen(KolvLiteController* controller) : KolvLiteScreen(controller) {}
  bool isBusy(QString&) override { return busy; }
  void Stop() override { emit Stopped(this); }
  void Unload() override {}
  // Set to stand for work that is still running.
  bool busy = false;
};
