#include <algorithm>
#include <cstdint>
#include <vector>

#include "resources/kolv_lite/artwork/canvas.h"
#include "resources/kolv_lite/artwork/image_families.h"
#include "resources/kolv_lite/artwork/png_writer.h"
#include "resources/kolv_lite/artwork/shapes.h"

namespace artwork {
namespace {

Colour Hex(std::uint32_t rgb, double alpha = 1.0) {
  return {static_cast<double>((rgb >> 16) & 255), static_cast<double>((rgb >> 8) & 255),
          static_cast<double>(rgb & 255), alpha * 255};
}

// From top to bottom over the image's height.
ColourAt Shaded(std::uint32_t top, std::uint32_t bottom, int size) {
  return [t = Hex(top), b = Hex(bottom), size](double, double y) {
    Colour c;
    for (size_t i = 0; i < 4; ++i) c[i] = t[i] + (b[i] - t[i]) * (y / size);
    return c;
  };
}

Canvas RoundBadge(int size, std::uint32_t top, std::uint32_t bottom) {
  Canvas c(size, size);
  const double m = size / 2.0;
  c.Shape(Disc(m, m, m - 0.5), Hex(0x000000, 0.18));
  c.Shape(Disc(m, m - size * 0.02, m - size * 0.06), Shaded(top, bottom, size));
  c.Shape(Disc(m, m - size * 0.22, m * 0.62), [size](double, double y) {
    return Colour{255, 255, 255, 255 * 0.18 * std::max(0.0, 1 - y / (size * 0.5))};
  });
  return c;
}

// The white marks on the badges, for a badge of s pixels and strokes of w.
void OkMark(Canvas& c, double s, double w) {
  c.Shape(Segment(s * .28, s * .52, s * .44, s * .68, w), Hex(0xFFFFFF));
  c.Shape(Segment(s * .44, s * .68, s * .74, s * .34, w), Hex(0xFFFFFF));
}

void ErrorMark(Canvas& c, double s, double w) {
  c.Shape(Segment(s * .32, s * .32, s * .68, s * .68, w), Hex(0xFFFFFF));
  c.Shape(Segment(s * .68, s * .32, s * .32, s * .68, w), Hex(0xFFFFFF));
}

void UnsupportedMark(Canvas& c, double s, double w) {
  c.Shape(
      [s, w](double x, double y) {
        const double d = Square(x - s / 2) + Square(y - s / 2);
        return Square(s * .24) <= d && d <= Square(s * .24 + w * 1.4);
      },
      Hex(0xFFFFFF));
  c.Shape(Segment(s * .34, s * .66, s * .66, s * .34, w * .7), Hex(0xFFFFFF));
}

void AbortedMark(Canvas& c, double s, double) {
  c.Shape(Polygon({{s * .34, s * .34}, {s * .66, s * .34}, {s * .66, s * .66}, {s * .34, s * .66}}),
          Hex(0xFFFFFF));
}

// A question hook: a ring open at its lower left, a stem and a dot.
void InvalidMark(Canvas& c, double s, double w) {
  c.Shape(
      [s, w](double x, double y) {
        const double d = Square(x - s / 2) + Square(y - s * .40);
        return Square(s * .13) <= d && d <= Square(s * .13 + w * 1.3) &&
               !(y > s * .40 && x < s / 2);
      },
      Hex(0xFFFFFF));
  c.Shape(Segment(s * .5 + w * .2, s * .54, s * .5, s * .62, w * .65), Hex(0xFFFFFF));
  c.Shape(Disc(s * .5, s * .74, w * .85), Hex(0xFFFFFF));
}

void DrawBadges(OutputFolder& folder) {
  const int big = 50;
  const struct {
    const char* name;
    std::uint32_t top, bottom;
    void (*mark)(Canvas&, double, double);
  } badges[] = {{"icn_OK_big.png", 0x6CC04A, 0x3C8D2F, OkMark},
                {"icn_Error_big.png", 0xE5533D, 0xB3261E, ErrorMark},
                {"icn_Unsupported_big.png", 0xA8A8A8, 0x6F6F6F, UnsupportedMark},
                {"icn_Aborted_big.png", 0xF29A3A, 0xC8641A, AbortedMark},
                {"icn_Invalid_big.png", 0x8F7CC8, 0x5B4A99, InvalidMark}};
  for (const auto& badge : badges) {
    Canvas c = RoundBadge(big, badge.top, badge.bottom);
    badge.mark(c, big, std::max(1.2, big * 0.07));
    SaveCanvas(folder, QStringLiteral("Statuses/") + QLatin1String(badge.name), c);
  }
}

Canvas WarningTriangle(int size) {
  const double s = size;
  Canvas c(size, size);
  c.Shape(Polygon({{s * .5, s * .03}, {s * .98, s * .94}, {s * .02, s * .94}}),
          Hex(0x000000, 0.18));
  c.Shape(Polygon({{s * .5, s * .07}, {s * .93, s * .9}, {s * .07, s * .9}}),
          Shaded(0xFFD54A, 0xE8A400, size));
  const double w = std::max(1.0, s * .065);
  c.Shape(Segment(s * .5, s * .36, s * .5, s * .62, w), Hex(0x3A2A00));
  c.Shape(Disc(s * .5, s * .76, w * 1.05), Hex(0x3A2A00));
  return c;
}

// The two halves of a sheet torn across, each drawn over its edge grown sideways.
void TornSheet(Canvas& c, double s) {
  const std::vector<Point> tear = {{s * .16, s * .50},
                                   {s * .34, s * .42},
                                   {s * .48, s * .56},
                                   {s * .64, s * .44},
                                   {s * .84, s * .54}};
  std::vector<Point> upper = {{s * .16, s * .06}, {s * .84, s * .06}};
  upper.insert(upper.end(), tear.rbegin(), tear.rend());
  std::vector<Point> lower;
  for (const auto& [x, y] : tear) lower.push_back({x, y + s * .08});
  lower.push_back({s * .84, s * .94});
  lower.push_back({s * .16, s * .94});
  for (const std::vector<Point>& piece : {upper, lower}) {
    std::vector<Point> grown;
    for (const auto& [x, y] : piece) grown.push_back({x + (x > s / 2 ? 0.6 : -0.6), y});
    c.Shape(Polygon(grown), Hex(0x7A7A7A));
    c.Shape(Polygon(piece), Shaded(0xFFFFFF, 0xD9D9D9, static_cast<int>(s)));
  }
}

// A sheet torn across: the entry could not be read whole.
Canvas BrokenPage(int size) {
  const double s = size;
  Canvas c(size, size);
  TornSheet(c, s);
  const double w = std::max(0.8, s * .035);
  for (double y : {.18, .28, .74, .84}) {
    c.Shape(Segment(s * .26, s * y, s * .74, s * y, w), Hex(0x9E9E9E));
  }
  c.Shape(Disc(s * .78, s * .78, s * .2), Hex(0xB3261E));
  c.Shape(Segment(s * .71, s * .71, s * .85, s * .85, w * 1.2), Hex(0xFFFFFF));
  c.Shape(Segment(s * .85, s * .71, s * .71, s * .85, w * 1.2), Hex(0xFFFFFF));
  return c;
}

Canvas HeaderBackground(int width, int height) {
  Canvas c(width, height);
  c.Shape([](double, double) { return true; }, Shaded(0xF4F4F4, 0xD2D2D2, height));
  c.Shape([height](double, double y) { return y >= height - 1; }, Hex(0xBDBDBD));
  return c;
}

}  // namespace

void DrawReportImages(OutputFolder& folder) {
  DrawBadges(folder);
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Warning_big.png"), WarningTriangle(50));
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Broken_big.png"), BrokenPage(50));
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Broken_16x16.png"), BrokenPage(16));
  SaveCanvas(folder, QStringLiteral("Reports/log_device_header_bg.png"), HeaderBackground(4, 26));
}

}  // namespace artwork
