// The diagnostics log the engine appends for each suite, read back through a strict reading of
// the line grammar.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include "kolv_os/os.h"
#include "morva_service/morva_service.h"
#include "support/engine_support.h"
#include "support/reference_log.h"
#include "support/unit_catalogue.h"
#include "tests/support/fault_injection.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/scratch.h"

using namespace morva_service;
using namespace engine_test;
using namespace test_support;

namespace {

class DiagnosticsLog : public UnitEngineTest {
 protected:
  void SetUp() override {
    RemoveLog();
    UnitEngineTest::SetUp();
  }

  std::vector<RefEntry> ReadLog() {
    std::vector<RefEntry> entries;
    try {
      entries = ReadReferenceLog(ReadFile(LogPath()));
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what();
    }
    return entries;
  }
};

TEST_F(DiagnosticsLog, OneRunWritesOneEntryInTheGrammar) {
  int64_t before = static_cast<int64_t>(std::time(nullptr));
  engine->Execute(module, device_a, {SelectAll(first), Select(second, {{"T_ASK", {}}, {"T_PARAM", {"7"}}})}, 4242);
  int64_t after = static_cast<int64_t>(std::time(nullptr));

  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 1u);
  const RefEntry& entry = entries[0];
  EXPECT_EQ(entry.name, "unit");
  EXPECT_EQ(entry.group, 4242);
  EXPECT_GE(entry.time, before);
  EXPECT_LE(entry.time, after);
  ASSERT_EQ(entry.resources.size(), 1u);
  const RefResource& resource = entry.resources[0];
  EXPECT_EQ(resource.udi, "UNIT\\A");
  EXPECT_EQ(resource.display_name, "UNIT_A");
  // Blank values would break the line for a reader; inner blanks are kept.
  EXPECT_EQ(resource.properties, (std::vector<std::pair<std::string, std::string>>{
                                     {"MODEL", "M-1"}, {"EMPTY_ROW", "N/A"}, {"NOTE", "two  words"}}));
  ASSERT_EQ(resource.tests.size(), 5u);
  const char* names[] = {"T_ONE", "T_TWO", "T_THREE", "T_ASK", "T_PARAM"};
  const char* results[] = {"SUCCESS", "WARNING", "FAILED", "FAILED", "SUCCESS"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(resource.tests[i].name, names[i]);
    EXPECT_EQ(resource.tests[i].result, results[i]) << names[i];
    EXPECT_LE(resource.tests[i].start, resource.tests[i].stop);
  }
  // Durations are the scripted ones, whatever the time scale.
  EXPECT_DOUBLE_EQ(resource.tests[0].seconds, 0.5);
  ASSERT_EQ(resource.tests[1].messages.size(), 1u);
  EXPECT_EQ(resource.tests[1].messages[0].kind, "WARNING");
  EXPECT_EQ(resource.tests[1].messages[0].words, (std::vector<std::string>{"W_ONE", "W_TWO"}));
  EXPECT_EQ(resource.tests[1].messages[0].code, "9");
  ASSERT_EQ(resource.tests[3].messages.size(), 1u);
  EXPECT_EQ(resource.tests[3].messages[0].words, (std::vector<std::string>{"REFUSED"}));
  ASSERT_EQ(resource.tests[4].messages.size(), 1u);
  EXPECT_EQ(resource.tests[4].messages[0].words, (std::vector<std::string>{"TEST_PARAMETERS", "7"}));
  EXPECT_EQ(resource.code, "1");
}

TEST_F(DiagnosticsLog, ResourcesBecomeSectionsWithAnIndex) {
  engine->Execute(module, device_b, {Select(first, {{"T_ONE", {}}})}, 5);
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 1u);
  const auto& sections = entries[0].resources.at(0).sections;
  ASSERT_EQ(sections.size(), 2u);
  EXPECT_EQ(sections[0].type, "SLOT");
  EXPECT_EQ(sections[0].index, 7u);
  EXPECT_EQ(sections[0].properties, (std::vector<std::pair<std::string, std::string>>{{"SIZE", "1 GB"}}));
  // Without an INDEX of its own a resource is numbered by its position.
  EXPECT_EQ(sections[1].index, 1u);
  EXPECT_EQ(sections[1].properties,
            (std::vector<std::pair<std::string, std::string>>{{"SIZE", "2 GB"}, {"LABEL", "X:\\"}}));
}

TEST_F(DiagnosticsLog, EntriesOfOneModuleAndGroupMerge) {
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 77);
  engine->Execute(module, device_b, {Select(first, {{"T_TWO", {}}})}, 77);
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 78);
  auto groups = MergeGroups(ReadLog());
  ASSERT_EQ(groups.size(), 2u);
  ASSERT_EQ(groups[77].size(), 1u);
  const auto& merged = groups[77]["unit"];
  ASSERT_EQ(merged.size(), 2u);
  EXPECT_EQ(merged[0].udi, "UNIT\\A");
  EXPECT_EQ(merged[1].udi, "UNIT\\B");
  EXPECT_EQ(merged[1].code, "9");
  EXPECT_EQ(groups[78]["unit"].size(), 1u);
}

