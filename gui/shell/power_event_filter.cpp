#include "gui/shell/power_event_filter.h"

#include <QByteArray>
#include <QDBusConnection>

#include "gui/shell/kolv_lite_application.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

PowerEventFilter::PowerEventFilter(KolvLite* application) : application_(application) {}

bool PowerEventFilter::nativeEventFilter(const QByteArray& event_type, void* message,
                                         qintptr* result) {
  Q_UNUSED(result);
#ifdef Q_OS_WIN
  if (event_type == "windows_generic_MSG" && message != nullptr) {
    const MSG* msg = static_cast<const MSG*>(message);
    return application_->HandlePowerBroadcast(msg->message, static_cast<unsigned long>(msg->wParam));
  }
#else
  // Other window systems deliver no power broadcast through native events.
  Q_UNUSED(event_type);
  Q_UNUSED(message);
#endif
  return false;
}

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
