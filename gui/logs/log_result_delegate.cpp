#include "gui/logs/log_result_delegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

#include "gui/logs/log_results_model.h"

LogResultDelegate::LogResultDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

LogResultDelegate::~LogResultDelegate() = default;

QFont LogResultDelegate::TitleFont(const QFont& base, bool highlighted) {
  QFont font = base;
  font.setPixelSize(14);
  font.setUnderline(highlighted);
  return font;
}

QColor LogResultDelegate::TitleColor() { return QColor(0, 102, 204); }

LogResultRowLayout LogResultDelegate::Layout(const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const {
  const QRect& row = option.rect;
  LogResultRowLayout layout;
  layout.number = QRect(row.left(), row.top(), number_width_, row.height());
  layout.icon = QRect(layout.number.right() + 1 + kSpacing,
                      row.top() + (row.height() - kIconSize) / 2, kIconSize, kIconSize);
  const QFontMetrics title(TitleFont(option.font, false));
  layout.title = QRect(layout.icon.right() + 1 + kSpacing, row.top(),
                       title.horizontalAdvance(index.data(Qt::DisplayRole).toString()),
                       row.height());
  return layout;
}

bool LogResultDelegate::Highlighted(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  if (!(option.state & QStyle::State_Enabled)) return false;
  return index.row() == hovered_row_ || (option.state & QStyle::State_HasFocus);
}

int LogResultDelegate::RowHeight(const QFont& font) const {
  const int text = QFontMetrics(font).height();
  const int title = QFontMetrics(TitleFont(font, false)).height();
  return qMax(qMax(text, title), int(kIconSize));
}

int LogResultDelegate::RowWidth(int title_width) const {
  return number_width_ + kSpacing + kIconSize + kSpacing + title_width;
}

void LogResultDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const LogResultRowLayout layout = Layout(option, index);
  const bool enabled = option.state & QStyle::State_Enabled;
  const QPalette::ColorGroup group = enabled ? QPalette::Normal : QPalette::Disabled;
  painter->save();
  painter->setFont(option.font);
  painter->setPen(option.palette.color(group, QPalette::WindowText));
  painter->drawText(layout.number, Qt::AlignLeft | Qt::AlignVCenter,
                    index.data(LogResultsModel::kNumberRole).toString());
  const QPixmap icon = index.data(Qt::DecorationRole).value<QPixmap>();
  if (!icon.isNull()) painter->drawPixmap(layout.icon, icon);
  painter->setFont(TitleFont(option.font, Highlighted(option, index)));
  painter->setPen(enabled ? TitleColor() : option.palette.color(group, QPalette::WindowText));
  painter->drawText(layout.title, Qt::AlignLeft | Qt::AlignVCenter,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

QSize LogResultDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  const QFontMetrics title(TitleFont(option.font, false));
  return QSize(RowWidth(title.horizontalAdvance(index.data(Qt::DisplayRole).toString())),
               RowHeight(option.font));
}
