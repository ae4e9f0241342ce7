#include "gui/widgets/diagnostic_widget.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <stdexcept>
#include <utility>

#include "gui/widgets/elided_label.h"
#include "gui/widgets/literal_button_text.h"
#include "gui/widgets/test_widget.h"

namespace {

// The table's rules live here too: set on the table once Qt has made its scroll bars, headers
// and viewport, a sheet of its own would style all of them a second time.
const char kPanelStyle[] =
    "[accessibleName=\"device_header_widget\"] {\n"
    "  border-style: solid;\n"
    "  border-width: 2px;\n"
    "  border-top-color: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
    " stop:0.5 #BDBDBD, stop:0.51 #FFFFFF);\n"
    "  border-bottom-color: qlineargradient(x1:0, y1:1, x2:0, y2:0,"
    " stop:0.5 #BDBDBD, stop:0.51 #FFFFFF);\n"
    "  border-left-color: qlineargradient(x1:0, y1:0, x2:1, y2:0,"
    " stop:0.5 #BDBDBD, stop:0.51 #FFFFFF);\n"
    "  border-right-color: qlineargradient(x1:1, y1:0, x2:0, y2:0,"
    " stop:0.5 #BDBDBD, stop:0.51 #FFFFFF);\n"
    "}\n"
    "[accessibleName=\"test_container_widget\"] { border: none; }\n"
    "QTableWidget { border: 1px #FF0000; }\n"
    "QTableWidget::item { border-bottom: 1px solid #BDBDBD; border-left: 1px solid #BDBDBD;"
    " border-right: 1px solid #BDBDBD;}\n";

const char kHeaderStyle[] =
    "color: rgb(0, 0, 0);\nbackground-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, "
    "y2:1,stop:1 #CCCCCC, stop:0 #F1F1F1);";

const char kBoldLabelStyle[] = ".QLabel { font: bold 9pt \"Segoe UI\";}";

QFont HeaderFont(bool bold) {
  QFont font("Segoe UI", 9);
  font.setBold(bold);
  return font;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TestsTableWidget

TestsTableWidget::TestsTableWidget(QWidget* parent) : QTableWidget(parent) {
  setObjectName("table");
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setFrameShape(QFrame::Box);
  setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
  setAlternatingRowColors(true);
  setShowGrid(false);
}

TestsTableWidget::~TestsTableWidget() = default;

void TestsTableWidget::wheelEvent(QWheelEvent* event) { event->ignore(); }

// ---------------------------------------------------------------------------------------------
// DiagnosticWidget

DiagnosticWidget::DiagnosticWidget(QString device_name, QWidget* parent) : QWidget(parent) {
  BuildWidgetTree();
  // Made where it stays: moving a styled widget styles its whole tree again.
  table_ = new TestsTableWidget(test_container_widget_);
  table_->setColumnCount(1);
  test_container_layout_->addWidget(table_);
  set_device_name(std::move(device_name));
  result_code_text_label_->hide();
}

DiagnosticWidget::~DiagnosticWidget() = default;

void DiagnosticWidget::BuildWidgetTree() {
  setObjectName("DiagnosticWidget");
  resize(519, 247);
  setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
  setWindowTitle("DeviceProgressWidget");
  setStyleSheet(kPanelStyle);

  verticalLayout_ = new QVBoxLayout(this);
  verticalLayout_->setObjectName("verticalLayout");
  verticalLayout_->setSpacing(0);
  verticalLayout_->setContentsMargins(0, 0, 0, 0);
  verticalLayout_->setSizeConstraint(QLayout::SetNoConstraint);

  device_header_widget_ = new QWidget(this);
  device_header_widget_->setObjectName("device_header_widget");
  device_header_widget_->setFixedHeight(28);
  device_header_widget_->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
  device_header_widget_->setAccessibleName("device_header_widget");
  device_header_widget_->setAttribute(Qt::WA_StyledBackground, true);
  device_header_widget_->setStyleSheet(kHeaderStyle);
  horizontalLayout_ = new QHBoxLayout(device_header_widget_);
  horizontalLayout_->setObjectName("horizontalLayout");
  horizontalLayout_->setSpacing(2);
  horizontalLayout_->setContentsMargins(2, 2, 2, 2);

  // The device name and result code come from the engine: plain text only. Ignored
  // horizontally, the name asks the header for no width of its own.
  device_name_label_ = new ElidedLabel(device_header_widget_);
  device_name_label_->setObjectName("device_name_label");
  device_name_label_->setFont(HeaderFont(true));
  device_name_label_->setFrameShape(QFrame::Box);
  device_name_label_->setLineWidth(0);
  device_name_label_->setContentsMargins(10, 0, 0, 0);
  device_name_label_->set_wrap_mode(ElidedLabel::NoWrap);
  device_name_label_->set_alignment(ElidedLabel::AlignVCenter);
  device_name_label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  device_name_label_->set_text("DEVICE NAME");
  horizontalLayout_->addWidget(device_name_label_);

  result_code_text_label_ = new QLabel(device_header_widget_);
  result_code_text_label_->setObjectName("result_code_text_label");
  result_code_text_label_->setFont(HeaderFont(true));
  result_code_text_label_->setStyleSheet(kBoldLabelStyle);
  result_code_text_label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  result_code_text_label_->setTextFormat(Qt::PlainText);
  result_code_text_label_->setText(QCoreApplication::translate("DiagnosticWidget", "RESULT_CODE"));
  horizontalLayout_->addWidget(result_code_text_label_);

  result_code_label_ = new QLabel(device_header_widget_);
  result_code_label_->setObjectName("result_code_label");
  result_code_label_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
  result_code_label_->setFont(HeaderFont(false));
  result_code_label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  result_code_label_->setMargin(0);
  result_code_label_->setIndent(10);
  result_code_label_->setTextFormat(Qt::PlainText);
  horizontalLayout_->addWidget(result_code_label_);
  verticalLayout_->addWidget(device_header_widget_);

  test_container_widget_ = new QWidget(this);
  test_container_widget_->setObjectName("test_container_widget");
  test_container_widget_->setAccessibleName("test_container_widget");
  test_container_widget_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::MinimumExpanding);
  test_container_layout_ = new QVBoxLayout(test_container_widget_);
  test_container_layout_->setObjectName("test_container_layout");
  test_container_layout_->setSpacing(0);
  test_container_layout_->setContentsMargins(0, 0, 0, 0);
  verticalLayout_->addWidget(test_container_widget_);
}

void DiagnosticWidget::AddTest(int id, QString name) {
  const int row = RowFor(id);
  auto* added = new TestWidget(std::move(name), row, table_->viewport());
  added->set_status(WAITING);
  RegisterTest(id, row, added);
}

int DiagnosticWidget::RowFor(int id) const {
  const auto existing = tests_.constFind(id);
  if (existing != tests_.cend()) {
    for (int each = 0; each < table_->rowCount(); ++each) {
      if (table_->cellWidget(each, 0) == existing.value()) return each;
    }
  }
  return table_->rowCount();
}

void DiagnosticWidget::RegisterTest(int id, int row, TestWidget* added) {
  // A repeated id takes over its old row in place; the table deletes the widget it replaces,
  // and nothing else may still point at it.
  added->AdjustSizeToContents();
  connect(added, &TestWidget::TestMessageAdded, this, &DiagnosticWidget::AdjustSizeToContents);
  tests_.insert(id, added);
  if (row >= table_->rowCount()) table_->setRowCount(row + 1);
  table_->setCellWidget(row, 0, added);
  // The other rows keep their contents, and so their heights.
  table_->resizeRowToContents(row);
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
  table_->resizeRowsToContents();
  int sum = 0;
  for (int row = 0; row < table_->rowCount(); ++row) {
    if (auto* test = qobject_cast<TestWidget*>(table_->cellWidget(row, 0))) {
      sum += test->height() + 1;
    } else {
      sum += table_->rowHeight(row);
    }
  }
  const int height = device_header_widget_->height() + sum;
  resize(width(), height);
  setFixedHeight(height);
  table_->setColumnWidth(0, device_header_widget_->width());
  adjusting_ = false;
}

void DiagnosticWidget::wheelEvent(QWheelEvent* event) { event->ignore(); }

void DiagnosticWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  AdjustSizeToContents();
}

void DiagnosticWidget::set_device_name(QString name) {
  device_name_label_->setToolTip(LiteralToolTip(name));
  device_name_label_->set_text(name);
}

void DiagnosticWidget::set_unique_code(const std::string& code) {
  // The colon goes after the translated caption once, however often the code is set.
  result_code_text_label_->setText(
      QCoreApplication::translate("DiagnosticWidget", "RESULT_CODE") + ":");
  result_code_text_label_->show();
  result_code_label_->setText(QString::fromStdString(code));
}

int DiagnosticWidget::GetWidth() const { return device_header_widget_->width(); }
