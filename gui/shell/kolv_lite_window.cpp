#include "gui/shell/kolv_lite_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QSizeGrip>
#include <utility>

#include "gui/shell/grip_handler.h"
#include "gui/shell/kolv_lite_menu_positioner.h"
#include "gui/shell/translation_keys.h"
#include "ui_kolv_lite_window.h"

namespace {

const char kSizeGripStyle[] =
    "QSizeGrip:enabled {    image: url(:/kolv_lite/Resources/Images/General/icnGrip.png);"
    "    width: 16px;    height: 16px;    }    QSizeGrip:disabled {    background:transparent;"
    "    width: 16px;    height: 16px;}";

const char kMenuStyle[] =
    "QMenu { color: white; background-color: black; border: 1px solid #1e73dc; margin: 0px;"
    " width: 128px; }"
    "QMenu::item { width: 128px; height: 25px; padding-left: 10px; border: none; }"
    "QMenu::item:selected { background-color: #1e73dc; }";

}  // namespace

KolvLiteWindow::KolvLiteWindow(const QString& title, QWidget* parent)
    : QMainWindow(parent),
      maximized_(false),
      accept_close_(true),
      ui_(std::make_unique<Ui::KolvLiteWindow>()) {
  size_grip_ = new QSizeGrip(this);
  top_grip_ = new GripHandler(GripHandler::kTop, this);
  bottom_grip_ = new GripHandler(GripHandler::kBottom, this);
  right_grip_ = new GripHandler(GripHandler::kRight, this);
  left_grip_ = new GripHandler(GripHandler::kLeft, this);
  top_right_grip_ = new GripHandler(GripHandler::kTopRight, this);
  top_left_grip_ = new GripHandler(GripHandler::kTopLeft, this);
  bottom_right_grip_ = new GripHandler(GripHandler::kBottomRight, this);
  bottom_left_grip_ = new GripHandler(GripHandler::kBottomLeft, this);
  move_grip_ = new GripHandler(GripHandler::kMove, this);
  ui_->setupUi(this);
  setAttribute(Qt::WA_TranslucentBackground);
  InstallGrips();

  size_grip_->setStyleSheet(QLatin1String(kSizeGripStyle));
  ui_->grip_frame->layout()->addWidget(size_grip_);
  ui_->grip_frame->layout()->setAlignment(size_grip_, Qt::AlignRight | Qt::AlignBottom);

  connect(ui_->maximize_pushButton, &QPushButton::clicked, this, &KolvLiteWindow::Maximize);
  connect(ui_->restore_pushButton, &QPushButton::clicked, this, &KolvLiteWindow::Restore);
  connect(ui_->minimize_pushButton, &QPushButton::clicked, this, &QWidget::showMinimized);
  setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
  connect(ui_->close_pushButton, &QPushButton::clicked, this, &KolvLiteWindow::CloseClicked);
  connect(ui_->log_pushButton, &QPushButton::clicked, this, &KolvLiteWindow::LogClicked);
  connect(ui_->sysinfo_pushButton, &QPushButton::clicked, this,
          &KolvLiteWindow::SystemInfoClicked);
  ui_->restore_pushButton->hide();
  ui_->kolv_lite_icon->setAttribute(Qt::WA_StaticContents);

  help_menu_ = new QMenu(this);
  auto* positioner = new KolvLiteMenuPositioner(ui_->help_pushButton, help_menu_);
  help_menu_->installEventFilter(positioner);
  help_menu_->setStyleSheet(QLatin1String(kMenuStyle));
  ui_->help_pushButton->setMenu(help_menu_);
  QAction* about = help_menu_->addAction(
      QCoreApplication::translate(TranslationKeys::TRANSLATIONS, TranslationKeys::ABOUT));
  connect(about, &QAction::triggered, this, &KolvLiteWindow::AboutClicked);

  setWindowTitle(title);
}

KolvLiteWindow::~KolvLiteWindow() = default;

void KolvLiteWindow::InstallGrips() {
  const std::pair<QFrame*, GripHandler*> grips[] = {
      {ui_->top_left_grip, top_left_grip_},
      {ui_->left_grip, left_grip_},
      {ui_->top_right_grip, top_right_grip_},
      {ui_->right_grip, right_grip_},
      {ui_->top_grip_left, top_grip_},
      {ui_->top_grip_right, top_grip_},
      {ui_->bottom_leftmost_grip, bottom_left_grip_},
      {ui_->bottom_left_grip, bottom_left_grip_},
      {ui_->bottom_grip, bottom_grip_},
      {ui_->bottom_right_grip, bottom_right_grip_},
      {ui_->bottom_rightmost_grip, bottom_right_grip_},
  };
  for (const auto& [frame, handler] : grips) {
    edge_grips_.append(frame);
    frame->installEventFilter(handler);
  }
  ui_->top_frame->installEventFilter(move_grip_);
}

