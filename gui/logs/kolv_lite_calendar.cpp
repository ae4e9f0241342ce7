#include "gui/logs/kolv_lite_calendar.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QTextCharFormat>
#include <QToolButton>

namespace {

const QColor kOutsideFill(0xef, 0xef, 0xef);
const QColor kBorder(0xd8, 0xd8, 0xd8);
const QColor kSelectedFill(0xb7, 0xe1, 0x33);
const QColor kSelectedBorder(0x78, 0xa4, 0x1f);
const QColor kDayFill(0xff, 0xff, 0xff);
const QColor kSundayText(0x1e, 0x73, 0xdc);
const QColor kDayText(0x19, 0x19, 0x19);
const QColor kOutsideText(0x69, 0x69, 0x69);

const char kStyleSheet[] =
    "QCalendarWidget QWidget#qt_calendar_navigationbar {"
    " min-height: 22px; max-height: 22px; background-color: #555555;"
    " border: 1px solid #4f4f4f; font: bold 11pt \"Segoe UI\"; }\n"
    "QCalendarWidget QAbstractItemView {"
    " selection-color: #2e6900; selection-background-color: #b7e133;"
    " background-color: #ffffff; }\n"
    "QCalendarWidget QToolButton#qt_calendar_prevmonth {"
    " qproperty-icon: url(:/kolv_lite/Resources/Images/General/img_ArrowMonthLeft.png);"
    " qproperty-iconSize: 22px 22px; min-width: 22px; max-width: 22px;"
    " min-height: 22px; max-height: 22px; border: none; }\n"
    "QCalendarWidget QToolButton#qt_calendar_nextmonth {"
    " qproperty-icon: url(:/kolv_lite/Resources/Images/General/img_ArrowMonthRight.png);"
    " qproperty-iconSize: 22px 22px; min-width: 22px; max-width: 22px;"
    " min-height: 22px; max-height: 22px; border: none; }\n"
    "QCalendarWidget QToolButton#qt_calendar_monthbutton {"
    " background: transparent; color: white; font: 9pt \"Segoe UI\";"
    " min-width: 95px; max-width: 95px; }\n"
    "QCalendarWidget QToolButton#qt_calendar_yearbutton {"
    " background: transparent; color: white; font: 9pt \"Segoe UI\"; min-width: 48px; }\n"
    "QCalendarWidget QSpinBox#qt_calendar_yearedit { font: 9pt \"Segoe UI\"; }\n";

}  // namespace

KolvLiteCalendar::KolvLiteCalendar(QWidget* parent) : QCalendarWidget(parent) {
  setObjectName(QStringLiteral("KolvLiteCalendar"));
  setFixedSize(200, 190);
  setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  setGridVisible(false);

  QTextCharFormat header;
  header.setForeground(Qt::white);
  header.setBackground(kSundayText);
  header.setFontCapitalization(QFont::MixedCase);
  header.setFontWeight(QFont::Bold);
  header.setFontPointSize(7);
  setHeaderTextFormat(header);
  setWeekdayTextFormat(Qt::Saturday, header);
  setWeekdayTextFormat(Qt::Sunday, header);

  setStyleSheet(QLatin1String(kStyleSheet));
  // Style sheets cannot change the case of a text.
  if (auto* month = findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"))) {
    QFont font = month->font();
    font.setCapitalization(QFont::AllUppercase);
    month->setFont(font);
  }
  connect(this, &QCalendarWidget::selectionChanged, this, &KolvLiteCalendar::SelectionChange);
}

KolvLiteCalendar::~KolvLiteCalendar() = default;

void KolvLiteCalendar::SelectionChange() { updateCells(); }

void KolvLiteCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const {
  const bool week_start = date.dayOfWeek() == firstDayOfWeek();
  // The frame takes in the last line of the cells above and to the left, so that two cells
  // share one border line instead of drawing two; the first column keeps its own left line.
  const QRect frame(QPoint(rect.left() - (week_start ? 0 : 1), rect.top() - 1), rect.bottomRight());
  const QDate selected = selectedDate();
  const bool shown_month = date.month() == monthShown() && date.year() == yearShown();

  QColor fill = kDayFill;
  QColor border = kBorder;
  QColor text = date.dayOfWeek() == Qt::Sunday ? kSundayText : kDayText;
  if (date > maximumDate()) {
    fill = kOutsideFill;
    text = kOutsideText;
  } else if (date == selected) {
    fill = kSelectedFill;
    border = kSelectedBorder;
  } else if (!shown_month) {
    fill = kOutsideFill;
    text = kOutsideText;
  }

  painter->save();
  painter->fillRect(rect, fill);
  painter->setPen(border);
  // A rectangle's outline covers one pixel more than its size: this one ends on the frame.
  painter->drawRect(frame.adjusted(0, 0, -1, -1));

  // The neighbours painted after the selected cell cover its right and bottom border lines;
  // they draw those lines again in the selection's colour.
  if (selected.isValid()) {
    painter->setPen(kSelectedBorder);
    if (date == selected.addDays(1) && !week_start) {
      painter->drawLine(frame.topLeft(), frame.bottomLeft());
    } else if (date == selected.addDays(7)) {
      painter->drawLine(frame.topLeft(), frame.topRight());
    } else if (date == selected.addDays(8) && !week_start) {
      painter->drawPoint(frame.topLeft());
    }
  }

  QFont font(QApplication::font().family());
  font.setPointSize(8);
  font.setBold(true);
  painter->setFont(font);
  painter->setPen(text);
  painter->drawText(frame, Qt::AlignCenter, date.toString(QStringLiteral("dd")));
  painter->restore();
}
