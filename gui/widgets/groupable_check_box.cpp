#include "gui/widgets/groupable_check_box.h"

#include <QResizeEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "gui/widgets/literal_button_text.h"

namespace {

// Runs a change with a flag raised, restoring its previous value afterwards.
template <typename Change>
void WithFlag(bool& flag, Change change) {
  const bool before = flag;
  flag = true;
  change();
  flag = before;
}

// The gap the style leaves between a button's icon and its text.
constexpr int kIconTextGap = 4;

// A button label as it is drawn: "&&" is one "&", a lone "&" only marks the next letter.
QString DrawnText(const QString& label) {
  QString drawn;
  drawn.reserve(label.size());
  for (qsizetype i = 0; i < label.size(); ++i) {
    if (label[i] == QLatin1Char('&') && ++i == label.size()) break;
    drawn += label[i];
  }
  return drawn;
}

}  // namespace

GroupableCheckBox::GroupableCheckBox(QWidget* parent) : QCheckBox(parent) {
  setStyleSheet("font: 8pt Segoe UI;font-weight: bold");
}

GroupableCheckBox::GroupableCheckBox(const QString& text, QWidget* parent)
    : GroupableCheckBox(parent) {
  setText(text);
}

GroupableCheckBox::~GroupableCheckBox() = default;

bool GroupableCheckBox::AddChild(GroupableCheckBox* child) {
  if (child == nullptr || child == this || children_.contains(child)) return false;
  if (children_.isEmpty()) {
    connect(this, &QCheckBox::clicked, this, &GroupableCheckBox::OnParentClicked,
            Qt::UniqueConnection);
    connect(this, &QCheckBox::clicked, this, &GroupableCheckBox::OnParentChanged,
            Qt::UniqueConnection);
    connect(this, &QCheckBox::stateChanged, this, &GroupableCheckBox::OnParentChanged,
            Qt::UniqueConnection);
    connect(this, &QCheckBox::stateChanged, this, &GroupableCheckBox::OnStateChanged,
            Qt::UniqueConnection);
  }
  children_.append(child);
  connect(child, &QCheckBox::stateChanged, this, &GroupableCheckBox::OnChildChanged,
          Qt::UniqueConnection);
  UpdateCheckState();
  return true;
}

bool GroupableCheckBox::RemoveChild(GroupableCheckBox* child) {
  const bool removed = children_.removeAll(child) > 0;
  if (removed) {
    disconnect(child, &QCheckBox::stateChanged, this, &GroupableCheckBox::OnChildChanged);
  }
  UpdateCheckState();
  return removed;
}

void GroupableCheckBox::RemoveAll() {
  for (GroupableCheckBox* child : std::as_const(children_)) {
    disconnect(child, &QCheckBox::stateChanged, this, &GroupableCheckBox::OnChildChanged);
  }
  children_.clear();
  UpdateCheckState();
}

Qt::CheckState GroupableCheckBox::StateFromChildren() const {
  bool all = true;
  bool some = false;
  for (const GroupableCheckBox* child : children_) {
    const Qt::CheckState state = child->checkState();
    if (state != Qt::Checked) all = false;
    if (state != Qt::Unchecked) some = true;
  }
  if (all) return Qt::Checked;
  return some ? Qt::PartiallyChecked : Qt::Unchecked;
}

void GroupableCheckBox::UpdateCheckState() {
  const bool was_blocked = blockSignals(true);
  setCheckState(StateFromChildren());
  blockSignals(was_blocked);
  update();
}

void GroupableCheckBox::OnChildChanged() {
  if (child_change_cut_) return;
  WithFlag(parent_change_cut_, [this] { setCheckState(StateFromChildren()); });
}

void GroupableCheckBox::OnParentChanged() {
  if (parent_change_cut_) return;
  const bool check = checkState() != Qt::Unchecked;
  WithFlag(child_change_cut_, [this, check] {
    for (GroupableCheckBox* child : std::as_const(children_)) {
      child->setChecked(check);
      child->update();
    }
  });
}

void GroupableCheckBox::OnParentClicked() {
  // A user click on a tri-state box passes through PartiallyChecked; go on to Checked so that
  // clicks alternate between all children checked and all unchecked.
  if (checkState() == Qt::PartiallyChecked) {
    WithFlag(parent_change_cut_, [this] { setCheckState(Qt::Checked); });
  }
}

void GroupableCheckBox::OnStateChanged() { emit HasAtLeastOneChecked(PartiallyChecked()); }

bool GroupableCheckBox::AllChecked() const { return checkState() == Qt::Checked; }

bool GroupableCheckBox::PartiallyChecked() const { return checkState() != Qt::Unchecked; }

void GroupableCheckBox::UpdateElidedText() {
  QStyleOptionButton option;
  initStyleOption(&option);
  // The room the style draws the label in, less the icon it puts before the text.
  int room = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this).width();
  if (!option.icon.isNull()) room -= option.iconSize.width() + kIconTextGap;
  // As on the execution screen's rows, the whole name is in the tool tip, unless the box has
  // a tool tip of its own.
  const bool named = toolTip().isEmpty() || toolTip() == name_tool_tip_;
  if (text() != fitted_text_ || room != fitted_room_ || font() != fitted_font_) {
    fitted_text_ = text();
    fitted_room_ = room;
    fitted_font_ = font();
    // Measured as drawn, so a name that fits its size hint is never cut. A cut one is written
    // out literally again: no half of a "&&" is left to underline the ellipsis.
    const QString drawn = DrawnText(fitted_text_);
    const QString elided = fontMetrics().elidedText(drawn, Qt::ElideRight, room);
    elided_text_ = elided == drawn ? fitted_text_ : LiteralButtonText(elided);
    shown_text_ = elided == drawn ? IsolatedText(fitted_text_)
                                  : LiteralButtonText(IsolatedElidedText(drawn, elided));
    name_tool_tip_ = LiteralToolTip(drawn);
  }
  if (named && toolTip() != name_tool_tip_) setToolTip(name_tool_tip_);
}

void GroupableCheckBox::resizeEvent(QResizeEvent* event) {
  QCheckBox::resizeEvent(event);
  UpdateElidedText();
}

void GroupableCheckBox::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  // The text may have changed since the last resize.
  UpdateElidedText();
  option.text = shown_text_;
  painter.drawControl(QStyle::CE_CheckBox, option);
}
