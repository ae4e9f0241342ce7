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
class QWidget;

namespace Ui {
class KolvLiteDialog;
}

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
