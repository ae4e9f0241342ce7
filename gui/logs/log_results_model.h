#pragma once

#include <QAbstractListModel>
#include <QString>
#include <QVariant>
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
