#include "gui/widgets/link_label.h"

#include <QFontMetrics>

#include "gui/widgets/literal_button_text.h"

namespace {

constexpr int kElideThreshold = 201;
constexpr int kElidedWidth = 188;

// The longest start of the text no wider than the limit. A start grows no narrower as it grows,
// so the length is searched for, not found by dropping one character at a time: measuring costs
// the length measured, and the lengths tried stay within twice the answer.
QString LongestFittingPrefix(const QFontMetrics& metrics, const QString& text, int limit) {
  const auto fits = [&](qsizetype length) {
    return metrics.boundingRect(text.left(length)).width() <= limit;
  };
  qsizetype fitting = 0;  // the empty start always counts as fitting
  qsizetype too_long = 1;
  while (too_long <= text.size() && fits(too_long)) {
    fitting = too_long;
    too_long *= 2;
  }
  if (too_long > text.size()) {
    if (fits(text.size())) return text;
    too_long = text.size();
  }
  while (too_long - fitting > 1) {
    const qsizetype middle = fitting + (too_long - fitting) / 2;
    if (fits(middle)) {
      fitting = middle;
    } else {
      too_long = middle;
    }
  }
  return text.left(fitting);
}

}  // namespace

LinkLabel::LinkLabel(QWidget* parent) : ClickableLabel(parent) {
  setText("Untitled");
  base_style_ = ".LinkLabel{font: 12 \"Segoe UI\";}\n";
  normal_style_ = QString(".LinkLabel:enabled{color: rgb(0, 0, 0);}\n") +
                  ".LinkLabel:hover{color: rgb(0,120,0);}\n" +
                  ".LinkLabel:focus{color: rgb(0,120,0);}\n";
  checked_style_ = QString(".LinkLabel:enabled{color: rgb(88, 157, 14);}\n") +
                   ".LinkLabel:hover{color: rgb(88,157,14);}" +
                   ".LinkLabel:focus{color: rgb(88,157,14);}";
  setStyleSheet(base_style_ + normal_style_);
  setGeometry(0, 0, 200, 10);
  setFocusPolicy(Qt::StrongFocus);
}

void LinkLabel::UpdateStyle(int state) {
  // Whatever lies between our base and state parts, or a whole sheet the owner set in place of
  // ours, is the owner's (a font, say) and must survive every change of state.
  QString owner = styleSheet();
  if (owner.startsWith(base_style_)) {
    for (const QString* ours : {&normal_style_, &checked_style_}) {
      if (owner.endsWith(*ours)) {
        owner = owner.mid(base_style_.size(), owner.size() - base_style_.size() - ours->size());
        break;
      }
    }
  }
  if (!owner.isEmpty() && !owner.endsWith(QLatin1Char('\n'))) owner += QLatin1Char('\n');
  setStyleSheet(base_style_ + owner + (state == 1 ? checked_style_ : normal_style_));
}

void LinkLabel::SetElidedText(QString text) {
  // The style sheet sets the font, so measure only once it has been applied.
  ensurePolished();
  const QFontMetrics metrics(font());
  if (metrics.boundingRect(text).width() < kElideThreshold) {
    // A short text is shown whole; a tool tip left from a longer one would be wrong.
    setToolTip(QString());
    setText(text);
    return;
  }
  setToolTip(LiteralToolTip(text));
  const int limit = kElidedWidth - 3 * metrics.boundingRect(QStringLiteral(".")).width();
  setText(LongestFittingPrefix(metrics, text, limit) + "...");
}
