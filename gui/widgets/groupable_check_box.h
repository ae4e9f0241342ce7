#pragma once

#include <QCheckBox>
#include <QFont>
#include <QList>
#include <QString>

// A check box that may stand for other check boxes: it shows Checked when all of them are,
// PartiallyChecked when some are, and checks or unchecks all of them when the user clicks it.
// It does not own its children.
class GroupableCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  explicit GroupableCheckBox(QWidget* parent = nullptr);
  GroupableCheckBox(const QString& text, QWidget* parent = nullptr);
  ~GroupableCheckBox() override;

  bool AddChild(GroupableCheckBox* child);
  bool RemoveChild(GroupableCheckBox* child);
  void RemoveAll();
  bool HasChildren() const { return !children_.isEmpty(); }
  QList<GroupableCheckBox*> Children() const { return children_; }
  // Takes the state that the children give (Checked when there are none).
  void UpdateCheckState();
  // The text as the last paint or resize fitted it to the width.
  const QString& elided_text() const { return elided_text_; }

 signals:
  void HasAtLeastOneChecked(bool checked);
  void MouseEnter(QWidget* widget);
  void MouseLeave();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 protected slots:
  void OnChildChanged();
  void OnParentChanged();
  void OnParentClicked();
  void OnStateChanged();

 private:
  bool AllChecked() const;
  bool PartiallyChecked() const;
  Qt::CheckState StateFromChildren() const;
  // Fits the text to the width, again only when the text, the room or the font has changed since.
  void UpdateElidedText();

  QList<GroupableCheckBox*> children_;
  QString elided_text_;
  // The text as drawn: an engine name in it isolated, so that its direction controls reorder
  // nothing around it.
  QString shown_text_;
  // What the texts above were fitted from.
  QString fitted_text_;
  int fitted_room_ = -1;
  QFont fitted_font_;
  // The tool tip the box gave itself, naming its text whole.
  QString name_tool_tip_;
  // While set, our own state change does not push down to the children.
  bool parent_change_cut_ = false;
  // While set, the children's state changes do not pull our state.
  bool child_change_cut_ = false;
};
