// Each family of the program's images, drawn into the folder that the resource file packs.
#pragma once

#include "resources/kolv_lite/artwork/output_folder.h"

namespace artwork {

// Painted with QPainter: window and tool buttons, backgrounds, the mark, dialog icons, masks.
void DrawPaintedArtwork(OutputFolder& folder);
// On a Canvas: the breadcrumb, the overlay veil, the pop-up close button, the small status
// icons and the small loading animation.
void DrawWidgetImages(OutputFolder& folder);
// On a Canvas: the report pages' big status images, the broken-entry images and the background
// of the device title bars.
void DrawReportImages(OutputFolder& folder);
// On a Canvas: the large loading animation of the devices loading screen.
void DrawScreenImages(OutputFolder& folder);

}  // namespace artwork
