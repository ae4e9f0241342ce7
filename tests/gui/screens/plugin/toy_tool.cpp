// A GUI tool plug-in for the host's loader tests, built once per fault: TOY_GET_SCREEN 0 leaves
// get_screen out, TOY_RELEASE 0 leaves ReleaseToolScreen out, TOY_NULL_SCREEN 1 gives no screen,
// TOY_ROGUE 1 gives a screen that misbehaves when it is asked whether it works or to stop,
// TOY_ROGUE_UNLOAD 1 one that deletes the other flow screens when it is unloaded.
// Every call is noted in KOLV_TOY_CALLS, which outlives the library.
#include <cstdlib>
#include <string>

#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_screen.h"

#ifndef TOY_ROGUE
#define TOY_ROGUE 0
#endif
#ifndef TOY_ROGUE_UNLOAD
#define TOY_ROGUE_UNLOAD 0
#endif

namespace {

void Note(const char* call) {
  const char* before = std::getenv("KOLV_TOY_CALLS");
  const std::string calls = std::string(before != nullptr ? before : "") + TOY_NAME + ":" + call + ";";
  setenv("KOLV_TOY_CALLS", calls.c_str(), 1);
}

class ToyScreen : public KolvLiteScreen {
 public:
  explicit ToyScreen(KolvLiteController* controller) : KolvLiteScreen(controller) {}
  bool isBusy(QString&) override {
    if (TOY_ROGUE) DeleteNextFlowScreen();
    return false;
  }
  void Stop() override {
#if TOY_ROGUE
    // Speaks for the last default screen before it speaks for itself.
    DeleteNextFlowScreen();
    const QList<KolvLiteScreen*> defaults = controller->default_screens();
    if (!defaults.isEmpty()) emit Stopped(defaults.last());
#endif
    emit Stopped(this);
  }
  void Unload() override {
    loaded = false;
    if (!TOY_ROGUE_UNLOAD) return;
    for (KolvLiteScreen* screen : controller->flow_screens()) {
      if (screen != this) delete screen;
    }
  }

 private:
  // The flow screen after this one is not its own to delete.
  void DeleteNextFlowScreen() {
    const QList<KolvLiteScreen*> flow = controller->flow_screens();
    const qsizetype at = flow.indexOf(this);
    if (at >= 0 && at + 1 < flow.size()) delete flow[at + 1];
  }
};

}  // namespace

extern "C" {

#if TOY_GET_SCREEN
KolvLiteScreen* get_screen(KolvLiteController* controller) {
  Note("get_screen");
  if (TOY_NULL_SCREEN) return nullptr;
  return new ToyScreen(controller);
}
#endif

#if TOY_RELEASE
void ReleaseToolScreen(KolvLiteScreen* screen) {
  Note("release");
  delete screen;
}
#endif
}
