// The home screen: reloads the engine's modules, checks each module's resource file and
// translations, shows one tile per valid module, has the worker check each module for
// components, enables the tiles whose check passed, and starts a module's flow on a click.
#pragma once

#include <QButtonGroup>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QVector>

#include "gui/screens/gui_tool_plugins.h"
#include "gui/shell/kolv_lite_meta_types.h"
#include "gui/shell/kolv_lite_screen.h"

class DiagnosticSelectionScreen;
class ModuleButton;
class ModuleOperationScreen;
class ModulesGridLayout;

namespace morva_service {
class ModuleInterfaceView;
class ToolView;
}  // namespace morva_service

namespace Ui {
class ModulesScreen;
}  // namespace Ui

class ModulesScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  enum Page { kNoModulesPage = 0, kModulesPage = 1 };

  explicit ModulesScreen(KolvLiteController* controller);
  ~ModulesScreen() override;

  // Tiles in the order of their ids.
  QList<ModuleButton*> buttons() const;
  QMap<int, QString> module_names() const;
  int current_page() const;
  ModulesGridLayout* grid_layout() const { return grid_layout_; }
  // The flow screen made by the last module choice, null when none.
  KolvLiteScreen* module_flow_screen() const;

  // Where module and tool resource files are looked for: the program folder.
  static QString ResourceFilePath(const QString& name);

 signals:
  void ModulesValidationStarted();
  void ModulesValidationFinished();

 public slots:
  void OnEnter() override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

  void SetSelectedModule(morva_service::ModuleInterfaceView* mi);
  void DisplayModulesErrorsMessage(QVector<QString> modules);

 protected slots:
  void ModuleCheckFinish(morva_service::ModuleInterfaceView* mi, bool available);

 private:
  void BuildForm();
  void ReloadModules();
  void ClearModules();
  void DeleteOwnedScreens();
  bool LoadModuleResources(QString name);
  void LoadToolScreens(morva_service::ModuleInterfaceView* module);
  void UnloadToolScreens();
  // No tool screen, run or selection of an earlier module choice stays.
  void StartClean();
  // Blocking call of an executor slot on the worker; skipped when the worker is not running,
  // where the call could never be served.
  void InvokeExecutor(const char* slot);

  bool stop_requested_;
  // The plug-in records: library handle to tool and tool to screen.
  GuiToolPlugins tool_plugins_;
  QMap<int, QString> module_names_;
  QButtonGroup buttons_group_;
  // Guarded by mutex_.
  QMap<morva_service::ModuleInterfaceView*, ModuleButton*> pending_modules_;
  Ui::ModulesScreen* form_;
  ModuleOperationScreen* module_operation_screen_;
  DiagnosticSelectionScreen* diagnostic_selection_screen_;
  ModulesGridLayout* grid_layout_;
  QMutex mutex_;
};