TEST_F(DiagnosticsLog, AbortedRunIsLoggedAsAborted) {
  suite.on_event = [&](const std::string& event) {
    if (event == "TestStarted T_LONG") std::thread([&] { engine->Abort(); }).join();
  };
  engine->Execute(module, device_a, {Select(second, {{"T_LONG", {}}, {"T_PARAM", {}}})}, 9);
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 1u);
  const auto& tests = entries[0].resources.at(0).tests;
  ASSERT_EQ(tests.size(), 2u);
  EXPECT_EQ(tests[0].result, "ABORTED");
  EXPECT_LT(tests[0].seconds, 1000);
  EXPECT_EQ(tests[1].result, "ABORTED");
  EXPECT_EQ(tests[1].seconds, 0);
  EXPECT_EQ(entries[0].resources[0].code, "4");
}

TEST_F(DiagnosticsLog, EntryIsOnDiskBeforeTheSuiteEnds) {
  size_t entries_at_end = 0;
  suite.on_event = [&](const std::string& event) {
    if (event == "SuiteFinished") entries_at_end = ReadReferenceLog(ReadFile(LogPath())).size();
  };
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 1);
  EXPECT_EQ(entries_at_end, 1u);
}

TEST_F(DiagnosticsLog, NothingToRunWritesNothing) {
  engine->Execute(module, device_a, {}, 1);
  engine->Execute(module, device_a, {DiagnosticRun{first, {}}}, 2);
  EXPECT_EQ(ReadFile(LogPath()), "");
}

TEST_F(DiagnosticsLog, RunsOnTwoThreadsNeverInterleaveTheirLines) {
  engine->set_suite_listener(nullptr);
  auto run = [&](SystemComponentView* device, int64_t group) {
    for (int i = 0; i < 8; ++i) engine->Execute(module, device, {Select(first, {{"T_ONE", {}}, {"T_TWO", {}}})}, group);
  };
  std::thread one(run, device_a, 100);
  std::thread two(run, device_b, 200);
  one.join();
  two.join();
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 16u);
  for (const RefEntry& entry : entries) {
    ASSERT_EQ(entry.resources.size(), 1u);
    EXPECT_EQ(entry.resources[0].udi, entry.group == 100 ? "UNIT\\A" : "UNIT\\B");
  }
}

TEST_F(DiagnosticsLog, LaterRunsAppend) {
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 1);
  DropEngine();
  engine = FreshEngine(UnitCatalogue());
  module = LoadedModule(engine, "unit");
  engine->Execute(module, ScannedDevice(module, "a"), {Select(Diagnostic(module, "FIRST"), {{"T_ONE", {}}})}, 2);
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].group, 1);
  EXPECT_EQ(entries[1].group, 2);
}

// Another process's writer that stalls while it holds the log's lock (a stopped job) delays a
// run only briefly, and the entry still goes in.
TEST_F(DiagnosticsLog, AStalledLockHolderHoldsNoRun) {
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 1);
  const int holder = ::open(LogPath().c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  std::future<void> done = std::async(std::launch::async, [&] {
    engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 2);
  });
  const bool finished = done.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
  ::close(holder);
  done.wait();
  EXPECT_TRUE(finished) << "a run waits for the holder of the log's lock";
  auto entries = ReadLog();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].group, 2);
}

// The end of a long text, where a failure shows.
std::string Tail(const std::string& text) { return text.substr(text.size() - std::min<size_t>(text.size(), 300)); }

void WriteLog(const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(LogPath()).parent_path());
  WriteFile(LogPath(), content);
}

// An append that meets a full disk is taken back whole: the log stays as it was, so the next
// run's entry never glues onto a cut line, and the failure is told as before.
TEST_F(DiagnosticsLog, AFullDiskLeavesTheLogAsItWas) {
  kolv_os::IgnoreFileSizeLimitSignal();  // as the programs that load the engine start
  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 1);
  const std::string entry = ReadFile(LogPath());
  std::string earlier;
  while (earlier.size() < 64 * 1024) earlier += entry;
  const auto run_on_full_disk = [&](int64_t group) {
    test_support::FileSizeLimit full(earlier.size() + entry.size() / 2);
    EXPECT_TRUE(full.active());
    testing::internal::CaptureStderr();
    engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}, {"T_TWO", {}}})}, group);
    return testing::internal::GetCapturedStderr();
  };
  WriteLog(earlier);
  const std::string told = run_on_full_disk(2);
  EXPECT_NE(told.find("diagnostics log: cannot write " + LogPath() + ": "), std::string::npos) << told;
  EXPECT_EQ(Tail(ReadFile(LogPath())), Tail(earlier));
  EXPECT_EQ(ReadFile(LogPath()).size(), earlier.size());

  // Someone else's cut line stays cut: the line end that would have closed it is taken back too.
  earlier += "MODEL: HD1000-S";
  WriteLog(earlier);
  run_on_full_disk(3);
  EXPECT_EQ(Tail(ReadFile(LogPath())), Tail(earlier));
  EXPECT_EQ(ReadFile(LogPath()).size(), earlier.size());

  engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 4);
  const std::string after = ReadFile(LogPath());
  ASSERT_EQ(after.compare(0, earlier.size() + 5, earlier + "\n+++ "), 0) << after.substr(earlier.size());
  const auto entries = ReadReferenceLog(after.substr(earlier.size() + 1));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].group, 4);
  EXPECT_EQ(entries[0].resources.at(0).udi, "UNIT\\A");
}

