#include "gui/screens/diagnostic_selection_screen.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/devices_screen.h"
#include "gui/screens/execution_log_screen.h"
#include "gui/screens/execution_screen.h"
#include "gui/screens/tests_screen.h"
#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/shell/translation_keys.h"
#include "morva_service/views.h"
#include "ui_diagnostic_selection_screen.h"

namespace {

constexpr char kContext[] = "DiagnosticSelectionScreen";
constexpr char kRecommendedBrief[] = "RECOMMENDED_BRIEF_DESCRIPTION";
constexpr char kCustomBrief[] = "CUSTOM_BRIEF_DESCRIPTION";
constexpr char kAdvancedHint[] = "ADVANCED_USERS_HINT";
constexpr char kNothingApplicable[] = "NO_APPLICABLE_RECOMMENDED_TESTS";

// The recommended tests come from the module's first diagnostic; null when it has none.
morva_service::DiagnosticView* FirstDiagnostic(morva_service::ModuleInterfaceView* module) {
  if (module == nullptr) return nullptr;
  const std::vector<morva_service::DiagnosticView*> diagnostics = module->diagnostics();
  return diagnostics.empty() ? nullptr : diagnostics.front();
}

// The recommended tests of one device: those of `tests` that support it.
std::vector<morva_service::TestView*> TestsSupporting(
    morva_service::SystemComponentView* device, const std::vector<morva_service::TestView*>& tests) {
  std::vector<morva_service::TestView*> supported;
  if (device == nullptr) return supported;
  for (morva_service::TestView* test : tests) {
    if (test != nullptr && test->SupportsComponent(device)) supported.push_back(test);
  }
  return supported;
}

// The tests the recommended flow runs where devices support them; none without a module or a
// diagnostic.
std::vector<morva_service::TestView*> RecommendedTests(morva_service::ModuleInterfaceView* module) {
  morva_service::DiagnosticView* first = FirstDiagnostic(module);
  return first != nullptr ? first->tests() : std::vector<morva_service::TestView*>();
}

// True when the last scan found devices and none of them supports any of the tests. Before a
// scan the devices are not known yet.
bool FoundDevicesFitNone(morva_service::ModuleInterfaceView* module,
                         const std::vector<morva_service::TestView*>& tests) {
  const std::vector<morva_service::SystemComponentView*> devices = module->system_components();
  if (devices.empty()) return false;
  for (morva_service::SystemComponentView* device : devices) {
    if (!TestsSupporting(device, tests).empty()) return false;
  }
  return true;
}

}  // namespace

DiagnosticSelectionScreen::DiagnosticSelectionScreen(KolvLiteController* controller)
    : ForkScreen(controller),
      form_(new Ui::DiagnosticSelectionScreen),
      next_button_(MakeActionButton(TranslationKeys::RUN_TESTS,
                                    TranslationKeys::RUN_TESTS_TOOLTIP)),
      back_button_(MakeActionButton(TranslationKeys::BACK, TranslationKeys::BACK_TOOLTIP)),
      radio_group_(new QButtonGroup(nullptr)),
      devices_screen_(new DevicesScreen(controller)),
      tests_screen_(new TestsScreen(controller)),
      execution_screen_(new ExecutionScreen(controller)),
      execution_log_screen_(new ExecutionLogScreen(controller)),
      flow_possible_(true) {
  BuildForm();
  set_step(KolvLiteTranslate(TranslationKeys::DIAGNOSTIC_SELECTION_STEP));

  connect(next_button_, &QPushButton::clicked, this, &DiagnosticSelectionScreen::OnNextClicked);
  connect(back_button_, &QPushButton::clicked, controller, &KolvLiteController::GoToPreviousScreen);

  const int recommended = CreateNewFlow(KolvLiteTranslate(TranslationKeys::RECOMMENDED_TESTS));
  AddNewScreenToFlow(recommended, execution_screen_);
  AddNewScreenToFlow(recommended, execution_log_screen_);
  const int custom = CreateNewFlow(KolvLiteTranslate(TranslationKeys::CUSTOM_TESTS));
  AddNewScreenToFlow(custom, devices_screen_);
  AddNewScreenToFlow(custom, tests_screen_);
  AddNewScreenToFlow(custom, execution_screen_);
  AddNewScreenToFlow(custom, execution_log_screen_);

  form_->radial_button_recommended->setChecked(true);
  radio_group_->setExclusive(true);
  radio_group_->addButton(form_->radial_button_recommended, kRecommendedFlow);
  radio_group_->addButton(form_->radial_button_custom, kCustomFlow);
  connect(radio_group_, &QButtonGroup::idClicked, this, &DiagnosticSelectionScreen::InstallFlow);
  connect(this, &ForkScreen::IsPossibleFlow, this, &DiagnosticSelectionScreen::SetFlowPossible);
  connect(this, &ForkScreen::UpdatedCurrentFlow, this,
          &DiagnosticSelectionScreen::UpdateNextButton);

  owned_screens_ << devices_screen_ << tests_screen_ << execution_screen_
                 << execution_log_screen_;
}

DiagnosticSelectionScreen::~DiagnosticSelectionScreen() {
  DeleteActionButtons(controller, {next_button_, back_button_});
  DeleteFlowScreens();
  delete radio_group_;
  delete form_;
}

