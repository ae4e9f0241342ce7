#include "tools/mendra/gui/mdr_diagnostic_widget.h"

#include <utility>

#include "tools/mendra/gui/mdr_test_widget.h"

MdrDiagnosticWidget::MdrDiagnosticWidget(QString device_name, QWidget* parent)
    : DiagnosticWidget(std::move(device_name), parent) {}

void MdrDiagnosticWidget::AddTest(int id, QString name) {
  const int row = RowFor(id);
  auto* added = new MdrTestWidget(std::move(name), row, table());
  added->ShowWaiting();
  RegisterTest(id, row, added);
}

MdrTestWidget* MdrDiagnosticWidget::row(int id) {
  return HasTest(id) ? qobject_cast<MdrTestWidget*>(&(*this)[id]) : nullptr;
}
