// The images painted with QPainter, in the program's one style: charcoal surfaces, a blue
// accent, white glyphs.
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <functional>

#include "resources/kolv_lite/artwork/image_families.h"

namespace artwork {
namespace {

const QColor kBlue(0x1e, 0x73, 0xdc);
const QColor kRed(0xda, 0x2c, 0x36);
const QColor kCharcoal(0x2a, 0x2a, 0x2a);
const QColor kGrey(0x8a, 0x8a, 0x8a);
const QColor kDisabled(0x5a, 0x5a, 0x5a);

using Painter = std::function<void(QPainter&, const QRectF&)>;

void Save(OutputFolder& folder, const QString& name, int w, int h, const Painter& paint) {
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p, QRectF(0, 0, w, h));
  }
  folder.SavePng(name, image);
}

// A rounded key with a vertical gradient, the base of every window and tool button.
void Key(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom, qreal radius) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  p.setPen(QPen(QColor(0, 0, 0, 120), 1));
  p.setBrush(g);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

QPen Glyph(const QColor& c, qreal width = 2) {
  return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Cross(QPainter& p, const QPointF& c, qreal half, const QPen& pen) {
  p.setPen(pen);
  p.drawLine(c + QPointF(-half, -half), c + QPointF(half, half));
  p.drawLine(c + QPointF(-half, half), c + QPointF(half, -half));
}

// The product mark: a blue disc with a white pulse line across it.
void Mark(QPainter& p, const QRectF& r) {
  QRadialGradient g(r.center() - QPointF(r.width() * 0.15, r.height() * 0.2), r.width() * 0.7);
  g.setColorAt(0, kBlue.lighter(140));
  g.setColorAt(1, kBlue.darker(150));
  p.setPen(QPen(Qt::white, qMax<qreal>(1, r.width() / 40)));
  p.setBrush(g);
  const qreal m = r.width() * 0.04;
  p.drawEllipse(r.adjusted(m, m, -m, -m));
  QPainterPath pulse;
  const qreal w = r.width(), h = r.height(), x = r.left(), y = r.top();
  pulse.moveTo(x + w * 0.18, y + h * 0.55);
  pulse.lineTo(x + w * 0.38, y + h * 0.55);
  pulse.lineTo(x + w * 0.46, y + h * 0.30);
  pulse.lineTo(x + w * 0.56, y + h * 0.72);
  pulse.lineTo(x + w * 0.64, y + h * 0.50);
  pulse.lineTo(x + w * 0.82, y + h * 0.50);
  p.setPen(Glyph(Qt::white, qMax<qreal>(1.5, w / 16)));
  p.setBrush(Qt::NoBrush);
  p.drawPath(pulse);
}

void WindowButton(OutputFolder& folder, const QString& name, int w, int h, bool close, bool enabled,
                  const std::function<void(QPainter&, const QRectF&, const QColor&)>& glyph) {
  Save(folder, name, w, h, [&](QPainter& p, const QRectF& r) {
    const QColor top = !enabled ? kDisabled : close ? kRed.lighter(115) : QColor(0x4a, 0x4a, 0x4a);
    const QColor bottom = !enabled ? kDisabled.darker(130) : close ? kRed.darker(130) : kCharcoal;
    Key(p, r, top, bottom, 3);
    glyph(p, r, enabled ? Qt::white : kGrey);
  });
}

void DrawWindowButtons(OutputFolder& folder) {
  for (bool enabled : {true, false}) {
    const QString state = enabled ? QStringLiteral("Normal") : QStringLiteral("Disabled");
    WindowButton(folder, QStringLiteral("Buttons/btnMin%1.png").arg(state), 32, 20, false, enabled,
                 [](QPainter& p, const QRectF& r, const QColor& c) {
                   p.setPen(Glyph(c));
                   p.drawLine(QPointF(r.center().x() - 5, r.center().y() + 4),
                              QPointF(r.center().x() + 5, r.center().y() + 4));
                 });
    WindowButton(folder, QStringLiteral("Buttons/btnMax%1.png").arg(state), 32, 20, false, enabled,
                 [](QPainter& p, const QRectF& r, const QColor& c) {
                   p.setPen(Glyph(c, 1.5));
                   p.setBrush(Qt::NoBrush);
                   p.drawRect(QRectF(r.center().x() - 5, r.center().y() - 4, 10, 8));
                 });
    WindowButton(folder, QStringLiteral("Buttons/btnRestore%1.png").arg(state), 32, 20, false,
                 enabled, [](QPainter& p, const QRectF& r, const QColor& c) {
                   p.setPen(Glyph(c, 1.5));
                   p.setBrush(Qt::NoBrush);
                   p.drawRect(QRectF(r.center().x() - 3, r.center().y() - 5, 8, 6));
                   p.drawRect(QRectF(r.center().x() - 6, r.center().y() - 2, 8, 6));
                 });
    WindowButton(
        folder, QStringLiteral("Buttons/btnClose%1.png").arg(state), 50, 20, true, enabled,
        [](QPainter& p, const QRectF& r, const QColor& c) { Cross(p, r.center(), 4, Glyph(c)); });
  }
}

void RoundTool(OutputFolder& folder, const QString& name, int size, bool enabled,
               const std::function<void(QPainter&, const QRectF&, const QColor&)>& glyph) {
  Save(folder, name, size, size, [&](QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, enabled ? kBlue.lighter(125) : kDisabled);
    g.setColorAt(1, enabled ? kBlue.darker(140) : kDisabled.darker(140));
    p.setPen(QPen(enabled ? QColor(255, 255, 255, 160) : kGrey, 1));
    p.setBrush(g);
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
    glyph(p, r, enabled ? Qt::white : kGrey);
  });
}

