#include "gui/logs/log_results_model.h"

#include <QLatin1String>
#include <QPixmap>

#include "gui/logs/html_generator.h"
#include "gui/logs/report_images.h"

LogResultsModel::LogResultsModel(QObject* parent) : QAbstractListModel(parent) {}

LogResultsModel::~LogResultsModel() = default;

void LogResultsModel::SetEntries(const QVector<HtmlLogEntry>* entries) {
  beginResetModel();
  entries_ = entries;
  endResetModel();
}

int LogResultsModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || entries_ == nullptr) return 0;
  return static_cast<int>(entries_->size());
}

QString LogResultsModel::NumberText(int row) {
  return QString::number(row + 1) + QStringLiteral(". ");
}

QString LogResultsModel::TitleText(const HtmlLogEntry& entry) {
  return HtmlGenerator::Isolated(entry.title) + QStringLiteral(" - ") +
         HtmlGenerator::Isolated(entry.time_text);
}

QVariant LogResultsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() != 0 || index.row() >= rowCount()) return {};
  const HtmlLogEntry& entry = (*entries_)[index.row()];
  switch (role) {
    case Qt::DisplayRole:
      return TitleText(entry);
    case kNumberRole:
      return NumberText(index.row());
    case Qt::DecorationRole: {
      const char* image = report_images::SmallImage(entry.status);
      // Loaded once: the pixmap cache keeps it by its path.
      if (image != nullptr && *image != '\0') return QPixmap(QLatin1String(image));
      return {};
    }
    default:
      return {};
  }
}

Qt::ItemFlags LogResultsModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}
