#pragma once

#include <QString>
#include <QVector>
#include <QWidget>
#include <memory>

class ElidedLabel;
class QImage;
class QLabel;
class QMovie;
class QProgressBar;

namespace Ui {
class TestWidget;
}  // namespace Ui

// Status of one test row. Each name is also the translation key of its status text.
enum KolvLiteTestStatus : int {
  WAITING = 0,
  RUNNING = 1,
  SUCCESS = 2,
  FAILED = 3,
  NOT_APPLICABLE = 4,
  ABORTED = 5,
  WARNING = 6,
  INVALID = 7,
};

// One test row of a device panel: name, up to three messages, running animation, progress bar
// with percentage, status icon and status text. Derived rows override set_status and call the
// protected looks. The name and the messages take only the room the status leaves them: the name
// is elided beyond it, whole in its tool tip.
class TestWidget : public QWidget {
  Q_OBJECT

 public:
  TestWidget(QString test_name, int row, QWidget* parent = nullptr);
  ~TestWidget() override;

  virtual void set_status(KolvLiteTestStatus status);
  virtual int test_status() const;

  void set_progress(int progress);
  int progress() const { return progress_; }
  // Translates the message word by word in the given context and shows it under the name,
  // keeping the newest three.
  void AddTestMessage(QString message, QString context);
  void AdjustSizeToContents();
  int total_height() const { return total_height_; }
  // As high as the name and messages need at the row's width.
  QSize sizeHint() const override;

  QString test_name() const { return test_name_; }
  QVector<QString> messages() const { return messages_; }
  bool is_spinning() const;
  ElidedLabel* test_name_label() const;
  QLabel* test_messages_label() const;
  QLabel* progress_label() const;
  QLabel* img_label() const;
  QLabel* loading_gif_label() const;
  QProgressBar* progress_bar() const;
  // Stops the running animation and hides it, leaving status and text as they are.
  void StopSpinning();

 signals:
  void TestMessageAdded();

 protected:
  void resizeEvent(QResizeEvent* event) override;

  QLabel* UiTestStatusLabel() const;
  void UiWhenTestRunning();
  void UiWhenTestWaiting();
  void UiWhenFinishedTest(QImage* icon);
  void UpdateProgressBar();
  void SetCompletedProgressBarStyle();
  QString HandleMessageTranslation(QString message, QString context);

 private:
  void ShowFinishedLook(const QPixmap& icon);

  QMovie* movie_ = nullptr;
  QString test_name_;
  QVector<QString> messages_;
  int max_messages_ = 3;
  int status_ = WAITING;
  int progress_ = 0;

  std::unique_ptr<Ui::TestWidget> form_;

  int total_height_ = 23;
  bool completed_style_ = false;
};
