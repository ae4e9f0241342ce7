#include "gui/screens/module_operation_screen.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "gui/screens/diagnostic_selection_screen.h"
#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/literal_button_text.h"
#include "gui/widgets/local_to_utf8.h"
#include "morva_service/views.h"
#include "ui_module_operation_screen.h"

namespace {

// A tool's option is dressed as the main one, so that the form holds the look of both.
QRadioButton* RadioLike(const QRadioButton* main_radio, QWidget* parent) {
  auto* radio = new QRadioButton(parent);
  radio->setAccessibleName(main_radio->accessibleName());
  radio->setStyleSheet(main_radio->styleSheet());
  return radio;
}

QLabel* DescriptionLike(const QLabel* main_description, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setAccessibleName(main_description->accessibleName());
  label->setStyleSheet(main_description->styleSheet());
  label->setMargin(main_description->margin());
  label->setIndent(main_description->indent());
  label->setWordWrap(main_description->wordWrap());
  label->setTextFormat(main_description->textFormat());
  return label;
}

}  // namespace

ModuleOperationScreen::ModuleOperationScreen(KolvLiteController* controller)
    : ForkScreen(controller),
      radio_group_(new QButtonGroup(nullptr)),
      form_(new Ui::ModuleOperationScreen),
      next_button_(MakeActionButton(TranslationKeys::NEXT, TranslationKeys::NEXT_TOOLTIP,
                                    ActionButtonSize::kAtLeastStandard)),
      diagnostic_selection_screen_(nullptr),
      flows_built_(false) {
  set_step(KolvLiteTranslate(TranslationKeys::OPERATION_SELECTION));
  form_->setupUi(this);

  form_->radial_button_main_operation->setChecked(true);
  radio_group_->setExclusive(true);
  radio_group_->addButton(form_->radial_button_main_operation, 0);
  connect(next_button_, &QPushButton::clicked, this, &ModuleOperationScreen::GoToNextScreen);
  connect(this, &ForkScreen::IsPossibleFlow, next_button_, &QPushButton::setEnabled);
  connect(radio_group_, &QButtonGroup::idClicked, this, &ModuleOperationScreen::InstallFlow);
}

ModuleOperationScreen::~ModuleOperationScreen() {
  DeleteActionButtons(controller, {next_button_});
  // The tool screens belong to their plug-ins; only the diagnostic selection screen is ours.
  DeleteFlowScreens();
  delete radio_group_;
  delete form_;
}

QRadioButton* ModuleOperationScreen::main_radio() const {
  return form_->radial_button_main_operation;
}

void ModuleOperationScreen::OnEnter() {
  controller->AddAndShowActionWidget(next_button_);
  controller->ShowActionBar();
  controller->ShowBreadcrumb();
  controller->ShowModuleName();
  if (loaded) return;
  if (flows_built_) {
    // Back in the flow after an Unload: the flows stand, only the choice is installed again.
    InstallFlow(qMax(0, radio_group_->checkedId()));
    loaded = true;
    return;
  }

  diagnostic_selection_screen_ = new DiagnosticSelectionScreen(controller);
  owned_screens_.append(diagnostic_selection_screen_);
  const int main_flow = CreateNewFlow(KolvLiteTranslate(TranslationKeys::MAIN_MODULE_OPERATION));
  AddNewScreenToFlow(main_flow, diagnostic_selection_screen_);
  InstallFlow(main_flow);
  radio_group_->setId(form_->radial_button_main_operation, main_flow);
  form_->radial_button_main_operation->setText(
      KolvLiteTranslate(TranslationKeys::MAIN_MODULE_OPERATION));
  form_->label_main_module_description->setText(
      KolvLiteTranslate(TranslationKeys::DESCRIPTION_MAIN_MODULE_OPERATION));

  KolvLiteContext* context = controller->execution_context();
  if (!context->tool_screens.isEmpty() && context->current_module != nullptr) {
    const std::vector<morva_service::ToolView*> tools = context->current_module->tools();
    for (morva_service::ToolView* tool : tools) {
      KolvLiteScreen* screen = context->tool_screens.value(tool, nullptr);
      if (tool == nullptr || screen == nullptr) continue;
      const int flow = AddToolOption(QString::fromStdString(LocalToUtf8(tool->name())),
                                     QString::fromStdString(LocalToUtf8(tool->description())));
      AddNewScreenToFlow(flow, screen);
      tool_flows_.insert(flow, tool);
    }
  }
  flows_built_ = true;
  loaded = true;
}

int ModuleOperationScreen::AddToolOption(QString name, QString description) {
  QRadioButton* radio = RadioLike(form_->radial_button_main_operation, this);
  radio->setText(LiteralButtonText(KolvLiteTranslate(name.toStdString())));
  QLabel* label = DescriptionLike(form_->label_main_module_description, this);
  label->setText(KolvLiteTranslate(description.toStdString()));

  auto* grid = new QGridLayout();
  grid->setVerticalSpacing(0);
  grid->addWidget(radio, 0, 0);
  grid->addWidget(label, 1, 0);
  form_->grid_layout->addLayout(grid, 2 * radio_group_->buttons().size(), 0);

  const int flow = CreateNewFlow(KolvLiteTranslate(name.toStdString()));
  radio_group_->addButton(radio, flow);
  return flow;
}

void ModuleOperationScreen::GoToNextScreen() {
  if (current_flow_ != 0 && tool_flows_.contains(current_flow_)) {
    controller->execution_context()->selected_tool = tool_flows_.value(current_flow_);
  }
  controller->GoToNextScreen();
}

void ModuleOperationScreen::OnExit() { controller->RemoveAndHideActionWidget(next_button_); }

bool ModuleOperationScreen::isBusy(QString&) { return false; }

void ModuleOperationScreen::Stop() { emit Stopped(this); }
