#pragma once

#include <QObject>
#include <QVector>

class ClickableLabel;

// Selection rules over clickable labels: single selection that a second click clears (mode 0),
// single selection that a second click keeps (mode 1), or independent labels (mode 2). A group
// may adopt the labels of other groups, one level deep; an adopted group stops reacting itself.
class ClickableLabelGroup : public QObject {
  Q_OBJECT

 public:
  enum Mode { kSingleClearable = 0, kSingleSticky = 1, kIndependent = 2 };

  explicit ClickableLabelGroup(int mode);
  ~ClickableLabelGroup() override;

  // Returns the entry id of the label.
  int AddLabel(ClickableLabel* label);
  // Adopts every label of sub under the given tag; returns the number of the adopted group.
  int AddGroup(ClickableLabelGroup* sub, int tag);

  int count() const { return labels_.size(); }
  ClickableLabel* label(int index) const;
  int mode() const { return mode_; }
  bool is_active() const { return active_; }
  int checked_index() const { return checked_index_; }

  // Entry id of the selected label, -1 for none; with into_sub_group, the id of the selection
  // inside the sub-group the selected label came from.
  int checked_id(bool into_sub_group) const;
  // Tag of the sub-group of the selected label, -1 for a direct label or no selection.
  int checked_group() const;

  // Sets the label's look and the selection without signalling.
  void SetChecked(int index, bool checked);
  // Acts as a click on the label at index.
  void SelectLabel(int index);
  // Forgets every label and sub-group; the labels no longer reach this group.
  void Clear();

 public slots:
  void ProcessBehavior(ClickableLabel* clicked);

 signals:
  void GroupStatusChanged();

 private:
  struct Entry {
    int tag = -1;
    int index_in_sub = -1;
    int id = -1;
    ClickableLabelGroup* sub = nullptr;
  };

  void SetEntryChecked(int index, bool checked);

  int mode_;
  QVector<ClickableLabel*> labels_;
  QVector<Entry> entries_;
  int checked_index_ = -1;
  int next_id_ = 0;
  int group_count_ = 0;
  bool active_ = true;
};
