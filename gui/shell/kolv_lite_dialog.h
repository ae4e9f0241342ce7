// The program's modal question and message dialog. It shows an InputRequest and writes the
// answer back into it before exec() returns: 1 first button (OK), 2 second button (CANCEL), 0
// closed without an answer.
#pragma once

#include <memory>

#include <QButtonGroup>
#include <QDialog>
#include <QPoint>

#include "morva_service/input_request.h"

class QEvent;
class QMouseEvent;
class QResizeEvent;
class QShowEvent;
class QWidget;

// A label field whose text is the program's own markup: this dialog draws it as rich text with its
// links open. The engine never makes one: its label fields are shown as plain text.
class KolvLiteRichTextLabel : public InputFieldLabel {};

namespace Ui {
class KolvLiteDialog;
}

class KolvLiteDialog : public QDialog {
  Q_OBJECT

 public:
  // request must outlive the dialog; neither it nor its fields are freed here.
  explicit KolvLiteDialog(InputRequest* request, QWidget* parent = nullptr);
  ~KolvLiteDialog() override;

  // How long after showing a guarded dialog still refuses keys.
  static constexpr int kKeyGuardMilliseconds = 400;
  // For a question whose answer changes a disk: keys typed before the dialog showed, or within
  // the guard time after, answer nothing (an Enter meant for the screen must not confirm).
  void RefuseKeysTypedAhead() { keys_guarded_ = true; }

 public slots:
  void OnClose();

 private slots:
  void OnAnswer(int id);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWidgets();
  void AddButton(const char* key, int id);

  std::unique_ptr<Ui::KolvLiteDialog> ui_;
  InputRequest* request;
  QButtonGroup button_group;
  bool dragging;
  QPoint drag_offset;
  bool keys_guarded_ = false;
  bool taking_keys_ = true;
};
