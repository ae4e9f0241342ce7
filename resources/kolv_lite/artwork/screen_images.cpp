#include <cmath>
#include <vector>

#include "resources/kolv_lite/artwork/canvas.h"
#include "resources/kolv_lite/artwork/gif_writer.h"
#include "resources/kolv_lite/artwork/image_families.h"
#include "resources/kolv_lite/artwork/shapes.h"

namespace artwork {

// Twelve dots on a ring; the lit one walks clockwise and the rest fade and shrink behind it, in
// the blue accent, towards the white of the loading box.
void DrawScreenImages(OutputFolder& folder) {
  const int size = 64, count = 12;
  std::vector<Canvas> frames;
  for (int step = 0; step < count; ++step) {
    Canvas c(size, size);
    for (int dot = 0; dot < count; ++dot) {
      const double angle = 2 * M_PI * dot / count;
      const double x = size / 2.0 + 22 * std::sin(angle);
      const double y = size / 2.0 - 22 * std::cos(angle);
      const int age = ((step - dot) % count + count) % count;
      const double fade = static_cast<double>(age) / count;
      Colour colour = {0, 0, 0, 255};
      const double blue[] = {30, 115, 220};
      for (size_t i = 0; i < 3; ++i) colour[i] = std::nearbyint(blue[i] + (235 - blue[i]) * fade);
      c.Shape(Disc(x, y, 4.6 - 1.8 * fade), colour);
    }
    frames.push_back(std::move(c));
  }
  folder.SaveFile(QStringLiteral("General/imgAnimatedLoading.gif"), AnimatedGif(frames, 8));
}

}  // namespace artwork
