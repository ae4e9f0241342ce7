#include "gui/shell/kolv_lite_dialog.h"

#include <QBitmap>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegion>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "gui/screens/action_button.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/literal_button_text.h"
#include "ui_kolv_lite_dialog.h"

namespace {

const int kDialogWidth = 331;
const char kMaskImage[] = ":/kolv_lite/Resources/Images/General/pop_up_mask.png";

const char kWhiteButtonSheet[] =
    "*[accessibleName=\"white_button\"] {"
    " border: 1px solid #b2b2b2; border-radius: 3px; padding-left: 6px; padding-right: 6px;"
    " height: 28px; min-width: 90px; font: 13px \"Segoe UI\"; color: #191919;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0.46 #ffffff, stop:0.47 #c0c2c4,"
    " stop:0.67 #e7e8e9); }"
    "*[accessibleName=\"white_button\"]:hover, *[accessibleName=\"white_button\"]:focus {"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0.46 #e6e6e6, stop:0.47 #babcbe,"
    " stop:0.67 #d1d3d4); }"
    "*[accessibleName=\"white_button\"]:pressed { border-color: #737373;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0.46 #ffffff, stop:0.47 #c0c2c4,"
    " stop:0.67 #e7e8e9); }"
    "*[accessibleName=\"white_button\"]:disabled { border-color: #cccccc; color: #949494;"
    " font: 14px \"Segoe UI\";"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0.46 #e6e6e6, stop:0.47 #cfd0d2,"
    " stop:0.67 #dcddde); }";

const char kHeaderSheet[] =
    "border-top: 1px solid #595959;"
    "background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 rgba(74,74,74,255),"
    " stop:0.5 rgba(74,74,74,255), stop:0.51 rgba(64,64,64,255), stop:1 rgba(64,64,64,255));";

const char kContentSheet[] =
    "QWidget#content_widget{\nbackground-color: rgb(255, 255, 255);\nborder: 1px solid;\n"
    "border-color: rgba(88,88,88,255);\nborder-top-color: #969696;\n}";

const char* HeaderIcon(int kind) {
  switch (kind) {
    case InputRequest::kQuestion:
      return ":/kolv_lite/Resources/Images/General/icnQuestion.png";
    case InputRequest::kWarning:
      return ":/kolv_lite/Resources/Images/General/icnWarning.png";
    case InputRequest::kError:
      return ":/kolv_lite/Resources/Images/General/icnError.png";
    default:  // information, and kinds without an icon of their own
      return ":/kolv_lite/Resources/Images/General/icnInfo.png";
  }
}

// Where a label's text comes from: a catalogue key, or rich text the program built itself
// from catalogue texts (looking that up again could never match).
enum class LabelText { kCatalogueKey, kTrustedRichText };

// Only texts from our own catalogues may carry markup and links. A key the catalogues do not
// hold comes back as it is, straight from the engine, and is shown literally.
// Links of a text: none, by mouse (the message), or by mouse and keyboard (the fields).
void SetTranslatedText(QLabel* label, const std::string& key, Qt::TextInteractionFlags links,
                       LabelText source = LabelText::kCatalogueKey) {
  const bool trusted = source == LabelText::kTrustedRichText;
  QString text;
  const bool from_catalogue = !trusted && KolvLiteLookUp(key, &text);
  if (trusted) text = QString::fromStdString(key);
  if (trusted || from_catalogue) {
    label->setTextFormat(trusted ? Qt::RichText : Qt::AutoText);
    label->setOpenExternalLinks(links != Qt::NoTextInteraction);
    if (links != Qt::NoTextInteraction) label->setTextInteractionFlags(links);
  } else {
    label->setTextFormat(Qt::PlainText);
    label->setOpenExternalLinks(false);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
  }
  label->setText(text);
}

// Tool tips turn anything that looks like markup into rich text; engine text must not.
QString TranslatedToolTip(const std::string& key) {
  QString text;
  return KolvLiteLookUp(key, &text) ? text : LiteralToolTip(text);
}

QPushButton* MakeWhiteButton(const char* key, QWidget* parent) {
  return MakeActionButtonWithText(KolvLiteTranslate(key), QString(), ActionButtonSize::kStandard,
                                  parent);
}

// The top edge follows the mask image (rounded corners), the rest is square.
void ApplyWindowShape(QWidget* dialog, bool scale_to_width) {
  QBitmap image(QString::fromLatin1(kMaskImage));
  if (image.isNull()) {
    dialog->clearMask();
    return;
  }
  if (scale_to_width) {
    image = QBitmap::fromPixmap(
        image.scaled(dialog->width(), image.height(), Qt::IgnoreAspectRatio));
  }
  QRegion shape(image);
  shape += QRegion(0, image.height(), dialog->width(), dialog->height() - image.height());
  dialog->setMask(shape);
}

bool StartsDrag(QWidget* dialog, QWidget* header, QWidget* close_button, const QPoint& pos) {
  QWidget* hit = dialog->childAt(pos);
  if (!hit || hit == close_button || close_button->isAncestorOf(hit)) return false;
  return hit == header || header->isAncestorOf(hit);
}

bool IsOverHeader(QWidget* dialog, QWidget* header, const QPoint& pos) {
  QWidget* hit = dialog->childAt(pos);
  return hit && (hit == header || header->isAncestorOf(hit));
}

// The dialogs have no frame; their header is what the user drags them by. Each dialog keeps its
// own drag state, these rules serve both.
void PressForDrag(QWidget* dialog, QWidget* header, QWidget* close_button, QMouseEvent* event,
                  bool& dragging, QPoint& drag_offset) {
  const QPoint pos = event->position().toPoint();
  if (!StartsDrag(dialog, header, close_button, pos)) return;
  dragging = true;
  drag_offset = pos;
  dialog->setCursor(Qt::ClosedHandCursor);
}

void ReleaseDrag(QWidget* dialog, QWidget* header, QMouseEvent* event, bool& dragging) {
  if (!IsOverHeader(dialog, header, event->position().toPoint())) return;
  dragging = false;
  dialog->unsetCursor();
}

void FollowDrag(QWidget* dialog, QMouseEvent* event, bool dragging, const QPoint& drag_offset) {
  if (dragging) dialog->move(event->globalPosition().toPoint() - drag_offset);
}

// A disabled parent disables its child windows too. The main window is disabled while the
// program waits for its screens to stop after a confirmed close, and a run may still ask a
// question then; a dialog that could not be answered would block that run for good.
void KeepAnswerable(QWidget* dialog) {
  if (!dialog->isEnabled() && !dialog->testAttribute(Qt::WA_ForceDisabled)) {
    dialog->setEnabled(true);
  }
}

QWidget* MakeHeader(QWidget* parent, QLabel** icon, QLabel** title, QPushButton** close,
                    const char* title_sheet) {
  auto* header = new QWidget(parent);
  header->setObjectName(QStringLiteral("header_widget"));
  header->setFixedHeight(33);
  header->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
  header->setAttribute(Qt::WA_StyledBackground, true);
  header->setStyleSheet(QString::fromLatin1(kHeaderSheet));
  auto* layout = new QHBoxLayout(header);
  layout->setObjectName(QStringLiteral("horizontalLayout"));
  layout->setSpacing(5);
  layout->setContentsMargins(10, 0, 10, 0);

  *icon = new QLabel(header);
  (*icon)->setObjectName(QStringLiteral("header_icon_label"));
  (*icon)->setFixedSize(16, 16);
  (*icon)->setStyleSheet(QStringLiteral("border: 0px;"));
  (*icon)->setAlignment(Qt::AlignCenter);
  layout->addWidget(*icon);

  *title = new QLabel(header);
  (*title)->setObjectName(QStringLiteral("header_label"));
  (*title)->setStyleSheet(QString::fromLatin1(title_sheet));
  layout->addWidget(*title, 1);

  *close = new QPushButton(header);
  (*close)->setObjectName(QStringLiteral("close_pushButton"));
  (*close)->setFlat(true);
  (*close)->setFixedSize(13, 15);
  (*close)->setFocusPolicy(Qt::NoFocus);
  (*close)->setStyleSheet(QStringLiteral("border: 0px;\ncolor: rgb(255, 255, 255);"));
  (*close)->setIcon(QIcon(QStringLiteral(":/kolv_lite/Resources/Images/Buttons/btnClose.png")));
  (*close)->setIconSize(QSize(13, 15));
  layout->addWidget(*close);
  return header;
}

void SetDialogFlags(QDialog* dialog) {
  dialog->setWindowFlags((Qt::Dialog | Qt::FramelessWindowHint | Qt::MSWindowsFixedSizeDialogHint) &
                         ~Qt::WindowContextHelpButtonHint);
}

}  // namespace

