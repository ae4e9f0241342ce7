#include "cli/thread_manager.h"

#include <chrono>

#include "cli/console_interrupt.h"

void (*ThreadManager::after_engine_release)() = nullptr;

ThreadManager& ThreadManager::Storage() {
  static ThreadManager* instance = new ThreadManager();  // never destroyed: threads may outlive main
  return *instance;
}

ThreadManager& ThreadManager::Instance() {
  ThreadManager& instance = Storage();
  std::unique_lock<std::mutex> lock(instance.mutex_);
  if (instance.state_ == State::kStopped) instance.StartLocked(lock);
  return instance;
}

void ThreadManager::WakeWaiters() {
  ThreadManager& instance = Storage();
  std::lock_guard<std::mutex> lock(instance.mutex_);
  instance.changed_.notify_all();
}

void ThreadManager::StartLocked(std::unique_lock<std::mutex>& lock) {
  state_ = State::kStarting;
  service_ = nullptr;
  modules_ = nullptr;
  commands_.clear();
  ZerkaThreads* threads = get_thread();
  ZerkaThreadHandle handle = nullptr;
  if (!threads || threads->Create(handle, 0, &ThreadManager::Procedure, this, "ThreadManager") != 0) {
    // No thread: nothing will ever load the service, so waiters must not wait for it.
    state_ = State::kReady;
    changed_.notify_all();
    return;
  }
  handle_ = handle;
  thread_running_ = true;
  threads->SetPriority(handle_, 0);
  (void)lock;
}

int ThreadManager::Procedure(void* argument) { return static_cast<ThreadManager*>(argument)->Loop(); }

int ThreadManager::Loop() {
  // An engine that throws as it loads (out of memory, for one) is an engine that did not load.
  morva_service::MorvaService* service = nullptr;
  std::vector<ModuleInterfaceView*>* modules = nullptr;
  try {
    service = GetMorvaServiceInstance();
    modules = service ? service->LoadModules() : nullptr;
  } catch (...) {
    modules = nullptr;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  service_ = service;
  modules_ = modules;
  if (state_ == State::kStarting) state_ = State::kReady;
  changed_.notify_all();
  if (!service) return 2;

  for (;;) {
    changed_.wait(lock, [this] { return state_ == State::kStopping || !commands_.empty(); });
    if (state_ == State::kStopping) break;
    Command command = std::move(commands_.front());
    commands_.pop_front();
    const int64_t group = group_id_;
    lock.unlock();
    if (command.kind == Command::kScan) {
      command.record->result.store(Scan(command.module));
      lock.lock();
      command.record->done.store(1);
      changed_.notify_all();
      lock.unlock();
    } else {
      const bool ran = Run(service, command, group);
      if (command.on_done) command.on_done(ran);
    }
    lock.lock();
  }
  service_ = nullptr;
  modules_ = nullptr;
  lock.unlock();
  ReleaseMorvaServiceInstance();
  if (after_engine_release) after_engine_release();
  return 0;
}

uint64_t ThreadManager::Scan(ModuleInterfaceView* module) {
  try {
    return module ? static_cast<uint64_t>(module->Scan()) : 1;
  } catch (...) {
    return 1;  // a failed scan
  }
}

bool ThreadManager::Run(morva_service::MorvaService* service, Command& command, int64_t group) {
  if (!command.module || !command.device) return true;
  bool ran = true;
  service->set_suite_listener(command.suite_listener);
  service->set_test_listener(command.test_listener);
  try {
    service->Execute(command.module, command.device, std::move(command.diagnostics), group);
  } catch (...) {
    ran = false;
  }
  // The listeners die with the run; the engine must not keep them.
  service->set_suite_listener(nullptr);
  service->set_test_listener(nullptr);
  return ran;
}

morva_service::MorvaService* ThreadManager::service() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return state_ != State::kStarting; });
  return service_;
}

std::vector<ModuleInterfaceView*>* ThreadManager::loaded_modules() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return state_ != State::kStarting; });
  return modules_;
}

void ThreadManager::SetModule(ModuleInterfaceView* module) {
  std::lock_guard<std::mutex> lock(mutex_);
  current_module_ = module;
}

void ThreadManager::SetGroupId(int64_t group_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  group_id_ = group_id;
}

void ThreadManager::PostScan(ScanRecord* record) {
  std::lock_guard<std::mutex> lock(mutex_);
  record->done.store(0);
  record->result.store(0);
  if (!service_ || state_ != State::kReady) {
    // Nobody would run it: report it over, and failed.
    record->result.store(1);
    record->done.store(1);
    return;
  }
  Command command;
  command.kind = Command::kScan;
  command.record = record;
  command.module = current_module_;
  commands_.push_back(std::move(command));
  changed_.notify_all();
}

bool ThreadManager::WaitForScan(ScanRecord* record, uint32_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                           [record] { return record->done.load() != 0 || CliInterrupted(); });
}

void ThreadManager::PostRun(ModuleInterfaceView* module, SystemComponentView* device,
                            std::vector<morva_service::DiagnosticRun> diagnostics,
                            std::function<void(bool)> on_done,
                            morva_service::SuiteListenerView* suite_listener,
                            morva_service::TestListenerView* test_listener) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!service_ || state_ != State::kReady) {
    lock.unlock();
    if (on_done) on_done(false);
    return;
  }
  Command command;
  command.kind = Command::kRun;
  command.module = module;
  command.device = device;
  command.diagnostics = std::move(diagnostics);
  command.on_done = std::move(on_done);
  command.suite_listener = suite_listener;
  command.test_listener = test_listener;
  commands_.push_back(std::move(command));
  changed_.notify_all();
}

void ThreadManager::Stop() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (state_ == State::kStopped) return;
  state_ = State::kStopping;
  changed_.notify_all();
  const bool running = thread_running_;
  ZerkaThreadHandle handle = handle_;
  thread_running_ = false;
  handle_ = nullptr;
  lock.unlock();
  if (running) get_thread()->Join(handle);
  lock.lock();
  state_ = State::kStopped;
  commands_.clear();
  service_ = nullptr;
  modules_ = nullptr;
  changed_.notify_all();
}

void ThreadManager::ReleaseSemaphores() {
  std::lock_guard<std::mutex> lock(mutex_);
  changed_.notify_all();
}
