#pragma once

#include <QString>
#include <QWidget>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QProgressBar;

// The overall progress panel of a run: percentage, status word, information text and bar.
class ProgressWidget : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWidget(QWidget* parent = nullptr);
  ~ProgressWidget() override;

  void SetProgress(int progress);
  // The run was aborted: the status says so, unless the bar is full, and the bar keeps the
  // progress it reached.
  void ShowAborted();
  void SetStatusText(QString text);
  void SetInfoText(QString text);

  QLabel* progress_label() const { return progress_label_; }
  QLabel* status_label() const { return status_label_; }
  QLabel* info_label() const { return info_label_; }
  QProgressBar* progress_bar() const { return progressBar_; }

 private:
  void SetCompletedProgressBarStyle();

  QHBoxLayout* horizontalLayout_ = nullptr;
  QFrame* content_frame_ = nullptr;
  QGridLayout* gridLayout_ = nullptr;
  QLabel* progress_label_ = nullptr;
  QLabel* status_label_ = nullptr;
  QLabel* info_label_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
};
