#include "gui/screens/tests_screen.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItem>
#include <QVBoxLayout>
#include <vector>

#include "gui/screens/devices_screen.h"
#include "gui/screens/diagnostic_selection_entry.h"
#include "gui/screens/overlay_popup.h"
#include "gui/screens/test_selection_entry.h"
#include "gui/screens/tests_tree.h"
#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/description_popup.h"
#include "gui/widgets/groupable_check_box.h"
#include "gui/widgets/literal_button_text.h"
#include "gui/widgets/local_to_utf8.h"
#include "morva_service/views.h"
#include "ui_tests_screen.h"

namespace {

constexpr char kContext[] = "TestsScreen";
constexpr char kSelectAllTooltip[] = "SELECT_ALL_TOOLTIP";
constexpr char kNumberOfRuns[] = "NUMBER_OF_TIMES_TO_RUN";
constexpr char kNothingApplicable[] = "NO_APPLICABLE_TESTS";

}  // namespace

TestsScreen::TestsScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller),
      info_buttons_(new QButtonGroup(nullptr)),
      run_button_(MakeActionButton(TranslationKeys::RUN_TESTS, TranslationKeys::RUN_TESTS_TOOLTIP,
                                   ActionButtonSize::kAtLeastStandard)),
      back_button_(MakeActionButton(TranslationKeys::BACK, TranslationKeys::BACK_TOOLTIP,
                                    ActionButtonSize::kAtLeastStandard)),
      info_popup_(nullptr),
      form_(new Ui::TestsScreen) {
  info_buttons_->setExclusive(false);
  BuildForm();
  info_popup_ = new DescriptionPopup(this);
  info_popup_->setFixedSize(400, 150);
  info_popup_->hide();
  popup_guard_ = info_popup_;
  controller_guard_ = controller;
  set_step(KolvLiteTranslate(TranslationKeys::TESTS_STEP));
  set_selected_option(KolvLiteTranslate(TranslationKeys::TESTS_SELECTED));

  connect(form_->select_all_checkbox, &GroupableCheckBox::HasAtLeastOneChecked, this,
          &TestsScreen::UpdateRunTestsButton);
  connect(run_button_, &QPushButton::clicked, this, &TestsScreen::SetSelectedTests);
  if (controller != nullptr) {
    connect(back_button_, &QPushButton::clicked, controller,
            &KolvLiteController::GoToPreviousScreen);
    connect(run_button_, &QPushButton::clicked, controller, &KolvLiteController::GoToNextScreen);
    connect(controller, &KolvLiteController::OverlayClicked, this, &TestsScreen::HideTestInfo);
  }
  connect(info_buttons_, &QButtonGroup::buttonClicked, this, &TestsScreen::DisplayTestInfo);
  connect(info_popup_, &DescriptionPopup::CloseClicked, this, &TestsScreen::HideTestInfo);
  loaded = false;
}

TestsScreen::~TestsScreen() {
  KolvLiteController* owner = controller_guard_.data();
  // Still on the overlay: take it off before it goes, so the overlay keeps no dangling widget.
  if (TakePopupOffOverlay(owner, popup_guard_.data(), this)) delete popup_guard_.data();
  DeleteActionButtons(owner, {run_button_, back_button_});
  delete info_buttons_;
  delete form_;
  device_boxes_.clear();
  test_boxes_.clear();
  info_rows_.clear();
  device_items_.clear();
  diagnostic_items_.clear();
  test_items_.clear();
}

void TestsScreen::BuildForm() {
  Ui::TestsScreen& f = *form_;
  f.setupUi(this);
  f.controls_container_widget->setAttribute(Qt::WA_StyledBackground, true);
  f.controls_container_widget->setStyleSheet(
      DevicesScreen::BarStyleSheet(f.controls_container_widget->objectName()));
  f.select_all_checkbox->setText(KolvLiteTranslate(kContext, TranslationKeys::SELECT_ALL));
  f.select_all_checkbox->setToolTip(KolvLiteTranslate(kContext, kSelectAllTooltip));
  f.iterations_label->setText(KolvLiteTranslate(kContext, kNumberOfRuns));
  f.label_nothing_applicable->setText(KolvLiteTranslate(kContext, kNothingApplicable));
  auto* scroll_top = new QWidget();
  scroll_top->setFixedHeight(5);
  f.tests_treeWidget->addScrollBarWidget(scroll_top, Qt::AlignTop);
  // Not a designable property.
  f.tests_treeWidget->setDropIndicatorShown(false);
}

GroupableCheckBox* TestsScreen::select_all() const { return form_->select_all_checkbox; }

QComboBox* TestsScreen::iterations_combo() const { return form_->iterations_number_comboBox; }

QTreeWidget* TestsScreen::tree_widget() const { return form_->tests_treeWidget; }

QString TestsScreen::Translate(const std::string& key) const {
  return KolvLiteTranslate(controller->execution_context()->module_name.toStdString(),
                           LocalToUtf8(key));
}

