#include <dlfcn.h>

#include "platform/zerka/src/paths.h"
#include "zerka/zerka_module_loader.h"

namespace {

thread_local std::string last_error;

class ModuleLoader : public ZerkaModuleLoader {
 public:
  void* Load(const std::string& path, int flags) override {
    if (path.empty()) {
      last_error = "no module path given";
      return nullptr;
    }
    void* handle = dlopen(zerka::NativePath(path).c_str(), flags == 1 ? RTLD_NOW : RTLD_LAZY);
    if (!handle) Remember("cannot load " + path);
    return handle;
  }

  void* GetSymbol(void* handle, const std::string& name) override {
    // A null handle would make dlsym search every loaded object.
    if (!handle) {
      last_error = "no module handle for " + name;
      return nullptr;
    }
    dlerror();
    void* address = dlsym(handle, name.c_str());
    if (!address) Remember("no export " + name);
    return address;
  }

  int Unload(void* handle) override {
    if (!handle) return -1;
    return dlclose(handle) == 0 ? 0 : -1;
  }

  std::string LastError() override { return last_error; }

 private:
  static void Remember(const std::string& fallback) {
    const char* text = dlerror();
    last_error = text ? text : fallback;
  }
};

}  // namespace

ZerkaModuleLoader* get_module() {
  static ModuleLoader* instance = new ModuleLoader;
  return instance;
}
