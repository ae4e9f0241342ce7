#pragma once

#include <QString>
#include <QVector>
#include <QWidget>
#include <memory>

class ButtonFrame;
class QAbstractButton;
class QCheckBox;
class QFrame;
class QLabel;
class QMovie;
class QScrollArea;

namespace Ui {
class SubAccordionWidget;
}  // namespace Ui

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
  QFrame* body() const;
  QScrollArea* scroll_area() const;

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
  void MakeLoadingLabel();

  QLabel* loading_label_ = nullptr;
  QMovie* loading_movie_ = nullptr;
  QWidget* header_widget_ = nullptr;
  QCheckBox* master_check_box_ = nullptr;
  QVector<QWidget*> content_;
  QVector<QAbstractButton*> child_check_boxes_;
  ButtonFrame* header_ = nullptr;
  std::unique_ptr<Ui::SubAccordionWidget> form_;
  QString title_;
  int kind_;
  bool checkable_header_ = true;
  bool show_content_;
  int index_;
};
