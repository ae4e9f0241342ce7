#pragma once

#include <QString>
#include <QVector>
#include <QWidget>
#include <memory>

#include "gui/widgets/sub_accordion_widget.h"

class QFrame;

namespace Ui {
class AccordionWidget;
}  // namespace Ui

// A vertical list of collapsible sections. Mode 0: one section open, a click on it closes it;
// mode 1: one section open, which stays open; mode 2: sections independent; mode 3: every
// section always open.
class AccordionWidget : public QWidget {
  Q_OBJECT

 public:
  enum Mode { kSingleClosable = 0, kSingleKeepsOpen = 1, kIndependent = 2, kAlwaysOpen = 3 };

  AccordionWidget(QWidget* parent, int mode);
  ~AccordionWidget() override;

  int AddSection(QString title, bool checkable_header);
  // Returns the section index used, -1 when there is no section.
  int AddWidgetToSection(QWidget* widget, int index);
  bool OpenSection(int index);
  void SetSectionHidden(int index, bool hidden);
  void SetSectionLoading(int index, bool loading);
  void set_item_height(int height) { item_height_ = height; }
  int item_height() const { return item_height_; }
  void SetHeaderButtonsHidden(bool hidden);
  void Clear();

  int mode() const { return mode_; }
  int current() const { return current_; }
  int section_count() const { return sections_.size(); }
  SubAccordionWidget* section(int index) const;
  QFrame* separator(int index) const;

 signals:
  void ChangedCurrentTab(int index);

 public slots:
  void DealWithStatusChange(int index, bool show_content);

 private:
  int current_ = -1;
  int item_height_ = 30;
  QVector<SubAccordionWidget*> sections_;
  QVector<QFrame*> separators_;
  int mode_;
  std::unique_ptr<Ui::AccordionWidget> form_;
  bool header_buttons_hidden_ = false;
};
