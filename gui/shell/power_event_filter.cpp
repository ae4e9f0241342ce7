#include "gui/shell/power_event_filter.h"

#include <QByteArray>

#include "gui/shell/kolv_lite.h"

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
