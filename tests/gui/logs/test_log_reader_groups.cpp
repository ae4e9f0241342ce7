// Keying of groups, the time and count filters, and reading the log from its file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "gui/logs/core/log_paths.h"
#include "gui/logs/core/morva_log_reader.h"
#include "support/log_test_support.h"
#include "tests/support/scratch.h"

using test_support::ReadFile;
using test_support::WriteFile;

namespace {

using log_format::kLongestLine;

std::string Block(const std::string& time, const std::string& name, int64_t number,
                  const std::string& device = "DISK0") {
  return "+++ " + time + " " + name + " " + std::to_string(number) + "\n"
         "UDI: " + device + "\nDISPLAY_NAME: " + device + "\n"
         "START TESTS\n" +
         time + " START QUICK_TEST\n" +
         time + " STOP QUICK_TEST SUCCESS 1 S\n"
         "STOP TESTS 0\n"
         "--- " + name + "\n";
}

std::vector<int64_t> Drain(MorvaLogReader& reader, bool by_time) {
  std::vector<int64_t> numbers;
  while (const LogGroup* group = reader.NextGroup(by_time)) {
    numbers.push_back(group->number);
    if (numbers.size() > 100) break;  // a cursor that never ends
  }
  return numbers;
}

std::vector<int64_t> Keys(const MorvaLogReader& reader) {
  std::vector<int64_t> keys;
  for (const auto& group : reader.groups()) keys.push_back(group.first);
  return keys;
}

const std::string kT = "2024-05-01T10.20.30";

TEST(LogGroups, ByAppearanceConsecutiveBlocksOfOneRunShareAKey) {
  const std::string text = Block(kT, "STORAGE_MODULE", 100) + Block(kT, "MEMORY_MODULE", 100) +
                           Block(kT, "STORAGE_MODULE", 200) + Block(kT, "STORAGE_MODULE", 100);
  const auto by_appearance = ParseLog(text, false);
  EXPECT_EQ(Keys(*by_appearance), (std::vector<int64_t>{0, 1, 2}));
  EXPECT_EQ(FindGroup(*by_appearance, 0)->entries.size(), 2u);
  EXPECT_EQ(FindGroup(*by_appearance, 0)->number, 100);
  EXPECT_EQ(FindGroup(*by_appearance, 1)->number, 200);
  EXPECT_EQ(FindGroup(*by_appearance, 2)->number, 100);

  // By number the late block of run 100 joins its run's entry.
  const auto by_number = ParseLog(text, true);
  EXPECT_EQ(Keys(*by_number), (std::vector<int64_t>{100, 200}));
  const LogGroupEntry* storage = FindEntry(*by_number, 100, "STORAGE_MODULE");
  ASSERT_NE(storage, nullptr);
  EXPECT_EQ(storage->resources.size(), 1u);
  EXPECT_FALSE(storage->broken);
}

TEST(LogGroups, ManyDevicesOfOneRunKeepTheirOrder) {
  std::string text;
  for (int device = 0; device < 50; ++device) {
    text += Block(kT, "STORAGE_MODULE", 7, "DISK" + std::to_string(device));
  }
  text += Block(kT, "STORAGE_MODULE", 7, "DISK3");
  const auto reader = ParseLog(text);
  const LogGroupEntry* entry = FindEntry(*reader, 7, "STORAGE_MODULE");
  ASSERT_NE(entry, nullptr);
  ASSERT_EQ(entry->resources.size(), 50u);
  for (int device = 0; device < 50; ++device) {
    EXPECT_EQ(entry->resources[device].first, "DISK" + std::to_string(device));
    EXPECT_EQ(FindResource(*entry, "DISK" + std::to_string(device)), &entry->resources[device].second);
  }
  EXPECT_EQ(FindResource(*entry, "DISK50"), nullptr);
}

class TimeFilter : public ::testing::Test {
 protected:
  void SetUp() override {
    day_start_ = Seconds("2024-05-01T00.00.00");
    day_end_ = Seconds("2024-05-01T23.59.59");
    std::string text;
    for (const char* time : {"2024-04-30T23.59.59", "2024-05-01T00.00.00", "2024-05-01T12.00.00",
                             "2024-05-01T23.59.59", "2024-05-02T00.00.00"}) {
      text += Block(time, "STORAGE_MODULE", Seconds(time));
    }
    reader_ = ParseLog(text, true);
  }

