// Opens the repairing flows: warns that partitions get locked or dismounted and that a backup
// is advised, and goes on only once the user confirms.
#pragma once

#include <QPointer>
#include <string>

#include "gui/shell/kolv_lite_controller.h"
#include "gui/shell/kolv_lite_screen.h"

class QLabel;
class QPushButton;

class MdrWarningScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  explicit MdrWarningScreen(KolvLiteController* controller);
  ~MdrWarningScreen() override;

  void SetMode(bool dismount);
  void SetTitle(const std::string& key);

  QLabel* icon_label() const { return icon_; }
  QLabel* title_label() const { return title_; }
  QLabel* warning_label() const { return warning_; }
  QLabel* lock_label() const { return lock_; }
  QPushButton* next_button() const { return next_; }
  QPushButton* back_button() const { return back_; }

 public slots:
  void OnEnter() override;
  void OnExit() override;
  bool isBusy(QString& message) override;
  void Stop() override;
  void Unload() override;
  void DisplayPopUp();

 private:
  QLabel* icon_;
  QLabel* title_;
  QLabel* warning_;
  QLabel* lock_;
  QPushButton* next_;
  QPushButton* back_;
  // The controller may go first at program end.
  QPointer<KolvLiteController> controller_guard_;
};
