#pragma once

#include <string>

#include "catalogue.h"
#include "morva_service/views.h"

namespace morva_service {
namespace detail {

class OptionObject : public CommandLineOptionView {
 public:
  explicit OptionObject(const OptionSpec& spec) : spec_(spec) {}
  std::string letter() const override { return spec_.letter; }
  std::string long_name() const override { return spec_.long_name; }
  int argument_requirement() const override { return spec_.argument_requirement; }

 private:
  const OptionSpec& spec_;
};

}  // namespace detail
}  // namespace morva_service
