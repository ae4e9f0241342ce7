#pragma once

#include <QLabel>
#include <QString>

// A focusable label that answers mouse and keyboard clicks and may be checkable. Its text is
// shown as plain text, since callers put names from the engine in it.
class ClickableLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickableLabel(QWidget* parent = nullptr);
  ~ClickableLabel() override;

  void set_checkable(bool checkable);
  bool is_checkable() const { return checkable_; }
  void set_checked(bool checked);
  bool is_checked() const { return checked_; }

  // 1: checked or pressed look; 2: normal look.
  virtual void UpdateStyle(int state);

 signals:
  void Clicked();
  void ClickedOnMe(ClickableLabel* label);
  void Toggled(bool checked);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void EmitClick();

  bool checkable_ = false;
  bool checked_ = false;
};
