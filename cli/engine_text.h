// Text that comes from the engine (names, values, messages) on its way to a console or an output
// file. The engine's catalogue is not ours: a control in it must never move the cursor, erase a
// line, retitle the window, ring or reorder the line, so it is shown instead.
#pragma once

#include <string>

// Control bytes as visible text: C0 but tab and line end ("\n", "\r\n") and DEL as "\x1b", C1
// characters as "\u009b" (a lone byte of that range, no part of a UTF-8 character, as "\x9b"),
// and the bidirectional controls, which would make one name read as another, as "\u202e".
// Everything else, bytes of a local code page that form no UTF-8 as well, is left as the engine
// gave it. The escapes survive the display-key rules.
std::string EngineText(const std::string& text);
