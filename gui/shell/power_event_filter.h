// Hands the power events of the system to the application object: the window system's power
// broadcasts where there are any, and logind's sleep signal on the system bus.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

class KolvLite;
class QDBusConnection;

class PowerEventFilter : public QAbstractNativeEventFilter {
 public:
  explicit PowerEventFilter(KolvLite* application);
  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;

 private:
  KolvLite* application_;
};

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
