#pragma once

#include <string>
#include <vector>

#include "catalogue.h"
#include "morva_service/views.h"

namespace morva_service {
namespace detail {

class ModuleObject;

class DeviceObject : public SystemComponentView {
 public:
  DeviceObject(const DeviceSpec& spec, const ModuleObject* module) : spec_(spec), module_(module) {}
  std::string id() const override { return spec_.id; }
  SystemComponentInformation information() const override { return spec_.information; }
  void resources(std::vector<SystemComponentResource>& out) const override { out = spec_.resources; }

  const DeviceSpec& spec() const { return spec_; }
  const ModuleObject* module() const { return module_; }

 private:
  const DeviceSpec& spec_;
  const ModuleObject* module_;
};

}  // namespace detail
}  // namespace morva_service
