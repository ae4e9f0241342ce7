#pragma once

#include <QFrame>
#include <QPointer>
#include <memory>

class QKeyEvent;
class QMouseEvent;
class QPushButton;

namespace Ui {
class ButtonFrame;
}  // namespace Ui

// The clickable header of an accordion section: its content (a title or a check box) and an
// extra button at its right end.
class ButtonFrame : public QFrame {
  Q_OBJECT

 public:
  explicit ButtonFrame(QWidget* parent = nullptr);
  ~ButtonFrame() override;

  void SetWidget(QWidget* widget);
  void SetButtonHidden(bool hidden);
  QPushButton* button() const;
  QWidget* widget() const { return widget_; }

 signals:
  void Clicked();

 public slots:
  void BypassClickSignal();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  std::unique_ptr<Ui::ButtonFrame> form_;
  // The owner may delete the content before handing over the next one.
  QPointer<QWidget> widget_;
};
