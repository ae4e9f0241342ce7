#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class QProgressBar;

namespace Ui {
class ProgressWidget;
}  // namespace Ui

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

  QLabel* progress_label() const;
  QLabel* status_label() const;
  QLabel* info_label() const;
  QProgressBar* progress_bar() const;

 private:
  void SetCompletedProgressBarStyle();

  std::unique_ptr<Ui::ProgressWidget> form_;
};
