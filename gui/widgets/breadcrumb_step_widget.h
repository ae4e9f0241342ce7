#pragma once

#include <QFont>
#include <QList>
#include <QMap>
#include <QString>
#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QStackedWidget;

namespace Ui {
class BreadcrumbStepWidget;
}  // namespace Ui

// One box of the breadcrumb: a finished step (ticked, with the option chosen on it) or a
// numbered current or future step.
class BreadcrumbStepWidget : public QWidget {
  Q_OBJECT

 public:
  enum State { kDone = 0, kCurrent = 1, kFuture = 2 };
  enum Shape { kFirst = 0, kMiddle = 1, kLast = 2 };
  enum FontRole { kDoneText = 0, kNumberedText = 1, kSubtext = 2 };

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
  // Indexed by FontRole: the main text of the finished page, that of the numbered page, the
  // subtext.
  void SetFonts(QList<QFont*> fonts);
  // The font of a role before any text has made it smaller.
  static QFont FullSizeFont(int role);
  void ApplyFonts();
  void FitText(QLabel* label);

  QLabel* main_text_label() const;
  QLabel* main_text_label_2() const;
  QLabel* sub_text_label() const;
  QLabel* icon_label() const;
  QLabel* icon_label_2() const;
  QFrame* sub_text_frame() const;
  QStackedWidget* content_stacked_widget() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
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

  std::unique_ptr<Ui::BreadcrumbStepWidget> form_;
};
