#include "gui/screens/devices_screen.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardItem>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>
#include <vector>

#include "gui/logs/html_generator.h"
#include "gui/screens/device_selection_entry.h"
#include "gui/screens/devices_loading_screen.h"
#include "gui/screens/overlay_popup.h"
#include "gui/shell/action_button.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "gui/widgets/description_popup.h"
#include "gui/widgets/groupable_check_box.h"
#include "gui/widgets/literal_button_text.h"
#include "gui/widgets/local_to_utf8.h"
#include "morva_service/views.h"
#include "ui_devices_screen.h"

namespace {

constexpr char kContext[] = "DevicesScreen";
constexpr char kSelectAllTooltip[] = "SELECT_ALL_TOOLTIP";
constexpr char kRefreshTooltip[] = "REFRESH_DEVICES_TOOLTIP";
constexpr char kParentAttribute[] = "parent";
// Devices with a parent are shown under it; a flat list needs none.
constexpr int kIndentation = 20;

}  // namespace

QString DevicesScreen::BarStyleSheet(const QString& bar_name) {
  return QStringLiteral("#%1 {\n"
                        "background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1,"
                        " stop:0 #FFFFFF, stop:0.8 #FFFFFF, stop:1 #E4E4E4);\n"
                        "border-bottom: 7px solid qlineargradient(spread:pad, x1:0, y1:0, x2:0,"
                        " y2:1, stop:0 #D6D6D6, stop:1 rgba(255, 255, 255, 0));\n}")
      .arg(bar_name);
}

DevicesScreen::DevicesScreen(KolvLiteController* controller, ActionButtonSize button_size)
    : KolvLiteScreen(controller),
      info_buttons_(new QButtonGroup(nullptr)),
      top_row_widget_(new QWidget()),
      next_button_(
          MakeActionButton(TranslationKeys::NEXT, TranslationKeys::NEXT_TOOLTIP, button_size)),
      back_button_(
          MakeActionButton(TranslationKeys::BACK, TranslationKeys::BACK_TOOLTIP, button_size)),
      shown_info_button_(nullptr),
      info_popup_(nullptr),
      model_(nullptr),
      form_(new Ui::DevicesScreen) {
  info_buttons_->setExclusive(false);
  top_row_widget_->setFixedHeight(17);
  next_button_->setEnabled(false);
  BuildForm();
  info_popup_ = new DescriptionPopup(this);
  info_popup_->setFixedSize(445, 307);
  info_popup_->hide();
  popup_guard_ = info_popup_;
  controller_guard_ = controller;
  set_step(KolvLiteTranslate(TranslationKeys::DEVICE_STEP));
  set_selected_option(KolvLiteTranslate(TranslationKeys::DEVICES_SELECTED));

  model_ = new QStandardItemModel(this);
  form_->device_treeView->setModel(model_);
  auto* top_row = new QStandardItem();
  top_row->setFlags(Qt::NoItemFlags);
  model_->appendRow(top_row);
  form_->device_treeView->setIndexWidget(top_row->index(), top_row_widget_);

  connect(info_buttons_, &QButtonGroup::buttonClicked, this, &DevicesScreen::DisplayDeviceInfo);
  connect(info_popup_, &DescriptionPopup::CloseClicked, this, &DevicesScreen::HideDeviceInfo,
          Qt::QueuedConnection);
  if (controller != nullptr) {
    connect(controller, &KolvLiteController::OverlayClicked, this,
            &DevicesScreen::HideDeviceInfo);
  }
  connect(form_->refresh_pushButton, &QPushButton::clicked, this,
          &DevicesScreen::RefreshDevicesList);
  connect(next_button_, &QPushButton::clicked, this, &DevicesScreen::SetSelectedDevices);
  connect(back_button_, &QPushButton::clicked, this, &DevicesScreen::OnBackClicked);
  if (controller != nullptr) {
    connect(next_button_, &QPushButton::clicked, controller, &KolvLiteController::GoToNextScreen);
    connect(back_button_, &QPushButton::clicked, controller,
            &KolvLiteController::GoToPreviousScreen);
  }
  connect(form_->select_all, &QCheckBox::stateChanged, this, &DevicesScreen::SelectAllChange);
}