void KolvLiteWindow::SetBiosSerial(QString serial) {
  ui_->bios_label->setText(ui_->bios_label->text() + QStringLiteral(": "));
  ui_->bios_value_label->setText(serial);
}

void KolvLiteWindow::AddScreenWidget(QWidget* widget) { ui_->screens_layout->addWidget(widget); }

QList<QPushButton*> KolvLiteWindow::GlobalButtons(GlobalButton button) const {
  switch (button) {
    case kLogButton:
      return {ui_->log_pushButton};
    case kSystemInfoButton:
      return {ui_->sysinfo_pushButton};
    case kBothButtons:
      return {ui_->log_pushButton, ui_->sysinfo_pushButton};
  }
  return {};
}

void KolvLiteWindow::HideGlobalButtons(GlobalButton button) {
  for (QPushButton* b : GlobalButtons(button)) b->hide();
}
void KolvLiteWindow::HideGlobalButtons() { HideGlobalButtons(kBothButtons); }
void KolvLiteWindow::ShowGlobalButtons(GlobalButton button) {
  for (QPushButton* b : GlobalButtons(button)) b->show();
}
void KolvLiteWindow::ShowGlobalButtons() { ShowGlobalButtons(kBothButtons); }
void KolvLiteWindow::DisableGlobalButton(GlobalButton button) {
  for (QPushButton* b : GlobalButtons(button)) b->setEnabled(false);
}
void KolvLiteWindow::DisableGlobalButton() { DisableGlobalButton(kBothButtons); }
void KolvLiteWindow::EnableGlobalButton(GlobalButton button) {
  for (QPushButton* b : GlobalButtons(button)) b->setEnabled(true);
}
void KolvLiteWindow::EnableGlobalButton() { EnableGlobalButton(kBothButtons); }
void KolvLiteWindow::AcceptClose() { accept_close_ = true; }
void KolvLiteWindow::IgnoreClose() { accept_close_ = false; }

void KolvLiteWindow::MaximizeUiState() {
  maximized_ = true;
  ui_->restore_pushButton->show();
  ui_->maximize_pushButton->hide();
  size_grip_->setEnabled(false);
  for (QFrame* frame : edge_grips_) frame->setEnabled(false);
  for (GripHandler* g : {top_grip_, bottom_grip_, right_grip_, left_grip_, top_right_grip_,
                         top_left_grip_, bottom_right_grip_, bottom_left_grip_}) {
    g->set_enabled(false);
  }
}

void KolvLiteWindow::RestoreUiState() {
  maximized_ = false;
  ui_->restore_pushButton->hide();
  ui_->maximize_pushButton->show();
  size_grip_->setEnabled(true);
  for (QFrame* frame : edge_grips_) frame->setEnabled(true);
  for (GripHandler* g : {top_grip_, bottom_grip_, right_grip_, left_grip_, top_right_grip_,
                         top_left_grip_, bottom_right_grip_, bottom_left_grip_}) {
    g->set_enabled(true);
  }
}

void KolvLiteWindow::Maximize() {
  if (maximized_) return;
  MaximizeUiState();
  ui_->top_frame->removeEventFilter(move_grip_);
  saved_geometry_ = geometry();
  // The available area of the screen the window is on, panels excluded.
  QScreen* on = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (on != nullptr) setGeometry(on->availableGeometry());
}

void KolvLiteWindow::Restore() {
  if (!maximized_) return;
  RestoreUiState();
  ui_->top_frame->installEventFilter(move_grip_);
  setGeometry(saved_geometry_);
}

void KolvLiteWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = ui_->top_frame->mapFrom(this, event->position().toPoint());
  if (event->button() == Qt::LeftButton && ui_->top_frame->rect().contains(at)) {
    if (maximized_) {
      Restore();
    } else {
      Maximize();
    }
    return;
  }
  QMainWindow::mouseDoubleClickEvent(event);
}

void KolvLiteWindow::keyPressEvent(QKeyEvent* event) { emit KeyPressed(event); }

void KolvLiteWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const int w = width();
  const int h = height();
  ui_->kolv_lite_icon->repaint();
  QRegion mask(26, 32, w, h - 32);
  mask += QRegion(0, 58, w, h - 58);
  mask += QRegion(-2, 30, 54, 54, QRegion::Ellipse);
  mask += QRegion(w - 209, -2, ui_->kolv_lite_icon->width() + 2, ui_->kolv_lite_icon->height() + 2,
                  QRegion::Ellipse);
  setMask(mask);
}

void KolvLiteWindow::closeEvent(QCloseEvent* event) {
  if (!accept_close_) {
    emit CloseClicked();
    // A receiver that quits at once sets the flag before we get here again.
    if (!accept_close_) {
      event->ignore();
      return;
    }
  }
  QMainWindow::closeEvent(event);
}

void KolvLiteWindow::showEvent(QShowEvent* event) {
  QCoreApplication::postEvent(this, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
  QMainWindow::showEvent(event);
}
