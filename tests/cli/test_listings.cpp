// Every listing of kolv_cli, as a user reads it on the console and as a supervising program reads
// it in the protocol form, against a scripted catalogue. The texts are compared whole.
#include <gtest/gtest.h>

#include <regex>

#include "cli/command_line.h"
#include "cli/listings.h"
#include "support/argv.h"
#include "support/run_program.h"
#include "support/texts.h"

namespace {

using clitest::kBanner;
using clitest::RunCli;

const char kRuler[] = "--------------------------------------------------------------\n";
const char kDots[] = "..............................................\n";

const char kGeneralHelp[] =
    "\n> General options\n"
    "  Usage: kolv_cli [option]\n"
    "  Options:\n"
    "    -A, --list-modules              Lists available modules\n"
    "    -h, --help                      Shows CLI general help\n"
    "    -v, --version                   Lists module(s) version\n"
    "    -o, --output                    Redirects CLI output to a file\n"
    "    -b, --background                Runs CLI in background mode\n\n"
    "> Module specific options\n"
    "  Usage: kolv_cli -Mmodule_name [option]\n"
    "         kolv_cli --module=module_name [option]\n"
    "  Options:\n"
    "    -h, --help                      Shows the help of the selected module\n"
    "    -L, --list-diagnostics          Lists diagnostics of the selected module(s)\n"
    "    -D, --list-devices              Lists devices of chosen module(s)\n"
    "    -R, --list-resources            Lists devices resources of chosen module(s)\n"
    "    -S, --list-tools                Lists tools of chosen module(s)\n"
    "    -T[hint], --tool=[hint]         Executes a tool of the chosen module\n\n"
    "> Perform diagnostics\n"
    "  Usage: kolv_cli [module] [device id(s)] [diagnostic]\"[test(s)]\"\n"
    "    -M[module_name]                 Performs default diagnostic of the module\n"
    "    -M[module_name] [Diagnostic]    Perform all tests of the diagnostic\n\n"
    "  Example:\n"
    "   => Perform tests f and r of diagnostic Q on devices 0 and 1 of the storage module\n"
    "      kolv_cli -Mstorage 0 1 -Q\"f,r\"";

// Storage: two devices (the first with two resources and a value holding ":::"), two
// diagnostics, a test that only device 0 supports, a test without a command-line option, a tool
// whose plug-in is there and one whose plug-in is not. Memory: no devices, tools or version.
const char kCatalogue[] = R"({
  "product_version": "1.0.0.1",
  "modules": [
    {
      "name": "Storage", "help": "STORAGE_HELP", "version": "2.0.0.7",
      "scan": {"duration": 0},
      "devices": [
        {"id": "0", "udi": "U0", "display_name": "DISK_ZERO",
         "rows": {"MODEL": "M0", "SERIAL_NUMBER_OF_THE_DISK": "S:::0"},
         "resources": [{"name": "PARTITION", "properties": {"LABEL": "SYS"}},
                       {"name": "VOLUME", "properties": {"SIZE": "10"}}]},
        {"id": "1", "udi": "U1", "display_name": "DISK_ONE", "rows": {"MODEL": "M1"}}
      ],
      "diagnostics": [
        {"id": "1.1.0", "name": "QUICK", "description": "QUICK_D",
         "tests": [{"id": "1.1.1", "name": "READ", "description": "READ_D"},
                   {"id": "1.1.2", "name": "SURFACE_SCAN", "description": "S_D", "devices": ["0"]}]},
        {"id": "1.2.0", "name": "LONG_RUN", "description": "LONG_D",
         "tests": [{"id": "1.2.3", "name": "SEEK", "description": "SEEK_D"}]}
      ],
      "diagnostic_options": [{"id": "1.1.0", "letter": "Q", "long_name": "quick"},
                             {"id": "1.2.0", "letter": "P", "long_name": "long"}],
      "test_options": [{"id": "1.1.1", "letter": "f", "long_name": "read"},
                       {"id": "1.1.2", "letter": "s", "long_name": "surface"}],
      "tools": [{"name": "Rec|Order", "hint": "record", "description": "RECORDER_D"},
                {"name": "Absent", "hint": "absent", "description": "ABSENT_D"}]
    },
    {"name": "Memory", "help": "MEMORY_HELP", "devices": [], "diagnostics": []}
  ]
})";

std::string CataloguePath() {
  static const std::string path = clitest::WriteScratchFile("listing_catalogue.json", kCatalogue);
  return path;
}

// What the program printed after the banner; the protocol form has no banner.
std::string Console(const std::vector<std::string>& args) {
  const auto r = RunCli(args, {{"MORVA_CATALOGUE", CataloguePath()}});
  EXPECT_EQ(r.status, 0) << r.out;
  if (r.out.rfind(kBanner, 0) != 0) {
    ADD_FAILURE() << "no banner: " << r.out;
    return r.out;
  }
  return r.out.substr(sizeof kBanner - 1);
}

