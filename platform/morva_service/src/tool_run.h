// The bad-sector tool's simulated run: the filter answer, or scan / repair / file-system check
// with its notifications.
#pragma once

#include <vector>

#include "morva_service/listeners.h"
#include "tool_object.h"

namespace morva_service {
namespace detail {

// Runs the operation named by the tool's "Operation" parameter over the devices, calling the
// listener's handlers (when there is a listener) on this thread. Every device is null or one of
// a loaded module's own.
void RunTool(ToolObject& tool, ToolListenerView* listener, const std::vector<SystemComponentView*>& devices,
             double time_scale);

}  // namespace detail
}  // namespace morva_service
