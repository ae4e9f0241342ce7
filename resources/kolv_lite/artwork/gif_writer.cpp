#include "resources/kolv_lite/artwork/gif_writer.h"

#include <initializer_list>

#include "resources/kolv_lite/artwork/gif_palette.h"

namespace artwork {
namespace {

constexpr int kClearCode = 256;
constexpr int kEndCode = 257;
// A clear code this often keeps every code 9 bits wide, so no dictionary is needed.
constexpr int kValuesPerClear = 250;

void AppendWord(QByteArray& out, int value) {
  out.append(static_cast<char>(value & 0xFF));
  out.append(static_cast<char>((value >> 8) & 0xFF));
}

void AppendBytes(QByteArray& out, std::initializer_list<int> bytes) {
  for (int b : bytes) out.append(static_cast<char>(b));
}

QByteArray LzwBlocks(const std::vector<int>& indices) {
  std::vector<int> codes;
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i % kValuesPerClear == 0) codes.push_back(kClearCode);
    codes.push_back(indices[i]);
  }
  codes.push_back(kEndCode);
  QByteArray data;
  unsigned bits = 0;
  int count = 0;
  for (int code : codes) {
    bits |= static_cast<unsigned>(code) << count;
    count += 9;
    for (; count >= 8; count -= 8, bits >>= 8) data.append(static_cast<char>(bits & 0xFF));
  }
  if (count > 0) data.append(static_cast<char>(bits & 0xFF));
  QByteArray out;
  for (qsizetype start = 0; start < data.size(); start += 255) {
    const QByteArray block = data.mid(start, 255);
    out.append(static_cast<char>(block.size()));
    out.append(block);
  }
  out.append('\0');
  return out;
}

}  // namespace

QByteArray AnimatedGif(const std::vector<Canvas>& frames, int delay_cs) {
  const int width = frames.front().width();
  const int height = frames.front().height();
  GifPalette palette;
  std::vector<std::vector<int>> frame_indices;
  for (const Canvas& frame : frames) {
    std::vector<int> indices;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) indices.push_back(palette.IndexOf(frame.at(x, y)));
    }
    frame_indices.push_back(std::move(indices));
  }
  QByteArray out("GIF89a");
  AppendWord(out, width);
  AppendWord(out, height);
  AppendBytes(out, {0xF7, 0, 0});  // a global palette of 256 colours
  palette.AppendTo(out);
  AppendBytes(out, {0x21, 0xFF, 0x0B});
  out.append("NETSCAPE2.0");
  AppendBytes(out, {0x03, 0x01, 0, 0, 0});  // loop for ever
  for (const std::vector<int>& indices : frame_indices) {
    AppendBytes(out, {0x21, 0xF9, 0x04, 0x09});  // restore to background, index 0 is clear
    AppendWord(out, delay_cs);
    AppendBytes(out, {0, 0, 0x2C});
    for (int v : {0, 0, width, height}) AppendWord(out, v);
    AppendBytes(out, {0, 0x08});
    out.append(LzwBlocks(indices));
  }
  out.append('\x3B');
  return out;
}

}  // namespace artwork
