#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class OverlayForm;
}  // namespace Ui

// A veil over the whole window holding one central widget; a click on the veil outside that
// widget is reported so the owner can close it.
class OverlayForm : public QWidget {
  Q_OBJECT

 public:
  explicit OverlayForm(QWidget* parent = nullptr);
  ~OverlayForm() override;

  // Takes the previous central widget out without deleting it (it loses its parent).
  void SetCentralWidget(QWidget* widget);
  QWidget* central_widget() const { return central_widget_; }

 signals:
  void Clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool IsOnCentralWidget(const QPoint& pos) const;

  std::unique_ptr<Ui::OverlayForm> form_;
  bool pressed_ = false;
  QWidget* central_widget_ = nullptr;
};