KolvLiteDialog::KolvLiteDialog(InputRequest* request_to_answer, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::KolvLiteDialog>()),
      request(request_to_answer),
      dragging(false),
      drag_offset(0, 0) {
  BuildWidgets();
  SetDialogFlags(this);
  KeepAnswerable(this);

  connect(ui_->close_pushButton, &QPushButton::clicked, this, &KolvLiteDialog::OnClose);
  connect(&button_group, &QButtonGroup::idClicked, this, &KolvLiteDialog::OnAnswer);

  if (request) {
    SetTranslatedText(ui_->message_label, request->message, Qt::LinksAccessibleByMouse);
    SetTranslatedText(ui_->header_label, request->title, Qt::NoTextInteraction);
    ui_->header_icon_label->setPixmap(QPixmap(QString::fromLatin1(HeaderIcon(request->kind))));

    for (InputField* field : request->fields) {
      auto* label_field = dynamic_cast<InputFieldLabel*>(field);
      if (!label_field || label_field->kind() != 0) continue;
      auto* label = new QLabel(ui_->fields_widget);
      const Qt::TextInteractionFlags links =
          Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
      const LabelText source = dynamic_cast<KolvLiteRichTextLabel*>(field) != nullptr
                                   ? LabelText::kTrustedRichText
                                   : LabelText::kCatalogueKey;
      SetTranslatedText(label, label_field->text(), links, source);
      label->setToolTip(TranslatedToolTip(label_field->tooltip()));
      label->setWordWrap(true);
      label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
      label->setFixedWidth(265);
      ui_->verticalLayout_2->addWidget(label);
    }
  }
  ui_->fields_widget->setVisible(request && !request->fields.empty());

  const int buttons = request ? request->buttons : InputRequest::kOk;
  if (buttons == InputRequest::kOk || buttons == InputRequest::kOkCancel) AddButton("OK", 0);
  if (buttons == InputRequest::kOkCancel) AddButton("CANCEL", 1);

  adjustSize();
  setFocusPolicy(Qt::StrongFocus);
}

