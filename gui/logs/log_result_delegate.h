#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QStyledItemDelegate>

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
