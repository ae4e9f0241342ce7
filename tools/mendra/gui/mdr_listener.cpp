#include "tools/mendra/gui/mdr_listener.h"

#include <QString>
#include <stdexcept>

#include "gui/logs/html_generator.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/local_to_utf8.h"
#include "morva_service/morva_service.h"
#include "tools/mendra/common/mdr_result_codes.h"
#include "tools/mendra/common/mdr_utils.h"
#include "tools/mendra/gui/mdr_plugin.h"
#include "tools/mendra/gui/mdr_q_listener.h"
#include "tools/mendra/gui/mdr_report_terms.h"
#include "tools/mendra/gui/tool_log_builder.h"

namespace {

using morva_service::ToolEventView;

// Notifications come from the tool; a missing value must not end the tool's thread.
std::string Value(ToolEventView* event, const std::string& key, size_t index) {
  if (event == nullptr) return std::string();
  const std::vector<std::string> values = event->GetValues(key);
  return index < values.size() ? values[index] : std::string();
}

std::string Operation(ToolEventView* event) {
  std::string operation = Value(event, "Operation", 0);
  return operation.empty() ? MdrPlugin::operation_name() : operation;
}

std::string Tr(const std::string& key) { return KolvLiteTranslate(key).toStdString(); }

// The report's own escaping: the engine's text can neither pass for an image the report refers
// to nor reorder the page around it.
std::string Escaped(const std::string& text) {
  return HtmlGenerator::Escape(QString::fromStdString(text)).toStdString();
}

morva_service::SystemComponentView* Component(const std::string& id) {
  morva_service::ModuleInterfaceView* module = MdrPlugin::module();
  if (module == nullptr) return nullptr;
  for (morva_service::SystemComponentView* device : module->system_components()) {
    if (device != nullptr && device->id() == id) return device;
  }
  return nullptr;
}

std::string DeviceName(const std::string& id) {
  MdrUtils* model = MdrPlugin::current_model();
  MdrDevice* device = model != nullptr ? model->FindDevice(id) : nullptr;
  if (device != nullptr) return device->name;
  morva_service::SystemComponentView* component = Component(id);
  return component != nullptr ? component->information().display_name : id;
}

// Runs a change of the tool log; events out of order leave the log as it is.
template <typename Change>
void Record(Change change) {
  try {
    change(*MdrPlugin::tool_log());
  } catch (const std::out_of_range&) {
  }
}

}  // namespace

MdrListener::MdrListener() {
  MdrPlugin::listener();
  RegisterHandlers();
}

void MdrListener::Interact(InputRequest* request) { emit MdrPlugin::listener()->ToolInteract(request); }

void MdrListener::RegisterHandlers() {
  typedef bool (MdrListener::*Member)(ToolEventView*);
  const std::pair<const char*, Member> table[] = {
      {"OnRecoverInit", &MdrListener::OnRecoverInit},
      {"OnRecoverFinish", &MdrListener::OnRecoverFinish},
      {"OnOperationInit", &MdrListener::OnOperationInit},
      {"OnOperationFinish", &MdrListener::OnOperationFinish},
      {"OnDeviceInit", &MdrListener::OnDeviceInit},
      {"OnDeviceFinish", &MdrListener::OnDeviceFinish},
      {"OnPartitionInit", &MdrListener::OnPartitionInit},
      {"OnPartitionFinish", &MdrListener::OnPartitionFinish},
      {"OnProgress", &MdrListener::OnProgress},
      {"OnSchedule", &MdrListener::OnSchedule},
  };
  for (const auto& entry : table) {
    const Member member = entry.second;
    handlers[entry.first] = [this, member](ToolEventView* event, const std::string&) {
      return (this->*member)(event);
    };
  }
}

std::string MdrListener::PartitionNote(const std::string& message, const std::string& operation,
                                       int code) {
  if (operation == kMdrOperationFilesystem && code == kMdrOperationFailed) return std::string();
  QString text = HtmlGenerator::Escape(QString::fromStdString(LocalToUtf8(message)));
  text.replace(QLatin1String("\n"), QLatin1String("<br>"));
  if (text.isEmpty()) return std::string();
  return "<pre>" + text.toStdString() + "</pre>";
}

std::string MdrListener::SectorTable(const std::vector<std::string>& sectors,
                                     const std::string& operation) {
  auto at = [&sectors](size_t index) {
    return index < sectors.size() ? Escaped(sectors[index]) : std::string("0");
  };
  std::string html = "<table> <tr> <td> " + Tr("TOTAL_READ_SECTORS") + ": </td><td>" + at(0) +
                     "</td></tr><tr><td> " + Tr("TOTAL_BAD_SECTORS") + ":</td><td>" + at(1) +
                     "</td></tr>";
  if (operation == kMdrOperationRepair) {
    html += "<tr><td> " + Tr("TOTAL_FIXED_SECTORS") + ": </td><td>" + at(2) +
            "</td></tr><tr><td> " + Tr("TOTAL_NON_FIXED_SECTORS") + ": </td><td>" + at(3) +
            "</td></tr>";
  }
  return html + "</table>";
}

