// The result list of the previous-logs screen: one row per entry found, with its number, its
// status icon and its title, which acts like a link. Rows are painted, not made of widgets, so
// that a search of the whole log lists tens of thousands of them at once.
#pragma once

#include <QPixmap>
#include <QString>
#include <QTableView>
#include <QTimer>
#include <QVector>

#include "gui/logs/html_log_entry.h"
#include "gui/logs/log_result_delegate.h"

class LogResultsModel;

// A title has the keyboard focus when its row is the current one: Tab and Backtab go from title
// to title and leave the list past the first and the last; a click, the space bar or Enter on
// a title opens its entry.
class LogResultsView : public QTableView {
  Q_OBJECT

 public:
  explicit LogResultsView(QWidget* parent);
  ~LogResultsView() override;

  // As the model's; the first title takes the focus the list is given.
  void SetEntries(const QVector<HtmlLogEntry>* entries);
  int rowCount() const;
  // Where the row's parts are painted, in the viewport's coordinates.
  LogResultRowLayout RowLayout(int row) const;
  QString NumberText(int row) const;
  QString TitleText(int row) const;
  QPixmap Icon(int row) const;
  LogResultDelegate* delegate() const { return delegate_; }
  // False while the titles are still being measured for the column's width.
  bool sized() const { return measured_ == rowCount(); }

 signals:
  void TitleClicked(int row);
  void TitleFocused(int row);

 protected:
  bool focusNextPrevChild(bool next) override;
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void changeEvent(QEvent* event) override;

 private:
  // The row whose title lies under the point of the viewport, -1 for none.
  int TitleAt(const QPoint& point) const;
  void SetHoveredRow(int row);
  int WidestNumber() const;
  // Number width and row height at once; the column widens as the titles are measured, a
  // slice of them per turn of the event loop.
  void StartSizing();
  void MeasureTitles();

  LogResultsModel* model_;
  LogResultDelegate* delegate_;
  const QVector<HtmlLogEntry>* entries_ = nullptr;
  QTimer measure_timer_;
  int measured_ = 0;
  int widest_title_ = 0;
};
