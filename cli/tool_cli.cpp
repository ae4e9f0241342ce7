#include "cli/tool_cli.h"

ToolCli::ToolCli() = default;
ToolCli::ToolCli(const ToolCli& other) = default;
ToolCli::~ToolCli() = default;
ToolCli& ToolCli::operator=(const ToolCli& other) = default;

void ToolCli::SetProperty(std::pair<std::string, std::string> property) {
  properties_.insert(std::move(property));
}

std::string ToolCli::GetProperty(const std::string& name) const {
  auto it = properties_.find(name);
  return it == properties_.end() ? std::string() : it->second;
}
