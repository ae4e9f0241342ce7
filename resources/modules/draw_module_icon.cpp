// Draws the tile icon of a diagnostics module at build time: draw_module_icon <kind> <out.png>.
// Plain shapes only, so the result does not depend on the fonts of the build machine.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kSize = 128;

void DrawDisk(QPainter& p) {
  p.setBrush(QColor(0x3a, 0x6e, 0xa5));
  p.drawRoundedRect(QRectF(14, 8, 100, 112), 10, 10);
  p.setBrush(QColor(0xd8, 0xdf, 0xe8));
  p.drawEllipse(QPointF(64, 56), 38, 38);
  p.setBrush(QColor(0x3a, 0x6e, 0xa5));
  p.drawEllipse(QPointF(64, 56), 8, 8);
  p.setPen(QPen(QColor(0x22, 0x22, 0x22), 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(100, 104), QPointF(74, 62));
}

void DrawChip(QPainter& p) {
  p.setBrush(QColor(0x2f, 0x8f, 0x4e));
  p.drawRect(QRectF(6, 36, 116, 56));
  p.setBrush(QColor(0x22, 0x22, 0x22));
  for (int i = 0; i < 4; ++i) p.drawRect(QRectF(14 + i * 27, 46, 20, 30));
  p.setBrush(QColor(0xe0, 0xb0, 0x30));
  for (int i = 0; i < 14; ++i) p.drawRect(QRectF(10 + i * 8, 92, 5, 10));
}

void DrawDisc(QPainter& p) {
  QRadialGradient shine(QPointF(50, 50), 60);
  shine.setColorAt(0, QColor(0xf4, 0xf4, 0xf8));
  shine.setColorAt(1, QColor(0x9a, 0xa8, 0xc0));
  p.setBrush(shine);
  p.drawEllipse(QPointF(64, 64), 58, 58);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(64, 64), 14, 14);
}

void DrawGeneric(QPainter& p) {
  p.setBrush(QColor(0x70, 0x70, 0x80));
  p.drawRoundedRect(QRectF(16, 16, 96, 96), 16, 16);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: draw_module_icon <storage|memory|optical|other> <out.png>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    if (std::strcmp(argv[1], "storage") == 0) {
      DrawDisk(painter);
    } else if (std::strcmp(argv[1], "memory") == 0) {
      DrawChip(painter);
    } else if (std::strcmp(argv[1], "optical") == 0) {
      DrawDisc(painter);
    } else {
      DrawGeneric(painter);
    }
  }
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
