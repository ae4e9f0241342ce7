// PNG files of a Canvas, written the plain way (8-bit RGBA, no filtering, one zlib stream at
// level 9, no other chunks) rather than through QImage, which would add the drawing process's
// resolution: the report export saves these images again, and would carry it into its files.
#pragma once

#include <QByteArray>

#include "resources/kolv_lite/artwork/canvas.h"
#include "resources/kolv_lite/artwork/output_folder.h"

namespace artwork {

QByteArray PngFile(const Canvas& canvas);
void SaveCanvas(OutputFolder& folder, const QString& name, const Canvas& canvas);

}  // namespace artwork
