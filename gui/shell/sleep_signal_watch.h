#pragma once

#include <QObject>

class QDBusConnection;

// logind's PrepareForSleep signal turned into the suspend and resume events of a power
// broadcast. Without the bus, or without logind on it, no event ever comes.
class SleepSignalWatch : public QObject {
  Q_OBJECT

 public:
  explicit SleepSignalWatch(const QDBusConnection& bus, QObject* parent = nullptr);
  // True when the bus took the subscription.
  bool listening() const { return listening_; }

 signals:
  void PowerEvent(unsigned long event);

 private slots:
  void OnPrepareForSleep(bool going_to_sleep);

 private:
  bool listening_;
};
