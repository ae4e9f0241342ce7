// The insertion-ordered list behind every record list: order, look-up across its blocks and its
// index, and copies that stand on their own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/logs/core/log_records.h"
#include "support/log_test_support.h"
#include "tests/gui/logs/bench_log_generator.h"

namespace {

using Entries = IndexedList<std::pair<std::string, int>, PairKeyTraits<int>>;

TEST(IndexedList, KeepsOrderAndFindsEveryKeyAcrossBlocks) {
  Entries list;
  std::vector<const std::pair<std::string, int>*> addresses;
  const int count = 5000;  // past the growing blocks and into the fixed ones
  for (int i = 0; i < count; ++i) {
    const std::string key = "K" + std::to_string(i * 7919 % 100003);
    ASSERT_EQ(list.IndexOf(key), Entries::kNotFound);
    ASSERT_EQ(list.Append({key, i}), static_cast<size_t>(i));
    addresses.push_back(&list[i]);
  }
  ASSERT_EQ(list.size(), static_cast<size_t>(count));
  int expected = 0;
  for (const auto& [key, value] : list) {
    ASSERT_EQ(value, expected);
    ASSERT_EQ(list.Find(key), addresses[expected]) << "moved or lost: " << key;
    ++expected;
  }
  EXPECT_EQ(expected, count);
  EXPECT_EQ(list.back().second, count - 1);
  EXPECT_EQ(list.Find("absent"), nullptr);
  EXPECT_THROW(list.at(count), std::out_of_range);
}

TEST(IndexedList, CopiesAndMovesStandOnTheirOwn) {
  Entries original;
  for (int i = 0; i < 20; ++i) original.Append({"K" + std::to_string(i), i});
  Entries copy = original;
  original.clear();
  EXPECT_TRUE(original.empty());
  EXPECT_EQ(original.Find("K3"), nullptr);
  ASSERT_EQ(copy.size(), 20u);
  ASSERT_NE(copy.Find("K19"), nullptr);
  EXPECT_EQ(copy.Find("K19")->second, 19);

  Entries moved = std::move(copy);
  EXPECT_EQ(moved.Find("K7")->second, 7);
  original = moved;
  original.Append({"K20", 20});
  EXPECT_EQ(moved.size(), 20u);
  EXPECT_EQ(original.Find("K20")->second, 20);
}

TEST(IndexedList, ItemsAreFoundByLargeIndexes) {
  LogResourceSection section;
  for (uint64_t i = 0; i < 3000; ++i) {
    LogResourceItem item;
    item.index = i * 0x9E3779B97F4A7C15ULL;
    section.items.Append(std::move(item));
  }
  for (uint64_t i = 0; i < 3000; ++i) {
    ASSERT_EQ(section.items.IndexOf(i * 0x9E3779B97F4A7C15ULL), i);
  }
  EXPECT_EQ(section.items.IndexOf(1), decltype(section.items)::kNotFound);
}

// Indices a log can be written with so that a fixed, invertible hash sends every one of them to
// the same slot.
std::vector<uint64_t> IndicesAimedAtAFixedHash(size_t count) {
  std::vector<uint64_t> indices;
  for (uint64_t i = 0; i < count; ++i) indices.push_back(bench_log::IndexAimedAtAFixedHash(i));
  return indices;
}

uint64_t ProbesToParse(const std::string& log) {
  indexed_list::probes = 0;
  const auto reader = ParseLog(log);
  const uint64_t probes = indexed_list::probes;
  const LogGroupEntry* entry = FindEntry(*reader, 1000, "STORAGE_MODULE");
  EXPECT_NE(entry, nullptr);
  if (entry != nullptr) {
    EXPECT_FALSE(entry->broken);
  }
  return probes;
}

// One section of count items, each index given once.
std::string SectionOf(const std::vector<uint64_t>& indices) {
  std::string log = "+++ 2024-05-01T10.20.30 STORAGE_MODULE 1000\nUDI: DISK0\n";
  for (const uint64_t index : indices) {
    log += ">>> RESOURCE PARTITION\nINDEX: " + std::to_string(index) + "\nSIZE: 1\n<<< RESOURCE\n";
  }
  return log + "START TESTS\n2024-05-01T10.20.31 START T\n2024-05-01T10.20.32 STOP T SUCCESS 1 S\n"
               "STOP TESTS 0\n--- STORAGE_MODULE\n";
}

}  // namespace

// Item indices chosen against the hash cost a constant number of comparisons each, like any
// others: the look-ups' work grows with the log, never with its square.
TEST(IndexedList, IndicesAimedAtTheHashStayLinear) {
  constexpr size_t kCount = 20000;
  const std::vector<uint64_t> aimed = IndicesAimedAtAFixedHash(2 * kCount);
  const std::vector<uint64_t> half(aimed.begin(), aimed.begin() + kCount);
  const uint64_t n = ProbesToParse(SectionOf(half));
  const uint64_t two_n = ProbesToParse(SectionOf(aimed));
  EXPECT_LT(n, 8 * kCount);
  EXPECT_LT(two_n, 8 * 2 * kCount);
  EXPECT_LT(static_cast<double>(two_n) / static_cast<double>(n), 2.5);

  LogResourceSection section;
  indexed_list::probes = 0;
  for (const uint64_t index : aimed) {
    ASSERT_EQ(section.items.IndexOf(index), decltype(section.items)::kNotFound);
    LogResourceItem item;
    item.index = index;
    section.items.Append(std::move(item));
  }
  for (size_t i = 0; i < aimed.size(); ++i) ASSERT_EQ(section.items.IndexOf(aimed[i]), i);
  EXPECT_LT(indexed_list::probes, 8 * aimed.size());
}

// Device ids and module names are looked up the same way.
TEST(IndexedList, TextKeysCostAFewComparisonsEach) {
  Entries list;
  constexpr int kCount = 20000;
  indexed_list::probes = 0;
  for (int i = 0; i < kCount; ++i) list.Append({"DEVICE_" + std::to_string(i), i});
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(list.IndexOf("DEVICE_" + std::to_string(i)), size_t(i));
  EXPECT_LT(indexed_list::probes, uint64_t{8} * kCount);
}
