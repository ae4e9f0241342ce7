#include "tool_object.h"

#include "support.h"

namespace morva_service {
namespace detail {

namespace {

std::string JoinValues(const std::vector<std::string>& values) {
  std::string text = "[";
  for (size_t i = 0; i < values.size(); ++i) text += (i ? "|" : "") + values[i];
  return text + "]";
}

}  // namespace

void ToolObject::SetParameter(const std::string& name, const std::vector<std::string>& values) {
  Trace("SetParameter tool=" + spec_.name + " name=" + name + " values=" + JoinValues(values));
  // Clearing the forced abort withdraws every abort request, also one that came while no run
  // was on, so it cannot end a later run.
  if (name == "ForcedAbort" && values.empty()) abort_requested_ = false;
  StoreParameter(name, values);
}

void ToolObject::StoreParameter(const std::string& name, const std::vector<std::string>& values) {
  std::lock_guard<std::mutex> lock(mutex_);
  parameters_[name] = values;
}

std::vector<std::string> ToolObject::GetParameter(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = parameters_.find(name);
  return it == parameters_.end() ? std::vector<std::string>() : it->second;
}

}  // namespace detail
}  // namespace morva_service