void DrawGlobalButtons(OutputFolder& folder) {
  for (bool enabled : {true, false}) {
    const QString suffix = enabled ? QString() : QStringLiteral("Disabled");
    RoundTool(folder, QStringLiteral("Buttons/btnLogHistory%1.png").arg(suffix), 32, enabled,
              [](QPainter& p, const QRectF& r, const QColor& c) {
                // A clock face: earlier runs.
                p.setPen(Glyph(c, 1.8));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(r.center(), r.width() * 0.26, r.width() * 0.26);
                p.drawLine(r.center(), r.center() + QPointF(0, -r.height() * 0.17));
                p.drawLine(r.center(), r.center() + QPointF(r.width() * 0.13, 0));
              });
    RoundTool(folder, QStringLiteral("Buttons/btnSysInformation%1.png").arg(suffix), 30, enabled,
              [](QPainter& p, const QRectF& r, const QColor& c) {
                p.setPen(Qt::NoPen);
                p.setBrush(c);
                p.drawEllipse(QPointF(r.center().x(), r.height() * 0.3), 1.8, 1.8);
                p.drawRoundedRect(QRectF(r.center().x() - 1.6, r.height() * 0.42, 3.2,
                                         r.height() * 0.34), 1, 1);
              });
    Save(folder, QStringLiteral("Buttons/btnHelp%1.png").arg(enabled ? QStringLiteral("Active")
                                                             : QStringLiteral("Disabled")),
         25, 25, [&](QPainter& p, const QRectF& r) {
           QLinearGradient g(r.topLeft(), r.bottomLeft());
           g.setColorAt(0, enabled ? kBlue.lighter(125) : kDisabled);
           g.setColorAt(1, enabled ? kBlue.darker(140) : kDisabled.darker(140));
           p.setPen(QPen(enabled ? QColor(255, 255, 255, 160) : kGrey, 1));
           p.setBrush(g);
           p.drawEllipse(r.adjusted(1, 1, -1, -1));
           QPainterPath q;
           q.moveTo(9, 9.5);
           q.cubicTo(9, 5.5, 16, 5.5, 16, 9.5);
           q.cubicTo(16, 12, 12.5, 12, 12.5, 15);
           p.setPen(Glyph(enabled ? Qt::white : kGrey, 2));
           p.setBrush(Qt::NoBrush);
           p.drawPath(q);
           p.setPen(Qt::NoPen);
           p.setBrush(enabled ? Qt::white : kGrey);
           p.drawEllipse(QPointF(12.5, 18.5), 1.3, 1.3);
         });
  }
  for (bool over : {false, true}) {
    Save(folder,
         over ? QStringLiteral("Buttons/btnHomeOver.png") : QStringLiteral("Buttons/btnHome.png"),
         25, 27, [&](QPainter& p, const QRectF&) {
           QPainterPath house;
           house.moveTo(12.5, 3);
           house.lineTo(23, 13);
           house.lineTo(20, 13);
           house.lineTo(20, 24);
           house.lineTo(15, 24);
           house.lineTo(15, 17);
           house.lineTo(10, 17);
           house.lineTo(10, 24);
           house.lineTo(5, 24);
           house.lineTo(5, 13);
           house.lineTo(2, 13);
           house.closeSubpath();
           p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
           p.setBrush(over ? kBlue : QColor(0x6a, 0x6a, 0x6a));
           p.drawPath(house);
         });
  }
}

