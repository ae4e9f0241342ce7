#pragma once

#include <memory>
#include <string>
#include <vector>

#include "catalogue.h"
#include "morva_service/views.h"
#include "test_object.h"

namespace morva_service {
namespace detail {

class ModuleObject;

class DiagnosticObject : public DiagnosticView {
 public:
  DiagnosticObject(const DiagnosticSpec& spec, const ModuleObject* module);
  std::string name() const override { return spec_.name; }
  std::string description() const override { return spec_.description; }
  std::vector<TestView*> tests() const override;
  ItemIdentifier identifier() const override { return spec_.identifier; }

  const ModuleObject* module() const { return module_; }

 private:
  const DiagnosticSpec& spec_;
  const ModuleObject* module_;
  std::vector<std::unique_ptr<TestObject>> tests_;
};

}  // namespace detail
}  // namespace morva_service
