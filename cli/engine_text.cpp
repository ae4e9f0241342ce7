#include "cli/engine_text.h"

namespace {

const char kHex[] = "0123456789abcdef";

void AppendEscape(std::string& out, const char* prefix, unsigned value, int digits) {
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

// Bytes of the well-formed UTF-8 character that starts at text[at] (0: none starts there). An
// overlong form is none: a lenient terminal could read it as the control it spells.
size_t Utf8Length(const std::string& text, size_t at) {
  const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || at + length > text.size()) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (size_t i = 2; i < length; ++i)
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  return length;
}

unsigned CodePoint(const std::string& text, size_t at, size_t length) {
  static const unsigned kLeadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
  unsigned value = static_cast<unsigned char>(text[at]) & kLeadBits[length];
  for (size_t i = 1; i < length; ++i)
    value = (value << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
  return value;
}

// C1 controls, and the bidirectional controls that reorder what follows them on the line.
bool ShownAsEscape(unsigned c) {
  return (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
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
      const unsigned code_point = CodePoint(text, at, length);
      if (ShownAsEscape(code_point))
        AppendEscape(out, "\\u", code_point, 4);
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
