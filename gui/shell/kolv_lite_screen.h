// Base of every page of the windowed program. The controller enters and leaves screens; screens
// never switch pages themselves.
#pragma once

#include <QString>
#include <QWidget>

class KolvLiteController;
class QKeyEvent;

class KolvLiteScreen : public QWidget {
  Q_OBJECT

 public:
  explicit KolvLiteScreen(KolvLiteController* controller);
  ~KolvLiteScreen() override;

  // A screen with an empty step has no step in the breadcrumb.
  bool HasStep() const;
  QString step() const;
  void set_step(QString step);
  // Shown under the screen's breadcrumb step once the flow has moved past it.
  QString step_selected_option() const;
  void set_selected_option(QString option);
  bool IsLoaded() const;

 public slots:
  // Called before the screen becomes visible; builds its content when it is not loaded.
  virtual void OnEnter();
  // Called on the current screen before another one becomes current.
  virtual void OnExit();
  virtual void OnKeyPress(QKeyEvent* event);
  // True while work of the screen is running; message may receive a reason.
  virtual bool isBusy(QString& message) = 0;
  // Stops the screen's work and emits Stopped(this) once stopped, at once when idle.
  virtual void Stop() = 0;
  // Forgets loaded content; the next OnEnter builds it again.
  virtual void Unload() = 0;

 signals:
  void Stopped(KolvLiteScreen* screen);

 protected:
  KolvLiteController* controller;
  QString step_;
  QString selected_option;
  bool loaded;
};
