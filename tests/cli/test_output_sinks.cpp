// Console, file, null and protocol sinks: display keys, field layout, elapsed times, progress
// lines, begin/end order and failing streams.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/cli_application.h"
#include "cli/cli_stdio_file.h"
#include "cli/cli_stdio_null.h"
#include "cli/engine_text.h"
#include "cli/exit_status.h"
#include "cli/kolvio.h"
#include "cli/morva_stdio.h"
#include "cli/tool_host.h"
#include "support/fake_modules.h"
#include "support/run_program.h"
#include "support/texts.h"

namespace {

using clitest::Capture;

TEST(KeyToText, DecodesDisplayKeys) {
  struct Row {
    const char* key;
    bool words, first, decode;
    const char* text;
  } rows[] = {
      {"FOLLOWING_DEVICE(S)_ARE_NOT_AVAILABLE", false, true, true, "Following device(s) are not available"},
      {"FOLLOWING_DEVICE(S)_ARE_NOT_AVAILABLE", true, true, true, "Following Device(s) Are Not Available"},
      {"[|WARNING]", false, false, true, "[Warning]"},
      {"|C|L|I", false, false, true, "CLI"},
      {" LEADING", false, true, true, " leading"},
      {"Foo_Bar|Baz", false, false, false, "foo_barbaz"},
      {"", true, true, true, ""},
      {"A_B", false, false, true, "a b"},
      {"\xC3\x89T\xC3\x89_X", true, true, true, "\xC3\x89t\xC3\x89 X"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(MorvaStdio::KeyToText(r.key, r.words, r.first, r.decode), r.text) << r.key;
}

TEST(MorvaStdio, FieldsLineUpAtColumn27AndLongLabelsAreCut) {
  Capture out;
  MorvaStdio sink(out.file());
  sink.PrintField("ID", "0", true);
  sink.PrintField("DISPLAY_NAME", "DISK_0", true);
  sink.PrintField("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "v", false);  // 30 bytes
  sink.PrintField("ABCDEFGHIJKLMNOPQRSTUVWX", "w", true);        // 24 bytes: kept
  EXPECT_EQ(out.text(), std::string("Id") + std::string(24, ' ') + "0\n" + "Display Name" +
                            std::string(14, ' ') + "DISK_0\n" + "Abcdefghijklmnopqrstu..." +
                            "  v" + "Abcdefghijklmnopqrstuvwx  w\n");
}

TEST(MorvaStdio, ElapsedTextUsesWholeSeconds) {
  MorvaStdio sink(nullptr);
  EXPECT_EQ(sink.ElapsedText(0), "0 seconds");
  EXPECT_EQ(sink.ElapsedText(1), "1 second");
  EXPECT_EQ(sink.ElapsedText(59), "59 seconds");
  EXPECT_EQ(sink.ElapsedText(59.9), "59 seconds");
  EXPECT_EQ(sink.ElapsedText(60), "1 minute 0 seconds");
  EXPECT_EQ(sink.ElapsedText(3600), "1 hour 0 seconds");
  EXPECT_EQ(sink.ElapsedText(3660), "1 hour 1 minute 0 seconds");
  EXPECT_EQ(sink.ElapsedText(3725), "1 hour 2 minutes 5 seconds");
  EXPECT_EQ(sink.ElapsedText(86399), "23 hours 59 minutes 59 seconds");
  EXPECT_EQ(sink.ElapsedText(-3), "0 seconds");
}

TEST(MorvaStdio, BeginsAndEndsMustPair) {
  Capture out;
  MorvaStdio sink(out.file());
  EXPECT_EQ(sink.EndDevice("OK", 1, false), kSinkOutOfOrder);
  EXPECT_EQ(sink.EndModule(), kSinkOutOfOrder);
  EXPECT_EQ(out.text(), "");
  EXPECT_EQ(sink.BeginModule("storage"), kSinkDone);
  EXPECT_EQ(sink.BeginModule("memory"), kSinkOutOfOrder);
  sink.BeginDevice("0", "storage");
  EXPECT_EQ(sink.EndDevice("DEVICE_PASSED", 9.5, false), kSinkDone);
  const std::string ruler(62, '-');
  EXPECT_EQ(out.text(), "\n" + ruler + "\n   Result Code: DEVICE_PASSED\n" +
                            "   Total elapsed time: 9 seconds \n" + ruler + "\n");
  EXPECT_EQ(sink.EndDevice("again", 1, false), kSinkOutOfOrder);  // the title was cleared
  EXPECT_EQ(sink.EndModule(), kSinkDone);
}

TEST(MorvaStdio, TestLinesAndProgress) {
  Capture out;
  MorvaStdio sink(out.file());
  sink.BeginDiagnostic("QUICK_TEST");
  sink.BeginTest("SMART_CHECK", "1.1.1");
  sink.TestProgress(-1, 0);
  sink.TestProgress(10, 1);
  sink.TestProgress(20, 2);
  sink.TestProgress(100, 61);
  sink.EndTest(0, 62);
  sink.EndTest(42, 0);
  sink.EndDiagnostic();
  const std::string wipe = std::string(57, ' ') + "\r";
  EXPECT_EQ(out.text(),
            "\nStarted diagnostic: Quick Test\n=> Smart Check\n"
            "   10% \\ 1 second \r   20% | 2 seconds \r   100% * 1 minute 1 second \r" +
                wipe + "   Test Status: Passed!\n   Elapsed time: 1 minute 2 seconds \n\n" + wipe +
                "   Test Status: None!\n   Elapsed time: 0 seconds \n\n"
                "Finished diagnostic: Quick Test\n");
}

// The console's word for every engine status, and "NONE" past them: what a user reads.
TEST(MorvaStdio, StatusWords) {
  const char* const words[] = {"PASSED",   "FAIL",    "URECOGNIZED", "NOT_APPLICABLE",
                               "CANCELED", "WARNING", "INVALID",     "NONE"};
  for (uint32_t s = 0; s < 8; ++s) EXPECT_STREQ(MorvaStdio::StatusWord(s), words[s]) << s;
  EXPECT_STREQ(MorvaStdio::StatusWord(0xFFFFFFFFu), "NONE");
}

TEST(MorvaStdio, ScanLines) {
  Capture out;
  MorvaStdio sink(out.file());
  sink.ScanProgress("storage", false);
  sink.ScanProgress("storage", true);
  EXPECT_EQ(out.text(), "\\ Scanning storage devices \r[Info] Scanning storage devices finished\n \r");
}

TEST(MorvaStdio, AClosedPipeGivesTheSinkStatus) {
  std::signal(SIGPIPE, SIG_IGN);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  close(fds[0]);
  FILE* writer = fdopen(fds[1], "w");
  ASSERT_NE(writer, nullptr);
  std::setvbuf(writer, nullptr, _IONBF, 0);
  MorvaStdio sink(writer);
  EXPECT_EQ(sink.PrintRaw("lost", true), kSinkStdoutFailed);
  EXPECT_EQ(sink.TestProgress(5, 1), kSinkOutOfOrder);
  std::fclose(writer);
}

TEST(CliStdioFile, PathsAreNormalisedAndJoinedWithSlash) {
  {
    CliStdioFile sink(clitest::ScratchDir() + "//sub\\\\dir//out.txt");
    EXPECT_EQ(sink.directory(), clitest::ScratchDir() + "/sub\\dir");
    EXPECT_EQ(sink.file_name(), "out.txt");
    ASSERT_EQ(sink.Start(), kSinkDone);
    sink.PrintText("HELLO_WORLD", true);
    sink.BeginTest("T", "1.1.1");
    sink.TestProgress(50, 1);
    sink.EndTest(1, 2);
  }
  std::ifstream in(clitest::ScratchDir() + "/sub\\dir/out.txt");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "Hello world\n=> T\n   Test Status: Fail!\n   Elapsed time: 2 seconds \n\n");
}

TEST(CliStdioFile, RefusesFoldersAndUncreatablePaths) {
  CliStdioFile trailing(clitest::ScratchDir() + "/dir/");
  EXPECT_EQ(trailing.Start(), kSinkFileNotOpen);
  CliStdioFile folder(clitest::ScratchDir());
  EXPECT_EQ(folder.Start(), kSinkFileNotOpen);
  CliStdioFile impossible("/proc/nonexistent/x/out.txt");
  EXPECT_EQ(impossible.Start(), kSinkFileNotOpen);
  EXPECT_EQ(impossible.PrintRaw("x", true), kSinkFileNotOpen);
}

TEST(CliStdioNull, DiscardsButKeepsTheOrder) {
  CliStdioNull sink;
  EXPECT_EQ(sink.PrintRaw("x", true), kSinkDone);
  EXPECT_FALSE(sink.AbortRequested());
  EXPECT_EQ(sink.BeginModule("m"), kSinkDone);
  EXPECT_EQ(sink.BeginModule("n"), kSinkOutOfOrder);
}

TEST(KOLVio, WritesTaggedLinesOnly) {
  Capture out;
  {
    KOLVio sink(out.file());
    sink.PrintText("IGNORED", true);
    sink.Ruler();
    sink.PrintField("NOT_FOUND", "7", true);
    sink.BeginDevice("0", "sto:::rage");
    sink.BeginTest("SMART", "1.1.1");
    sink.TestProgress(-1, 0);
    sink.TestProgress(0, 0);
    sink.TestProgress(0, 0);
    sink.TestProgress(37, 1);
    sink.EndTest(0, 4.4);
    sink.BeginTest("SEEK", "1.1.3");
    sink.TestProgress(37, 1);
    sink.EndTest(1, 2.5);
    sink.SuiteProgress(100, 9);
    sink.EndDevice("RESULT\nO|K", 9.2, true);
  }
  EXPECT_EQ(out.text(),
            "NOT_FOUND:::7\nBeginDiagSuite:::sto;;;rage\nBeginDiag:::1.1.1\nPrgDiag:::000\n"
            "PrgDiag:::037\nEndDiag:::1|00004\nBeginDiag:::1.1.3\nPrgDiag:::037\n"
            "EndDiag:::0|00002\nPrgDiagSuite:::100\nEndDiagSuite:::  0|RESULT O/K|00009\n");
}

TEST(KOLVio, StatusLettersAndSafeFields) {
  const char letters[] = {'1', '0', '5', '2', '4', '3', '5', '5'};
  for (uint32_t s = 0; s < 8; ++s) EXPECT_EQ(KOLVio::StatusLetter(s), letters[s]) << s;
  EXPECT_EQ(KOLVio::ProtocolField("a:::b\nc"), "a;;;b c");
  EXPECT_EQ(KOLVio::ProtocolField(":x:y:"), ";x:y;");
  EXPECT_EQ(KOLVio::ProtocolField("plain"), "plain");
  // Never a raw escape or bell in the stream, whatever the engine's catalogue holds.
  EXPECT_EQ(KOLVio::ProtocolField("USB\x1b]0;x\a:"), "USB\\x1b]0;x\\x07;");
}

// Engine text cannot drive the terminal: every control byte is shown, nothing else changes.
TEST(EngineText, ShowsControlBytesAndKeepsEverythingElse) {
  struct Row {
    std::string engine, shown;
  } rows[] = {
      {"USB\x1b[2K\x1b[1G  0\tSATA", "USB\\x1b[2K\\x1b[1G  0\tSATA"},
      {"title\x1b]0;x\a", "title\\x1b]0;x\\x07"},
      {std::string("nul\0", 4) + "\x01\x1f\x7f", "nul\\x00\\x01\\x1f\\x7f"},
      // A line end stays; a carriage return of its own would write over the line.
      {"a\nb\r\nc\rd\r", "a\nb\r\nc\\x0dd\\x0d"},
      // C1 as a character (U+009B, CSI) and as a lone byte; other characters stay as given.
      {"\xc2\x9b" "2K \xc2\x80", "\\u009b2K \\u0080"},
      {"\x9b" "2K", "\\x9b2K"},
      {"caf\xc3\xa9 \xe2\x82\xac \xc2\xa0 \xf0\x9f\x92\xbe", "caf\xc3\xa9 \xe2\x82\xac \xc2\xa0 \xf0\x9f\x92\xbe"},
      {"\xa0\xff\xc3", "\xa0\xff\xc3"},
      {"", ""},
      // Bidirectional controls: with U+202E "disk ... evil" reads "disk live". The characters
      // beside them stay (U+200D, U+2029, U+202F, U+2065, U+206A, U+061B).
      {"disk \xe2\x80\xae evil", "disk \\u202e evil"},
      {"\xe2\x80\xaa\xe2\x80\xab\xe2\x80\xac\xe2\x80\xad"
       "\xe2\x81\xa6\xe2\x81\xa7\xe2\x81\xa8\xe2\x81\xa9",
       "\\u202a\\u202b\\u202c\\u202d\\u2066\\u2067\\u2068\\u2069"},
      {"\xe2\x80\x8e\xe2\x80\x8f\xd8\x9c", "\\u200e\\u200f\\u061c"},
      {"\xe2\x80\x8d\xe2\x80\xa9\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa\xd8\x9b",
       "\xe2\x80\x8d\xe2\x80\xa9\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xaa\xd8\x9b"},
      // No UTF-8 (overlong, cut short, a surrogate): bytes, never the control they would spell.
      {"\xe0\x80\x9b \xf0\x82\x80\xae \xe2\x80 \xed\xa0\x80",
       "\xe0\\x80\\x9b \xf0\\x82\\x80\xae \xe2\\x80 \xed\xa0\\x80"},
  };
  for (const Row& row : rows) EXPECT_EQ(EngineText(row.engine), row.shown) << row.shown;
  // The shown escapes survive the display-key rules.
  EXPECT_EQ(MorvaStdio::KeyToText(EngineText("DISK_\x1b[2K"), true, true, true), "Disk \\x1b[2k");
}

TEST(MorvaStdio, EngineNamesInTheRunAreShownNotObeyed) {
  Capture out;
  MorvaStdio sink(out.file());
  sink.ScanProgress("st\x1b[2Korage", true);
  sink.BeginDiagnostic("QUICK\a");
  sink.BeginTest("SMART\x1b[1G", "1.1.1");
  sink.EndDiagnostic();
  const std::string text = out.text();
  EXPECT_EQ(text.find('\x1b'), std::string::npos) << text;
  EXPECT_EQ(text.find('\a'), std::string::npos) << text;
  EXPECT_NE(text.find("Scanning st\\x1b[2korage devices"), std::string::npos) << text;
  EXPECT_NE(text.find("=> Smart\\x1b[1g\n"), std::string::npos) << text;
}

// A tool whose name cannot name a plug-in file is refused by that name, shown and not obeyed.
TEST(MorvaStdio, AnUnusableToolNameIsShownNotObeyed) {
  Capture out;
  CliApplication app(false);
  app.sink = new MorvaStdio(out.file());
  fakes::Tool tool("bad/\x1b]0;x\a", "b");
  app.tool = &tool;
  LaunchToolCli(app, 0, nullptr);
  const std::string text = out.text();
  EXPECT_EQ(text.find('\x1b'), std::string::npos) << text;
  EXPECT_EQ(text.find('\a'), std::string::npos) << text;
  EXPECT_NE(text.find("bad/\\x1b]0;x\\x07"), std::string::npos) << text;
  EXPECT_EQ(ExitStatus(app), kolv_exit::kToolUnavailable);
}

}  // namespace