bool MdrListener::OnRecoverInit(ToolEventView*) {
  emit MdrPlugin::listener()->RecoverInit();
  MdrPlugin::tool_log()->Reset();
  return true;
}

bool MdrListener::OnRecoverFinish(ToolEventView*) {
  // The log is complete before the screen learns that the run is over and may show it.
  MdrPlugin::tool_log()->Finish();
  emit MdrPlugin::listener()->RecoverFinish();
  return true;
}

bool MdrListener::OnOperationInit(ToolEventView*) {
  emit MdrPlugin::listener()->OperationInit();
  return true;
}

bool MdrListener::OnOperationFinish(ToolEventView*) {
  emit MdrPlugin::listener()->OperationFinish();
  return true;
}

bool MdrListener::OnDeviceInit(ToolEventView* event) {
  emit MdrPlugin::listener()->DeviceInit();
  const std::string id = Value(event, "DeviceInit", 0);
  const std::string operation = Operation(event);
  ToolLogBuilder* log = MdrPlugin::tool_log();
  log->PushEntry(DeviceName(id));
  if (operation != kMdrOperationFilesystem) log->AddTask(OperationLabel(operation));
  if (morva_service::SystemComponentView* device = Component(id)) {
    const morva_service::PropertyList rows = device->information().properties;
    for (size_t row = 0; row < rows.size() && row < 12; ++row) {
      if (row == 8) continue;
      log->AddProperty(Tr(LocalToUtf8(rows[row].first)), Tr(LocalToUtf8(rows[row].second)));
    }
  }
  return true;
}

bool MdrListener::OnPartitionInit(ToolEventView* event) {
  const std::string id = Value(event, "PartitionInit", 0);
  const std::string mount = Value(event, "PartitionInit", 1);
  ToolLogBuilder* log = MdrPlugin::tool_log();
  log->PushEntry(mount);
  log->AddTask(OperationLabel(Operation(event)));
  morva_service::SystemComponentView* device = Component(id);
  if (device != nullptr) {
    std::vector<morva_service::SystemComponentResource> resources;
    device->resources(resources);
    // Only the resource actually mounted there; a partition not found shows no rows.
    const int found = MdrUtils::MountedResource(resources, mount);
    if (found >= 0) {
      const morva_service::PropertyList& rows = resources[static_cast<size_t>(found)].properties;
      for (size_t row = 1; row <= 6 && row < rows.size(); ++row) {
        log->AddProperty(Tr(LocalToUtf8(rows[row].first)), Tr(LocalToUtf8(rows[row].second)));
      }
    }
  }
  emit MdrPlugin::listener()->PartitionInit();
  return true;
}

bool MdrListener::OnPartitionFinish(ToolEventView* event) {
  const int code = MdrParseInt(Value(event, "PartitionFinish", 3), kMdrUnknownCode);
  emit MdrPlugin::listener()->PartitionFinish(code);
  const std::string note = PartitionNote(Value(event, "PartitionFinish", 2), Operation(event), code);
  Record([&](ToolLogBuilder& log) {
    log.SetResult(code);
    log.SetNote(note);
    log.PopEntry(code);
  });
  return true;
}

bool MdrListener::OnDeviceFinish(ToolEventView* event) {
  const std::string operation = Operation(event);
  const bool filesystem = operation == kMdrOperationFilesystem;
  const int reported = MdrParseInt(Value(event, "DeviceFinish", 1), kMdrUnknownCode);
  const int code = filesystem ? 0 : reported;
  const std::vector<std::string> sectors =
      event != nullptr ? event->GetValues("SectorsInfo") : std::vector<std::string>();
  Record([&](ToolLogBuilder& log) {
    if (!filesystem) {
      log.SetResult(code);
      log.SetNote(SectorTable(sectors, operation));
    }
    log.PopEntry(code);
  });
  const int bad = sectors.size() > 1 ? MdrParseInt(sectors[1], 0) : 0;
  if (!filesystem && bad > 0) emit MdrPlugin::listener()->ErrorsFoundInTheDevice(true);
  emit MdrPlugin::listener()->DeviceFinish(code);
  return true;
}

bool MdrListener::OnProgress(ToolEventView* event) {
  const int percent = MdrParseInt(Value(event, "Progress", 0), -1);
  if (percent >= 0) emit MdrPlugin::listener()->Progress(percent > 100 ? 100 : percent);
  return true;
}

bool MdrListener::OnSchedule(ToolEventView*) {
  emit MdrPlugin::listener()->Schedule();
  return true;
}
