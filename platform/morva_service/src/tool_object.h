#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue.h"
#include "morva_service/views.h"

namespace morva_service {
namespace detail {

class ModuleObject;

class ToolObject : public ToolView {
 public:
  ToolObject(const ToolSpec& spec, const ModuleObject* module) : spec_(spec), module_(module) {}
  void SetParameter(const std::string& name, const std::vector<std::string>& values) override;
  std::vector<std::string> GetParameter(const std::string& name) const override;
  std::string name() const override { return spec_.name; }
  std::string description() const override { return spec_.description; }
  std::string hint() const override { return spec_.hint; }

  // The engine's own writes (the filter answer) are not calls made into the engine.
  void StoreParameter(const std::string& name, const std::vector<std::string>& values);
  const ToolSpec& spec() const { return spec_; }
  const ModuleObject* module() const { return module_; }
  std::atomic<bool>& abort_requested() { return abort_requested_; }

 private:
  const ToolSpec& spec_;
  const ModuleObject* module_;
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<std::string>> parameters_;
  std::atomic<bool> abort_requested_{false};
};

}  // namespace detail
}  // namespace morva_service
