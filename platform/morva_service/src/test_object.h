#pragma once

#include <string>

#include "catalogue.h"
#include "morva_service/views.h"

namespace morva_service {
namespace detail {

class DiagnosticObject;
class ModuleObject;

class TestObject : public TestView {
 public:
  TestObject(const TestSpec& spec, const DiagnosticObject* diagnostic, const ModuleObject* module)
      : spec_(spec), diagnostic_(diagnostic), module_(module) {}
  std::string name() const override { return spec_.name; }
  std::string description() const override { return spec_.description; }
  ItemIdentifier identifier() const override { return spec_.identifier; }
  bool SupportsComponent(const SystemComponentView* device) const override;

  const TestSpec& spec() const { return spec_; }
  const DiagnosticObject* diagnostic() const { return diagnostic_; }
  const ModuleObject* module() const { return module_; }

 private:
  const TestSpec& spec_;
  const DiagnosticObject* diagnostic_;
  const ModuleObject* module_;
};

}  // namespace detail
}  // namespace morva_service
