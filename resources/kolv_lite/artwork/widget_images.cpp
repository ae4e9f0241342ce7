#include <algorithm>
#include <cmath>
#include <vector>

#include "resources/kolv_lite/artwork/canvas.h"
#include "resources/kolv_lite/artwork/gif_writer.h"
#include "resources/kolv_lite/artwork/image_families.h"
#include "resources/kolv_lite/artwork/png_writer.h"
#include "resources/kolv_lite/artwork/shapes.h"

namespace artwork {
namespace {

const Colour kWhite = Opaque(255, 255, 255);
const Colour kStepGrey = Opaque(238, 238, 238);
const Colour kBorderGrey = Opaque(188, 188, 188);
const Colour kBlue = Opaque(30, 115, 220);

void Tick(Canvas& c, const Colour& colour) {
  const double width = 1.1;
  c.Shape(AnyOf({Segment(4.5, 8.2, 7, 10.8, width), Segment(7, 10.8, 11.8, 5.2, width)}), colour);
}

void Cross(Canvas& c, double cx, double cy, double arm, const Colour& colour, double width) {
  c.Shape(AnyOf({Segment(cx - arm, cy - arm, cx + arm, cy + arm, width),
                 Segment(cx - arm, cy + arm, cx + arm, cy - arm, width)}),
          colour);
}

// The current step's gradient, one grey a row.
Colour CurrentGradient(int y, int height) {
  const double t = static_cast<double>(y) / std::max(1, height - 1);
  const double grey = std::nearbyint(237 + (217 - 237) * t);
  return Opaque(grey, grey, grey);
}

// The arrow between two steps: the step on each side shows through, a chevron separates them;
// a side that is the current step takes its gradient.
Canvas Arrow(bool left_current, bool right_current) {
  const int w = 28, h = 48;
  Canvas c(w, h);
  for (int side : {0, 1}) {
    const Inside region = [side, h](double x, double y) {
      const double chevron_x = 4 + 18 * (1 - std::abs(y - h / 2.0) / (h / 2.0));
      return side == 0 ? x < chevron_x : x >= chevron_x;
    };
    if (side == 0 ? left_current : right_current) {
      c.Shape(region, [h](double, double y) { return CurrentGradient(static_cast<int>(y), h); });
    } else {
      c.Shape(region, kStepGrey);
    }
  }
  const Colour edge = left_current || right_current ? kBorderGrey : Opaque(214, 214, 214);
  c.Shape(AnyOf({Segment(4, 0, 22, h / 2.0, 0.7), Segment(22, h / 2.0, 4, h, 0.7)}), edge);
  return c;
}

Canvas StepMark(const Colour& colour, bool ticked) {
  Canvas mark(16, 16);
  mark.Shape(Disc(8, 8, 7.5), colour);
  if (ticked) Tick(mark, kWhite);
  return mark;
}

void DrawBreadcrumb(OutputFolder& folder) {
  SaveCanvas(folder, QStringLiteral("General/arrow3.png"), Arrow(false, false));
  SaveCanvas(folder, QStringLiteral("General/arrow1.png"), Arrow(false, true));
  SaveCanvas(folder, QStringLiteral("General/arrow2.png"), Arrow(true, false));
  SaveCanvas(folder, QStringLiteral("General/icnSelected.png"),
             StepMark(Opaque(88, 157, 14), true));
  SaveCanvas(folder, QStringLiteral("General/icnCurrentStep.png"), StepMark(kBlue, false));
  SaveCanvas(folder, QStringLiteral("General/icnNextStep.png"),
             StepMark(Opaque(167, 167, 167), false));
}

void DrawOverlayAndPopUp(OutputFolder& folder) {
  SaveCanvas(folder, QStringLiteral("General/bg.png"), Canvas(8, 8, {20, 20, 20, 150}));
  const struct {
    const char* name;
    Colour colour;
  } buttons[] = {{"Buttons/btnTooltipClose_Normal.png", Opaque(140, 140, 140)},
                 {"Buttons/btnTooltipClose_Over.png", Opaque(60, 60, 60)}};
  for (const auto& button : buttons) {
    Canvas c(15, 15);
    Cross(c, 7.5, 7.5, 4, button.colour, 1.0);
    SaveCanvas(folder, QString::fromLatin1(button.name), c);
  }
}

// Eight dots on a ring, the lit one walking clockwise and the rest greying behind it.
void DrawSmallLoading(OutputFolder& folder) {
  const int count = 8;
  std::vector<Canvas> frames;
  for (int step = 0; step < count; ++step) {
    Canvas c(16, 16);
    for (int dot = 0; dot < count; ++dot) {
      const double angle = 2 * M_PI * dot / count;
      const double x = 8 + 5.5 * std::sin(angle);
      const double y = 8 - 5.5 * std::cos(angle);
      const int age = ((step - dot) % count + count) % count;
      const double shade = 60 + age * 22;
      c.Shape(Disc(x, y, 1.6), Opaque(shade, shade, shade));
    }
    frames.push_back(std::move(c));
  }
  folder.SaveFile(QStringLiteral("General/smallLoading.gif"), AnimatedGif(frames, 10));
}

// The small status icons of the test lists.
void DrawStatuses(OutputFolder& folder) {
  Canvas ok(16, 16);
  ok.Shape(Disc(8, 8, 7.5), Opaque(42, 168, 29));
  Tick(ok, kWhite);
  SaveCanvas(folder, QStringLiteral("Statuses/icn_OK16x16.png"), ok);

  Canvas error(16, 16);
  error.Shape(Disc(8, 8, 7.5), Opaque(218, 44, 54));
  Cross(error, 8, 8, 3.2, kWhite, 1.1);
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Error16x16.png"), error);

  const Colour grey = Opaque(140, 140, 140);
  Canvas unsupported(16, 16);
  unsupported.Shape(Ring(8, 8, 7.5, 5.6), grey);
  unsupported.Shape(Segment(3.2, 12.8, 12.8, 3.2, 1.0), grey);
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Unsupported16x16.png"), unsupported);

  Canvas aborted(16, 16);
  aborted.Shape(Disc(8, 8, 7.5), Opaque(230, 130, 30));
  aborted.Shape(Rect(5, 5, 11, 11), kWhite);
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Aborted16x16.png"), aborted);

  Canvas warning(16, 16);
  warning.Shape(Polygon({{8, 0.8}, {15.4, 14.8}, {0.6, 14.8}}), Opaque(240, 170, 30));
  warning.Shape(AnyOf({Segment(8, 5.2, 8, 9.6, 1.0), Disc(8, 12.3, 1.0)}), kWhite);
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Warning16x16.png"), warning);

  const Colour purple = Opaque(120, 90, 170);
  Canvas invalid(16, 16);
  invalid.Shape(Disc(8, 8, 7.5), purple);
  invalid.Shape(AnyOf({Ring(8, 6.2, 2.9, 1.3), Segment(8, 8.6, 8, 10, 0.8)}), kWhite);
  invalid.Shape(Rect(3, 6.2, 8, 8.6), purple);  // opens the ring into a hook
  invalid.Shape(Segment(8, 8.6, 8, 10, 0.8), kWhite);
  invalid.Shape(Disc(8, 12.4, 0.9), kWhite);
  SaveCanvas(folder, QStringLiteral("Statuses/icn_Invalid_16x16.png"), invalid);
}

}  // namespace

void DrawWidgetImages(OutputFolder& folder) {
  DrawBreadcrumb(folder);
  DrawOverlayAndPopUp(folder);
  DrawSmallLoading(folder);
  DrawStatuses(folder);
}

}  // namespace artwork
