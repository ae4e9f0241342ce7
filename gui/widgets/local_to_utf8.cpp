#include "gui/widgets/local_to_utf8.h"

#include <cstddef>

namespace {

void AppendLatin1(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
    return;
  }
  out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
  out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at position i, or 0 when it is not one (overlong
// forms, surrogates and code points above U+10FFFF included).
std::size_t SequenceLength(const std::string& text, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = at(i);
  const std::size_t left = text.size() - i;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return left >= 2 && IsContinuation(at(i + 1)) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (left < 3 || !IsContinuation(at(i + 1)) || !IsContinuation(at(i + 2))) return 0;
    if (lead == 0xE0 && at(i + 1) < 0xA0) return 0;
    if (lead == 0xED && at(i + 1) > 0x9F) return 0;
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (left < 4 || !IsContinuation(at(i + 1)) || !IsContinuation(at(i + 2)) ||
        !IsContinuation(at(i + 3))) {
      return 0;
    }
    if (lead == 0xF0 && at(i + 1) < 0x90) return 0;
    if (lead == 0xF4 && at(i + 1) > 0x8F) return 0;
    return 4;
  }
  return 0;
}

}  // namespace

std::string LocalToUtf8(const std::string& local) {
  std::string out;
  out.reserve(local.size());
  std::size_t i = 0;
  while (i < local.size()) {
    const std::size_t length = SequenceLength(local, i);
    if (length == 0) {
      AppendLatin1(out, static_cast<unsigned char>(local[i]));
      ++i;
    } else {
      out.append(local, i, length);
      i += length;
    }
  }
  return out;
}