DevicesScreen::~DevicesScreen() {
  KolvLiteController* owner = controller_guard_.data();
  // Still on the overlay: take it off before it goes, so the overlay keeps no dangling widget.
  if (TakePopupOffOverlay(owner, popup_guard_.data(), this)) delete popup_guard_.data();
  delete info_buttons_;
  DeleteActionButtons(owner, {next_button_, back_button_});
  delete form_;
}

void DevicesScreen::BuildForm() {
  Ui::DevicesScreen& f = *form_;
  f.setupUi(this);
  f.select_all_with_reload->setAttribute(Qt::WA_StyledBackground, true);
  f.select_all_with_reload->setStyleSheet(BarStyleSheet(f.select_all_with_reload->objectName()));
  f.select_all->setText(KolvLiteTranslate(kContext, TranslationKeys::SELECT_ALL));
  f.select_all->setToolTip(KolvLiteTranslate(kContext, kSelectAllTooltip));
  f.refresh_pushButton->setToolTip(KolvLiteTranslate(kContext, kRefreshTooltip));
  auto* scroll_top = new QWidget();
  scroll_top->setFixedHeight(5);
  f.device_treeView->addScrollBarWidget(scroll_top, Qt::AlignTop);
  f.device_treeView->setIndentation(kIndentation);
}

QPushButton* DevicesScreen::refresh_button() const { return form_->refresh_pushButton; }

GroupableCheckBox* DevicesScreen::select_all() const { return form_->select_all; }

QStackedWidget* DevicesScreen::pages() const { return form_->stacked_widget; }

QTreeView* DevicesScreen::tree_view() const { return form_->device_treeView; }

QLabel* DevicesScreen::message_label() const { return form_->message_label; }

QWidget* DevicesScreen::devices_page() const { return form_->devices_page; }

QVBoxLayout* DevicesScreen::devices_page_layout() const { return form_->verticalLayout; }

QString DevicesScreen::ModuleName() const {
  KolvLiteContext* context = controller != nullptr ? controller->execution_context() : nullptr;
  if (context == nullptr) return QString();
  if (!context->module_name.isEmpty()) return context->module_name;
  return context->current_module != nullptr ? QString::fromStdString(context->current_module->name())
                                            : QString();
}

GroupableCheckBox* DevicesScreen::CheckBoxOf(QStandardItem* item) const {
  if (item == nullptr || item == model_->invisibleRootItem()) return form_->select_all;
  return group_boxes_.value(item, nullptr);
}

QAbstractButton* DevicesScreen::InfoButtonOf(morva_service::SystemComponentView* device) const {
  for (auto it = info_devices_.cbegin(); it != info_devices_.cend(); ++it) {
    if (it.value() == device) return it.key();
  }
  return nullptr;
}

// --- entering and leaving ------------------------------------------------------------------

void DevicesScreen::OnEnter() {
  controller->AddAndShowActionWidget(back_button_);
  controller->AddAndShowActionWidget(next_button_);
  controller->HideGlobalButtons();
  controller->ShowActionBar();
  controller->ShowBreadcrumb();
  controller->ShowModuleName();
  if (!loaded) {
    ClearDevicesList();
    FillDevicesList();
    loaded = true;
  }
}

void DevicesScreen::OnExit() {
  HideDeviceInfo();
  controller->RemoveAndHideActionWidget(next_button_);
  controller->RemoveAndHideActionWidget(back_button_);
  controller->ShowGlobalButtons();
}

void DevicesScreen::OnKeyPress(QKeyEvent* event) {
  if (event != nullptr && event->key() == Qt::Key_Escape) HideDeviceInfo();
}

bool DevicesScreen::isBusy(QString&) { return false; }

void DevicesScreen::Stop() { emit Stopped(this); }

