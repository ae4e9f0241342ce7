// What the user has chosen and the run in progress, plus the program's one worker thread with the
// objects that live on it. GUI tool plug-ins read and write the members directly, so their order
// is part of the plug-in interface: append, never reorder.
#pragma once

#include <QMap>
#include <QString>
#include <QVector>
#include <QtGlobal>

class QThread;
class DevicesScanController;
class MorvaServiceExecutor;
class KolvLiteScreen;
class DevicesLoadingScreen;
struct DeviceTestSelection;

namespace morva_service {
class ModuleInterfaceView;
class SystemComponentView;
class ToolView;
}  // namespace morva_service

class KolvLiteContext {
 public:
  // Starts the worker and takes the engine instance. When the engine cannot be loaded the
  // executor is built without a service (executor->morva_service() is null) and every request
  // to it ends at once without doing anything.
  KolvLiteContext();
  // Aborts a run still going on the worker, waits for it to end, stops the worker and only then
  // gives the engine instance back.
  ~KolvLiteContext();

  KolvLiteContext(const KolvLiteContext&) = delete;
  KolvLiteContext& operator=(const KolvLiteContext&) = delete;

  // Forgets the run and the selection; the available modules, the module name and the devices
  // loading screen stay.
  void Clear();
  // Frees the per-device test selections and forgets the ticked devices (the engine owns those).
  void ClearSelection();

  int runs;
  int current_iteration;
  bool selection_changed;
  QThread* worker;
  DevicesScanController* scan_controller;
  MorvaServiceExecutor* executor;
  QVector<qint64> iteration_start_times;
  QVector<morva_service::SystemComponentView*> selected_devices;
  // Owned, each with its diagnostics vector.
  QVector<DeviceTestSelection*> selected_tests;
  // The first screen of each GUI tool plug-in of the chosen module; the plug-ins own them.
  QMap<morva_service::ToolView*, KolvLiteScreen*> tool_screens;
  DevicesLoadingScreen* devices_loading_screen;
  QVector<morva_service::ModuleInterfaceView*> available_modules;
  morva_service::ModuleInterfaceView* current_module;
  morva_service::ToolView* selected_tool;
  // Translation context of the chosen module's own keys.
  QString module_name;
};
