#pragma once

#include <QFrame>
#include <QPointer>
#include <QString>
#include <QVector>
#include <QWidget>

class ElidedLabel;
class QAbstractButton;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QMovie;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

// The clickable header of an accordion section: its content (a title or a check box) and an
// extra button at its right end.
class ButtonFrame : public QFrame {
  Q_OBJECT

 public:
  ButtonFrame();
  ~ButtonFrame() override;

  void SetWidget(QWidget* widget);
  void SetButtonHidden(bool hidden);
  QPushButton* button() const { return button_; }
  QWidget* widget() const { return widget_; }

 signals:
  void Clicked();

 public slots:
  void BypassClickSignal();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  QHBoxLayout* layout_ = nullptr;
  QPushButton* button_ = nullptr;
  // The owner may delete the content before handing over the next one.
  QPointer<QWidget> widget_;
};

// One section of an accordion: a header that opens and closes a scrollable body. A checkable
// header's check box stands for the check boxes its owner lists in child_check_boxes.
class SubAccordionWidget : public QWidget {
  Q_OBJECT

 public:
  enum Kind { kCollapsible = 0, kAlwaysOpen = 1 };

  SubAccordionWidget(int index, int kind, QWidget* parent = nullptr);
  ~SubAccordionWidget() override;

  int index() const { return index_; }
  int set_index(int index);
  int kind() const { return kind_; }
  QString title() const { return title_; }
  void SetTitle(QString title);
  bool checkable_header() const { return checkable_header_; }
  bool set_checkable_header(bool checkable);
  int AddContent(QWidget* widget);
  int content_count() const { return content_.size(); }
  bool content_shown() const { return show_content_; }
  void SetContentShown(bool shown);
  void SetHeaderButtonHidden(bool hidden);
  bool loading() const;

  // The check boxes the header check box stands for; filled by the section's owner.
  QVector<QAbstractButton*>& child_check_boxes() { return child_check_boxes_; }
  QCheckBox* master_check_box() const { return master_check_box_; }
  QWidget* header_widget() const { return header_widget_; }
  ButtonFrame* header() const { return header_; }
  QFrame* body() const { return body_; }
  QScrollArea* scroll_area() const { return scroll_area_; }

 signals:
  void RequestShowStatusChange(int index, bool show_content);
  void HeaderCheckState(int state);

 public slots:
  void ShowLoadingGif();
  void HideLoadingGif();
  void TryToShowContent();
  void ChangeMasterCheckBoxState();
  void RestoreDefaultMaxHeightBody();
  void CorrectMasterCheckState(int state);
  void ByPassCheckableHeaderState(int state);

 private:
  QLabel* loading_label_ = nullptr;
  QMovie* loading_movie_ = nullptr;
  QWidget* header_widget_ = nullptr;
  QCheckBox* master_check_box_ = nullptr;
  QVector<QWidget*> content_;
  QVector<QAbstractButton*> child_check_boxes_;
  ButtonFrame* header_ = nullptr;
  QFrame* body_ = nullptr;
  QWidget* content_widget_ = nullptr;
  QVBoxLayout* content_layout_ = nullptr;
  QString title_;
  QScrollArea* scroll_area_ = nullptr;
  QFrame* separator_line_ = nullptr;
  int kind_;
  bool checkable_header_ = true;
  bool show_content_;
  int index_;
};

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
  QFrame* frame_ = nullptr;
  QVBoxLayout* frame_layout_ = nullptr;
  bool header_buttons_hidden_ = false;
};
