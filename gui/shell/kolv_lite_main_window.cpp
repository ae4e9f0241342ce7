#include "gui/shell/kolv_lite_main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QSizeGrip>
#include <QSpacerItem>
#include <QVBoxLayout>

#include "gui/shell/kolv_lite_translator.h"
#include "gui/shell/translation_keys.h"
#include "gui/shell/grip_handler.h"

namespace {

constexpr int kGripThickness = 4;
constexpr int kTitleAreaTop = 32;

const char kCentralStyle[] =
    "QWidget#central_widget{"
    " border: 1px solid #434343;"
    " margin-top: 32px;"
    " border-top-left-radius: 25px;"
    " background-color: black;"
    " background-image: url(:/kolv_lite/Resources/Images/General/imgBackground.png);"
    "}";

const char kSizeGripStyle[] =
    "QSizeGrip:enabled {    image: url(:/kolv_lite/Resources/Images/General/icnGrip.png);"
    "    width: 16px;    height: 16px;    }    QSizeGrip:disabled {    background:transparent;"
    "    width: 16px;    height: 16px;}";

const char kMenuStyle[] =
    "QMenu { color: white; background-color: black; border: 1px solid #1e73dc; margin: 0px;"
    " width: 128px; }"
    "QMenu::item { width: 128px; height: 25px; padding-left: 10px; border: none; }"
    "QMenu::item:selected { background-color: #1e73dc; }";

QString ButtonStyle(const char* name, const char* enabled_image, const char* disabled_image) {
  const QString base = QStringLiteral(":/kolv_lite/Resources/Images/Buttons/");
  return QStringLiteral("QPushButton#%1 { border: none; border-image: url(%2%3); }"
                        "QPushButton#%1:disabled { border-image: url(%2%4); }")
      .arg(QLatin1String(name), base, QLatin1String(enabled_image),
           QLatin1String(disabled_image));
}

QPushButton* NewButton(QWidget* parent, const char* name, int width, int height,
                       const char* enabled_image, const char* disabled_image) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setFixedSize(width, height);
  button->setFocusPolicy(Qt::NoFocus);
  button->setStyleSheet(ButtonStyle(name, enabled_image, disabled_image));
  return button;
}

}  // namespace

// --- help menu placement --------------------------------------------------------------------

KolvLiteMenuPositioner::KolvLiteMenuPositioner(QPushButton* button, QObject* parent)
    : QObject(parent), button_(button) {}

bool KolvLiteMenuPositioner::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Show || button_ == nullptr || watched != button_->menu()) {
    return false;
  }
  QMenu* menu = button_->menu();
  menu->move(button_->mapToGlobal(
      QPoint(button_->width() - menu->width(), button_->height() + 4)));
  // The menu still needs its own show handling to lay out its items.
  return false;
}

// --- window ---------------------------------------------------------------------------------

