#pragma once

#include <string>

// Loads shared libraries and looks up their exports; one process-wide instance.
class Module {
 public:
  virtual ~Module() = default;
  // 0 on failure.
  virtual void* LoadByName(const char* path, int flags) = 0;
  virtual void* GetSymbol(void* handle, const char* name) = 0;
  virtual void Unload(void* handle) = 0;
  virtual std::string LastError() = 0;
};
Module* GetModuleLoader();
