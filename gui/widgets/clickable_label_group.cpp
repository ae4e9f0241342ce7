#include "gui/widgets/clickable_label_group.h"

#include "gui/widgets/clickable_label.h"

ClickableLabelGroup::ClickableLabelGroup(int mode) : QObject(nullptr), mode_(mode) {}

ClickableLabelGroup::~ClickableLabelGroup() = default;

int ClickableLabelGroup::AddLabel(ClickableLabel* label) {
  if (label == nullptr) return -1;
  connect(label, &ClickableLabel::ClickedOnMe, this, &ClickableLabelGroup::ProcessBehavior,
          Qt::UniqueConnection);
  Entry entry;
  entry.id = next_id_++;
  entries_.append(entry);
  labels_.append(label);
  if (mode_ != kIndependent) label->set_checkable(false);
  return entry.id;
}

int ClickableLabelGroup::AddGroup(ClickableLabelGroup* sub, int tag) {
  if (sub == nullptr || sub == this) return -1;
  for (int i = 0; i < sub->labels_.size(); ++i) {
    ClickableLabel* adopted = sub->labels_[i];
    Entry entry;
    entry.tag = tag;
    entry.index_in_sub = i;
    entry.id = next_id_++;
    entry.sub = sub;
    entries_.append(entry);
    adopted->set_checkable(false);
    labels_.append(adopted);
    if (mode_ != kIndependent) {
      connect(adopted, &ClickableLabel::ClickedOnMe, this, &ClickableLabelGroup::ProcessBehavior,
              Qt::UniqueConnection);
    }
  }
  ++group_count_;
  sub->active_ = false;
  return group_count_ - 1;
}

ClickableLabel* ClickableLabelGroup::label(int index) const {
  return index >= 0 && index < labels_.size() ? labels_[index] : nullptr;
}

int ClickableLabelGroup::checked_id(bool into_sub_group) const {
  if (checked_index_ < 0 || checked_index_ >= entries_.size()) return -1;
  const Entry& entry = entries_[checked_index_];
  if (into_sub_group && entry.sub != nullptr) return entry.sub->checked_id(false);
  return entry.id;
}

int ClickableLabelGroup::checked_group() const {
  if (checked_index_ < 0 || checked_index_ >= entries_.size()) return -1;
  return entries_[checked_index_].tag;
}

void ClickableLabelGroup::SetEntryChecked(int index, bool checked) {
  labels_[index]->set_checked(checked);
  const Entry& entry = entries_[index];
  if (entry.sub != nullptr) entry.sub->SetChecked(entry.index_in_sub, checked);
  if (checked) {
    checked_index_ = index;
  } else if (checked_index_ == index) {
    checked_index_ = -1;
  }
}

void ClickableLabelGroup::SetChecked(int index, bool checked) {
  if (index < 0 || index >= labels_.size()) return;
  SetEntryChecked(index, checked);
}

void ClickableLabelGroup::SelectLabel(int index) {
  if (index < 0 || index >= labels_.size()) return;
  ProcessBehavior(labels_[index]);
}

void ClickableLabelGroup::ProcessBehavior(ClickableLabel* clicked) {
  if (!active_ || mode_ == kIndependent) return;
  const int index = labels_.indexOf(clicked);
  if (index < 0) return;
  bool new_state = !clicked->is_checked();
  const int previous = checked_index_;
  if (previous >= 0) SetEntryChecked(previous, false);
  if (previous == index && mode_ == kSingleSticky) new_state = true;
  SetEntryChecked(index, new_state);
  emit GroupStatusChanged();
}

void ClickableLabelGroup::Clear() {
  // Labels added again later must reach this group once, not once per earlier adding.
  for (ClickableLabel* each : std::as_const(labels_)) {
    disconnect(each, &ClickableLabel::ClickedOnMe, this, &ClickableLabelGroup::ProcessBehavior);
  }
  checked_index_ = -1;
  next_id_ = 0;
  group_count_ = 0;
  labels_.clear();
  entries_.clear();
}
