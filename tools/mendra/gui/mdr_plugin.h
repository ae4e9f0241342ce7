// The values the tool's screens share while the plug-in is loaded, and its two exports.
#pragma once

#include <string>

class KolvLiteController;
class KolvLiteScreen;
class MdrQListener;
class MdrUtils;
namespace morva_service {
class MorvaService;
}
class ToolLogBuilder;

namespace morva_service {
class ModuleInterfaceView;
class ToolView;
}  // namespace morva_service

extern "C" {
KolvLiteScreen* get_screen(KolvLiteController* controller);
void ReleaseToolScreen(KolvLiteScreen* screen);
}

// The operations the tool's screens run, numbered as the operation screen's flows.
enum MdrOperation : int {
  kMdrScan = 0,
  kMdrScanAndRepair = 1,
  kMdrFilesystemRepair = 2,
};

namespace MdrPlugin {
// An MdrOperation.
int operation();
// The operation as the tool's "Operation" parameter names it (mdr_result_codes.h); empty for
// any other number.
std::string operation_name();
void set_operation(int operation);
// Null until an operation was chosen.
MdrUtils* current_model();
morva_service::ModuleInterfaceView* module();
// Replaces the model for a newly chosen operation.
void UpdateModel(int operation, morva_service::ModuleInterfaceView* module,
                 morva_service::ToolView* tool);
// The signal side of the running tool's listener; made on first use.
MdrQListener* listener();
ToolLogBuilder* tool_log();
// The engine, held by the plug-in from its first use until Release.
morva_service::MorvaService* service();
// Frees what the plug-in made, once its last screen is gone.
void Release();
}  // namespace MdrPlugin
