#include "gui/shell/devices_scanner.h"

#include "gui/shell/engine_call.h"
#include "morva_service/views.h"

DevicesScanner::DevicesScanner() : QObject(nullptr) { RegisterKolvLiteMetaTypes(); }

morva_service::ModuleInterfaceView* DevicesScanner::module() const { return module_.load(); }

void DevicesScanner::set_module(morva_service::ModuleInterfaceView* module) {
  module_.store(module);
}

bool DevicesScanner::scanning() const { return scanning_.load(); }

bool DevicesScanner::checking() const { return checking_.load(); }

void DevicesScanner::Scan() {
  morva_service::ModuleInterfaceView* module = module_.load();
  if (!module) {
    emit ScanFailed(nullptr);
    return;
  }
  emit ScanStarted(module);
  scanning_.store(true);
  // A scan that threw ends as one that found what the module now holds.
  EngineCallReturned([module] { module->Scan(); });
  scanning_.store(false);
  emit ScanFinished(module);
}

void DevicesScanner::CheckForComponents() {
  morva_service::ModuleInterfaceView* module = module_.load();
  if (!module) {
    emit CheckFailed(nullptr);
    return;
  }
  emit CheckStarted(module);
  checking_.store(true);
  bool present = false;
  EngineCallReturned([&] { present = module->CheckForComponents(); });
  checking_.store(false);
  emit CheckFinished(module, present);
}
