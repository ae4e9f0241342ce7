#include "platform/zerka/src/terminal.h"

#include "zerka/zerka_console.h"

namespace zerka {

int DecodeKey(std::string& pending) {
  if (pending.empty()) return ZerkaConsole::kNoKey;
  unsigned char first = static_cast<unsigned char>(pending[0]);
  if (first != ZerkaConsole::kEscape) {
    pending.erase(0, 1);
    if (first == '\n') return 13;
    if (first == 127) return 8;
    return first;
  }
  if (pending.size() == 1 || pending[1] == '\x1b') {
    pending.erase(0, 1);
    return ZerkaConsole::kEscape;
  }
  std::string::size_type end = 2;
  if (pending[1] == '[') {
    // Control sequence: parameter and intermediate bytes up to one final byte.
    while (end < pending.size()) {
      unsigned char c = static_cast<unsigned char>(pending[end++]);
      if (c >= 0x40 && c <= 0x7e) break;
    }
  } else if (pending[1] == 'O') {
    end = pending.size() > 2 ? 3 : 2;
  }
  pending.erase(0, end);
  return ZerkaConsole::kNoKey;
}

}  // namespace zerka
