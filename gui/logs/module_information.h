#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <vector>

#include "gui/widgets/clickable_label_group.h"

class DevicesScanController;

namespace morva_service {
class ModuleInterfaceView;
class SystemComponentView;
}  // namespace morva_service

// Reads one module's devices through the scan control and turns them into link labels.
class ModuleInformation : public QObject {
  Q_OBJECT

 public:
  ModuleInformation(morva_service::ModuleInterfaceView* module,
                    DevicesScanController* scan_controller, int module_index);
  // Frees the label group; the labels belong to the list they were put in.
  ~ModuleInformation() override;

  Q_INVOKABLE ClickableLabelGroup* DevicesRead();
  Q_INVOKABLE size_t HowManyComponents();
  // Null for an index outside the device list.
  Q_INVOKABLE morva_service::SystemComponentView* Component(int index);

  // Asks the scan control for a scan of the module, unless one of it runs already.
  void ReadDevices();
  QString TranslatedModuleName() const;
  // Empty when no device is selected.
  QString SelectedComponentName() const;
  QString SelectedComponentHtml(bool with_header) const;
  morva_service::ModuleInterfaceView* module() const { return module_; }
  int module_index() const { return module_index_; }

 signals:
  void AllDevicesRead(int module_index);
  void AllDevicesRead(morva_service::ModuleInterfaceView* module);

 public slots:
  void FillDevicesList(morva_service::ModuleInterfaceView* module);

 private:
  // The selected device, or null.
  morva_service::SystemComponentView* SelectedComponent() const;
  QString DeviceName(morva_service::SystemComponentView* device) const;

  morva_service::ModuleInterfaceView* module_;
  std::vector<morva_service::SystemComponentView*> devices_;
  ClickableLabelGroup* device_labels_;
  int module_index_;
  DevicesScanController* scan_controller_;
};
