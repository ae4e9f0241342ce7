#include "resources/kolv_lite/artwork/png_writer.h"

#include <QtEndian>
#include <array>
#include <cstdint>

namespace artwork {
namespace {

std::uint32_t Crc32(const QByteArray& bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char b : bytes) crc = table[(crc ^ static_cast<std::uint8_t>(b)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void AppendBigEndian(QByteArray& out, std::uint32_t value) {
  char bytes[4];
  qToBigEndian(value, bytes);
  out.append(bytes, 4);
}

void AppendChunk(QByteArray& out, const char* kind, const QByteArray& data) {
  const QByteArray body = QByteArray(kind) + data;
  AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
  out.append(body);
  AppendBigEndian(out, Crc32(body));
}

}  // namespace

QByteArray PngFile(const Canvas& canvas) {
  QByteArray raw;
  for (int y = 0; y < canvas.height(); ++y) {
    raw.append('\0');  // no filter
    for (int x = 0; x < canvas.width(); ++x) {
      for (int channel : canvas.BytesAt(x, y)) raw.append(static_cast<char>(channel));
    }
  }
  QByteArray header;
  AppendBigEndian(header, static_cast<std::uint32_t>(canvas.width()));
  AppendBigEndian(header, static_cast<std::uint32_t>(canvas.height()));
  header.append("\x08\x06\x00\x00\x00", 5);  // 8 bits a channel, RGBA
  // qCompress puts the length of the data before the zlib stream; the file wants the stream.
  const QByteArray compressed = qCompress(raw, 9).mid(4);
  QByteArray out("\x89PNG\r\n\x1a\n", 8);
  AppendChunk(out, "IHDR", header);
  AppendChunk(out, "IDAT", compressed);
  AppendChunk(out, "IEND", QByteArray());
  return out;
}

void SaveCanvas(OutputFolder& folder, const QString& name, const Canvas& canvas) {
  folder.SaveFile(name, PngFile(canvas));
}

}  // namespace artwork