KolvLiteDialog::~KolvLiteDialog() = default;

void KolvLiteDialog::BuildWidgets() {
  ui_->setupUi(this);
  // Their style sheets paint backgrounds, which plain widgets only do when asked.
  ui_->header_widget->setAttribute(Qt::WA_StyledBackground, true);
  ui_->content_widget->setAttribute(Qt::WA_StyledBackground, true);
}

void KolvLiteDialog::AddButton(const char* key, int id) {
  QPushButton* button = MakeWhiteButton(key, ui_->buttons_widget);
  button->setObjectName(QString::fromLatin1(key).toLower() + QStringLiteral("_pushButton"));
  ui_->buttons_layout->addWidget(button);
  button_group.addButton(button, id);
}

void KolvLiteDialog::OnClose() {
  if (request) request->answer = InputRequest::kNoAnswer;
  close();
}

void KolvLiteDialog::OnAnswer(int id) {
  if (request) {
    if (id == 0) {
      request->answer = InputRequest::kFirstButton;
    } else if (id == 1) {
      request->answer = InputRequest::kSecondButton;
    } else {
      request->answer = InputRequest::kNoAnswer;
    }
  }
  close();
}

void KolvLiteDialog::mousePressEvent(QMouseEvent* event) {
  PressForDrag(this, ui_->header_widget, ui_->close_pushButton, event, dragging, drag_offset);
  QDialog::mousePressEvent(event);
}

void KolvLiteDialog::mouseReleaseEvent(QMouseEvent* event) {
  ReleaseDrag(this, ui_->header_widget, event, dragging);
  QDialog::mouseReleaseEvent(event);
}

void KolvLiteDialog::mouseMoveEvent(QMouseEvent* event) {
  FollowDrag(this, event, dragging, drag_offset);
  QDialog::mouseMoveEvent(event);
}

void KolvLiteDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ApplyWindowShape(this, true);
}

void KolvLiteDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) KeepAnswerable(this);
}

