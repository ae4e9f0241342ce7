// The result list of the previous-logs screen: one row per entry found, with its number, its
// status icon and its title, which acts like a link. Rows are painted, not made of widgets, so
// that a search of the whole log lists tens of thousands of them at once.
#pragma once

#include <QAbstractListModel>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVector>

#include "gui/logs/html_log_entry.h"

// The entries as rows, read from the screen's own list.
class LogResultsModel : public QAbstractListModel {
  Q_OBJECT

 public:
  enum Role { kNumberRole = Qt::UserRole + 1 };

  explicit LogResultsModel(QObject* parent);
  ~LogResultsModel() override;

  // The list is read until the next call and must not change meanwhile; null empties the model.
  void SetEntries(const QVector<HtmlLogEntry>* entries);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  static QString NumberText(int row);
  static QString TitleText(const HtmlLogEntry& entry);

 private:
  const QVector<HtmlLogEntry>* entries_ = nullptr;
};

// Where the parts of a row are painted.
struct LogResultRowLayout {
  QRect number;
  QRect icon;
  QRect title;
};

// Paints a row as a line of three labels: the number, as wide as the widest number, the icon,
// and the title in the link's colour, underlined under the mouse and when it has the focus.
class LogResultDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int kSpacing = 5;
  static constexpr int kIconSize = 16;

  explicit LogResultDelegate(QObject* parent);
  ~LogResultDelegate() override;

  static QFont TitleFont(const QFont& base, bool highlighted);
  static QColor TitleColor();

  void set_number_width(int width) { number_width_ = width; }
  int number_width() const { return number_width_; }
  // The row whose title the mouse is over, -1 for none.
  void set_hovered_row(int row) { hovered_row_ = row; }
  int hovered_row() const { return hovered_row_; }

  LogResultRowLayout Layout(const QStyleOptionViewItem& option, const QModelIndex& index) const;
  bool Highlighted(const QStyleOptionViewItem& option, const QModelIndex& index) const;
  int RowHeight(const QFont& font) const;
  // Number, icon and title side by side with nothing cut.
  int RowWidth(int title_width) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  int number_width_ = 0;
  int hovered_row_ = -1;
};

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
