// Each family of the program's images, drawn into the folder that the resource file packs.
#pragma once

#include "resources/kolv_lite/artwork/output_folder.h"

namespace artwork {

// Painted with QPainter: window and tool buttons, backgrounds, the mark, dialog icons, masks.
void DrawPaintedArtwork(OutputFolder& folder);

}  // namespace artwork
