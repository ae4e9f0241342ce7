// The terminal the console objects hold, as the rest of the library (and its tests) sees it: the
// keys its bytes make, and its guard against a default termination signal.
#pragma once

#include <string>

namespace zerka {

// Takes one key off the front of pending and returns its code: 27 for a bare Escape, 13 for
// Enter, 8 for Backspace, the byte itself otherwise. An escape sequence (arrow and function
// keys) is taken whole and gives ZerkaConsole::kNoKey, so it never reads as Escape.
int DecodeKey(std::string& pending);

// While a console holds the terminal, a termination signal whose handling is the default again
// restores the terminal before it ends the process. Called when the interrupt handler gives the
// signals back.
void GuardTerminalOnDefaultSignals();

}  // namespace zerka
