// The program's modal question and message dialogs. KolvLiteDialog shows an InputRequest and
// writes the answer back into it before exec() returns: 1 first button (OK), 2 second button
// (CANCEL), 0 closed without an answer.
#pragma once

#include <memory>

#include <QButtonGroup>
#include <QDialog>
#include <QPoint>
#include <QString>

#include "morva_service/input_request.h"

class QEvent;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPushButton;
class QResizeEvent;
class QShowEvent;
class QWidget;

namespace Ui {
class KolvLiteDialog;
}

typedef int InputButtonsId;

// A label field whose text is the program's own markup, drawn as rich text with its links
// open. The engine never makes one: its label fields are shown as plain text.
class KolvLiteRichTextLabel : public InputFieldLabel {};

class KolvLiteDialog : public QDialog {
  Q_OBJECT

 public:
  // request must outlive the dialog; neither it nor its fields are freed here.
  explicit KolvLiteDialog(InputRequest* request, QWidget* parent = nullptr);
  ~KolvLiteDialog() override;

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

 private:
  void BuildWidgets();
  void AddButton(const char* key, int id);

  std::unique_ptr<Ui::KolvLiteDialog> ui_;
  InputRequest* request;
  QButtonGroup button_group;
  bool dragging;
  QPoint drag_offset;
};

// Asks for the file name of a log; exported for plug-ins.
class KolvLiteBootableDialog : public QDialog {
  Q_OBJECT

 public:
  explicit KolvLiteBootableDialog(QWidget* parent = nullptr,
                                  QString log_name = QStringLiteral("kolv_lite_log.html"));
  ~KolvLiteBootableDialog() override;

  QString getText();
  // 1 when OK was pressed, else 0.
  InputButtonsId getResult();

 private slots:
  void OnAnswer(int id);
  void OnClose();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Not "result": that would hide QDialog::result().
  InputButtonsId result_;
  QWidget* header_widget;
  QLabel* header_icon_label;
  QLabel* header_label;
  QPushButton* close_pushButton;
  QWidget* content_widget;
  QLabel* logNameLabel;
  QLineEdit* logNameField;
  QLabel* descriptionLabel;
  QWidget* buttons_widget;
  bool dragging;
  QPoint drag_offset;
  QButtonGroup button_group;
};
