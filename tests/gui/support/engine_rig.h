// A controller over the stand-in engine with the engine's modules loaded as the program loads
// them, on the executor's thread; on request one module is scanned and made the current one, as
// the flow leaves it before the devices screen. The controller is the test's to delete, after
// the screens it made over it. The engine can be pointed at a catalogue of the test's own.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QMetaObject>
#include <QString>

#include <string>
#include <vector>

#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/morva_service_executor.h"
#include "morva_service/diagnostics.h"
#include "morva_service/morva_service.h"
#include "tests/support/scratch.h"

namespace gui_test {

class EngineRig {
 public:
  EngineRig() : controller(new KolvLiteController), context(controller->execution_context()) {
    MorvaServiceExecutor* executor = context->executor;
    if (executor->morva_service() == nullptr) return;
    QMetaObject::invokeMethod(executor, "LoadModules", Qt::BlockingQueuedConnection);
    if (executor->loaded_modules() != nullptr) modules = *executor->loaded_modules();
  }

  morva_service::MorvaService* service() const { return context->executor->morva_service(); }

  // Null when the engine has no such module.
  morva_service::ModuleInterfaceView* Module(const std::string& name) const {
    for (morva_service::ModuleInterfaceView* module : modules) {
      if (module->name() == name) return module;
    }
    return nullptr;
  }
  morva_service::ModuleInterfaceView* Module(size_t index) const {
    return index < modules.size() ? modules[index] : nullptr;
  }

  // Makes the module current under its own name, scanned first; false without a module or
  // when its scan fails.
  bool Choose(morva_service::ModuleInterfaceView* module, bool scan = true) {
    context->current_module = module;
    if (module == nullptr) return false;
    context->module_name = QString::fromStdString(module->name());
    return !scan || module->Scan() == 0;
  }

  KolvLiteController* controller;
  KolvLiteContext* context;
  std::vector<morva_service::ModuleInterfaceView*> modules;
};

// While it lives the engine reads a catalogue of the test's own, written to the scratch folder
// under the name: the engine is started anew now, and $MORVA_CATALOGUE is restored afterwards for
// the next instance.
class CatalogueSwap {
 public:
  CatalogueSwap(const QString& name, const QByteArray& json)
      : earlier_(qgetenv("MORVA_CATALOGUE")), path_(test_support::ScratchPath(name)),
        written_(test_support::WriteFile(path_, json)) {
    qputenv("MORVA_CATALOGUE", QFile::encodeName(path_));
    MorvaResetForTests();
  }
  ~CatalogueSwap() { qputenv("MORVA_CATALOGUE", earlier_); }
  CatalogueSwap(const CatalogueSwap&) = delete;
  CatalogueSwap& operator=(const CatalogueSwap&) = delete;

  bool written() const { return written_; }

 private:
  QByteArray earlier_;
  QString path_;
  bool written_;
};

}  // namespace gui_test
