#include "tools/mendra/gui/mdr_plugin.h"

#include "morva_service/morva_service.h"
#include "tools/mendra/common/mdr_result_codes.h"
#include "tools/mendra/common/mdr_utils.h"
#include "tools/mendra/gui/mdr_q_listener.h"
#include "tools/mendra/gui/mdr_operations_screen.h"
#include "tools/mendra/gui/tool_log_builder.h"

namespace {
int g_operation = kMdrScan;
MdrUtils* g_model = nullptr;
morva_service::ModuleInterfaceView* g_module = nullptr;
MdrQListener* g_listener = nullptr;
ToolLogBuilder* g_log = nullptr;
int g_screens = 0;
morva_service::MorvaService* g_service = nullptr;
}  // namespace

extern "C" {
KolvLiteScreen* get_screen(KolvLiteController* controller) {
  ++g_screens;
  return new MdrOperationsScreen(controller);
}

void ReleaseToolScreen(KolvLiteScreen* screen) {
  if (screen == nullptr) return;
  delete screen;
  // The library may be unloaded next: nothing of it may outlive its last screen.
  if (--g_screens <= 0) {
    g_screens = 0;
    MdrPlugin::Release();
  }
}
}

namespace MdrPlugin {
int operation() { return g_operation; }

std::string operation_name() {
  switch (g_operation) {
    case kMdrScan: return kMdrOperationScan;
    case kMdrScanAndRepair: return kMdrOperationRepair;
    case kMdrFilesystemRepair: return kMdrOperationFilesystem;
    default: return std::string();
  }
}

void set_operation(int operation) { g_operation = operation; }
MdrUtils* current_model() { return g_model; }
morva_service::ModuleInterfaceView* module() { return g_module; }

void UpdateModel(int operation, morva_service::ModuleInterfaceView* module,
                 morva_service::ToolView* tool) {
  g_operation = operation;
  g_module = module;
  delete g_model;
  g_model = new MdrUtils(module, tool, service());
}

MdrQListener* listener() {
  if (g_listener == nullptr) g_listener = new MdrQListener();
  return g_listener;
}

ToolLogBuilder* tool_log() {
  if (g_log == nullptr) g_log = new ToolLogBuilder();
  return g_log;
}

morva_service::MorvaService* service() {
  if (g_service == nullptr) g_service = GetMorvaServiceInstance();
  return g_service;
}

void Release() {
  delete g_model;
  g_model = nullptr;
  delete g_listener;
  g_listener = nullptr;
  delete g_log;
  g_log = nullptr;
  g_module = nullptr;
  g_operation = kMdrScan;
  if (g_service != nullptr) ReleaseMorvaServiceInstance();
  g_service = nullptr;
}
}  // namespace MdrPlugin
