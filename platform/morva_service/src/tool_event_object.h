#pragma once

#include <map>
#include <string>
#include <vector>

#include "morva_service/views.h"

namespace morva_service {
namespace detail {

class ToolEventObject : public ToolEventView {
 public:
  std::vector<std::string> GetValues(const std::string& key) const override {
    auto it = values.find(key);
    return it == values.end() ? std::vector<std::string>() : it->second;
  }
  std::map<std::string, std::vector<std::string>> values;
};

}  // namespace detail
}  // namespace morva_service
