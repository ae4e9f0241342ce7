#pragma once

#include <QFont>
#include <QList>
#include <QMap>
#include <QString>
#include <QWidget>

class QFrame;
class QHBoxLayout;
class QLabel;
class QStackedWidget;
class QVBoxLayout;
class QWidget;

// One box of the breadcrumb: a finished step (ticked, with the option chosen on it) or a
// numbered current or future step.
class BreadcrumbStepWidget : public QWidget {
  Q_OBJECT

 public:
  enum State { kDone = 0, kCurrent = 1, kFuture = 2 };
  enum Shape { kFirst = 0, kMiddle = 1, kLast = 2 };

  BreadcrumbStepWidget(QString text, int number, int state, int shape, QWidget* parent = nullptr);
  ~BreadcrumbStepWidget() override;

  void set_state(int state);
  int state() const { return state_; }
  void set_shape(int shape);
  int shape() const { return shape_; }
  int number() const { return number_; }
  // Steps are renumbered when one before them is removed.
  void set_number(int number);
  QString text() const { return text_; }
  QString subtext() const { return subtext_; }
  bool subtext_hidden() const { return subtext_hidden_; }

  void SetText(QString text);
  void SetSubtext(QString subtext);
  void set_subtext_hidden(bool hidden);

  // The font each text label needs so that its text fits its width.
  QMap<QLabel*, QFont> fonts() const;
  // Roles: 0 main text of the finished page, 1 main text of the numbered page, 2 subtext.
  void SetFonts(QList<QFont*> fonts);
  void ApplyFonts();
  void FitText(QLabel* label);

  QLabel* main_text_label() const { return main_text_label_; }
  QLabel* main_text_label_2() const { return main_text_label_2_; }
  QLabel* sub_text_label() const { return sub_text_label_; }
  QLabel* icon_label() const { return icon_label_; }
  QLabel* icon_label_2() const { return icon_label_2_; }
  QFrame* sub_text_frame() const { return sub_text_frame_; }
  QStackedWidget* content_stacked_widget() const { return content_stackedWidget_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildWidgetTree();
  void ApplySubtextVisibility();
  void ApplyMask();
  // Width the box leaves for a label's text, outer and inner margins and the icon taken off.
  int AvailableWidth(QLabel* label) const;

  bool subtext_hidden_ = false;
  int state_ = kFuture;
  int shape_ = kFirst;
  int number_ = 0;
  QString text_;
  QString subtext_;
  QMap<QLabel*, QFont> fonts_;

  QVBoxLayout* verticalLayout_2_ = nullptr;
  QStackedWidget* content_stackedWidget_ = nullptr;
  QWidget* full_content_page_ = nullptr;
  QVBoxLayout* content_layout_ = nullptr;
  QFrame* main_text_frame_ = nullptr;
  QHBoxLayout* main_text_layout_ = nullptr;
  QLabel* icon_label_ = nullptr;
  QLabel* main_text_label_ = nullptr;
  QFrame* sub_text_frame_ = nullptr;
  QHBoxLayout* sub_text_frame_layout_ = nullptr;
  QLabel* sub_text_label_ = nullptr;
  QWidget* half_content_page_ = nullptr;
  QVBoxLayout* verticalLayout_ = nullptr;
  QFrame* main_text_frame_2_ = nullptr;
  QHBoxLayout* main_text_layout_2_ = nullptr;
  QLabel* icon_label_2_ = nullptr;
  QLabel* main_text_label_2_ = nullptr;
};

// The strip of flow steps at the top of the main window, driven by the screen-flow controller.
class BreadcrumbWidget : public QWidget {
  Q_OBJECT

 public:
  explicit BreadcrumbWidget(QWidget* parent = nullptr);
  ~BreadcrumbWidget() override;

  void AddStep(QString text);
  void RemoveStep(int index);
  void Clear();
  void Reset();
  void SetCurrentStepSubtext(QString subtext);
  void HideCurrentStepSubtext();
  void ShowCurrentStepSubtext();

  int step_count() const { return steps_.size(); }
  BreadcrumbStepWidget* step(int index) const;
  QWidget* separator(int index) const;
  int separator_count() const { return separators_.size(); }
  int current() const { return current_; }
  int previous() const { return previous_; }
  // Shared fonts by label role (see BreadcrumbStepWidget::SetFonts).
  QFont font_for_role(int role) const;

 public slots:
  void NextStep();
  void PreviousStep();

 private:
  void RestyleStep(int index);
  void RestyleAllSteps();
  void RestyleSeparators();
  void FoldStepFonts(BreadcrumbStepWidget* step);
  void ApplyFontsToAll();
  void ResetFonts();
  void RenumberSteps();
  void RefitAllSteps();

  QList<BreadcrumbStepWidget*> steps_;
  QList<QWidget*> separators_;
  QList<QFont*> fonts_;
  int current_ = -1;
  int previous_ = -1;
  QHBoxLayout* steps_layout_ = nullptr;
};
