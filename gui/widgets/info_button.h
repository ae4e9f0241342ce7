#pragma once

#include <QPushButton>

// A push button that reports hover and keyboard focus alike, so an information pop-up can follow
// either.
class InfoButton : public QPushButton {
  Q_OBJECT

 public:
  explicit InfoButton(QWidget* parent = nullptr);
  ~InfoButton() override;

 signals:
  void MouseEnter(QWidget* widget);
  void MouseLeave();
  void Clicked(QWidget* widget);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private slots:
  void HandleClick();
};
