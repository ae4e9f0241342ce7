#pragma once

#include <QString>

// A text from the engine (a device, diagnostic or test name) as a button or check box shows it
// written: its "&" stays a character instead of marking a keyboard mnemonic.
QString LiteralButtonText(const QString& text);

// A text from the engine as a tool tip shows it written: what looks like markup stays characters
// instead of becoming a heading or a link.
QString LiteralToolTip(const QString& text);
