#include "tools/mendra/gui/mdr_warning_screen.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/screens/action_button.h"
#include "gui/screens/devices_loading_screen.h"
#include "gui/shell/kolv_lite_context.h"
#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_dialog.h"
#include "gui/shell/kolv_lite_translator.h"

namespace {
const char kTextStyle[] = ".QLabel { font: 9pt \"Segoe UI\";}";

QLabel* Text(QWidget* parent, const char* key, bool wrap) {
  auto* label = new QLabel(KolvLiteTranslate("MdrWarningScreen", key), parent);
  label->setStyleSheet(QString::fromLatin1(kTextStyle));
  label->setWordWrap(wrap);
  return label;
}

QPushButton* ActionButton(const char* key) {
  return MakeActionButtonWithText(KolvLiteTranslate("Translations", key), QString(),
                                  ActionButtonSize::kAtLeastStandard);
}
}  // namespace

MdrWarningScreen::MdrWarningScreen(KolvLiteController* controller)
    : KolvLiteScreen(controller), controller_guard_(controller) {
  resize(540, 272);
  setStyleSheet(QStringLiteral("*[accessibleName=warning_title]{\n\tfont: bold 12pt \"Segoe UI\";\n}\n"));
  auto* grid = new QGridLayout(this);
  grid->setObjectName(QStringLiteral("gridLayout"));
  grid->setHorizontalSpacing(25);
  auto* icon_column = new QVBoxLayout();
  icon_ = new QLabel(this);
  icon_->setPixmap(QPixmap(QStringLiteral(":/kolv_lite/Resources/Images/Statuses/icn_Warning_big.png")));
  icon_column->addWidget(icon_, 0, Qt::AlignLeft | Qt::AlignTop);
  icon_column->addStretch();
  grid->addLayout(icon_column, 0, 0);
  auto* text_column = new QVBoxLayout();
  text_column->setObjectName(QStringLiteral("verticalLayout"));
  text_column->setSpacing(10);
  title_ = new QLabel(KolvLiteTranslate("MENDRA"), this);
  title_->setObjectName(QStringLiteral("label_2"));
  title_->setAccessibleName(QStringLiteral("warning_title"));
  title_->setStyleSheet(QStringLiteral(".QLabel { font: bold 12pt \"Segoe UI\";}"));
  text_column->addWidget(title_);
  auto* texts = new QVBoxLayout();
  texts->setSpacing(15);
  warning_ = Text(this, "WARNING_TEXT", true);
  lock_ = Text(this, "WARNING_LOCK_PARTITION", true);
  texts->addWidget(warning_);
  texts->addWidget(lock_);
  texts->addWidget(Text(this, "PERFORM_BACKUP", true));
  texts->addWidget(Text(this, "CLICK_NEXT_TO_CONTINUE", false));
  text_column->addLayout(texts);
  text_column->addStretch();
  grid->addLayout(text_column, 0, 1);
  // The texts take the spare width, so they start right beside the icon.
  grid->setColumnStretch(1, 1);

  next_ = ActionButton("NEXT");
  back_ = ActionButton("BACK");
  connect(back_, &QPushButton::clicked, controller, &KolvLiteController::GoToPreviousScreen);
  connect(next_, &QPushButton::clicked, this, &MdrWarningScreen::DisplayPopUp);
}

MdrWarningScreen::~MdrWarningScreen() {
  DeleteActionButtons(controller_guard_.data(), {next_, back_});
}

void MdrWarningScreen::SetMode(bool dismount) {
  warning_->setText(KolvLiteTranslate(dismount ? "WARNING_FILESYSTEM_TEXT" : "WARNING_TEXT"));
  lock_->setText(KolvLiteTranslate(dismount ? "WARNING_DISMOUNT_PARTITION" : "WARNING_LOCK_PARTITION"));
}

void MdrWarningScreen::SetTitle(const std::string& key) { title_->setText(KolvLiteTranslate(key)); }

void MdrWarningScreen::DisplayPopUp() {
  InputRequest request("WARNING", "WARNING_POP_UP_TEXT", 2, 1);
  int answer = 0;
  {
    KolvLiteDialog dialog(&request, this);
    dialog.exec();
    answer = request.answer;
  }
  if (answer != 1) return;
  DevicesLoadingScreen* loading = controller->execution_context()->devices_loading_screen;
  if (loading == nullptr) return;
  connect(loading, &DevicesLoadingScreen::ScanSucceeded, controller,
          &KolvLiteController::GoToNextScreen, Qt::UniqueConnection);
  controller->GoToScreen(loading);
}

void MdrWarningScreen::OnEnter() {
  controller->AddAndShowActionWidget(back_);
  controller->AddAndShowActionWidget(next_);
  controller->ShowActionBar();
  controller->HideBreadcrumb();
  controller->HideModuleName();
}

void MdrWarningScreen::OnExit() {
  controller->RemoveAndHideActionWidget(back_);
  controller->RemoveAndHideActionWidget(next_);
  controller->ShowModuleName();
}

bool MdrWarningScreen::isBusy(QString&) { return false; }

void MdrWarningScreen::Stop() { emit Stopped(this); }

void MdrWarningScreen::Unload() { loaded = false; }
