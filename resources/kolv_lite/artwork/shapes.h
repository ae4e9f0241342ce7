// The shapes a Canvas paints, as tests of whether a point lies inside.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "resources/kolv_lite/artwork/canvas.h"

namespace artwork {

using Point = std::pair<double, double>;

double Square(double v);

Inside Disc(double cx, double cy, double r);
Inside Ring(double cx, double cy, double r_out, double r_in);
// A stroke with round ends.
Inside Segment(double x1, double y1, double x2, double y2, double half_width);
// Even-odd rule.
Inside Polygon(std::vector<Point> points);
// Edges included.
Inside Rect(double x1, double y1, double x2, double y2);
Inside AnyOf(std::initializer_list<Inside> shapes);

}  // namespace artwork
