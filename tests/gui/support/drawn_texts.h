// Records the texts a widget's style draws, as they reach the screen: a mnemonic mark is gone,
// a doubled '&' is one, and a cut name is cut, whatever the widget holds as its text.
#pragma once

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>
#include <QWidget>

namespace gui_test {

class DrawnTexts : public QProxyStyle {
 public:
  // Over the style the program runs with, so that sizes and cuts stay as they are.
  DrawnTexts() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

  // The texts the widget itself draws, painted now off screen.
  QStringList Of(QWidget* widget) {
    // A widget with a style of its own is not what the program paints: leave it alone.
    const bool own_style = widget->testAttribute(Qt::WA_SetStyle);
    if (!own_style) widget->setStyle(this);
    texts_.clear();
    painting_ = widget;
    QImage image(widget->size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    widget->render(&image);
    painting_ = nullptr;
    if (!own_style) widget->setStyle(nullptr);
    return texts_;
  }

  void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette,
                    bool enabled, const QString& text,
                    QPalette::ColorRole role = QPalette::NoRole) const override {
    if (painting_ != nullptr && painter->device() == painting_) texts_ << AsPainted(text, flags);
    QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, role);
  }

 private:
  // The painter shows a lone '&' as the mark under the next letter, a doubled one as itself.
  static QString AsPainted(const QString& text, int flags) {
    if ((flags & (Qt::TextShowMnemonic | Qt::TextHideMnemonic)) == 0) return text;
    QString painted;
    for (int i = 0; i < text.size(); ++i) {
      if (text[i] == QLatin1Char('&') && ++i == text.size()) break;
      painted += text[i];
    }
    return painted;
  }

  QPointer<QWidget> painting_;
  mutable QStringList texts_;
};

}  // namespace gui_test
