// Animated GIF files, which Qt reads but cannot write.
#pragma once

#include <QByteArray>
#include <vector>

#include "resources/kolv_lite/artwork/canvas.h"

namespace artwork {

// Frames of one size, shown delay_cs hundredths of a second each, looping for ever, in one
// palette (GifPalette): all but the clear pixels become opaque.
QByteArray AnimatedGif(const std::vector<Canvas>& frames, int delay_cs);

}  // namespace artwork
