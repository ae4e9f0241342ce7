// Asks for the file name of a log; exported for plug-ins.
#pragma once

#include <memory>

#include <QButtonGroup>
#include <QDialog>
#include <QPoint>
#include <QString>

namespace Ui {
class KolvLiteBootableDialog;
}

typedef int InputButtonsId;

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
  void AddButtons();

  // Not "result": that would hide QDialog::result().
  InputButtonsId result_;
  std::unique_ptr<Ui::KolvLiteBootableDialog> ui_;
  bool dragging;
  QPoint drag_offset;
  QButtonGroup button_group;
};
