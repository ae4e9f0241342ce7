#include "gui/shell/sleep_signal_watch.h"

#include <QDBusConnection>

#include "gui/shell/kolv_lite.h"

SleepSignalWatch::SleepSignalWatch(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), listening_(false) {
  if (!bus.isConnected()) return;
  QDBusConnection connection(bus);
  listening_ = connection.connect(QStringLiteral("org.freedesktop.login1"),
                                  QStringLiteral("/org/freedesktop/login1"),
                                  QStringLiteral("org.freedesktop.login1.Manager"),
                                  QStringLiteral("PrepareForSleep"), this,
                                  SLOT(OnPrepareForSleep(bool)));
}

void SleepSignalWatch::OnPrepareForSleep(bool going_to_sleep) {
  emit PowerEvent(going_to_sleep ? KolvLite::kPowerSuspend : KolvLite::kPowerResumeSuspend);
}
