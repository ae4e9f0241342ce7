#include "gui/shell/product_artwork.h"

#include <QApplication>
#include <QBitmap>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace ProductArtwork {

QString VersionText() {
  return QStringLiteral("%1.%2.%3").arg(kMajor).arg(kMinor).arg(kBuild);
}

QString RevisionText() { return QStringLiteral("Revision: %1").arg(kRevision); }

void DrawVersionTexts(QPainter& painter, int height, const QString& version,
                      const QString& revision) {
  QFont font(QApplication::font().family());
  font.setPixelSize(kVersionPixelSize);
  painter.setFont(font);
  painter.setPen(QColor(QLatin1String(kVersionColour)));
  painter.drawText(kVersionX, height - kVersionFromBottom, version);
  font.setPixelSize(kRevisionPixelSize);
  painter.setFont(font);
  painter.setPen(QColor(QLatin1String(kRevisionColour)));
  painter.drawText(kRevisionX, height - kRevisionFromBottom, revision);
}

void ApplyMask(QWidget* widget) {
  const QPixmap mask_picture{QString::fromLatin1(kMaskImage)};
  if (mask_picture.isNull()) return;
  widget->setMask(mask_picture.mask());
}

}  // namespace ProductArtwork
