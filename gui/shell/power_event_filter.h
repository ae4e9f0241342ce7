// Hands the window system's power broadcasts, where there are any, to the application object.
#pragma once

#include <QAbstractNativeEventFilter>

class KolvLite;

class PowerEventFilter : public QAbstractNativeEventFilter {
 public:
  explicit PowerEventFilter(KolvLite* application);
  bool nativeEventFilter(const QByteArray& event_type, void* message, qintptr* result) override;

 private:
  KolvLite* application_;
};
