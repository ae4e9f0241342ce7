#include "cli/engine_text.h"

namespace {

const char kHex[] = "0123456789abcdef";

void AppendEscape(std::string& out, const char* prefix, unsigned value, int digits) {
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

// Bytes of the UTF-8 character that starts at text[at] (0: no valid character starts there).
size_t Utf8Length(const std::string& text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i)
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

std::string EngineText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c == '\t' || c == '\n' || (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      AppendEscape(out, "\\x", c, 2);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const size_t length = Utf8Length(text, at)) {
      const auto second = static_cast<unsigned char>(text[at + 1]);
      if (c == 0xC2 && second <= 0x9F)
        AppendEscape(out, "\\u", second, 4);
      else
        out.append(text, at, length);
      at += length - 1;
    } else if (c <= 0x9F) {
      AppendEscape(out, "\\x", c, 2);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}
