#include "resources/kolv_lite/artwork/shapes.h"

#include <algorithm>

namespace artwork {

double Square(double v) { return v * v; }

Inside Disc(double cx, double cy, double r) {
  return [=](double x, double y) { return Square(x - cx) + Square(y - cy) <= r * r; };
}

Inside Ring(double cx, double cy, double r_out, double r_in) {
  return [=](double x, double y) {
    const double d = Square(x - cx) + Square(y - cy);
    return r_in * r_in <= d && d <= r_out * r_out;
  };
}

Inside Segment(double x1, double y1, double x2, double y2, double half_width) {
  return [=](double x, double y) {
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double t =
        std::max(0.0, std::min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)));
    const double px = x1 + t * dx;
    const double py = y1 + t * dy;
    return Square(x - px) + Square(y - py) <= Square(half_width);
  };
}

Inside Polygon(std::vector<Point> points) {
  return [points = std::move(points)](double x, double y) {
    bool result = false;
    size_t j = points.size() - 1;
    for (size_t i = 0; i < points.size(); ++i) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) result = !result;
      j = i;
    }
    return result;
  };
}

Inside Rect(double x1, double y1, double x2, double y2) {
  return [=](double x, double y) { return x1 <= x && x <= x2 && y1 <= y && y <= y2; };
}

Inside AnyOf(std::initializer_list<Inside> shapes) {
  return [all = std::vector<Inside>(shapes)](double x, double y) {
    return std::any_of(all.begin(), all.end(), [&](const Inside& s) { return s(x, y); });
  };
}

}  // namespace artwork