// --- entering and leaving ------------------------------------------------------------------

void TestsScreen::OnEnter() {
  controller->AddAndShowActionWidget(back_button_);
  controller->AddAndShowActionWidget(run_button_);
  CheckDevicesChanged();
  KolvLiteContext* context = controller->execution_context();
  if (!loaded || context->selection_changed) {
    run_button_->setEnabled(false);
    ClearTestsTree();
    FillTestsTree();
    loaded = true;
    context->selection_changed = false;
  }
  controller->ShowBreadcrumb();
  controller->ShowActionBar();
  controller->ShowModuleName();
  controller->HideGlobalButtons();
  repaint();
}

void TestsScreen::OnExit() {
  HideTestInfo();
  controller->RemoveAndHideActionWidget(back_button_);
  controller->RemoveAndHideActionWidget(run_button_);
  controller->ShowGlobalButtons();
}

void TestsScreen::OnKeyPress(QKeyEvent* event) {
  if (event != nullptr && event->key() == Qt::Key_Escape) HideTestInfo();
}

bool TestsScreen::isBusy(QString&) { return false; }

void TestsScreen::Stop() { emit Stopped(this); }

void TestsScreen::Unload() {
  ClearTestsTree();
  loaded = false;
}

// --- the tree --------------------------------------------------------------------------------

void TestsScreen::CheckDevicesChanged() {
  KolvLiteContext* context = controller->execution_context();
  if (context->selected_devices != shown_devices_) context->selection_changed = true;
}

void TestsScreen::ClearTestsTree() {
  test_items_.clear();
  diagnostic_items_.clear();
  device_items_.clear();
  device_boxes_.clear();
  test_boxes_.clear();
  info_rows_.clear();
  shown_devices_.clear();
  form_->select_all_checkbox->RemoveAll();
  form_->select_all_checkbox->setCheckState(Qt::PartiallyChecked);
  const QList<QAbstractButton*> buttons = info_buttons_->buttons();
  for (QAbstractButton* button : buttons) info_buttons_->removeButton(button);
  form_->tests_treeWidget->clear();
}

void TestsScreen::FillTestsTree() {
  QTreeWidget* tree = form_->tests_treeWidget;
  KolvLiteContext* context = controller->execution_context();
  tree->setFocus();
  auto* top_row = new QTreeWidgetItem(tree);
  top_row->setFlags(Qt::NoItemFlags);
  tree->setItemWidget(top_row, 0, new QWidget());

  std::vector<morva_service::DiagnosticView*> diagnostics;
  if (context->current_module != nullptr) diagnostics = context->current_module->diagnostics();

  shown_devices_ = context->selected_devices;
  for (morva_service::SystemComponentView* device : std::as_const(context->selected_devices)) {
    if (device != nullptr) AddDeviceRow(device, diagnostics);
  }

  ShowWhetherAnythingApplies();
  // Nothing applicable, or nothing ticked, leaves nothing to run.
  run_button_->setEnabled(AnyTestChecked());
  if (context->selected_devices.size() < 2) {
    tree->expandAll();
  } else {
    tree->collapseAll();
  }
}

void TestsScreen::AddDeviceRow(morva_service::SystemComponentView* device,
                               const std::vector<morva_service::DiagnosticView*>& diagnostics) {
  QTreeWidget* tree = form_->tests_treeWidget;
  // The row joins the tree first so that its descendants can hold widgets; it leaves again when
  // no diagnostic is kept for it.
  auto* device_row = new QTreeWidgetItem(tree);
  auto* device_box =
      new GroupableCheckBox(LiteralButtonText(Translate(device->information().display_name)));
  device_box->setFocusPolicy(Qt::NoFocus);
  bool first = true;
  for (morva_service::DiagnosticView* diagnostic : diagnostics) {
    if (diagnostic == nullptr) continue;
    if (AddDiagnosticRow(device_row, device_box, device, diagnostic, first)) first = false;
  }
  if (!device_box->HasChildren()) {
    delete device_box;
    delete device_row;
    return;
  }
  auto* container = new QWidget();
  auto* container_layout = new QVBoxLayout(container);
  container_layout->setContentsMargins(0, 0, 0, 5);
  container_layout->addWidget(device_box);
  tree->setItemWidget(device_row, 0, container);
  device_items_.insert(device_row, device);
  device_boxes_.insert(device_box, device_row);
  form_->select_all_checkbox->AddChild(device_box);
}

