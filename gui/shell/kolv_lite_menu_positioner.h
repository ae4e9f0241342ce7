#pragma once

#include <QObject>

class QEvent;
class QPushButton;

// Places the help menu under the help button, right edges aligned.
class KolvLiteMenuPositioner : public QObject {
  Q_OBJECT

 public:
  KolvLiteMenuPositioner(QPushButton* button, QObject* parent = nullptr);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* button_;
};
