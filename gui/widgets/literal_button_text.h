#pragma once

#include <QString>

// A text from the engine (a device, diagnostic or test name) as a button or check box shows it
// written: its "&" stays a character instead of marking a keyboard mnemonic.
QString LiteralButtonText(const QString& text);

// A text from the engine as a tool tip shows it written: what looks like markup stays characters
// instead of becoming a heading or a link.
QString LiteralToolTip(const QString& text);

// A text from the engine as drawn beside other text: a direction control in it reorders the
// text itself only, and one it leaves open ends with it.
QString IsolatedText(const QString& text);
// The same for `elided`, a cut of `text`: the ellipsis stays outside, where the cut is.
QString IsolatedElidedText(const QString& text, const QString& elided);
