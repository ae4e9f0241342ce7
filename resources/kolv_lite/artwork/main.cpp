// kolv_lite_artwork OUTPUT_FOLDER: draws every image of kolv_lite.rcc into the folder, by the
// path the resource file gives it below Resources/Images/. It runs at build time, so the
// artwork lives only as the code that draws it.
#include <cstdio>

#include "resources/kolv_lite/artwork/image_families.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  artwork::OutputFolder folder(QString::fromLocal8Bit(argv[1]));
  artwork::DrawPaintedArtwork(folder);
  artwork::DrawWidgetImages(folder);
  artwork::DrawReportImages(folder);
  artwork::DrawScreenImages(folder);
  return folder.ok() ? 0 : 1;
}
