#pragma once

#include <string>

// Dynamic modules (dlopen).
class ZerkaModuleLoader {
 public:
  virtual ~ZerkaModuleLoader() = default;
  // flags: 1 resolves every symbol at once. Returns 0 on failure, also for a file that is not a
  // whole shared object for this machine (refused before it is loaded). The path may be in
  // Windows form; a bare name is a file of the working folder.
  virtual void* Load(const std::string& path, int flags) = 0;
  // Returns 0 when the module has no such export.
  virtual void* GetSymbol(void* handle, const std::string& name) = 0;
  virtual int Unload(void* handle) = 0;
  // Text of the last failure of this thread's Load or GetSymbol.
  virtual std::string LastError() = 0;
};

// The process-wide object, never freed.
ZerkaModuleLoader* get_module();