bool TestsScreen::AddDiagnosticRow(QTreeWidgetItem* device_row, GroupableCheckBox* device_box,
                                   morva_service::SystemComponentView* device,
                                   morva_service::DiagnosticView* diagnostic, bool ticked) {
  auto* diagnostic_row = new QTreeWidgetItem(device_row);
  auto* entry = new DiagnosticSelectionEntry();
  GroupableCheckBox* diagnostic_box = entry->check_box();
  diagnostic_box->setText(LiteralButtonText(Translate(diagnostic->name())));
  entry->description()->setText(Translate(diagnostic->description()));
  entry->description()->setVisible(!diagnostic->description().empty());
  for (morva_service::TestView* test : diagnostic->tests()) {
    if (test != nullptr && test->SupportsComponent(device)) {
      AddTestRow(diagnostic_row, diagnostic_box, test, ticked);
    }
  }
  if (!diagnostic_box->HasChildren()) {
    delete entry;
    delete diagnostic_row;
    return false;
  }
  form_->tests_treeWidget->setItemWidget(diagnostic_row, 0, entry);
  device_box->AddChild(diagnostic_box);
  diagnostic_items_.insert(diagnostic_row, diagnostic);
  return true;
}

void TestsScreen::AddTestRow(QTreeWidgetItem* diagnostic_row, GroupableCheckBox* diagnostic_box,
                             morva_service::TestView* test, bool ticked) {
  auto* test_row = new QTreeWidgetItem(diagnostic_row);
  test_items_.insert(test_row, test);
  auto* entry = new TestSelectionEntry();
  GroupableCheckBox* test_box = entry->check_box();
  QPushButton* info = entry->info_button();
  test_box->setText(LiteralButtonText(Translate(test->name())));
  if (test->description().empty()) {
    info->hide();
  } else {
    info_buttons_->addButton(info);
    info_rows_.insert(info, test_row);
  }
  test_box->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  test_boxes_.insert(test_box, test_row);
  diagnostic_box->AddChild(test_box);
  form_->tests_treeWidget->setItemWidget(test_row, 0, entry);
}

void TestsScreen::ShowWhetherAnythingApplies() {
  const bool nothing = test_boxes_.isEmpty();
  // A greyed Run alone leaves the user guessing why; with no test there is nothing to select.
  form_->label_nothing_applicable->setVisible(nothing);
  form_->select_all_checkbox->setEnabled(!nothing);
  if (nothing) form_->select_all_checkbox->setCheckState(Qt::Unchecked);
}

bool TestsScreen::AnyTestChecked() const {
  for (auto it = test_boxes_.cbegin(); it != test_boxes_.cend(); ++it) {
    if (it.key()->checkState() == Qt::Checked) return true;
  }
  return false;
}

// --- slots -----------------------------------------------------------------------------------

void TestsScreen::SetSelectedTests() {
  KolvLiteContext* context = controller->execution_context();
  QTreeWidget* tree = form_->tests_treeWidget;
  for (int i = 1; i < tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* device_row = tree->topLevelItem(i);
    morva_service::SystemComponentView* device = device_items_.value(device_row, nullptr);
    if (device == nullptr) continue;
    auto* chosen = new std::vector<DiagnosticTestSelection>();
    for (int d = 0; d < device_row->childCount(); ++d) {
      QTreeWidgetItem* diagnostic_row = device_row->child(d);
      morva_service::DiagnosticView* diagnostic = diagnostic_items_.value(diagnostic_row, nullptr);
      if (diagnostic == nullptr) continue;
      std::vector<morva_service::TestView*> tests;
      for (int t = 0; t < diagnostic_row->childCount(); ++t) {
        QTreeWidgetItem* test_row = diagnostic_row->child(t);
        GroupableCheckBox* box = test_boxes_.key(test_row, nullptr);
        morva_service::TestView* test = test_items_.value(test_row, nullptr);
        if (box != nullptr && test != nullptr && box->checkState() == Qt::Checked) {
          tests.push_back(test);
        }
      }
      if (tests.empty()) continue;
      DiagnosticTestSelection* entry = nullptr;
      for (DiagnosticTestSelection& existing : *chosen) {
        if (existing.diagnostic == diagnostic) entry = &existing;
      }
      if (entry == nullptr) {
        chosen->push_back(DiagnosticTestSelection());
        entry = &chosen->back();
        entry->diagnostic = diagnostic;
      }
      entry->tests.insert(entry->tests.end(), tests.begin(), tests.end());
    }
    if (chosen->empty()) {
      delete chosen;
      continue;
    }
    auto* selection = new DeviceTestSelection();
    selection->device = device;
    selection->diagnostics = chosen;
    context->selected_tests.append(selection);
  }
  bool ok = false;
  const int runs = form_->iterations_number_comboBox->currentText().toInt(&ok, 10);
  context->runs = ok && runs > 0 ? runs : 1;
}

void TestsScreen::UpdateRunTestsButton(bool checked) {
  run_button_->setEnabled(checked && AnyTestChecked());
}

void TestsScreen::DisplayTestInfo(QAbstractButton* ref) {
  morva_service::TestView* test = test_items_.value(info_rows_.value(ref, nullptr), nullptr);
  if (test == nullptr) return;
  info_popup_->SetTitle(Translate(test->name()));
  info_popup_->SetPlainText(Translate(test->description()));
  ShowPopupOnOverlay(controller, info_popup_);
}

void TestsScreen::HideTestInfo() { ReturnPopupToScreen(controller, info_popup_, this); }
