// The about box: the product artwork with the version, modal for the whole program, draggable
// anywhere, closed by its close button or Escape. Closing only hides it.
#pragma once

#include <memory>

#include <QFrame>
#include <QImage>
#include <QString>

class GripHandler;
class QTextEdit;

namespace Ui {
class AboutScreen;
}

class AboutScreen : public QFrame {
  Q_OBJECT

 public:
  explicit AboutScreen(QWidget* parent = nullptr);
  ~AboutScreen() override;

  // Scrolls the text to its top, as each opening shows it.
  void ScrollTextToTop();
  QTextEdit* text_edit() const;

  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  GripHandler* move_grip_;
  std::unique_ptr<Ui::AboutScreen> ui_;
  QString version_text_;
  QString revision_text_;
  QImage background_;
};