void DrawSmallCloseButtons(OutputFolder& folder) {
  struct Variant {
    const char* name;
    QColor top, bottom, glyph;
  };
  const Variant variants[] = {
      {"btnCloseNormalSmall", QColor(0x4a, 0x4a, 0x4a), kCharcoal, Qt::white},
      {"btnCloseDisabledSmall", kDisabled, kDisabled.darker(130), kGrey},
      {"btnCloseOverSmall", kRed.lighter(115), kRed.darker(130), Qt::white},
      {"btnCloseClickSmall", kRed.darker(140), kRed.darker(110), Qt::white},
  };
  for (const Variant& v : variants) {
    Save(folder, QStringLiteral("Buttons/%1.png").arg(QLatin1String(v.name)), 30, 20,
         [&](QPainter& p, const QRectF& r) {
           Key(p, r, v.top, v.bottom, 3);
           Cross(p, r.center(), 3.5, Glyph(v.glyph));
         });
  }
  // Header close button of the dialogs: a bare white cross.
  Save(folder, QStringLiteral("Buttons/btnClose.png"), 13, 15, [](QPainter& p, const QRectF& r) {
    Cross(p, r.center(), 3.5, Glyph(Qt::white, 1.8));
  });
}

void DrawSurfaces(OutputFolder& folder) {
  // The window's style sheet tiles this image, so it is drawn larger than any screen the window
  // is likely to be maximized on: a seam would show across the title area otherwise.
  Save(folder, QStringLiteral("General/imgBackground.png"), 3840, 2160,
       [](QPainter& p, const QRectF& r) {
         QLinearGradient g(r.topLeft(), r.bottomLeft());
         g.setColorAt(0, QColor(0x3a, 0x3a, 0x3a));
         g.setColorAt(108.0 / r.height(), QColor(0x1c, 0x1c, 0x1c));
         g.setColorAt(1, QColor(0x10, 0x10, 0x10));
         p.fillRect(r, g);
         // A faint blue sweep behind the title.
         QRadialGradient glow(QPointF(160, 40), 320);
         glow.setColorAt(0, QColor(0x1e, 0x73, 0xdc, 70));
         glow.setColorAt(1, QColor(0x1e, 0x73, 0xdc, 0));
         p.fillRect(r, glow);
       });
  Save(folder, QStringLiteral("General/icnGrip.png"), 16, 16, [](QPainter& p, const QRectF&) {
    p.setPen(Qt::NoPen);
    p.setBrush(kGrey);
    for (int row = 0; row < 3; ++row) {
      for (int col = 2 - row; col < 3; ++col) {
        p.drawRect(QRectF(4 + col * 4, 4 + row * 4, 2, 2));
      }
    }
  });
  Save(folder, QStringLiteral("icnKolv_32.png"), 32, 32,
       [](QPainter& p, const QRectF& r) { Mark(p, r); });
  Save(folder, QStringLiteral("Icons/icnKolvLite_114.png"), 114, 114,
       [](QPainter& p, const QRectF& r) { Mark(p, r); });
}

