#pragma once

#include <QString>

// A text from the engine (a device, diagnostic or test name) as a button or check box shows it
// written: its "&" stays a character instead of marking a keyboard mnemonic.
QString LiteralButtonText(const QString& text);