void DiagnosticSelectionScreen::BuildForm() {
  setObjectName(QStringLiteral("DiagnosticSelectionScreen"));
  form_->setupUi(this);
  form_->label_nothing_applicable->hide();
  form_->radial_button_recommended->setText(
      KolvLiteTranslate(kContext, TranslationKeys::RECOMMENDED_TESTS));
  form_->label_recomended_description->setText(KolvLiteTranslate(kContext, kRecommendedBrief));
  form_->label_nothing_applicable->setText(KolvLiteTranslate(kContext, kNothingApplicable));
  form_->label_custom_brief_description->setText(KolvLiteTranslate(kContext, kCustomBrief));
  form_->radial_button_custom->setText(KolvLiteTranslate(kContext, TranslationKeys::CUSTOM_TESTS));
  form_->label_advanced_hint->setText(KolvLiteTranslate(kContext, kAdvancedHint));
}

void DiagnosticSelectionScreen::OnEnter() {
  if (controller->HasPreviousFlowScreen(this)) controller->AddAndShowActionWidget(back_button_);
  controller->AddAndShowActionWidget(next_button_);
  controller->ShowActionBar();
  controller->ShowBreadcrumb();
  UpdateNextEnabled();
  loaded = true;
}

void DiagnosticSelectionScreen::OnExit() {
  controller->RemoveAndHideActionWidget(back_button_);
  controller->RemoveAndHideActionWidget(next_button_);
  controller->HideBreadcrumb();
}

bool DiagnosticSelectionScreen::isBusy(QString&) { return false; }

void DiagnosticSelectionScreen::Stop() { emit Stopped(this); }

void DiagnosticSelectionScreen::SetBackButtonVisible(bool visible) {
  back_button_->setVisible(visible && back_button_->parentWidget() != nullptr);
}

void DiagnosticSelectionScreen::UpdateNextButton(int index) {
  if (index == kRecommendedFlow) {
    form_->radial_button_recommended->setChecked(true);
    next_button_->setText(KolvLiteTranslate(TranslationKeys::RUN_TESTS));
    next_button_->setToolTip(KolvLiteTranslate(TranslationKeys::RUN_TESTS_TOOLTIP));
  } else if (index == kCustomFlow) {
    form_->radial_button_custom->setChecked(true);
    next_button_->setText(KolvLiteTranslate(TranslationKeys::NEXT));
    next_button_->setToolTip(KolvLiteTranslate(TranslationKeys::NEXT_TOOLTIP));
  }
}

void DiagnosticSelectionScreen::OnNextClicked() {
  DevicesLoadingScreen* loading = controller->execution_context()->devices_loading_screen;
  if (loading == nullptr) return;
  const int chosen = radio_group_->checkedId();
  if (chosen == kRecommendedFlow) {
    connect(loading, &DevicesLoadingScreen::ScanSucceeded, this,
            &DiagnosticSelectionScreen::RunRecommendedTests, Qt::UniqueConnection);
  } else if (chosen == kCustomFlow) {
    connect(loading, &DevicesLoadingScreen::ScanSucceeded, controller,
            &KolvLiteController::GoToNextScreen, Qt::UniqueConnection);
  } else {
    return;
  }
  // The devices are always scanned first; the flow moves on once the scan has succeeded.
  controller->GoToScreen(loading);
}

void DiagnosticSelectionScreen::SetRecommendedTestsState() { FillRecommendedSelection(controller); }

void DiagnosticSelectionScreen::RunRecommendedTests() {
  SetRecommendedTestsState();
  if (controller->execution_context()->selected_tests.isEmpty()) {
    UpdateNextEnabled();
    return;
  }
  controller->GoToNextScreen();
}

void DiagnosticSelectionScreen::SetFlowPossible(bool possible) {
  flow_possible_ = possible;
  UpdateNextEnabled();
}

void DiagnosticSelectionScreen::UpdateNextEnabled() {
  bool no_tests = false;
  bool none_fit = false;
  if (current_flow() == kRecommendedFlow) {
    morva_service::ModuleInterfaceView* module = controller->execution_context()->current_module;
    const std::vector<morva_service::TestView*> tests = RecommendedTests(module);
    no_tests = tests.empty();
    none_fit = !no_tests && FoundDevicesFitNone(module, tests);
  }
  // A module without recommended tests never gets any, so Run stays closed. Devices may come
  // and go between scans, and every Run scans first: Run stays open beside the word of why.
  form_->label_nothing_applicable->setVisible(no_tests || none_fit);
  next_button_->setEnabled(flow_possible_ && !no_tests);
}

void DiagnosticSelectionScreen::FillRecommendedSelection(KolvLiteController* controller) {
  KolvLiteContext* context = controller->execution_context();
  context->ClearSelection();
  morva_service::ModuleInterfaceView* module = context->current_module;
  // A module without diagnostics has no recommended tests.
  morva_service::DiagnosticView* first = FirstDiagnostic(module);
  if (first == nullptr) return;
  const std::vector<morva_service::TestView*> tests = first->tests();
  for (morva_service::SystemComponentView* device : module->system_components()) {
    DiagnosticTestSelection chosen;
    chosen.diagnostic = first;
    chosen.tests = TestsSupporting(device, tests);
    if (chosen.tests.empty()) continue;
    auto* record = new DeviceTestSelection;
    record->device = device;
    record->diagnostics = new std::vector<DiagnosticTestSelection>{chosen};
    context->selected_tests.append(record);
  }
}
