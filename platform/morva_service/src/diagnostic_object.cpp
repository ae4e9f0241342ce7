#include "diagnostic_object.h"

namespace morva_service {
namespace detail {

DiagnosticObject::DiagnosticObject(const DiagnosticSpec& spec, const ModuleObject* module)
    : spec_(spec), module_(module) {
  for (const TestSpec& test : spec.tests) tests_.push_back(std::make_unique<TestObject>(test, this, module));
}

std::vector<TestView*> DiagnosticObject::tests() const {
  std::vector<TestView*> tests;
  for (const auto& test : tests_) tests.push_back(test.get());
  return tests;
}

}  // namespace detail
}  // namespace morva_service
