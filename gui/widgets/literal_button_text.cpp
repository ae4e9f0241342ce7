#include "gui/widgets/literal_button_text.h"

#include <QTextDocument>

namespace {

const QChar kFirstStrongIsolate(0x2068);
const QChar kPopDirectionalIsolate(0x2069);

}  // namespace

// An isolate ends at its first unmatched pop, so the text's own isolates must pair up inside
// it: a pop that closes nothing is dropped, an isolate left open is closed at the end. The
// closing pop also ends every embedding and override the text opened. A line end ends every
// mark, so each line is isolated on its own.
QString IsolatedText(const QString& text) {
  QString isolated(kFirstStrongIsolate);
  int open = 0;
  for (const QChar c : text) {
    const QChar::Direction kind = c.direction();
    if (kind == QChar::DirB) {
      isolated += QString(open + 1, kPopDirectionalIsolate) + c + kFirstStrongIsolate;
      open = 0;
      continue;
    }
    if (kind == QChar::DirLRI || kind == QChar::DirRLI || kind == QChar::DirFSI) {
      ++open;
    } else if (c == kPopDirectionalIsolate) {
      if (open == 0) continue;
      --open;
    }
    isolated += c;
  }
  return isolated + QString(open + 1, kPopDirectionalIsolate);
}

QString LiteralButtonText(const QString& text) {
  QString literal = text;
  return literal.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString LiteralToolTip(const QString& text) {
  // A tool tip is rich text exactly when it looks like it, so only such a text is converted.
  if (Qt::mightBeRichText(text)) return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
  return text;
}

QString IsolatedElidedText(const QString& text, const QString& elided) {
  if (elided == text) return IsolatedText(text);
  // A cut keeps a head of the text, a tail or both; the ellipsis is what lies between.
  qsizetype head = 0;
  while (head < elided.size() && head < text.size() && elided[head] == text[head]) ++head;
  qsizetype tail = 0;
  while (tail < elided.size() - head && tail < text.size() - head &&
         elided[elided.size() - 1 - tail] == text[text.size() - 1 - tail]) {
    ++tail;
  }
  QString isolated;
  if (head > 0) isolated += IsolatedText(elided.left(head));
  isolated += elided.mid(head, elided.size() - head - tail);
  if (tail > 0) isolated += IsolatedText(elided.right(tail));
  return isolated;
}
