// The about box: the product artwork with the version, modal for the whole program, draggable
// anywhere, closed by its close button or Escape. Closing only hides it.
#pragma once

#include <QFrame>
#include <QImage>
#include <QString>

class GripHandler;
class QPushButton;
class QTextEdit;

class AboutScreen : public QFrame {
  Q_OBJECT

 public:
  explicit AboutScreen(QWidget* parent = nullptr);
  ~AboutScreen() override;

  // Scrolls the text to its top, as each opening shows it.
  void ScrollTextToTop();
  QTextEdit* text_edit() const { return text_edit_; }

  bool eventFilter(QObject* watched, QEvent* event) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildForm();

  GripHandler* move_grip_;
  QPushButton* close_button_;
  QTextEdit* text_edit_;
  QString version_text_;
  QString revision_text_;
  QImage background_;
};