// Runs the call on another thread; a call that waits on the FIFO fails the test and is let go by
// opening the FIFO's other end, so the test never hangs. That end stays open: the engine may
// go on writing there.
void MustNotWaitOn(const std::string& fifo, const std::function<void()>& call, const char* what) {
  std::future<void> done = std::async(std::launch::async, call);
  if (done.wait_for(std::chrono::seconds(30)) == std::future_status::ready) return;
  ADD_FAILURE() << what << " waits for a reader of the FIFO " << fifo;
  ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  done.wait();
}

// A FIFO where the log or the trace goes must never hold a run, nor the engine's start: the
// writer never waits on opening, and writes only into a regular file. The run still ends, and
// the log that could not be kept is reported.
TEST_F(DiagnosticsLog, FifoInPlaceOfTheLogOrTheTraceHoldsNothing) {
  DropEngine();
  std::filesystem::create_directories(std::filesystem::path(LogPath()).parent_path());
  ASSERT_EQ(::mkfifo(LogPath().c_str(), 0600), 0);
  const std::string trace_fifo = ScratchDir() + "/trace_fifo";
  std::remove(trace_fifo.c_str());
  ASSERT_EQ(::mkfifo(trace_fifo.c_str(), 0600), 0);
  ::setenv("MORVA_TRACE", trace_fifo.c_str(), 1);
  MustNotWaitOn(trace_fifo, [&] { engine = FreshEngine(UnitCatalogue()); }, "the engine's start");
  ::unsetenv("MORVA_TRACE");
  ASSERT_NE(engine, nullptr);
  module = LoadedModule(engine, "unit");
  device_a = ScannedDevice(module, "a");
  first = Diagnostic(module, "FIRST");
  engine->set_suite_listener(&suite);
  MustNotWaitOn(LogPath(), [&] { engine->Execute(module, device_a, {Select(first, {{"T_ONE", {}}})}, 1); },
                "a run");
  ASSERT_FALSE(suite.events().empty());
  EXPECT_EQ(suite.events().back(), "SuiteFinished");

  // With a reader at the other end the FIFO is still no log: nothing goes into it.
  const std::string trace = ScratchDir() + "/fifo_log_trace.txt";
  std::remove(trace.c_str());
  ::setenv("MORVA_TRACE", trace.c_str(), 1);
  engine = FreshEngine(UnitCatalogue());
  ::unsetenv("MORVA_TRACE");
  module = LoadedModule(engine, "unit");
  const int reader = ::open(LogPath().c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  MustNotWaitOn(LogPath(), [&] {
    engine->Execute(module, ScannedDevice(module, "a"), {Select(Diagnostic(module, "FIRST"), {{"T_ONE", {}}})}, 2);
  }, "a run with a reader");
  char byte;
  EXPECT_LE(::read(reader, &byte, 1), 0) << "the FIFO got lines";
  ::close(reader);
  EXPECT_NE(ReadFile(trace).find("Error diagnostics log: "), std::string::npos) << ReadFile(trace);
  EXPECT_TRUE(std::filesystem::is_fifo(LogPath()));
  EXPECT_TRUE(std::filesystem::is_fifo(trace_fifo));
  RemoveLog();
}

// The faults the log tests make: rules changed while other threads write are never read half old,
// half new (a write to one file failing with the error of another file's rule).
TEST(FaultRules, ChangedWhileThreadsWriteNeverMix) {
  const std::string path = ScratchDir() + "/ruled_file";
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::vector<std::thread> writers;
  for (int i = 0; i < 3; ++i)
    writers.emplace_back([&] {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
      while (!stop)
        if (::pwrite(fd, "x", 1, 0) < 0 && errno != ENOSPC) ++mixed;
      ::close(fd);
    });
  for (int i = 0; i < 200000; ++i) {
    SetFaults("write:1+:ENOSPC:ruled_file");
    SetFaults("write:1+:EIO:other_file");
  }
  ClearFaults();
  stop = true;
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(mixed, 0);
}

}  // namespace
