// Shown for the first seconds of a run; a click does not close it, its timer does.
#pragma once

#include <QImage>
#include <QSplashScreen>
#include <QString>

class SplashScreen : public QSplashScreen {
  Q_OBJECT

 public:
  explicit SplashScreen(QWidget* parent = nullptr);
  ~SplashScreen() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void drawContents(QPainter* painter) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString version_text_;
  QString revision_text_;
  QImage background_;
};