// The splash and about artwork: a charcoal card with the mark; its mask is the card's shape.
QPainterPath CardShape(const QRectF& r) {
  QPainterPath path;
  path.addRoundedRect(r.adjusted(0, 0, -1, -1), 18, 18);
  return path;
}

void DrawSplashArtwork(OutputFolder& folder) {
  const int w = 320, h = 415;
  Save(folder, QStringLiteral("General/KolvLiteSplashAboutScreen.png"), w, h,
       [](QPainter& p, const QRectF& r) {
         QLinearGradient g(r.topLeft(), r.bottomLeft());
         g.setColorAt(0, QColor(0x33, 0x33, 0x33));
         g.setColorAt(0.5, QColor(0x16, 0x16, 0x16));
         g.setColorAt(1, QColor(0x0b, 0x0b, 0x0b));
         p.setPen(QPen(QColor(0x43, 0x43, 0x43), 1));
         p.setBrush(g);
         p.drawPath(CardShape(r));
         Mark(p, QRectF(r.center().x() - 55, 40, 110, 110));
         // The accent runs under the version number, which is drawn with its baseline at 208.
         p.setPen(QPen(kBlue, 2));
         p.drawLine(QPointF(24, 222), QPointF(r.width() - 24, 222));
       });
  Save(folder, QStringLiteral("General/KolvLiteSplashAboutScreenMask.png"), w, h,
       [](QPainter& p, const QRectF& r) {
         p.setRenderHint(QPainter::Antialiasing, false);
         p.setPen(Qt::NoPen);
         p.setBrush(Qt::black);
         p.drawPath(CardShape(r));
       });
}

void DrawDialogArtwork(OutputFolder& folder) {
  // Header icons of the interaction dialog, one per kind.
  struct Icon {
    const char* name;
    QColor colour;
    char glyph;
  };
  const Icon icons[] = {{"icnQuestion", kBlue, '?'},
                        {"icnInfo", kBlue, 'i'},
                        {"icnWarning", QColor(0xf0, 0xa0, 0x20), '!'},
                        {"icnError", kRed, 'x'}};
  for (const Icon& icon : icons) {
    Save(folder, QStringLiteral("General/%1.png").arg(QLatin1String(icon.name)), 16, 16,
         [&](QPainter& p, const QRectF& r) {
           p.setPen(Qt::NoPen);
           p.setBrush(icon.colour);
           if (icon.glyph == '!') {
             QPainterPath tri;
             tri.moveTo(8, 1);
             tri.lineTo(15, 14.5);
             tri.lineTo(1, 14.5);
             tri.closeSubpath();
             p.drawPath(tri);
           } else {
             p.drawEllipse(r.adjusted(1, 1, -1, -1));
           }
           const QPen pen = Glyph(Qt::white, 1.6);
           p.setPen(pen);
           switch (icon.glyph) {
             case 'x':
               Cross(p, r.center(), 3, pen);
               break;
             case 'i':
               p.drawLine(QPointF(8, 7), QPointF(8, 12));
               p.drawPoint(QPointF(8, 4.5));
               break;
             case '!':
               p.drawLine(QPointF(8, 5.5), QPointF(8, 9.5));
               p.drawPoint(QPointF(8, 12));
               break;
             default: {
               QPainterPath q;
               q.moveTo(5.8, 6.2);
               q.cubicTo(5.8, 3.4, 10.2, 3.4, 10.2, 6.2);
               q.cubicTo(10.2, 7.8, 8, 7.8, 8, 9.6);
               p.setBrush(Qt::NoBrush);
               p.drawPath(q);
               p.drawPoint(QPointF(8, 12.2));
             }
           }
         });
  }
  // Window shape of the dialogs' top edge: black where the dialog shows, white elsewhere.
  Save(folder, QStringLiteral("General/pop_up_mask.png"), 331, 8, [](QPainter& p, const QRectF& r) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(r, Qt::white);
    QPainterPath top;
    top.addRoundedRect(QRectF(0, 0, r.width(), r.height() * 3), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(top);
  });
}

