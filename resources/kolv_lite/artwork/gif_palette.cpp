#include "resources/kolv_lite/artwork/gif_palette.h"

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

int SquaredDistance(const std::array<int, 3>& a, const std::array<int, 3>& b) {
  int sum = 0;
  for (size_t i = 0; i < 3; ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  return sum;
}

}  // namespace

GifPalette::GifPalette() : colours_{Rgb{0, 0, 0}} {}

// Flattened onto white, in steps of 16 (halves to even), so that an animation's shades share
// few entries.
GifPalette::Rgb GifPalette::OnWhite(const Pixel& pixel) {
  Rgb c;
  for (size_t i = 0; i < 3; ++i) {
    const double flat = pixel[i] * pixel[3] + (1 - pixel[3]);
    c[i] = std::min(255, static_cast<int>(std::nearbyint(flat * 255 / 16)) * 16);
  }
  return c;
}

int GifPalette::IndexOf(const Pixel& pixel) {
  if (pixel[3] < 0.05) return 0;
  const Rgb c = OnWhite(pixel);
  const auto found = index_of_.find(c);
  if (found != index_of_.end()) return found->second;
  if (colours_.size() >= kSize) return Nearest(c);
  const int index = static_cast<int>(colours_.size());
  index_of_.emplace(c, index);
  colours_.push_back(c);
  return index;
}

int GifPalette::Nearest(const Rgb& colour) const {
  size_t best = 1;
  for (size_t i = 2; i < colours_.size(); ++i) {
    if (SquaredDistance(colours_[i], colour) < SquaredDistance(colours_[best], colour)) best = i;
  }
  return static_cast<int>(best);
}

void GifPalette::AppendTo(QByteArray& out) const {
  for (size_t i = 0; i < kSize; ++i) {
    const Rgb c = i < colours_.size() ? colours_[i] : Rgb{0, 0, 0};
    for (int channel : c) out.append(static_cast<char>(channel));
  }
}

}  // namespace artwork
