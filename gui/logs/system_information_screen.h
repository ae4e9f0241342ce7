// The system information screen: on the left the machine entry and, per usable module, the
// devices that module finds; on the right the selected entry's properties, which can be saved
// as an HTML page. Each module's devices are scanned on the worker while its section shows a
// loading animation; the screen is busy until every module has been read.
#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <cstddef>
#include <vector>

#include "gui/shell/kolv_lite_meta_types.h"
#include "gui/shell/kolv_lite_screen.h"
#include "gui/logs/module_information.h"
#include "gui/widgets/clickable_label_group.h"

class AccordionWidget;
class DevicesScanController;
class QPushButton;
class QWidget;

namespace morva_service {
class ModuleInterfaceView;
class SystemComponentView;
}  // namespace morva_service

namespace Ui {
class SystemInformationsScreen;
}  // namespace Ui

// The widgets of the screen, by the names the style sheet and the tests find them by.
using SystemInformationScreenForm = Ui::SystemInformationsScreen;

class SystemInformationScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  explicit SystemInformationScreen(KolvLiteController* controller);
  ~SystemInformationScreen() override;

  AccordionWidget* list() const { return accordion; }
  ClickableLabelGroup* selection() const { return selection_group; }
  SystemInformationScreenForm* widgets() const { return form; }
  QPushButton* back() const { return back_button; }
  const std::vector<ModuleInformation*>& modules() const { return module_informations; }
  // The page of the selection as it is saved, with its title bar.
  QString ExportedHtml() { return SelectionHtml(true); }

 public slots:
  void OnEnter() override;
  void OnExit() override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;

  void AddComponentsToInterface(int module_index);
  void OnModuleReadFinish(morva_service::ModuleInterfaceView* module);
  void ShowMainContent();
  // Selects the first entry of the opened section unless the selection already lies in it.
  void SelectSectionEntry(int section);
  void ExportComponentInformation();

 private:
  void BuildForm();
  void BuildModuleSections();
  QString SelectionHtml(bool with_header);
  void ReadBiosTable();
  // Deletes the selection and the module readers of the last list.
  void ForgetList();
  // Takes the module off the pending list; true when that ended a stop request's wait.
  bool FinishPending(morva_service::ModuleInterfaceView* module);

  bool stop_requested;
  QString bios_html;
  QMutex interface_mutex;
  QPushButton* back_button;
  QList<morva_service::ModuleInterfaceView*> pending_modules;
  std::vector<ModuleInformation*> module_informations;
  ClickableLabelGroup* selection_group;
  AccordionWidget* accordion;
  QMutex pending_mutex;
  SystemInformationScreenForm* form;
  // The machine entry's own group, adopted by the selection.
  ClickableLabelGroup* general_group_;
};
