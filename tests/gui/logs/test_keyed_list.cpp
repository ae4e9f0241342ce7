// The insertion-ordered list behind every record list: order, look-up across its blocks and its
// index, and copies that stand on their own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/logs/core/log_records.h"

namespace {

using Entries = KeyedList<std::pair<std::string, int>, PairKeyTraits<int>>;

TEST(KeyedList, KeepsOrderAndFindsEveryKeyAcrossBlocks) {
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

TEST(KeyedList, CopiesAndMovesStandOnTheirOwn) {
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

TEST(KeyedList, ItemsAreFoundByLargeIndexes) {
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

}  // namespace
