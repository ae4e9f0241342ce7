// The one palette of an animated GIF.
#pragma once

#include <QByteArray>
#include <array>
#include <map>
#include <vector>

#include "resources/kolv_lite/artwork/canvas.h"

namespace artwork {

// Index 0 is the clear colour; the others come in the order the frames first use them, and once
// all 256 are taken a new colour gets the nearest one taken.
class GifPalette {
 public:
  static constexpr int kSize = 256;

  GifPalette();

  int IndexOf(const Pixel& pixel);
  void AppendTo(QByteArray& out) const;

 private:
  using Rgb = std::array<int, 3>;

  static Rgb OnWhite(const Pixel& pixel);
  int Nearest(const Rgb& colour) const;

  std::vector<Rgb> colours_;
  std::map<Rgb, int> index_of_;
};

}  // namespace artwork
