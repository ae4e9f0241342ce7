#include "resources/kolv_lite/artwork/canvas.h"

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

constexpr int kSamples = 4;  // per axis

Pixel ToPixel(const Colour& c) { return {c[0] / 255.0, c[1] / 255.0, c[2] / 255.0, c[3] / 255.0}; }

// Source over, on straight alpha.
Pixel Blend(const Pixel& dst, const Pixel& src) {
  const double sa = src[3];
  const double da = dst[3];
  const double out_a = sa + da * (1 - sa);
  if (out_a <= 0) return {0.0, 0.0, 0.0, 0.0};
  Pixel out;
  for (size_t i = 0; i < 3; ++i) out[i] = (src[i] * sa + dst[i] * da * (1 - sa)) / out_a;
  out[3] = out_a;
  return out;
}

// Halves go to the even byte.
int ToByte(double v) { return static_cast<int>(std::nearbyint(std::clamp(v, 0.0, 1.0) * 255)); }

}  // namespace

Colour Opaque(double r, double g, double b) { return {r, g, b, 255}; }

Canvas::Canvas(int width, int height, const Colour& fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), ToPixel(fill)) {}

int Canvas::Hits(const Inside& inside, int px, int py) const {
  int hits = 0;
  for (int sy = 0; sy < kSamples; ++sy) {
    for (int sx = 0; sx < kSamples; ++sx) {
      if (inside(px + (sx + 0.5) / kSamples, py + (sy + 0.5) / kSamples)) ++hits;
    }
  }
  return hits;
}

void Canvas::Shape(const Inside& inside, const Colour& colour) {
  Shape(inside, [&colour](double, double) { return colour; });
}

void Canvas::Shape(const Inside& inside, const ColourAt& colour_at) {
  for (int py = 0; py < height_; ++py) {
    for (int px = 0; px < width_; ++px) {
      const int hits = Hits(inside, px, py);
      if (hits == 0) continue;
      const double cover = static_cast<double>(hits) / (kSamples * kSamples);
      Pixel c = ToPixel(colour_at(px + 0.5, py + 0.5));
      c[3] = c[3] * cover;
      Pixel& pixel = pixels_[static_cast<size_t>(py * width_ + px)];
      pixel = Blend(pixel, c);
    }
  }
}

std::array<int, 4> Canvas::BytesAt(int x, int y) const {
  const Pixel& p = at(x, y);
  return {ToByte(p[0]), ToByte(p[1]), ToByte(p[2]), ToByte(p[3])};
}

}  // namespace artwork
