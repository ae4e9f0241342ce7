// GUI tool plug-ins: a module's tool gets screens when a library named after it lies in the
// program folder. The host loads the library, asks it for one screen through get_screen, and
// gives the screen back through ReleaseToolScreen before the library is unloaded.
#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <string>
#include <vector>

class KolvLiteController;
class KolvLiteScreen;

namespace morva_service {
class ModuleInterfaceView;
class ToolView;
}  // namespace morva_service

namespace ToolPluginNames {
inline constexpr char GET_SCREEN[] = "get_screen";
inline constexpr char RELEASE_TOOL_SCREEN[] = "ReleaseToolScreen";
inline constexpr char LIBRARY_EXTENSION[] = ".dll";
inline constexpr char GUI_PATTERN[] = "*_gui";
inline constexpr char GUI_SUFFIX[] = "_gui";
}  // namespace ToolPluginNames

// The two exports of a plug-in, unmangled. get_screen returns a new screen or null;
// ReleaseToolScreen deletes what get_screen returned.
extern "C" {
typedef KolvLiteScreen* (*GetToolScreenFunction)(KolvLiteController* controller);
typedef void (*ReleaseToolScreenFunction)(KolvLiteScreen* screen);
}

// "Mendra" -> "mendra_gui.so": what a plug-in's file name must contain.
std::string ToolPluginKey(const std::string& tool_name);
// The listing pattern: every "*_gui" library of the folder, with the separator between them.
std::string ToolPluginPattern(const std::string& folder);
// Only the file name is compared, so a folder that happens to contain the key matches nothing.
bool ToolPluginMatches(const std::string& listed_path, const std::string& key);
// Name under which a tool's resource file and translation context are loaded: "Mendra_GUI".
QString ToolResourceName(const std::string& tool_name);

class GuiToolPlugins {
 public:
  // Loads the tool's resource file and translations by name; true when both are in.
  typedef std::function<bool(const QString& name)> ResourceLoader;

  GuiToolPlugins() = default;
  GuiToolPlugins(const GuiToolPlugins&) = delete;
  GuiToolPlugins& operator=(const GuiToolPlugins&) = delete;
  // Does not unload: the owner decides when the screens may go.
  ~GuiToolPlugins() = default;

  // Loads the plug-ins of the module's tools from folder and returns the screen of each tool
  // that got one. Nothing is reported: a tool without a working plug-in simply has no screen.
  QMap<morva_service::ToolView*, KolvLiteScreen*> Load(morva_service::ModuleInterfaceView* module,
                                                       KolvLiteController* controller,
                                                       const std::string& folder,
                                                       const ResourceLoader& load_resources);
  // Takes every screen out of the controller's flows, gives it back to its plug-in and unloads
  // the library.
  void Unload(KolvLiteController* controller);

  const QMap<quint64, morva_service::ToolView*>& tool_libraries() const { return tool_libraries_; }
  const QMap<morva_service::ToolView*, KolvLiteScreen*>& tool_screens() const {
    return tool_screens_;
  }

 private:
  QMap<quint64, morva_service::ToolView*> tool_libraries_;
  QMap<morva_service::ToolView*, KolvLiteScreen*> tool_screens_;
};