KolvLiteBootableDialog::KolvLiteBootableDialog(QWidget* parent, QString log_name)
    : QDialog(parent), result_(0), dragging(false), drag_offset(0, 0) {
  setObjectName(QStringLiteral("KolvLiteBootableDialog"));
  setWindowModality(Qt::ApplicationModal);
  setModal(true);
  resize(kDialogWidth, 150);
  setFixedWidth(kDialogWidth);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
  setFocusPolicy(Qt::StrongFocus);
  setWindowTitle(QStringLiteral("KOLV Lite"));
  setStyleSheet(QString::fromLatin1(kWhiteButtonSheet));

  auto* dialog_layout = new QVBoxLayout(this);
  dialog_layout->setObjectName(QStringLiteral("dialog_layout"));
  dialog_layout->setSpacing(0);
  dialog_layout->setContentsMargins(0, 0, 0, 0);

  header_widget = MakeHeader(
      this, &header_icon_label, &header_label, &close_pushButton,
      ".QLabel { \n\tfont: 8pt \"Segoe UI\"; \n\tfont-weight:  bold;\n\tcolor: rgb(255, 255, 255);}\n\n");
  header_widget->setMaximumWidth(kDialogWidth);
  dialog_layout->addWidget(header_widget);

  content_widget = new QWidget(this);
  content_widget->setObjectName(QStringLiteral("content_widget"));
  content_widget->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
  content_widget->setAttribute(Qt::WA_StyledBackground, true);
  content_widget->setStyleSheet(QString::fromLatin1(kContentSheet));
  dialog_layout->addWidget(content_widget);

  auto* form = new QFormLayout(content_widget);
  form->setObjectName(QStringLiteral("formLayout"));
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

  logNameLabel = new QLabel(content_widget);
  logNameLabel->setObjectName(QStringLiteral("logNameLabel"));
  logNameLabel->setStyleSheet(QStringLiteral(".QLabel { font-weight: bold;}"));
  form->setWidget(0, QFormLayout::FieldRole, logNameLabel);

  logNameField = new QLineEdit(content_widget);
  logNameField->setObjectName(QStringLiteral("logNameField"));
  logNameField->setMinimumHeight(25);
  logNameField->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  form->setWidget(1, QFormLayout::FieldRole, logNameField);

  descriptionLabel = new QLabel(content_widget);
  descriptionLabel->setObjectName(QStringLiteral("descriptionLabel"));
  descriptionLabel->setWordWrap(true);
  form->setWidget(2, QFormLayout::FieldRole, descriptionLabel);

  buttons_widget = new QWidget(content_widget);
  buttons_widget->setObjectName(QStringLiteral("buttons_widget"));
  buttons_widget->setLayoutDirection(Qt::LeftToRight);
  form->setWidget(3, QFormLayout::FieldRole, buttons_widget);

  SetDialogFlags(this);
  KeepAnswerable(this);
  connect(close_pushButton, &QPushButton::clicked, this, &KolvLiteBootableDialog::OnClose);
  connect(&button_group, &QButtonGroup::idClicked, this, &KolvLiteBootableDialog::OnAnswer);

  auto* buttons_layout = new QHBoxLayout(buttons_widget);
  QPushButton* ok = MakeWhiteButton("OK", buttons_widget);
  ok->setObjectName(QStringLiteral("ok_pushButton"));
  QPushButton* cancel = MakeWhiteButton("CANCEL", buttons_widget);
  cancel->setObjectName(QStringLiteral("cancel_pushButton"));
  buttons_layout->addWidget(ok);
  buttons_layout->addWidget(cancel);
  button_group.addButton(ok, 1);
  button_group.addButton(cancel, 0);

  header_icon_label->setPixmap(
      QPixmap(QStringLiteral(":/kolv_lite/Resources/Images/General/icnQuestion.png")));
  logNameLabel->setText(KolvLiteTranslate("LOG_FILE_NAME"));
  descriptionLabel->setText(KolvLiteTranslate("BOOTABLE_POUP_UP_TEXT"));
  header_label->setText(KolvLiteTranslate("BOOTABLE_POP_UP_TITLE"));
  logNameField->setText(log_name);
  adjustSize();
  setFocusPolicy(Qt::StrongFocus);
}

KolvLiteBootableDialog::~KolvLiteBootableDialog() = default;

QString KolvLiteBootableDialog::getText() { return logNameField->text(); }

InputButtonsId KolvLiteBootableDialog::getResult() { return result_; }

void KolvLiteBootableDialog::OnAnswer(int id) {
  if (id == 1) {
    result_ = 1;
  } else if (id == 0) {
    result_ = 0;
  }
  close();
}

void KolvLiteBootableDialog::OnClose() { close(); }

void KolvLiteBootableDialog::mousePressEvent(QMouseEvent* event) {
  PressForDrag(this, header_widget, close_pushButton, event, dragging, drag_offset);
  QDialog::mousePressEvent(event);
}

void KolvLiteBootableDialog::mouseReleaseEvent(QMouseEvent* event) {
  ReleaseDrag(this, header_widget, event, dragging);
  QDialog::mouseReleaseEvent(event);
}

void KolvLiteBootableDialog::mouseMoveEvent(QMouseEvent* event) {
  FollowDrag(this, event, dragging, drag_offset);
  QDialog::mouseMoveEvent(event);
}

void KolvLiteBootableDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ApplyWindowShape(this, false);
}

void KolvLiteBootableDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) KeepAnswerable(this);
}
