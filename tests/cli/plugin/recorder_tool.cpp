// A tool plug-in for the tests: it records what the host handed it and returns exit status 17.
// With -w it holds the console and the interrupt as a tool does while the engine scans, and on
// an interrupt ends the run without waiting.
#include <getopt.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "cli/exit_status.h"
#include "cli/tool_cli.h"
#include "zerka/zerka.h"

namespace {

std::atomic<bool> g_interrupted{false};
void OnInterrupt(int) { g_interrupted = true; }

[[noreturn]] void WaitForAnInterrupt() {
  get_console();  // kept: the run ends without giving it back
  get_signal_handler()->Register(&OnInterrupt);
  std::printf("Waiting for an interrupt\n");
  std::fflush(stdout);
  while (!g_interrupted) usleep(10000);
  EndToolRunWithoutWaiting(kolv_exit::kTestCancelled);
}

std::string RecordPath() {
  const char* dir = std::getenv("KOLV_TEST_TMP");
  return std::string(dir ? dir : "/tmp") + "/tool_record.txt";
}

class RecorderTool : public ToolCli {
 public:
  RecorderTool(morva_service::ModuleInterfaceView* module, morva_service::ToolView* tool)
      : module_(module), tool_(tool) {}

  int Run(int argc, char** argv) override {
    std::ofstream out(RecordPath());
    out << "module=" << (module_ ? module_->name() : "null") << "\n";
    out << "tool=" << (tool_ ? tool_->name() : "null") << "\n";
    out << "BOOTABLE=" << GetProperty("BOOTABLE") << "\n";
    out << "next=" << (optind < argc ? argv[optind] : "") << "\n";
    // Continue the host's parse where it stopped.
    static const option longs[] = {{"scan", no_argument, nullptr, 's'}, {nullptr, 0, nullptr, 0}};
    int c;
    bool wait = false;
    while ((c = getopt_long(argc, argv, "sw", longs, nullptr)) != -1) {
      out << "option=" << char(c) << "\n";
      wait = wait || c == 'w';
    }
    for (int i = optind; i < argc; ++i) out << "target=" << argv[i] << "\n";
    out.close();
    if (wait) WaitForAnInterrupt();
    return Execute();
  }
  int Execute() override { return 17; }

 private:
  morva_service::ModuleInterfaceView* module_;
  morva_service::ToolView* tool_;
};

}  // namespace

extern "C" ToolCli* GetToolCli(morva_service::ModuleInterfaceView* module,
                               morva_service::ToolView* tool) {
  return new RecorderTool(module, tool);
}

#ifndef KOLV_TOOL_KEEPS_ITS_OBJECT
extern "C" void ReleaseToolCli(ToolCli* tool) {
  delete tool;
  std::ofstream(RecordPath(), std::ios::app) << "released\n";
}
#endif
