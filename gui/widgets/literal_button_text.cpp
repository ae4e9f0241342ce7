#include "gui/widgets/literal_button_text.h"

#include <QTextDocument>

QString LiteralButtonText(const QString& text) {
  QString literal = text;
  return literal.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString LiteralToolTip(const QString& text) {
  // A tool tip is rich text exactly when it looks like it, so only such a text is converted.
  if (Qt::mightBeRichText(text)) return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
  return text;
}
