// The date pickers' pop-up calendar of the previous-logs screen: flat cells that share their
// border lines, the selected day framed in green, days past the maximum greyed out.
#pragma once

#include <QCalendarWidget>
#include <QDate>

class QPainter;
class QRect;

class KolvLiteCalendar : public QCalendarWidget {
  Q_OBJECT

 public:
  explicit KolvLiteCalendar(QWidget* parent);
  ~KolvLiteCalendar() override;

 public slots:
  void SelectionChange();

 protected:
  void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;
};
