#include "gui/widgets/description_body.h"

#include <QUrl>

DescriptionBody::DescriptionBody(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setOpenExternalLinks(false);
}

QVariant DescriptionBody::loadResource(int type, const QUrl& name) {
  const bool own = name.scheme() == QLatin1String("qrc") ||
                   (name.scheme().isEmpty() && name.path().startsWith(QLatin1Char(':')));
  return own ? QTextBrowser::loadResource(type, name) : QVariant();
}
