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

// A clickable label styled as a link: black, green on hover and focus, darker green when checked.
class LinkLabel : public ClickableLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(QWidget* parent = nullptr);

  void UpdateStyle(int state) override;
  // Shows the text, cut with "..." when it is 201 px or wider in the label's font; the full text
  // then goes to the tool tip.
  void SetElidedText(QString text);

 private:
  QString base_style_;
  QString normal_style_;
  QString checked_style_;
};
