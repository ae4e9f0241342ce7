#include "gui/shell/kolv_lite_context.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QThread>

#include "gui/shell/engine_call.h"
#include "gui/shell/kolv_lite_meta_types.h"
#include "gui/shell/morva_service_executor.h"
#include "gui/shell/serial_devices_scan_controller.h"
#include "morva_service/morva_service.h"

KolvLiteContext::KolvLiteContext()
    : runs(1),
      current_iteration(0),
      selection_changed(false),
      worker(new QThread),
      scan_controller(nullptr),
      executor(nullptr),
      devices_loading_screen(nullptr),
      current_module(nullptr),
      selected_tool(nullptr) {
  RegisterKolvLiteMetaTypes();
  worker->setObjectName(QStringLiteral("KolvLiteWorker"));
  scan_controller = new SerialDevicesScanController(worker);
  morva_service::MorvaService* service = nullptr;
  EngineCallReturned([&service] { service = GetMorvaServiceInstance(); });
  executor = new MorvaServiceExecutor(service);
  worker->start(QThread::InheritPriority);
  executor->moveToThread(worker);
}

KolvLiteContext::~KolvLiteContext() {
  // A suite may still run on the worker, its listener events waiting in blocking-queued calls
  // on this thread, which will not serve them any more: abort it, let no further event reach
  // a listener, and discard what is already queued here (that releases the waiting worker and
  // leaves an open interaction request unanswered) until the worker has ended.
  executor->Shutdown();
  worker->quit();
  while (!worker->wait(QDeadlineTimer(10))) {
    QCoreApplication::removePostedEvents(nullptr, QEvent::MetaCall);
  }

  Clear();
  if (executor->morva_service()) ReleaseMorvaServiceInstance();
  delete scan_controller;
  delete executor;
  delete worker;
}

void KolvLiteContext::Clear() {
  selection_changed = false;
  runs = 1;
  current_iteration = 0;
  current_module = nullptr;
  selected_tool = nullptr;
  iteration_start_times.clear();
  tool_screens.clear();
  ClearSelection();
}

void KolvLiteContext::ClearSelection() {
  while (!selected_tests.isEmpty()) {
    DeviceTestSelection* record = selected_tests.takeFirst();
    if (record) delete record->diagnostics;
    delete record;
  }
  selected_devices.clear();
}
