// A picture kept as straight-alpha RGBA doubles and painted one shape at a time, each pixel
// covered by the share of its supersamples that fall inside the shape. The status icons, the
// breadcrumb and the loading animations are drawn this way rather than with QPainter: plain
// double arithmetic with fixed rounding gives them the same pixels on every build.
#pragma once

#include <array>
#include <functional>
#include <vector>

namespace artwork {

// Channels 0..255 (alpha 255 is opaque); fractions are allowed, for gradients.
using Colour = std::array<double, 4>;
// Channels 0..1.
using Pixel = std::array<double, 4>;
using Inside = std::function<bool(double x, double y)>;
using ColourAt = std::function<Colour(double x, double y)>;

Colour Opaque(double r, double g, double b);

class Canvas {
 public:
  Canvas(int width, int height, const Colour& fill = {0, 0, 0, 0});

  int width() const { return width_; }
  int height() const { return height_; }
  const Pixel& at(int x, int y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }

  // Paints colour wherever inside holds.
  void Shape(const Inside& inside, const Colour& colour);
  // The same with a colour read at each pixel's centre.
  void Shape(const Inside& inside, const ColourAt& colour_at);

  // The pixel as it is stored, 0..255 a channel.
  std::array<int, 4> BytesAt(int x, int y) const;

 private:
  int Hits(const Inside& inside, int px, int py) const;

  int width_;
  int height_;
  std::vector<Pixel> pixels_;
};

}  // namespace artwork