void DevicesScreen::Unload() {
  ClearDevicesList();
  loaded = false;
}

// --- hooks -----------------------------------------------------------------------------------

void DevicesScreen::ClearDevicesList() {
  info_devices_.clear();
  device_entries_.clear();
  group_boxes_.clear();
  info_rows_.clear();
  // The rows' buttons go with the rows; a later button may be built at the same address.
  shown_info_button_ = nullptr;
  form_->select_all->RemoveAll();
  form_->select_all->setCheckState(Qt::Unchecked);
  if (model_->rowCount() > 1) model_->removeRows(1, model_->rowCount() - 1);
  const QList<QAbstractButton*> buttons = info_buttons_->buttons();
  for (QAbstractButton* button : buttons) info_buttons_->removeButton(button);
}

void DevicesScreen::PostDeviceInsertion(QStandardItem*, morva_service::SystemComponentView*) {}

bool DevicesScreen::FilterDevice(morva_service::SystemComponentView*) { return true; }

void DevicesScreen::PostDeviceLoading() {}

void DevicesScreen::SetSelectedDevicesToContext() {
  KolvLiteContext* context = controller->execution_context();
  context->ClearSelection();
  for (const DeviceEntry& entry : std::as_const(device_entries_)) {
    if (entry.first->isChecked()) context->selected_devices.append(entry.second);
  }
}

// --- the list --------------------------------------------------------------------------------

void DevicesScreen::FillDevicesList() {
  PostDeviceLoading();
  form_->stacked_widget->setCurrentIndex(0);
  morva_service::ModuleInterfaceView* module = controller->execution_context()->current_module;
  std::vector<morva_service::SystemComponentView*> devices;
  if (module != nullptr) devices = module->system_components();

  for (morva_service::SystemComponentView* device : devices) {
    if (device != nullptr && FilterDevice(device)) AddDeviceEntry(device);
  }
  if (!devices.empty() && devices.front() != nullptr) {
    form_->device_treeView->setIndentation(
        GetSysComponentParent(devices.front()).isEmpty() ? 0 : kIndentation);
  }

  if (model_->rowCount() > 1) {
    auto* last_row = new QStandardItem();
    last_row->setFlags(Qt::NoItemFlags);
    model_->appendRow(last_row);
    auto* bottom = new QWidget();
    bottom->setFixedHeight(1);
    form_->device_treeView->setIndexWidget(last_row->index(), bottom);
    form_->select_all->show();
    form_->select_all->setCheckState(Qt::Checked);
    // The box may already have shown Checked without telling anyone.
    SelectAllChange(form_->select_all->checkState());
    form_->refresh_pushButton->setEnabled(true);
    form_->device_treeView->scrollToTop();
    return;
  }
  form_->stacked_widget->setCurrentIndex(1);
  next_button_->setEnabled(false);
  next_button_->hide();
}

QString DevicesScreen::GetSysComponentParent(morva_service::SystemComponentView* device) {
  if (device == nullptr) return QString();
  const morva_service::SystemComponentInformation information = device->information();
  const auto it = information.attributes.find(kParentAttribute);
  if (it == information.attributes.end()) return QString();
  return QString::fromStdString(LocalToUtf8(it->second));
}

void DevicesScreen::AddDeviceEntry(morva_service::SystemComponentView* entry) {
  const QStringList parts =
      GetSysComponentParent(entry).split(QLatin1Char('\\'), Qt::SkipEmptyParts);
  const std::string module = ModuleName().toStdString();
  QStandardItem* item = model_->invisibleRootItem();
  bool searching = true;
  for (const QString& part : parts) {
    const QString text = LiteralButtonText(KolvLiteTranslate(module, part.toStdString()));
    if (searching) {
      QStandardItem* found = nullptr;
      for (int row = 0; row < item->rowCount() && found == nullptr; ++row) {
        QStandardItem* child = item->child(row, 0);
        if (child == nullptr || !child->hasChildren()) continue;
        GroupableCheckBox* box = group_boxes_.value(child, nullptr);
        if (box != nullptr && box->text() == text) found = child;
      }
      if (found != nullptr) {
        item = found;
        continue;
      }
      searching = false;
    }
    auto* row = new QStandardItem();
    row->setFlags(Qt::ItemIsEnabled);
    item->appendRow(row);
    auto* box = new GroupableCheckBox(text);
    CheckBoxOf(item)->AddChild(box);
    form_->device_treeView->setIndexWidget(row->index(), box);
    group_boxes_.insert(row, box);
    item = row;
  }
  AddDeviceCheckBox(item, entry);
  // A row only opens once it has children, so the group rows are opened after the device joined.
  for (QStandardItem* group = item; group != nullptr && group != model_->invisibleRootItem();
       group = group->parent()) {
    form_->device_treeView->expand(group->index());
  }
}

