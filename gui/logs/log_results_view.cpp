#include "gui/logs/log_results_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/logs/log_results_model.h"

namespace {

// Titles measured in one turn of the event loop, at most: a few milliseconds.
constexpr qint64 kMeasureMsPerTurn = 8;
constexpr int kMeasuredBetweenChecks = 128;

}  // namespace

LogResultsView::LogResultsView(QWidget* parent)
    : QTableView(parent),
      model_(new LogResultsModel(this)),
      delegate_(new LogResultDelegate(this)) {
  setObjectName(QStringLiteral("results_tableWidget"));
  setModel(model_);
  setItemDelegate(delegate_);
  setShowGrid(false);
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab goes from title to title here, and out of the list past the ends.
  setTabKeyNavigation(false);
  setMouseTracking(true);
  setStyleSheet(QStringLiteral("QTableView{background-color: white;}"));
  QHeaderView* columns = horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Fixed);
  columns->setDefaultSectionSize(30);
  columns->setMinimumSectionSize(30);
  columns->setStretchLastSection(false);
  columns->hide();
  // Rows are alike: one height for all keeps the table from asking each row for its own.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->hide();
  measure_timer_.setSingleShot(true);
  measure_timer_.setInterval(0);
  connect(&measure_timer_, &QTimer::timeout, this, &LogResultsView::MeasureTitles);
  StartSizing();
}

LogResultsView::~LogResultsView() = default;

void LogResultsView::SetEntries(const QVector<HtmlLogEntry>* entries) {
  entries_ = entries;
  SetHoveredRow(-1);
  model_->SetEntries(entries);
  StartSizing();
  if (rowCount() > 0) {
    selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
  }
}

int LogResultsView::rowCount() const { return model_->rowCount(); }

LogResultRowLayout LogResultsView::RowLayout(int row) const {
  const QModelIndex index = model_->index(row, 0);
  if (!index.isValid()) return {};
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  return delegate_->Layout(option, index);
}

QString LogResultsView::NumberText(int row) const {
  return model_->index(row, 0).data(LogResultsModel::kNumberRole).toString();
}

QString LogResultsView::TitleText(int row) const {
  return model_->index(row, 0).data(Qt::DisplayRole).toString();
}

QPixmap LogResultsView::Icon(int row) const {
  return model_->index(row, 0).data(Qt::DecorationRole).value<QPixmap>();
}

int LogResultsView::TitleAt(const QPoint& point) const {
  const QModelIndex index = indexAt(point);
  if (!index.isValid()) return -1;
  return RowLayout(index.row()).title.contains(point) ? index.row() : -1;
}

void LogResultsView::SetHoveredRow(int row) {
  const int old = delegate_->hovered_row();
  if (row == old) return;
  delegate_->set_hovered_row(row);
  if (old >= 0) update(model_->index(old, 0));
  if (row >= 0) {
    update(model_->index(row, 0));
    viewport()->setCursor(Qt::PointingHandCursor);
  } else {
    viewport()->unsetCursor();
  }
}

bool LogResultsView::focusNextPrevChild(bool next) {
  // Only a Tab given to the list moves its focus from title to title.
  const QWidget* focused = QApplication::focusWidget();
  const int row = currentIndex().row();
  const int target = next ? row + 1 : row - 1;
  if ((focused == nullptr || focused == this) && row >= 0 && target >= 0 &&
      target < rowCount()) {
    setCurrentIndex(model_->index(target, 0));
    return true;
  }
  return QWidget::focusNextPrevChild(next);
}

void LogResultsView::focusInEvent(QFocusEvent* event) {
  // Tab enters the list at its first title, Backtab at its last.
  if (rowCount() > 0 && event->reason() == Qt::TabFocusReason) {
    setCurrentIndex(model_->index(0, 0));
  } else if (rowCount() > 0 && event->reason() == Qt::BacktabFocusReason) {
    setCurrentIndex(model_->index(rowCount() - 1, 0));
  }
  QTableView::focusInEvent(event);
}

void LogResultsView::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
      currentIndex().isValid()) {
    event->accept();
    emit TitleClicked(currentIndex().row());
    return;
  }
  QTableView::keyPressEvent(event);
}

void LogResultsView::mousePressEvent(QMouseEvent* event) {
  event->accept();
  const int row = TitleAt(event->position().toPoint());
  if (row < 0) return;
  setFocus(Qt::MouseFocusReason);
  setCurrentIndex(model_->index(row, 0));
  emit TitleClicked(row);
}

// The press of a double click has opened the entry already.
void LogResultsView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void LogResultsView::mouseMoveEvent(QMouseEvent* event) {
  SetHoveredRow(TitleAt(event->position().toPoint()));
  QTableView::mouseMoveEvent(event);
}

bool LogResultsView::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) SetHoveredRow(-1);
  return QTableView::viewportEvent(event);
}

void LogResultsView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (current.isValid()) emit TitleFocused(current.row());
}

void LogResultsView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) StartSizing();
}

// Numbers are measured by the advances of their digits, the widest again as a whole: the
// labels of tens of thousands of rows then cost a few additions each.
int LogResultsView::WidestNumber() const {
  const int rows = rowCount();
  if (rows == 0) return 0;
  const QFontMetrics metrics(font());
  int digit[10];
  for (int d = 0; d < 10; ++d) digit[d] = metrics.horizontalAdvance(QChar(u'0' + d));
  int widest_row = 0;
  int widest = -1;
  for (int row = 0; row < rows; ++row) {
    int width = 0;
    for (int number = row + 1; number > 0; number /= 10) width += digit[number % 10];
    if (width > widest) {
      widest = width;
      widest_row = row;
    }
  }
  return metrics.horizontalAdvance(LogResultsModel::NumberText(widest_row));
}

void LogResultsView::StartSizing() {
  delegate_->set_number_width(WidestNumber());
  const int height = delegate_->RowHeight(font());
  verticalHeader()->setMinimumSectionSize(height);
  verticalHeader()->setDefaultSectionSize(height);
  measured_ = 0;
  widest_title_ = 0;
  setColumnWidth(0, delegate_->RowWidth(0));
  MeasureTitles();
}

void LogResultsView::MeasureTitles() {
  const int rows = rowCount();
  if (measured_ >= rows) return;
  QElapsedTimer turn;
  turn.start();
  const QFontMetrics metrics(LogResultDelegate::TitleFont(font(), false));
  int widest = widest_title_;
  while (measured_ < rows) {
    widest = qMax(widest,
                  metrics.horizontalAdvance(LogResultsModel::TitleText((*entries_)[measured_])));
    ++measured_;
    if (measured_ % kMeasuredBetweenChecks == 0 && turn.elapsed() >= kMeasureMsPerTurn) break;
  }
  if (widest > widest_title_) {
    widest_title_ = widest;
    setColumnWidth(0, delegate_->RowWidth(widest_title_));
  }
  if (measured_ < rows) measure_timer_.start();
}
