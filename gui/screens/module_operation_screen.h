// The first screen of a module that has GUI tools: its diagnostics (through the diagnostic
// selection screen) or one of its tools, each tool's screen making up a flow of its own.
#pragma once

#include <QButtonGroup>
#include <QMap>
#include <QString>

#include "gui/screens/fork_screen.h"

class DiagnosticSelectionScreen;
class QPushButton;
class QRadioButton;

namespace morva_service {
class ToolView;
}

namespace Ui {
class ModuleOperationScreen;
}  // namespace Ui

class ModuleOperationScreen : public ForkScreen {
  Q_OBJECT

 public:
  explicit ModuleOperationScreen(KolvLiteController* controller);
  ~ModuleOperationScreen() override;

  QPushButton* next_button() const { return next_button_; }
  // The option of the module's own diagnostics.
  QRadioButton* main_radio() const;
  QButtonGroup* radio_group() const { return radio_group_; }
  // Made on the first entry; null before.
  DiagnosticSelectionScreen* diagnostic_selection_screen() const {
    return diagnostic_selection_screen_;
  }
  // The tool whose screen makes up a flow; null for the main flow.
  morva_service::ToolView* tool_of_flow(int flow) const { return tool_flows_.value(flow); }

 public slots:
  void OnEnter() override;
  void OnExit() override;
  bool isBusy(QString& message) override;
  void Stop() override;

 protected slots:
  void GoToNextScreen();

 private:
  // A radio button and description for a tool, in a flow of its own; returns the flow.
  int AddToolOption(QString name, QString description);

  QButtonGroup* radio_group_;
  Ui::ModuleOperationScreen* form_;
  QPushButton* next_button_;
  DiagnosticSelectionScreen* diagnostic_selection_screen_;
  QMap<int, morva_service::ToolView*> tool_flows_;
  // The flows are made once; a later entry after Unload installs the chosen one again.
  bool flows_built_;
};
