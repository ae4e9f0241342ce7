#include "gui/shell/about_screen.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

#include "gui/shell/product_artwork.h"
#include "gui/shell/grip_handler.h"
#include "ui_about_screen.h"

AboutScreen::AboutScreen(QWidget* parent)
    : QFrame(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::CustomizeWindowHint),
      move_grip_(new GripHandler(GripHandler::kMove, nullptr)),
      ui_(std::make_unique<Ui::AboutScreen>()) {
  ui_->setupUi(this);
  background_ = QImage(QLatin1String(ProductArtwork::kBackgroundImage));
  setAttribute(Qt::WA_TranslucentBackground);
  setWindowModality(Qt::ApplicationModal);
  ProductArtwork::ApplyMask(this);
  installEventFilter(move_grip_);
  version_text_ = ProductArtwork::VersionText();
  revision_text_ = ProductArtwork::RevisionText();
  connect(ui_->close_pushButton, &QPushButton::clicked, this, &QWidget::close);
  ui_->textEdit->viewport()->installEventFilter(this);
  ui_->textEdit->viewport()->setCursor(Qt::ArrowCursor);
  ui_->textEdit->clear();
}

AboutScreen::~AboutScreen() { delete move_grip_; }

QTextEdit* AboutScreen::text_edit() const { return ui_->textEdit; }

void AboutScreen::ScrollTextToTop() {
  ui_->textEdit->verticalScrollBar()->setValue(ui_->textEdit->verticalScrollBar()->minimum());
}

bool AboutScreen::eventFilter(QObject* watched, QEvent* event) {
  // No selecting or dragging in the text: the box is moved by dragging anywhere else.
  if (watched == ui_->textEdit->viewport() &&
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
