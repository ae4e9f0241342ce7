// Turns the bytes a terminal sent into the key codes ZerkaConsole::ReadKey reports.
#pragma once

#include <string>

namespace zerka {

// Takes one key off the front of pending and returns its code: 27 for a bare Escape, 13 for
// Enter, 8 for Backspace, the byte itself otherwise. An escape sequence (arrow and function
// keys) is taken whole and gives ZerkaConsole::kNoKey, so it never reads as Escape.
int DecodeKey(std::string& pending);

}  // namespace zerka
