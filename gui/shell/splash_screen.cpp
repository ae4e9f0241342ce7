#include "gui/shell/splash_screen.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "gui/shell/product_artwork.h"

SplashScreen::SplashScreen(QWidget* parent) : QSplashScreen(QPixmap()) {
  if (parent != nullptr) setParent(parent);
  setWindowFlags(Qt::FramelessWindowHint);
  setAttribute(Qt::WA_TranslucentBackground);
  background_ = QImage(QLatin1String(ProductArtwork::kBackgroundImage));
  setPixmap(QPixmap::fromImage(background_));
  ProductArtwork::ApplyMask(this);
  version_text_ = ProductArtwork::VersionText();
  revision_text_ = ProductArtwork::RevisionText();
}

SplashScreen::~SplashScreen() = default;

void SplashScreen::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, background_);
  drawContents(&painter);
}

void SplashScreen::drawContents(QPainter* painter) {
  ProductArtwork::DrawVersionTexts(*painter, height(), version_text_, revision_text_);
}

void SplashScreen::mousePressEvent(QMouseEvent* event) {
  // The splash closes by its timer only.
  event->accept();
}