  int64_t day_start_ = 0;
  int64_t day_end_ = 0;
  std::unique_ptr<MorvaLogReader> reader_;
};

TEST_F(TimeFilter, DaySearchFindsTheWholeDayNewestFirst) {
  reader_->Filter(day_start_, day_end_, 1, true);
  EXPECT_EQ(Drain(*reader_, true),
            (std::vector<int64_t>{day_end_, Seconds("2024-05-01T12.00.00"), day_start_}));
  EXPECT_EQ(reader_->NextGroup(true), nullptr);
}

TEST_F(TimeFilter, BoundsOutsideEveryGroupFindNothing) {
  reader_->Filter(day_end_ + 100, day_end_ + 200, 1, true);
  EXPECT_TRUE(Drain(*reader_, true).empty());
  reader_->Filter(day_end_, day_start_, 1, true);
  EXPECT_TRUE(Drain(*reader_, true).empty());
}

TEST_F(TimeFilter, SearchFromTheEpochFindsEverything) {
  reader_->Filter(0, day_end_ + 1, 1, true);
  EXPECT_EQ(Drain(*reader_, true).size(), 5u);
}

TEST_F(TimeFilter, NothingIsHandedOutBeforeFiltering) {
  EXPECT_EQ(reader_->NextGroup(true), nullptr);
  EXPECT_EQ(reader_->NextGroup(false), nullptr);
}

TEST(CountFilter, LastGroupsComeOldestFirst) {
  std::string text;
  for (int64_t number : {100, 200, 300, 400}) text += Block(kT, "STORAGE_MODULE", number);
  const auto reader = ParseLog(text, false);

  reader->Filter(1, 1, 2, false);
  EXPECT_EQ(Drain(*reader, false), (std::vector<int64_t>{300, 400}));
  EXPECT_EQ(reader->NextGroup(false), nullptr);

  reader->Filter(1, 1, 10, false);
  EXPECT_EQ(Drain(*reader, false), (std::vector<int64_t>{100, 200, 300, 400}));

  reader->Filter(1, 1, 1, false);
  EXPECT_EQ(Drain(*reader, false), (std::vector<int64_t>{400}));

  reader->Filter(1, 1, 0, false);
  EXPECT_TRUE(Drain(*reader, false).empty());
  reader->Filter(1, 1, -3, false);
  EXPECT_TRUE(Drain(*reader, false).empty());
  reader->Filter(0, 1, 2, false);
  EXPECT_TRUE(Drain(*reader, false).empty());
}

TEST(CountFilter, EmptyLogHandsOutNothing) {
  const auto reader = ParseLog("", false);
  reader->Filter(1, 1, 3, false);
  EXPECT_EQ(reader->NextGroup(false), nullptr);
  reader->Filter(1, 100, 3, true);
  EXPECT_EQ(reader->NextGroup(true), nullptr);
}

// The log folder of the drive this test was given.
class LogFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = LogFolderPath();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string folder_;
};

TEST_F(LogFile, MissingLogIsReportedAsNotFound) {
  MorvaLogReader reader(true);
  EXPECT_EQ(reader.Parse(), kLogNotFound);
  EXPECT_EQ(reader.OpenDiagnosticsLog(), kLogNotFound);
  EXPECT_EQ(reader.Parse(), kLogNotFound);
  std::filesystem::create_directory(LogFilePath("morva"));
  EXPECT_EQ(reader.OpenDiagnosticsLog(), kLogNotFound);

  // Opening a FIFO for reading waits for a writer: the reader's thread would never come back.
  std::filesystem::remove(LogFilePath("morva"));
  ASSERT_EQ(mkfifo(LogFilePath("morva").c_str(), 0600), 0);
  std::future<int> opened = std::async(std::launch::async, [&reader] {
    return reader.OpenDiagnosticsLog();
  });
  if (opened.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "the reader waits on the FIFO";
    const int writer = open(LogFilePath("morva").c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0) close(writer);
  }
  EXPECT_EQ(opened.get(), kLogNotFound);
  EXPECT_TRUE(std::filesystem::is_fifo(LogFilePath("morva")));
}

TEST_F(LogFile, DiagnosticsLogIsReadFromTheLogFolder) {
  const std::string text = ReadFile(FixturePath("two_runs.log"));
  WriteFile(folder_ + "morva.log", text);
  MorvaLogReader reader(true);
  ASSERT_EQ(reader.OpenDiagnosticsLog(), kLogOpened);
  EXPECT_EQ(reader.Parse(), kLogParsed);
  EXPECT_EQ(Dump(reader), Dump(*ParseLog(text)));
  EXPECT_EQ(reader.Parse(), kLogNotFound);  // parsed once, then closed

  WriteFile(folder_ + "other.log", text);
  MorvaLogReader other(false);
  ASSERT_EQ(other.Open("other"), kLogOpened);
  EXPECT_EQ(other.Parse(), kLogParsed);
  EXPECT_EQ(other.groups().size(), 2u);
}