// Buttons of the selection screens: device rescan, information pop-up and the runs drop-down.
void DrawScreenButtons(OutputFolder& folder) {
  struct Refresh {
    const char* state;
    QColor fill, glyph;
  };
  const Refresh refreshes[] = {{"Active", kBlue, Qt::white},
                               {"Disabled", kDisabled, kGrey},
                               {"Over", kBlue.lighter(130), Qt::white},
                               {"Selected", kBlue.darker(150), Qt::white}};
  for (const Refresh& v : refreshes) {
    Save(folder, QStringLiteral("Buttons/btnRefresh%1.png").arg(QLatin1String(v.state)), 24, 24,
         [&](QPainter& p, const QRectF& r) {
           p.setPen(QPen(QColor(0, 0, 0, 90), 1));
           p.setBrush(v.fill);
           p.drawEllipse(r.adjusted(1, 1, -1, -1));
           // A circular arrow: three quarters of a ring with its head at the top.
           const QRectF arc(r.center().x() - 6, r.center().y() - 6, 12, 12);
           p.setPen(Glyph(v.glyph, 2));
           p.setBrush(Qt::NoBrush);
           p.drawArc(arc, 60 * 16, 290 * 16);
           QPainterPath head;
           head.moveTo(r.center().x() + 2.2, r.center().y() - 9.2);
           head.lineTo(r.center().x() + 7.2, r.center().y() - 6.2);
           head.lineTo(r.center().x() + 2.6, r.center().y() - 2.4);
           head.closeSubpath();
           p.setPen(Qt::NoPen);
           p.setBrush(v.glyph);
           p.drawPath(head);
         });
  }
  Save(folder, QStringLiteral("Buttons/btnInfo.png"), 16, 16, [](QPainter& p, const QRectF& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawEllipse(r.adjusted(1, 1, -1, -1));
    p.setPen(Glyph(Qt::white, 1.8));
    p.drawLine(QPointF(8, 7.2), QPointF(8, 11.8));
    p.drawPoint(QPointF(8, 4.4));
  });
  Save(folder, QStringLiteral("General/img_DropDown.png"), 11, 7, [](QPainter& p, const QRectF&) {
    QPainterPath arrow;
    arrow.moveTo(0.5, 0.5);
    arrow.lineTo(10.5, 0.5);
    arrow.lineTo(5.5, 6.5);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawPath(arrow);
  });
}

// Arrows of the previous-logs screen: entry navigation (dark on the white buttons) and the
// calendar's month buttons (white on its grey navigation bar).
void DrawLogArrows(OutputFolder& folder) {
  struct Arrow {
    const char* name;
    int size;
    bool left;
    QColor colour;
  };
  const Arrow arrows[] = {{"General/imgArrowIt_Left.png", 16, true, QColor(0x40, 0x40, 0x40)},
                          {"General/imgArrowIt_Right.png", 16, false, QColor(0x40, 0x40, 0x40)},
                          {"General/img_ArrowMonthLeft.png", 22, true, Qt::white},
                          {"General/img_ArrowMonthRight.png", 22, false, Qt::white}};
  for (const Arrow& a : arrows) {
    Save(folder, QString::fromLatin1(a.name), a.size, a.size, [&](QPainter& p, const QRectF& r) {
      const qreal half = r.width() * 0.22;
      const QPointF c = r.center();
      const qreal dir = a.left ? -1 : 1;
      QPainterPath head;
      head.moveTo(c.x() + dir * half, c.y());
      head.lineTo(c.x() - dir * half * 0.8, c.y() - half * 1.3);
      head.lineTo(c.x() - dir * half * 0.8, c.y() + half * 1.3);
      head.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(a.colour);
      p.drawPath(head);
    });
  }
}

}  // namespace

void DrawPaintedArtwork(OutputFolder& folder) {
  DrawWindowButtons(folder);
  DrawGlobalButtons(folder);
  DrawSmallCloseButtons(folder);
  DrawSurfaces(folder);
  DrawSplashArtwork(folder);
  DrawDialogArtwork(folder);
  DrawScreenButtons(folder);
  DrawLogArrows(folder);
}

}  // namespace artwork
