#include "gui/shell/kolv_lite_dialog_header.h"

#include <QLabel>
#include <QPushButton>

#include "ui_kolv_lite_dialog_header.h"

KolvLiteDialogHeader::KolvLiteDialogHeader(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::KolvLiteDialogHeader>()) {
  ui_->setupUi(this);
  // Its style sheet paints a background, which a plain widget only does when asked.
  setAttribute(Qt::WA_StyledBackground, true);
}

KolvLiteDialogHeader::~KolvLiteDialogHeader() = default;

void KolvLiteDialogHeader::setTitleStyleSheet(const QString& sheet) {
  ui_->header_label->setStyleSheet(sheet);
}

QLabel* KolvLiteDialogHeader::icon_label() const { return ui_->header_icon_label; }

QLabel* KolvLiteDialogHeader::title_label() const { return ui_->header_label; }

QPushButton* KolvLiteDialogHeader::close_button() const { return ui_->close_pushButton; }
