#include "gui/widgets/literal_button_text.h"

QString LiteralButtonText(const QString& text) {
  QString literal = text;
  return literal.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