void DevicesScreen::AddDeviceCheckBox(QStandardItem* parent,
                                      morva_service::SystemComponentView* device) {
  auto* row = new QStandardItem();
  row->setFlags(Qt::ItemIsEnabled);
  parent->appendRow(row);
  auto* entry = new DeviceSelectionEntry();
  GroupableCheckBox* box = entry->check_box();
  QPushButton* info = entry->info_button();
  CheckBoxOf(parent)->AddChild(box);

  device_entries_.append(DeviceEntry(box, device));
  group_boxes_.insert(row, box);
  info_rows_.insert(info, row);
  info_buttons_->addButton(info);
  info_devices_.insert(info, device);

  form_->device_treeView->setIndexWidget(row->index(), entry);
  box->setText(LiteralButtonText(KolvLiteTranslate(
      ModuleName().toStdString(), LocalToUtf8(device->information().display_name))));
  PostDeviceInsertion(row, device);
}

// --- slots -----------------------------------------------------------------------------------

void DevicesScreen::SelectAllChange(int state) { next_button_->setEnabled(state != Qt::Unchecked); }

void DevicesScreen::OnScanSucceeded() { FillDevicesList(); }

void DevicesScreen::OnScanFailed() {
  Unload();
  controller->GoToPreviousScreen();
}

void DevicesScreen::OnDeviceSelectionChanged() {
  controller->execution_context()->selection_changed = true;
}

void DevicesScreen::DisplayDeviceInfo(QAbstractButton* btn) {
  morva_service::SystemComponentView* device = info_devices_.value(btn, nullptr);
  if (device == nullptr) return;
  if (btn != shown_info_button_) {
    shown_info_button_ = btn;
    const QString module = ModuleName();
    HtmlGenerator generator;
    generator.set_translation_context(module);
    QString html;
    if (generator.ReadSystemComponentInformation(html, device, false)) {
      info_popup_->SetTitle(KolvLiteTranslate(module.toStdString(),
                                              LocalToUtf8(device->information().display_name)));
      info_popup_->SetText(html);
    }
  }
  ShowPopupOnOverlay(controller, info_popup_);
}

void DevicesScreen::HideDeviceInfo() { ReturnPopupToScreen(controller, info_popup_, this); }

void DevicesScreen::RefreshDevicesList() {
  next_button_->setEnabled(false);
  form_->refresh_pushButton->setEnabled(false);
  form_->select_all->hide();
  ClearDevicesList();
  controller->execution_context()->selection_changed = true;
  GoToLoadingScreen();
}

void DevicesScreen::SetSelectedDevices() { SetSelectedDevicesToContext(); }

void DevicesScreen::OnBackClicked() { loaded = false; }

void DevicesScreen::GoToLoadingScreen() {
  DevicesLoadingScreen* loading = controller->execution_context()->devices_loading_screen;
  if (loading == nullptr) return;
  connect(loading, &DevicesLoadingScreen::ScanSucceeded, this, &DevicesScreen::OnScanSucceeded,
          Qt::UniqueConnection);
  connect(loading, &DevicesLoadingScreen::ScanFailed, this, &DevicesScreen::OnScanFailed,
          Qt::UniqueConnection);
  controller->GoToScreen(loading);
}
