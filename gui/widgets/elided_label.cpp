#include "gui/widgets/elided_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <utility>

#include "gui/widgets/literal_button_text.h"

ElidedLabel::ElidedLabel(QWidget* parent) : QFrame(parent) {
  QSizePolicy policy = sizePolicy();
  policy.setHeightForWidth(true);
  setSizePolicy(policy);
}

ElidedLabel::ElidedLabel(QString text, QWidget* parent) : QFrame(parent), text_(std::move(text)) {}

void ElidedLabel::set_text(const QString& text) {
  text_ = text;
  updateGeometry();
  update();
}

bool ElidedLabel::hasHeightForWidth() const { return sizePolicy().hasHeightForWidth(); }

void ElidedLabel::SetUpLayout(QTextLayout& layout, const QFont& font) const {
  QTextOption option;
  switch (wrap_mode_) {
    case NoWrap:
      option.setWrapMode(QTextOption::NoWrap);
      break;
    case WrapAtWordBoundaryOrAnywhere:
      option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
      break;
    case WordWrap:
    default:
      option.setWrapMode(QTextOption::WordWrap);
      break;
  }
  layout.setFont(font);
  layout.setTextOption(option);
}

ElidedLabel::LineLayout ElidedLabel::Plan(const QFont& font, int line_width,
                                          int available_height) const {
  LineLayout plan;
  if (max_lines_ < 1) return plan;
  const int spacing = QFontMetrics(font).lineSpacing();
  QTextLayout layout(text_);
  SetUpLayout(layout, font);
  layout.beginLayout();
  int used = 0;
  while (true) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(std::max(line_width, 0));
    ++plan.lines;
    used += spacing;
    const bool room_for_next = available_height < 0 || available_height >= used + spacing;
    if (plan.lines >= max_lines_ || !room_for_next) {
      plan.last_elided = true;
      break;
    }
  }
  layout.endLayout();
  return plan;
}

int ElidedLabel::heightForWidth(int width) const {
  // Measured the way paintEvent draws: inside the margins.
  const QMargins margins = contentsMargins();
  const LineLayout plan = Plan(font(), width - margins.left() - margins.right(), -1);
  const int lines = std::max(plan.lines, max_lines_ < 1 ? 0 : 1);
  return QFontMetrics(font()).lineSpacing() * lines + margins.top() + margins.bottom();
}

QSize ElidedLabel::sizeHint() const {
  const QMargins margins = contentsMargins();
  const int width =
      QFontMetrics(font()).horizontalAdvance(text_) + margins.left() + margins.right() + 1;
  return QSize(width, heightForWidth(width));
}

QSize ElidedLabel::minimumSizeHint() const {
  const QMargins margins = contentsMargins();
  const int height = QFontMetrics(font()).lineSpacing() + margins.top() + margins.bottom();
  return QSize(margins.left() + margins.right(), max_lines_ < 1 ? 0 : height);
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (max_lines_ < 1) return;
  QPainter painter(this);
  const QFont font = painter.font();
  const QFontMetrics metrics(font);
  const QRect contents = contentsRect();
  const int spacing = metrics.lineSpacing();
  const int line_width = contents.width();
  const LineLayout plan = Plan(font, line_width, contents.height());

  int top = contents.top();
  if (alignment_ == AlignVCenter) top += (contents.height() - plan.lines * spacing) / 2;

  QTextLayout layout(text_);
  SetUpLayout(layout, font);
  layout.beginLayout();
  bool now_elided = false;
  for (int n = 1; n <= plan.lines; ++n) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(std::max(line_width, 0));
    const int y = top + (n - 1) * spacing;
    if (n == plan.lines && plan.last_elided) {
      const QString rest = text_.mid(line.textStart());
      const QString shown = metrics.elidedText(rest, elide_mode_, line_width);
      now_elided = shown != rest;
      // Drawn through the style, as labels draw their text; isolated, as the text may come
      // from the engine.
      const bool centred = n == 1 && alignment_ == AlignSingleLineHCenter;
      style()->drawItemText(&painter, QRect(contents.left(), y, line_width, metrics.height()),
                            (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop,
                            palette(), isEnabled(), IsolatedElidedText(rest, shown));
      break;
    }
    line.draw(&painter, QPoint(contents.left(), y));
  }
  layout.endLayout();

  if (now_elided != elided_) {
    elided_ = now_elided;
    emit ElisionChanged(elided_);
  }
}
