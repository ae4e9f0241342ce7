// For a test program to include once: its definition stands before the engine's own, so that the
// engine's tool run throws while g_tool_run_throws is set, as it does when memory runs out. The
// device filter, a run without listener, never throws.
#pragma once

#include <dlfcn.h>

#include <atomic>
#include <new>
#include <vector>

#include "morva_service/morva_service.h"

namespace mdrtest {
inline std::atomic<bool> g_tool_run_throws{false};
}  // namespace mdrtest

namespace morva_service::detail {
class ToolObject;
void RunTool(ToolObject& tool, ToolListenerView* listener,
             const std::vector<SystemComponentView*>& devices, double time_scale) {
  if (mdrtest::g_tool_run_throws && listener != nullptr) throw std::bad_alloc();
  static const auto engine = reinterpret_cast<decltype(&RunTool)>(
      dlsym(RTLD_NEXT,
            "_ZN13morva_service6detail7RunToolERNS0_10ToolObjectEPNS_16ToolListenerViewERKSt6"
            "vectorIPNS_19SystemComponentViewESaIS7_EEd"));
  engine(tool, listener, devices, time_scale);
}
}  // namespace morva_service::detail