std::string Protocol(std::vector<std::string> args) {
  args.insert(args.begin(), "--KOLV");
  const auto r = RunCli(args, {{"MORVA_CATALOGUE", CataloguePath()}});
  EXPECT_EQ(r.status, 0) << r.out;
  return r.out;
}

// The scan line is redrawn every half second while the scan runs, so a slow machine shows more
// frames; the first one, drawn as the scan starts, is always there.
std::string WithoutScanFrames(const std::string& text, const std::string& module) {
  const std::string first = "\\ Scanning " + module + " devices \r";
  EXPECT_EQ(text.rfind(first, 0), 0u) << text;
  return std::regex_replace(text, std::regex("[-\\\\|/] Scanning " + module + " devices \r"), "");
}

std::string ScanFinished(const std::string& module) {
  return "[Info] Scanning " + module + " devices finished\n \r";
}

// Label decoded, then blanks up to column 27, then the value.
std::string Field(const std::string& label, const std::string& value) {
  return label + std::string(26 - label.size(), ' ') + value + "\n";
}

TEST(Listings, Modules) {
  EXPECT_EQ(Console({"-A"}),
            "> Available Modules\n"
            "  - storage\n"
            "  - memory\n"
            "\n> See help of a module\n"
            "  Usage: kolv_cli -Mmodule_name -h\n"
            "  Examples:\n"
            "    => See storage help\n"
            "           kolv_cli -Mstorage -h\n\n");
  EXPECT_EQ(Protocol({"-A"}), "MODULE_NAME:::storage\nMODULE_NAME:::memory\n");
}

TEST(Listings, GeneralAndModuleHelp) {
  const std::string general =
      std::string(kGeneralHelp) + "\n\n> Available module(s): storage, memory\n\n";
  EXPECT_EQ(Console({"-h"}), general);
  EXPECT_EQ(Console({"-Mstorage", "-h"}),
            general + "> Module Storage: STORAGE_HELP\n  Diagnostics and their tests:\n"
                      "    -Q, --quick                     Quick\n"
                      "          f, read                   Read\n"
                      "          s, surface                Surface scan\n"
                      "    -P, --long                      Long run\n"
                      "          (no letter)               Seek\n"
                      "  Example: -Mstorage 0 -Q\"f,s\" runs tests f and s of Quick on device 0"
                      "\n\n");
  // The supervisor gets no help text at all.
  EXPECT_EQ(Protocol({"-h"}), "");
  EXPECT_EQ(Protocol({"-Mstorage", "-h"}), "");
}

TEST(Listings, Versions) {
  const std::string cli = "  CLI - version 3.2.0.4749\n";
  // Every loaded module that has a version; the memory module has none.
  EXPECT_EQ(Console({"-v"}), cli + "  storage - version 2.0.0.7\n");
  EXPECT_EQ(Console({"-Mstorage", "-v"}), cli + "  storage - version 2.0.0.7\n");
  EXPECT_EQ(Console({"-Mmemory", "-v"}), cli);
  EXPECT_EQ(Protocol({"-v"}), "");
}

TEST(Listings, DevicesAndTheirResources) {
  const std::string device0 = Field("Id", "0") + Field("Display Name", "DISK_ZERO") +
                              Field("Model", "M0") +
                              Field("Serial Number Of The ...", "S:::0");
  const std::string device1 = Field("Id", "1") + Field("Display Name", "DISK_ONE") + Field("Model", "M1");
  EXPECT_EQ(WithoutScanFrames(Console({"-Mstorage", "-D"}), "storage"),
            ScanFinished("storage") + "\n" + kRuler + device0 + "\n" + kRuler + device1 + "\n");

  const std::string resources = std::string(kDots) + "Resources\n" + kDots +
                                Field("Resource type", "PARTITION") + Field("Label", "SYS") + kDots +
                                Field("Resource type", "VOLUME") + Field("Size", "10");
  EXPECT_EQ(WithoutScanFrames(Console({"-Mstorage", "-R"}), "storage"),
            ScanFinished("storage") + "\n" + kRuler + device0 + resources + "\n" + kRuler + device1 +
                "\n");

  EXPECT_EQ(WithoutScanFrames(Console({"-Mmemory", "-D"}), "memory"),
            ScanFinished("memory") + "\n" + kRuler + "No devices found for this module\n\n");

  // Protocol: every test that has an option, with its letter and whether the device supports it;
  // engine text that holds ":::" is made safe.
  const std::string fields0 =
      "ID:::0\nDISPLAY_NAME:::DISK_ZERO\nMODEL:::M0\nSERIAL_NUMBER_OF_THE_DISK:::S;;;0\n"
      "TEST_READ:::1.1.1:::f:::1\nTEST_SURFACE_SCAN:::1.1.2:::s:::1\n";
  const std::string fields1 =
      "ID:::1\nDISPLAY_NAME:::DISK_ONE\nMODEL:::M1\n"
      "TEST_READ:::1.1.1:::f:::1\nTEST_SURFACE_SCAN:::1.1.2:::s:::0\n";
  EXPECT_EQ(Protocol({"-Mstorage", "-D"}), fields0 + fields1);
  EXPECT_EQ(Protocol({"-Mstorage", "-R"}), fields0 + "LABEL:::SYS\nSIZE:::10\n" + fields1);
  EXPECT_EQ(Protocol({"-Mmemory", "-D"}), "");
}

