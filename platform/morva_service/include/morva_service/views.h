// The engine's objects as the front ends see them. Every object belongs to the engine and stays
// valid until MorvaService::UnloadModules, also across scans.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "morva_service/types.h"

namespace morva_service {

typedef std::vector<std::pair<std::string, std::string>> PropertyList;

struct SystemComponentInformation {
  std::string display_name;                       // a translation key
  PropertyList properties;                        // ordered (name, value) rows
  std::map<std::string, std::string> attributes;  // "parent" (backslash path), "NonRotatingMedia"
};

struct SystemComponentResource {
  std::string name;  // resource type, for example "PARTITION"
  PropertyList properties;
};

// A command-line option a module offers for one of its diagnostics or tests.
class CommandLineOptionView {
 public:
  enum ArgumentRequirement : int { kNeedsArguments = 1, kNoArguments = 2 };
  virtual ~CommandLineOptionView() = default;
  virtual std::string letter() const = 0;  // its first character is the option letter
  virtual std::string long_name() const = 0;
  virtual int argument_requirement() const = 0;
};

// A device of a module.
class SystemComponentView {
 public:
  virtual ~SystemComponentView() = default;
  virtual std::string id() const = 0;
  virtual SystemComponentInformation information() const = 0;
  // Replaces the content of out with the device's resources, in order.
  virtual void resources(std::vector<SystemComponentResource>& out) const = 0;
};

class TestView {
 public:
  virtual ~TestView() = default;
  virtual std::string name() const = 0;  // a translation key and a log token (no blanks)
  virtual std::string description() const = 0;
  virtual ItemIdentifier identifier() const = 0;
  virtual bool SupportsComponent(const SystemComponentView* device) const = 0;
};

class DiagnosticView {
 public:
  virtual ~DiagnosticView() = default;
  virtual std::string name() const = 0;
  virtual std::string description() const = 0;
  virtual std::vector<TestView*> tests() const = 0;
  virtual ItemIdentifier identifier() const = 0;
};

// One notification of a running tool: named lists of values.
class ToolEventView {
 public:
  virtual ~ToolEventView() = default;
  // Empty when the notification has no such key.
  virtual std::vector<std::string> GetValues(const std::string& key) const = 0;
};

class ToolView {
 public:
  virtual ~ToolView() = default;
  virtual void SetParameter(const std::string& name, const std::vector<std::string>& values) = 0;
  // Empty when the parameter was never set.
  virtual std::vector<std::string> GetParameter(const std::string& name) const = 0;
  virtual std::string name() const = 0;
  virtual std::string description() const = 0;
  virtual std::string hint() const = 0;
};

class ModuleInterfaceView {
 public:
  typedef std::map<ItemIdentifier, CommandLineOptionView*> OptionMap;

  virtual ~ModuleInterfaceView() = default;
  virtual const OptionMap& diagnostic_options() const = 0;
  virtual const OptionMap& test_options() const = 0;
  virtual std::string help() const = 0;
  virtual std::string name() const = 0;  // one token
  // The devices of the last scan, as a snapshot that a scan on another thread cannot change.
  virtual std::vector<SystemComponentView*> system_components() const = 0;
  virtual std::vector<ToolView*> tools() const = 0;
  virtual std::vector<DiagnosticView*> diagnostics() const = 0;
  // Null when the index is past the last scan's devices.
  virtual SystemComponentView* system_component(size_t index) const = 0;
  virtual size_t system_component_count() const = 0;
  // true: the module is usable on this machine. Synchronous.
  virtual bool CheckForComponents() = 0;
  // Fills the device list anew. Synchronous; 0 on success, a nonzero code on failure.
  virtual int Scan() = 0;
  // Null when the module has no version.
  virtual ProductVersion* version() const = 0;
};

}  // namespace morva_service
