// Looks for the colour of a drawn text in a band above its baseline.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

inline bool HasColourNear(const QImage& image, const QRect& band, const QColor& colour) {
  const QRect area = band.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (qAbs(c.red() - colour.red()) < 40 && qAbs(c.green() - colour.green()) < 40 &&
          qAbs(c.blue() - colour.blue()) < 40) {
        return true;
      }
    }
  }
  return false;
}