TEST(Listings, AFailedDeviceScanIsToldAndIsNoSuccess) {
  const std::map<std::string, std::string> env = {
      {"MORVA_CATALOGUE", clitest::WriteScratchFile("failing_scan.json", R"({
        "product_version": "1.0.0.1",
        "modules": [{"name": "Storage", "scan": {"sequence": [{"devices": [], "result": 3}]},
                     "devices": [{"id": "0", "udi": "U0", "display_name": "DISK"}]}]})")}};
  const auto console = RunCli({"-Mstorage", "-D"}, env);
  EXPECT_EQ(console.status, 2) << console.out;
  ASSERT_EQ(console.out.rfind(kBanner, 0), 0u) << console.out;
  EXPECT_EQ(WithoutScanFrames(console.out.substr(sizeof kBanner - 1), "storage"),
            ScanFinished("storage") + "[Warning] Device scan failed: 3\n\n");
  const auto protocol = RunCli({"--KOLV", "-Mstorage", "-R"}, env);
  EXPECT_EQ(protocol.status, 2);
  EXPECT_EQ(protocol.out, "");
}

TEST(Listings, DiagnosticsAndTests) {
  EXPECT_EQ(Console({"-Mstorage", "-L"}),
            "Diagnostics - storage module\n"
            "  - Quick tests:\n\tRead\n\tSurface Scan\n"
            "  - Long Run tests:\n\tSeek\n\n");
  EXPECT_EQ(Protocol({"-Mstorage", "-L"}), "READ:::1.1.1\nSURFACE_SCAN:::1.1.2\nSEEK:::1.2.3\n");
}

TEST(Listings, ToolsWithTheirPlugins) {
  EXPECT_EQ(Console({"-Mstorage", "-S"}),
            "Storage tools:\n"
            "\n => RecOrder\n"
            "\tDescription\tRecorder d\n"
            "\tHint\t\trecord\n"
            "\tMore info\tkolv_cli -Mstorage -Trecord\n" +
                std::string(kRuler) + "\n");
  // A module that offers no tool says so under its heading.
  EXPECT_EQ(Console({"-Mmemory", "-S"}),
            "Memory tools:\nNo tools found in this module\n" + std::string(kRuler) + "\n");
  EXPECT_EQ(Protocol({"-Mstorage", "-S"}), "");
}

TEST(Listings, ToolsWhosePluginsAreAllMissing) {
  const std::string catalogue = clitest::WriteScratchFile(
      "no_plugin_catalogue.json",
      R"({"product_version": "1.0.0.1", "modules": [{"name": "Storage", "devices": [],
          "diagnostics": [], "tools": [{"name": "Absent", "hint": "absent", "description": "A"}]}]})");
  const auto r = RunCli({"-Mstorage", "-S"}, {{"MORVA_CATALOGUE", catalogue}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, std::string(kBanner) + "[Warning] No tools found in this module\n");
}

// The engine always lists at least one module, so a host without any is shown with its own
// module list.
class NoModuleLoaded : public ::testing::Test {
 protected:
  std::string Show(const std::vector<std::string>& args) {
    clitest::Argv line(args);
    CliApplication app(false);
    std::vector<ModuleInterfaceView*> none;
    app.modules = &none;
    std::string error;
    EXPECT_EQ(clitest::ParseFresh(app, line, error), 0) << error;
    clitest::Capture out;
    app.sink = new MorvaStdio(out.file());
    ShowInformation(app);
    const std::string text = out.text();
    delete app.sink;
    app.sink = nullptr;
    return text;
  }
};

TEST_F(NoModuleLoaded, ListingsWarnInsteadOfListing) {
  EXPECT_EQ(Show({"-A"}), "[Warning] No module loaded\n\n");
  EXPECT_EQ(Show({"-h"}), "[Warning] No available modules\n\n" + std::string(kGeneralHelp) + "\n\n");
  EXPECT_EQ(Show({"-v"}), "[Warning] No module loaded\n\n  CLI - version 3.2.0.4749\n");
}

}  // namespace
