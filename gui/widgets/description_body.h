#pragma once

#include <QTextBrowser>
#include <QVariant>

class QUrl;
class QWidget;

// The body of a description pop-up. Descriptions may carry markup; the body never follows links
// and loads images only from the program's own resources, never from files or the network.
class DescriptionBody : public QTextBrowser {
 public:
  explicit DescriptionBody(QWidget* parent = nullptr);

  QVariant loadResource(int type, const QUrl& name) override;
};
