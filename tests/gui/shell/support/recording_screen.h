// A screen that records what the controller asks of it, and can be made busy.
#pragma once

#include <QStringList>
#include <functional>

#include "gui/shell/kolv_lite_screen.h"

class RecordingScreen : public KolvLiteScreen {
  Q_OBJECT

 public:
  RecordingScreen(KolvLiteController* controller, const QString& name, const QString& step = {})
      : KolvLiteScreen(controller), name_(name) {
    set_step(step);
  }

  void OnEnter() override {
    calls << QStringLiteral("enter:") + name_;
    loaded = true;
  }
  void OnExit() override {
    calls << QStringLiteral("exit:") + name_;
    if (on_exit) on_exit();
  }
  void OnKeyPress(QKeyEvent*) override { ++key_presses; }
  bool isBusy(QString& message) override {
    ++busy_questions;
    if (busy) message = QStringLiteral("working");
    return busy;
  }
  // A busy screen reports Stopped later, through FinishWork().
  void Stop() override {
    ++stop_requests;
    if (!busy) emit Stopped(this);
  }
  void Unload() override {
    ++unloads;
    loaded = false;
    if (delete_on_unload) delete this;
  }
  void FinishWork() {
    busy = false;
    emit Stopped(this);
  }

  // Shared log of enter/exit calls across screens, in order.
  static QStringList calls;
  bool busy = false;
  int busy_questions = 0;
  int stop_requests = 0;
  int unloads = 0;
  int key_presses = 0;
  bool delete_on_unload = false;  // as a plug-in's screen may
  std::function<void()> on_exit;

 private:
  QString name_;
};
