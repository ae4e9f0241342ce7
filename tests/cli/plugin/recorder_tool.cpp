// A tool plug-in for the tests: it records what the host handed it and returns exit status 17.
#include <getopt.h>

#include <cstdlib>
#include <fstream>

#include "cli/tool_cli.h"

namespace {

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
    while ((c = getopt_long(argc, argv, "s", longs, nullptr)) != -1) out << "option=" << char(c) << "\n";
    for (int i = optind; i < argc; ++i) out << "target=" << argv[i] << "\n";
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

extern "C" void ReleaseToolCli(ToolCli* tool) {
  delete tool;
  std::ofstream(RecordPath(), std::ios::app) << "released\n";
}
