#pragma once

#include <string>

#include "catalogue.h"

namespace morva_service {
namespace detail {

// The module's help as the console host prints it: the catalogue's text, then every
// diagnostic and test with the letters that choose them, taken from the module's own options.
// A diagnostic whose letter the host keeps is offered by its long name only.
std::string ModuleHelp(const ModuleSpec& spec);

}  // namespace detail
}  // namespace morva_service