// The file is read whole, as long as it can be held: every line comes whole, from the first
// to the last one, which the engine has not ended yet, up to the longest a log may hold; a
// longer line is garbage that breaks its entry alone, and is never kept.
TEST_F(LogFile, LinesComeWholeUpToTheLongestALogHolds) {
  std::string text;
  int64_t number = 1;
  while (text.size() < (3u << 20)) text += WithCrLf(Block(kT, "STORAGE_MODULE", number++));
  const int64_t longest = number;
  const int64_t garbage = number + 1;
  const std::string tail = "START TESTS\n" + kT + " START QUICK_TEST\n" + kT +
                           " STOP QUICK_TEST SUCCESS 1 S\nSTOP TESTS 0\n--- STORAGE_MODULE\n";
  text += "+++ " + kT + " STORAGE_MODULE " + std::to_string(longest) + "\n"
          "UDI: LONG\nNOTE: " + std::string(kLongestLine - 6, 'x') + "\n" + tail;
  text += "+++ " + kT + " STORAGE_MODULE " + std::to_string(garbage) + "\n"
          "UDI: LONGER\nNOTE: " + std::string(kLongestLine - 5, 'x') + "\n" + tail +
          // Outside any entry, a line of megabytes is skipped like any other stray text.
          std::string(4u << 20, 'y') + "\n" +
          // The engine is writing the next run: its last line has no line end yet.
          "+++ " + kT + " STORAGE_MODULE " + std::to_string(garbage + 1) + "\nUDI: WRITTEN";
  WriteFile(folder_ + "morva.log", text);
  MorvaLogReader reader(true);
  ASSERT_EQ(reader.OpenDiagnosticsLog(), kLogOpened);
  ASSERT_EQ(reader.Parse(), kLogParsed);
  EXPECT_EQ(reader.groups().size(), static_cast<size_t>(garbage + 1));
  for (const auto& [key, group] : reader.groups()) {
    ASSERT_EQ(group.entries[0].second.broken, key >= garbage) << key;
  }
  const LogGroupEntry* kept = FindEntry(reader, longest, "STORAGE_MODULE");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->resources[0].second.properties.at(1).value().size(), kLongestLine - 6);
  const LogGroupEntry* skipped = FindEntry(reader, garbage, "STORAGE_MODULE");
  ASSERT_NE(skipped, nullptr);
  const LogResource& device = skipped->resources[0].second;
  EXPECT_EQ(device.properties.size(), 1u);
  EXPECT_TRUE(device.broken);
  ASSERT_EQ(device.tests.size(), 1u);
  EXPECT_EQ(device.tests[0].result(), "SUCCESS");
  const LogGroupEntry* written = FindEntry(reader, garbage + 1, "STORAGE_MODULE");
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->resources[0].second.properties.at(0).value(), "WRITTEN");
}

// A log larger than the reader can hold (here a sparse terabyte, which costs the disk nothing)
// is reported like a missing one, and never read: no memory is asked for it.
TEST_F(LogFile, LogTooLargeToHoldIsUnreadable) {
  ASSERT_LT(MorvaLogReader::LargestLog(), size_t{1} << 40);
  const std::string path = folder_ + "morva.log";
  WriteFile(path, Block(kT, "STORAGE_MODULE", 1));
  ASSERT_EQ(truncate(path.c_str(), off_t{1} << 40), 0) << std::strerror(errno);
  MorvaLogReader reader(true);
  ASSERT_EQ(reader.OpenDiagnosticsLog(), kLogOpened);
  EXPECT_EQ(reader.Parse(), kLogNotFound);
  EXPECT_TRUE(reader.groups().empty());
  reader.Filter(1, INT64_MAX, 1, true);
  EXPECT_EQ(reader.NextGroup(true), nullptr);
  EXPECT_EQ(reader.Parse(), kLogNotFound);  // closed

  // One line of a size that can be held, and far beyond any line of the grammar.
  std::string huge = Block(kT, "STORAGE_MODULE", 3);
  huge.insert(huge.find("DISPLAY_NAME"), std::string(64u << 20, '+') + "\n");
  WriteFile(path, Block(kT, "STORAGE_MODULE", 2) + huge);
  ASSERT_EQ(reader.OpenDiagnosticsLog(), kLogOpened);
  ASSERT_EQ(reader.Parse(), kLogParsed);
  ASSERT_EQ(reader.groups().size(), 2u);
  EXPECT_FALSE(FindEntry(reader, 2, "STORAGE_MODULE")->broken);
  EXPECT_TRUE(FindEntry(reader, 3, "STORAGE_MODULE")->broken);
}

}  // namespace
