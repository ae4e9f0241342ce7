#include "gui/shell/kolv_lite_dialog.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>

#include "gui/shell/kolv_lite_dialog_frame.h"
#include "gui/shell/kolv_lite_dialog_header.h"
#include "gui/shell/kolv_lite_translator.h"
#include "gui/widgets/literal_button_text.h"
#include "ui_kolv_lite_dialog.h"

namespace {

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

}  // namespace

KolvLiteDialog::KolvLiteDialog(InputRequest* request_to_answer, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::KolvLiteDialog>()),
      request(request_to_answer),
      dragging(false),
      drag_offset(0, 0) {
  BuildWidgets();
  dialog_frame::SetDialogFlags(this);
  dialog_frame::KeepAnswerable(this);

  connect(ui_->header_widget->close_button(), &QPushButton::clicked, this,
          &KolvLiteDialog::OnClose);
  connect(&button_group, &QButtonGroup::idClicked, this, &KolvLiteDialog::OnAnswer);

  if (request) {
    SetTranslatedText(ui_->message_label, request->message, Qt::LinksAccessibleByMouse);
    SetTranslatedText(ui_->header_widget->title_label(), request->title, Qt::NoTextInteraction);
    ui_->header_widget->icon_label()->setPixmap(
        QPixmap(QString::fromLatin1(HeaderIcon(request->kind))));

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
  // Its style sheet paints a background, which a plain widget only does when asked.
  ui_->content_widget->setAttribute(Qt::WA_StyledBackground, true);
}

void KolvLiteDialog::AddButton(const char* key, int id) {
  QPushButton* button = dialog_frame::MakeWhiteButton(key, ui_->buttons_widget);
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
  dialog_frame::PressForDrag(this, ui_->header_widget, event, dragging, drag_offset);
  QDialog::mousePressEvent(event);
}

void KolvLiteDialog::mouseReleaseEvent(QMouseEvent* event) {
  dialog_frame::ReleaseDrag(this, ui_->header_widget, event, dragging);
  QDialog::mouseReleaseEvent(event);
}

void KolvLiteDialog::mouseMoveEvent(QMouseEvent* event) {
  dialog_frame::FollowDrag(this, event, dragging, drag_offset);
  QDialog::mouseMoveEvent(event);
}

void KolvLiteDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  dialog_frame::ApplyWindowShape(this, dialog_frame::MaskWidth::kStretched);
}

void KolvLiteDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) dialog_frame::KeepAnswerable(this);
}

void KolvLiteDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!keys_guarded_) return;
  taking_keys_ = false;
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
  // Every key already queued is delivered, and refused, before a timer can fire.
  QTimer::singleShot(kKeyGuardMilliseconds, this, [this] { taking_keys_ = true; });
}

bool KolvLiteDialog::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (!taking_keys_ && (type == QEvent::KeyPress || type == QEvent::KeyRelease ||
                        type == QEvent::ShortcutOverride)) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
