#include "cli/module.h"

#include "zerka/zerka.h"

namespace {

class SharedLibraryModule : public Module {
 public:
  void* LoadByName(const char* path, int flags) override {
    ZerkaModuleLoader* loader = get_module();
    return loader ? loader->Load(path, flags) : nullptr;
  }
  void* GetSymbol(void* handle, const char* name) override {
    ZerkaModuleLoader* loader = get_module();
    return loader && handle ? loader->GetSymbol(handle, name) : nullptr;
  }
  void Unload(void* handle) override {
    if (ZerkaModuleLoader* loader = get_module()) loader->Unload(handle);
  }
  std::string LastError() override {
    ZerkaModuleLoader* loader = get_module();
    return loader ? loader->LastError() : std::string("no module loader");
  }
};

}  // namespace

Module* GetModuleLoader() {
  static Module* loader = new SharedLibraryModule();  // lives as long as the loaded plug-ins
  return loader;
}