KolvLiteWindow::KolvLiteWindow(const QString& title, QWidget* parent)
    : QMainWindow(parent), maximized_(false), accept_close_(true) {
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
  BuildForm(title);
  TranslateForm();
  setAttribute(Qt::WA_TranslucentBackground);

  auto grip = [this](const char* name) { return findChild<QFrame*>(QLatin1String(name)); };
  grip("top_grip_left")->installEventFilter(top_grip_);
  grip("top_grip_right")->installEventFilter(top_grip_);
  grip("bottom_grip")->installEventFilter(bottom_grip_);
  grip("left_grip")->installEventFilter(left_grip_);
  grip("right_grip")->installEventFilter(right_grip_);
  grip("top_right_grip")->installEventFilter(top_right_grip_);
  grip("top_left_grip")->installEventFilter(top_left_grip_);
  grip("bottom_right_grip")->installEventFilter(bottom_right_grip_);
  grip("bottom_rightmost_grip")->installEventFilter(bottom_right_grip_);
  grip("bottom_left_grip")->installEventFilter(bottom_left_grip_);
  grip("bottom_leftmost_grip")->installEventFilter(bottom_left_grip_);
  top_frame_->installEventFilter(move_grip_);

  size_grip_->setStyleSheet(QLatin1String(kSizeGripStyle));
  grip_frame_->layout()->addWidget(size_grip_);
  grip_frame_->layout()->setAlignment(size_grip_, Qt::AlignRight | Qt::AlignBottom);

  connect(maximize_button_, &QPushButton::clicked, this, &KolvLiteWindow::Maximize);
  connect(restore_button_, &QPushButton::clicked, this, &KolvLiteWindow::Restore);
  connect(minimize_button_, &QPushButton::clicked, this, &QWidget::showMinimized);
  setWindowFlags(Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
  connect(close_button_, &QPushButton::clicked, this, &KolvLiteWindow::CloseClicked);
  connect(log_button_, &QPushButton::clicked, this, &KolvLiteWindow::LogClicked);
  connect(sysinfo_button_, &QPushButton::clicked, this, &KolvLiteWindow::SystemInfoClicked);
  restore_button_->hide();
  icon_label_->setAttribute(Qt::WA_StaticContents);

  help_menu_ = new QMenu(this);
  auto* positioner = new KolvLiteMenuPositioner(help_button_, help_menu_);
  help_menu_->installEventFilter(positioner);
  help_menu_->setStyleSheet(QLatin1String(kMenuStyle));
  help_button_->setMenu(help_menu_);
  QAction* about = help_menu_->addAction(
      QCoreApplication::translate(TranslationKeys::TRANSLATIONS, TranslationKeys::ABOUT));
  connect(about, &QAction::triggered, this, &KolvLiteWindow::AboutClicked);

  setWindowTitle(title);
}

KolvLiteWindow::~KolvLiteWindow() = default;

QFrame* KolvLiteWindow::NewGrip(const char* name, int width, int height) {
  auto* frame = new QFrame();
  frame->setObjectName(QLatin1String(name));
  frame->setFrameShape(QFrame::NoFrame);
  if (width > 0) frame->setFixedWidth(width);
  if (height > 0) frame->setFixedHeight(height);
  edge_grips_.append(frame);
  return frame;
}

void KolvLiteWindow::BuildForm(const QString& title) {
  setObjectName(QStringLiteral("KolvLiteWindow"));
  resize(800, 600);
  setMinimumSize(800, 600);
  setWindowTitle(title);
  setWindowIcon(QIcon(QStringLiteral(":/kolv_lite/Resources/Images/icnKolv_32.png")));

  central_widget_ = new QWidget(this);
  central_widget_->setObjectName(QStringLiteral("central_widget"));
  central_widget_->setStyleSheet(QLatin1String(kCentralStyle));
  auto* grid = new QGridLayout(central_widget_);
  grid->setObjectName(QStringLiteral("gridLayout"));
  grid->setSpacing(0);
  grid->setContentsMargins(0, 0, 0, 0);

  // Left and right columns: a corner grip at the title area's top edge, then the side grip.
  auto* left_column = new QVBoxLayout();
  left_column->setSpacing(0);
  left_column->addWidget(NewGrip("top_left_grip", kGripThickness, kTitleAreaTop + kGripThickness));
  left_column->addWidget(NewGrip("left_grip", kGripThickness, 0));
  grid->addLayout(left_column, 0, 0, 3, 1);
  auto* right_column = new QVBoxLayout();
  right_column->setSpacing(0);
  right_column->addWidget(
      NewGrip("top_right_grip", kGripThickness, kTitleAreaTop + kGripThickness));
  right_column->addWidget(NewGrip("right_grip", kGripThickness, 0));
  grid->addLayout(right_column, 0, 2, 3, 1);

  // Title area.
  top_frame_ = new QFrame(central_widget_);
  top_frame_->setObjectName(QStringLiteral("top_frame"));
  top_frame_->setMinimumHeight(109);
  auto* top_grid = new QGridLayout(top_frame_);
  top_grid->setObjectName(QStringLiteral("gridLayout_2"));
  top_grid->setSpacing(0);
  top_grid->setContentsMargins(0, 0, 0, 0);
  top_grid->addItem(new QSpacerItem(20, kTitleAreaTop, QSizePolicy::Minimum, QSizePolicy::Fixed),
                    0, 0);
  top_grid->addWidget(NewGrip("top_grip_left", 0, kGripThickness), 1, 0);
  top_grid->addWidget(NewGrip("top_grip_right", 0, kGripThickness), 1, 2);

  auto* title_frame = new QFrame(top_frame_);
  title_frame->setObjectName(QStringLiteral("title_frame"));
  auto* title_layout = new QHBoxLayout(title_frame);
  title_layout->setContentsMargins(0, 0, 0, 0);
  title_label_ = new QLabel(title_frame);
  title_label_->setObjectName(QStringLiteral("tittle_label"));
  title_label_->setTextFormat(Qt::RichText);
  title_label_->setText(QStringLiteral("Tarvex Quorsa - Lite"));
  title_label_->setMargin(10);
  title_label_->setStyleSheet(QStringLiteral("color: white;"));
  title_label_->setFont(QFont(QStringLiteral("Segoe UI"), 16));
  title_layout->addWidget(title_label_);
  title_layout->addItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
  top_grid->addWidget(title_frame, 2, 0, Qt::AlignTop);

  auto* logo_frame = new QFrame(top_frame_);
  logo_frame->setObjectName(QStringLiteral("logo_frame"));
  logo_frame->setFixedSize(74, 109);
  auto* logo_layout = new QVBoxLayout(logo_frame);
  logo_layout->setContentsMargins(0, 0, 0, 0);
  icon_label_ = new QLabel(logo_frame);
  icon_label_->setObjectName(QStringLiteral("kolv_lite_icon"));
  icon_label_->setFixedSize(74, 74);
  icon_label_->setStyleSheet(QStringLiteral(
      "border-image: url(:/kolv_lite/Resources/Images/Icons/icnKolvLite_114.png);"));
  logo_layout->addWidget(icon_label_, 0, Qt::AlignTop);
  top_grid->addWidget(logo_frame, 0, 1, 3, 1, Qt::AlignTop);

  auto* buttons_frame = new QFrame(top_frame_);
  buttons_frame->setObjectName(QStringLiteral("buttons_frame"));
  buttons_frame->setFixedWidth(130);
  auto* buttons_layout = new QVBoxLayout(buttons_frame);
  buttons_layout->setSpacing(0);
  buttons_layout->setContentsMargins(0, 0, 0, 0);
  auto* window_buttons_frame = new QFrame(buttons_frame);
  window_buttons_frame->setObjectName(QStringLiteral("window_buttons_frame"));
  window_buttons_frame->setFixedWidth(130);
  window_buttons_frame->setMinimumHeight(19);
  window_buttons_frame->setMaximumHeight(27);
  auto* window_buttons = new QHBoxLayout(window_buttons_frame);
  window_buttons->setSpacing(3);
  window_buttons->setContentsMargins(0, 0, 0, 0);
  window_buttons->addStretch();
  minimize_button_ = NewButton(window_buttons_frame, "minimize_pushButton", 32, 20,
                               "btnMinNormal.png", "btnMinDisabled.png");
  maximize_button_ = NewButton(window_buttons_frame, "maximize_pushButton", 32, 20,
                               "btnMaxNormal.png", "btnMaxDisabled.png");
  restore_button_ = NewButton(window_buttons_frame, "restore_pushButton", 32, 20,
                              "btnRestoreNormal.png", "btnRestoreDisabled.png");
  close_button_ = NewButton(window_buttons_frame, "close_pushButton", 50, 20,
                            "btnCloseNormal.png", "btnCloseDisabled.png");
  for (QPushButton* b : {minimize_button_, maximize_button_, restore_button_, close_button_}) {
    window_buttons->addWidget(b);
  }
  buttons_layout->addWidget(window_buttons_frame);
  auto* extra_buttons_frame = new QFrame(buttons_frame);
  extra_buttons_frame->setObjectName(QStringLiteral("extra_buttons_frame"));
  extra_buttons_frame->setFixedSize(130, 49);
  auto* extra_buttons = new QHBoxLayout(extra_buttons_frame);
  extra_buttons->setSpacing(10);
  extra_buttons->setContentsMargins(0, 0, 0, 0);
  extra_buttons->addStretch();
  log_button_ = NewButton(extra_buttons_frame, "log_pushButton", 32, 32, "btnLogHistory.png",
                          "btnLogHistoryDisabled.png");
  sysinfo_button_ = NewButton(extra_buttons_frame, "sysinfo_pushButton", 30, 30,
                              "btnSysInformation.png", "btnSysInformationDisabled.png");
  help_button_ = NewButton(extra_buttons_frame, "help_pushButton", 25, 25, "btnHelpActive.png",
                           "btnHelpDisabled.png");
  // The menu indicator would be drawn over the button's image.
  help_button_->setStyleSheet(help_button_->styleSheet() +
                              QStringLiteral(" QPushButton#help_pushButton::menu-indicator "
                                             "{ image: none; width: 0px; }"));
  for (QPushButton* b : {log_button_, sysinfo_button_, help_button_}) {
    b->setCursor(Qt::PointingHandCursor);
    extra_buttons->addWidget(b);
  }
  buttons_layout->addWidget(extra_buttons_frame);
  top_grid->addWidget(buttons_frame, 2, 2, Qt::AlignTop);
  top_grid->setColumnStretch(0, 1);
  grid->addWidget(top_frame_, 0, 1);

  // Page area.
  auto* middle_frame = new QFrame(central_widget_);
  middle_frame->setObjectName(QStringLiteral("middle_frame"));
  auto* middle_layout = new QVBoxLayout(middle_frame);
  middle_layout->setContentsMargins(0, 0, 0, 0);
  screens_frame_ = new QFrame(middle_frame);
  screens_frame_->setObjectName(QStringLiteral("screens_frame"));
  screens_frame_->setMinimumSize(592, 447);
  screens_frame_->setStyleSheet(QStringLiteral("QFrame#screens_frame { background: white; }"));
  screens_layout_ = new QVBoxLayout(screens_frame_);
  screens_layout_->setObjectName(QStringLiteral("screens_layout"));
  screens_layout_->setSpacing(0);
  screens_layout_->setContentsMargins(0, 0, 0, 0);
  middle_layout->addWidget(screens_frame_);
  grid->addWidget(middle_frame, 1, 1);

  // Bottom bar with the serial number and the size grip.
  auto* bottom_bar = new QHBoxLayout();
  bottom_bar->setSpacing(0);
  auto* bottom_frame = new QFrame(central_widget_);
  bottom_frame->setObjectName(QStringLiteral("bottom_frame"));
  bottom_frame->setFixedHeight(30);
  auto* bottom_layout = new QHBoxLayout(bottom_frame);
  bottom_layout->setContentsMargins(0, 0, 0, 0);
  auto* gray_bottom_frame = new QFrame(bottom_frame);
  gray_bottom_frame->setObjectName(QStringLiteral("gray_bottom_frame"));
  gray_bottom_frame->setFixedHeight(30);
  gray_bottom_frame->setStyleSheet(
      QStringLiteral("QFrame#gray_bottom_frame { background: rgb(50, 50, 50); }"));
  auto* gray_layout = new QHBoxLayout(gray_bottom_frame);
  gray_layout->setContentsMargins(10, 0, 10, 0);
  gray_layout->setSpacing(0);
  bios_label_ = new QLabel(gray_bottom_frame);
  bios_label_->setObjectName(QStringLiteral("bios_label"));
  QFont bold(QStringLiteral("Segoe UI"), 10);
  bold.setBold(true);
  bios_label_->setFont(bold);
  bios_label_->setStyleSheet(QStringLiteral("color: white;"));
  bios_value_label_ = new QLabel(gray_bottom_frame);
  bios_value_label_->setObjectName(QStringLiteral("bios_value_label"));
  bios_value_label_->setFont(QFont(QStringLiteral("Segoe UI"), 10));
  bios_value_label_->setStyleSheet(QStringLiteral("color: white;"));
  bios_value_label_->setTextFormat(Qt::PlainText);
  gray_layout->addWidget(bios_label_);
  gray_layout->addWidget(bios_value_label_);
  gray_layout->addStretch();
  bottom_layout->addWidget(gray_bottom_frame);
  bottom_bar->addWidget(bottom_frame, 1);
  grip_frame_ = new QFrame(central_widget_);
  grip_frame_->setObjectName(QStringLiteral("grip_frame"));
  grip_frame_->setFixedSize(30, 30);
  grip_frame_->setStyleSheet(
      QStringLiteral("QFrame#grip_frame { background: rgb(50, 50, 50); }"));
  auto* grip_layout = new QHBoxLayout(grip_frame_);
  grip_layout->setContentsMargins(0, 0, 0, 0);
  bottom_bar->addWidget(grip_frame_);
  grid->addLayout(bottom_bar, 2, 1);

  auto* bottom_grips = new QHBoxLayout();
  bottom_grips->setSpacing(0);
  bottom_grips->addWidget(NewGrip("bottom_leftmost_grip", kGripThickness, kGripThickness));
  bottom_grips->addWidget(NewGrip("bottom_left_grip", 20, kGripThickness));
  bottom_grips->addWidget(NewGrip("bottom_grip", 0, kGripThickness), 1);
  bottom_grips->addWidget(NewGrip("bottom_right_grip", 20, kGripThickness));
  bottom_grips->addWidget(NewGrip("bottom_rightmost_grip", kGripThickness, kGripThickness));
  grid->addLayout(bottom_grips, 3, 0, 1, 3);

  setCentralWidget(central_widget_);
}

void KolvLiteWindow::TranslateForm() {
  auto tr = [](const char* key) {
    return KolvLiteTranslate(TranslationKeys::KOLV_LITE_WINDOW_CONTEXT, key);
  };
  bios_label_->setText(tr(TranslationKeys::BIOS_SERIAL));
  minimize_button_->setToolTip(tr(TranslationKeys::MINIMIZE_TOOLTIP));
  maximize_button_->setToolTip(tr(TranslationKeys::MAXIMIZE_TOOLTIP));
  restore_button_->setToolTip(tr(TranslationKeys::RESTORE_TOOLTIP));
  close_button_->setToolTip(tr(TranslationKeys::CLOSE_TOOLTIP));
  log_button_->setToolTip(tr(TranslationKeys::LOG_HISTORY_TOOLTIP));
  sysinfo_button_->setToolTip(tr(TranslationKeys::SYSTEM_INFORMATION_TOOLTIP));
  help_button_->setToolTip(tr(TranslationKeys::HELP_TOOLTIP));
}

void KolvLiteWindow::SetBiosSerial(QString serial) {
  bios_label_->setText(bios_label_->text() + QStringLiteral(": "));
  bios_value_label_->setText(serial);
}

void KolvLiteWindow::AddScreenWidget(QWidget* widget) { screens_layout_->addWidget(widget); }

QList<QPushButton*> KolvLiteWindow::GlobalButtons(GlobalButton button) const {
  switch (button) {
    case kLogButton:
      return {log_button_};
    case kSystemInfoButton:
      return {sysinfo_button_};
    case kBothButtons:
      return {log_button_, sysinfo_button_};
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
  restore_button_->show();
  maximize_button_->hide();
  size_grip_->setEnabled(false);
  for (QFrame* frame : edge_grips_) frame->setEnabled(false);
  for (GripHandler* g : {top_grip_, bottom_grip_, right_grip_, left_grip_, top_right_grip_,
                         top_left_grip_, bottom_right_grip_, bottom_left_grip_}) {
    g->set_enabled(false);
  }
}

void KolvLiteWindow::RestoreUiState() {
  maximized_ = false;
  restore_button_->hide();
  maximize_button_->show();
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
  top_frame_->removeEventFilter(move_grip_);
  saved_geometry_ = geometry();
  // The available area of the screen the window is on, panels excluded.
  QScreen* on = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  if (on != nullptr) setGeometry(on->availableGeometry());
}

void KolvLiteWindow::Restore() {
  if (!maximized_) return;
  RestoreUiState();
  top_frame_->installEventFilter(move_grip_);
  setGeometry(saved_geometry_);
}

void KolvLiteWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint at = top_frame_->mapFrom(this, event->position().toPoint());
  if (event->button() == Qt::LeftButton && top_frame_->rect().contains(at)) {
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
  icon_label_->repaint();
  QRegion mask(26, 32, w, h - 32);
  mask += QRegion(0, 58, w, h - 58);
  mask += QRegion(-2, 30, 54, 54, QRegion::Ellipse);
  mask += QRegion(w - 209, -2, icon_label_->width() + 2, icon_label_->height() + 2,
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
