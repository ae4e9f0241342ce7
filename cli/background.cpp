#include "cli/background.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "kolv_os/os.h"

const char kBackgroundMarker[] = "--vyx-instance";

namespace {
// How long a background copy waits for its parent to let go of the lock.
constexpr auto kParentLockWait = std::chrono::seconds(15);
constexpr auto kLockRetry = std::chrono::milliseconds(25);
}  // namespace

bool HasBackgroundMarker(int argc, char** argv) {
  for (int i = 0; i < argc; ++i)
    if (argv[i] && std::strcmp(argv[i], kBackgroundMarker) == 0) return true;
  return false;
}

int LaunchBackground(CliApplication& app, const std::vector<std::string>& argument_copy) {
  std::vector<std::string> arguments = argument_copy;
  if (arguments.empty()) arguments.push_back("kolv_cli");
  arguments.push_back(kBackgroundMarker);
  const std::string program = kolv_os::ExecutablePath();
  std::string error;
  if (program.empty() || kolv_os::SpawnDetached(program, arguments, error) < 0) {
    if (program.empty()) error = "the program's own path is unknown";
    std::printf("Background launch failed: %s\n", error.c_str());
    std::fflush(stdout);
    return 1;
  }
  (void)app;
  return 0;
}

int AcquireInstanceLock(ZerkaAppMutex* mutex, bool wait_for_parent) {
  int result = mutex->Acquire();
  if (!wait_for_parent) return result;
  const auto deadline = std::chrono::steady_clock::now() + kParentLockWait;
  while (result == ZerkaAppMutex::kHeldElsewhere && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(kLockRetry);
    result = mutex->Acquire();
  }
  return result;
}
