#include "gui/screens/gui_tool_plugins.h"

#include <QPointer>

#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_screen.h"
#include "kolv_os/os.h"
#include "morva_service/views.h"
#include "zerka/zerka.h"

std::string ToolPluginKey(const std::string& tool_name) {
  const std::string lower = QString::fromStdString(tool_name).toLower().toStdString();
  return kolv_os::PluginFileName(lower + ToolPluginNames::GUI_SUFFIX +
                                 ToolPluginNames::LIBRARY_EXTENSION);
}

std::string ToolPluginPattern(const std::string& folder) {
  return kolv_os::JoinPath(folder, kolv_os::PluginFileName(std::string(ToolPluginNames::GUI_PATTERN) +
                                                           ToolPluginNames::LIBRARY_EXTENSION));
}

bool ToolPluginMatches(const std::string& listed_path, const std::string& key) {
  const std::string::size_type slash = listed_path.find_last_of("/\\");
  const std::string file = slash == std::string::npos ? listed_path : listed_path.substr(slash + 1);
  return !key.empty() && file.find(key) != std::string::npos;
}

QString ToolResourceName(const std::string& tool_name) {
  return QString::fromStdString(tool_name) + QString::fromLatin1("_GUI");
}

QMap<morva_service::ToolView*, KolvLiteScreen*> GuiToolPlugins::Load(
    morva_service::ModuleInterfaceView* module, KolvLiteController* controller,
    const std::string& folder, const ResourceLoader& load_resources) {
  QMap<morva_service::ToolView*, KolvLiteScreen*> loaded;
  if (module == nullptr) return loaded;
  const std::vector<morva_service::ToolView*> tools = module->tools();
  if (tools.empty()) return loaded;

  ZerkaFilesystem* filesystem = get_filesystem();
  ZerkaModuleLoader* loader = get_module();
  if (filesystem == nullptr || loader == nullptr) return loaded;
  std::vector<std::string> names;
  if (filesystem->ListFiles(ToolPluginPattern(folder), names) <= 0) return loaded;

  for (morva_service::ToolView* tool : tools) {
    if (tool == nullptr) continue;
    // A screen already given out for this tool stays the one: a second screen would replace it
    // in the records while its library still pointed at the tool, so the first could never be
    // given back and the second would be released through the wrong library.
    if (tool_screens_.contains(tool)) {
      loaded.insert(tool, tool_screens_.value(tool));
      continue;
    }
    const std::string key = ToolPluginKey(tool->name());
    for (const std::string& name : names) {
      if (!ToolPluginMatches(name, key)) continue;
      void* handle = loader->Load(name, 1);
      if (handle == nullptr) continue;
      const quint64 id = static_cast<quint64>(reinterpret_cast<quintptr>(handle));
      // One library answers for one tool only; the loader counted this Load, so give it back.
      if (tool_libraries_.contains(id)) {
        loader->Unload(handle);
        continue;
      }
      auto get_screen =
          reinterpret_cast<GetToolScreenFunction>(loader->GetSymbol(handle, ToolPluginNames::GET_SCREEN));
      // Without its release function a screen could never be given back.
      auto release = reinterpret_cast<ReleaseToolScreenFunction>(
          loader->GetSymbol(handle, ToolPluginNames::RELEASE_TOOL_SCREEN));
      KolvLiteScreen* screen = nullptr;
      if (get_screen != nullptr && release != nullptr && load_resources(ToolResourceName(tool->name())))
        screen = get_screen(controller);
      // A library that gives no screen holds nothing of ours: it is not kept loaded for nothing.
      if (screen == nullptr) {
        loader->Unload(handle);
        continue;
      }
      tool_libraries_.insert(id, tool);
      tool_screens_.insert(tool, screen);
      loaded.insert(tool, screen);
      break;
    }
  }
  return loaded;
}

void GuiToolPlugins::Unload(KolvLiteController* controller) {
  ZerkaModuleLoader* loader = get_module();
  // A plug-in's Unload may delete another plug-in's screen: a screen gone meanwhile is neither
  // taken out of the flows nor given back a second time; its library is still unloaded.
  QMap<morva_service::ToolView*, QPointer<KolvLiteScreen>> guarded;
  for (auto it = tool_screens_.cbegin(); it != tool_screens_.cend(); ++it)
    guarded.insert(it.key(), it.value());
  while (!tool_libraries_.isEmpty()) {
    const quint64 id = tool_libraries_.firstKey();
    morva_service::ToolView* tool = tool_libraries_.take(id);
    tool_screens_.remove(tool);
    const QPointer<KolvLiteScreen> screen = guarded.value(tool);
    void* handle = reinterpret_cast<void*>(static_cast<quintptr>(id));
    if (controller != nullptr && !screen.isNull()) controller->RemoveFlowScreen(screen);
    if (loader == nullptr) continue;
    auto release = reinterpret_cast<ReleaseToolScreenFunction>(
        loader->GetSymbol(handle, ToolPluginNames::RELEASE_TOOL_SCREEN));
    if (release != nullptr && !screen.isNull()) release(screen);
    loader->Unload(handle);
  }
  tool_screens_.clear();
}
