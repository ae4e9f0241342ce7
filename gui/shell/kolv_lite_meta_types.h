// Every engine type that travels in a queued or blocking-queued call between the GUI thread and
// the worker, with the one spelling that signals, slots and string-based connections use. A type
// missing here makes Qt drop such a call with nothing but a warning.
#pragma once

#include <QMetaType>
#include <string>

#include "morva_service/input_request.h"
#include "morva_service/types.h"
#include "morva_service/views.h"

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(std::string*)
Q_DECLARE_METATYPE(InputRequest*)
Q_DECLARE_METATYPE(morva_service::TestStatus*)
Q_DECLARE_METATYPE(morva_service::ModuleInterfaceView*)

// Registers the types above under their names; cheap to call again.
inline void RegisterKolvLiteMetaTypes() {
  static const bool registered = [] {
    qRegisterMetaType<std::string>("std::string");
    qRegisterMetaType<std::string*>("std::string*");
    qRegisterMetaType<InputRequest*>("InputRequest*");
    qRegisterMetaType<morva_service::TestStatus*>("morva_service::TestStatus*");
    qRegisterMetaType<morva_service::ModuleInterfaceView*>("morva_service::ModuleInterfaceView*");
    return true;
  }();
  (void)registered;
}
