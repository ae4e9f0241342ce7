// Answers lookups in given contexts from fixed tables, as compiled catalogues would: a text
// asked for in any other context comes back untranslated.
#pragma once

#include <QHash>
#include <QString>
#include <QTranslator>

#include <utility>

namespace gui_test {

class TableTranslator : public QTranslator {
 public:
  // Context, then source text, then its translation.
  explicit TableTranslator(QHash<QString, QHash<QString, QString>> tables)
      : tables_(std::move(tables)) {}
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* = nullptr,
                    int = -1) const override {
    return tables_.value(QString::fromUtf8(context)).value(QString::fromUtf8(source));
  }

 private:
  QHash<QString, QHash<QString, QString>> tables_;
};

}  // namespace gui_test
