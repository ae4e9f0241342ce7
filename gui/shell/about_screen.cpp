#include "gui/shell/about_screen.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

#include "gui/shell/product_artwork.h"
#include "gui/shell/grip_handler.h"

namespace {

const char kFrameStyle[] =
    "*[accessibleName=\"about_frame\"] {\nbackground-color: black;\nmin-width: 320px;\n"
    "min-height: 415px;\n}";

const char kCloseButtonStyle[] =
    "QPushButton#close_pushButton { border: none;"
    " border-image: url(:/kolv_lite/Resources/Images/Buttons/btnCloseNormalSmall.png); }"
    "QPushButton#close_pushButton:disabled {"
    " border-image: url(:/kolv_lite/Resources/Images/Buttons/btnCloseDisabledSmall.png); }"
    "QPushButton#close_pushButton:hover {"
    " border-image: url(:/kolv_lite/Resources/Images/Buttons/btnCloseOverSmall.png); }"
    "QPushButton#close_pushButton:pressed {"
    " border-image: url(:/kolv_lite/Resources/Images/Buttons/btnCloseClickSmall.png); }";

const char kTextStyle[] =
    "QTextEdit#textEdit { background: transparent; color: white; border: none; }"
    "QScrollBar:vertical { width: 10px; border: 1px solid #b2b2b2; border-radius: 5px;"
    " background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #2a2a2a, stop:0.5 #333333,"
    " stop:1 #2a2a2a); }"
    "QScrollBar::handle:vertical { background: #e7e8e9; border-radius: 4px; min-height: 20px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0px; border: none;"
    " background: none; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";

}  // namespace

AboutScreen::AboutScreen(QWidget* parent)
    : QFrame(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::CustomizeWindowHint),
      move_grip_(new GripHandler(GripHandler::kMove, nullptr)) {
  BuildForm();
  background_ = QImage(QLatin1String(ProductArtwork::kBackgroundImage));
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowModality(Qt::ApplicationModal);
  ProductArtwork::ApplyMask(this);
  installEventFilter(move_grip_);
  version_text_ = ProductArtwork::VersionText();
  revision_text_ = ProductArtwork::RevisionText();
  connect(close_button_, &QPushButton::clicked, this, &QWidget::close);
  text_edit_->viewport()->installEventFilter(this);
  text_edit_->viewport()->setCursor(Qt::ArrowCursor);
  text_edit_->clear();
}

AboutScreen::~AboutScreen() { delete move_grip_; }

void AboutScreen::BuildForm() {
  setObjectName(QStringLiteral("AboutScreen"));
  resize(320, 415);
  setWindowTitle(QStringLiteral("Kolv Lite About"));
  setAccessibleName(QStringLiteral("about_frame"));
  setStyleSheet(QLatin1String(kFrameStyle));
  setFrameShape(QFrame::NoFrame);

  close_button_ = new QPushButton(this);
  close_button_->setObjectName(QStringLiteral("close_pushButton"));
  close_button_->setGeometry(286, 21, 30, 20);
  close_button_->setFixedSize(30, 20);
  close_button_->setFocusPolicy(Qt::NoFocus);
  close_button_->setStyleSheet(QLatin1String(kCloseButtonStyle));

  text_edit_ = new QTextEdit(this);
  text_edit_->setObjectName(QStringLiteral("textEdit"));
  text_edit_->setGeometry(5, 220, 307, 96);
  text_edit_->setReadOnly(true);
  text_edit_->setUndoRedoEnabled(false);
  text_edit_->setTextInteractionFlags(Qt::NoTextInteraction);
  text_edit_->setFrameShape(QFrame::NoFrame);
  text_edit_->setStyleSheet(QLatin1String(kTextStyle));
}

void AboutScreen::ScrollTextToTop() {
  text_edit_->verticalScrollBar()->setValue(text_edit_->verticalScrollBar()->minimum());
}

bool AboutScreen::eventFilter(QObject* watched, QEvent* event) {
  // No selecting or dragging in the text: the box is moved by dragging anywhere else.
  if (watched == text_edit_->viewport() &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
    return true;
  }
  return QFrame::eventFilter(watched, event);
}

void AboutScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, background_);
  ProductArtwork::DrawVersionTexts(painter, height(), version_text_, revision_text_);
}

void AboutScreen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QFrame::keyPressEvent(event);
}
