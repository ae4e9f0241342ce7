#include "gui/widgets/diagnostic_widget.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWheelEvent>

#include <stdexcept>
#include <utility>

#include "gui/widgets/elided_label.h"
#include "gui/widgets/literal_button_text.h"
#include "gui/widgets/test_widget.h"
#include "gui/widgets/tests_table_widget.h"
#include "ui_diagnostic_widget.h"

DiagnosticWidget::DiagnosticWidget(QString device_name, QWidget* parent)
    : QWidget(parent), form_(std::make_unique<Ui::DiagnosticWidget>()) {
  form_->setupUi(this);
  form_->device_header_widget->setAttribute(Qt::WA_StyledBackground, true);
  // Set here, not in the form: the form's policy would keep the label's height for width, which
  // a one-line name never asks for. Ignored horizontally, it asks the header for no width.
  form_->device_name_label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  form_->device_name_label->setContentsMargins(10, 0, 0, 0);
  set_device_name(std::move(device_name));
  form_->result_code_text_label->hide();
}

DiagnosticWidget::~DiagnosticWidget() = default;

TestsTableWidget* DiagnosticWidget::table() const { return form_->table; }

QWidget* DiagnosticWidget::device_header_widget() const { return form_->device_header_widget; }

ElidedLabel* DiagnosticWidget::device_name_label() const { return form_->device_name_label; }

QLabel* DiagnosticWidget::result_code_text_label() const { return form_->result_code_text_label; }

QLabel* DiagnosticWidget::result_code_label() const { return form_->result_code_label; }

void DiagnosticWidget::AddTest(int id, QString name) {
  const int row = RowFor(id);
  auto* added = new TestWidget(std::move(name), row, form_->table->viewport());
  added->set_status(WAITING);
  RegisterTest(id, row, added);
}

int DiagnosticWidget::RowFor(int id) const {
  const auto existing = tests_.constFind(id);
  if (existing != tests_.cend()) {
    for (int each = 0; each < form_->table->rowCount(); ++each) {
      if (form_->table->cellWidget(each, 0) == existing.value()) return each;
    }
  }
  return form_->table->rowCount();
}

void DiagnosticWidget::RegisterTest(int id, int row, TestWidget* added) {
  // A repeated id takes over its old row in place; the table deletes the widget it replaces,
  // and nothing else may still point at it.
  added->AdjustSizeToContents();
  connect(added, &TestWidget::TestMessageAdded, this, &DiagnosticWidget::AdjustSizeToContents);
  tests_.insert(id, added);
  if (row >= form_->table->rowCount()) form_->table->setRowCount(row + 1);
  form_->table->setCellWidget(row, 0, added);
  // The other rows keep their contents, and so their heights.
  form_->table->resizeRowToContents(row);
}

TestWidget& DiagnosticWidget::operator[](int id) {
  const auto found = tests_.constFind(id);
  if (found == tests_.cend()) {
    throw std::out_of_range("DiagnosticWidget: no test row for id " + std::to_string(id));
  }
  return *found.value();
}

void DiagnosticWidget::AbortAll() {
  for (TestWidget* row : std::as_const(tests_)) {
    const int status = row->test_status();
    const bool finished = status != WAITING && status != RUNNING;
    if (finished) continue;
    if (row->progress() != 100) {
      row->set_status(ABORTED);
    } else {
      // Its work is done though its end was never reported: keep the status, stop the spinner.
      row->StopSpinning();
    }
  }
}

void DiagnosticWidget::AdjustSizeToContents() {
  if (adjusting_) return;
  adjusting_ = true;
  form_->table->resizeRowsToContents();
  int sum = 0;
  for (int row = 0; row < form_->table->rowCount(); ++row) {
    if (auto* test = qobject_cast<TestWidget*>(form_->table->cellWidget(row, 0))) {
      sum += test->height() + 1;
    } else {
      sum += form_->table->rowHeight(row);
    }
  }
  const int height = form_->device_header_widget->height() + sum;
  resize(width(), height);
  setFixedHeight(height);
  form_->table->setColumnWidth(0, form_->device_header_widget->width());
  adjusting_ = false;
}

void DiagnosticWidget::wheelEvent(QWheelEvent* event) { event->ignore(); }

void DiagnosticWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  AdjustSizeToContents();
}

void DiagnosticWidget::set_device_name(QString name) {
  form_->device_name_label->setToolTip(LiteralToolTip(name));
  form_->device_name_label->set_text(name);
}

void DiagnosticWidget::set_unique_code(const std::string& code) {
  // The colon goes after the translated caption once, however often the code is set.
  form_->result_code_text_label->setText(
      QCoreApplication::translate("DiagnosticWidget", "RESULT_CODE") + ":");
  form_->result_code_text_label->show();
  form_->result_code_label->setText(QString::fromStdString(code));
}

int DiagnosticWidget::GetWidth() const { return form_->device_header_widget->width(); }
