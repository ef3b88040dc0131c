#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "qzsystem/taglist.h"

namespace {

constexpr uint32_t kEntry = 0x18050000;
constexpr uint32_t kSteps = 0x10040005;
constexpr uint32_t kLow = 0x20030000;

TEST(TagList, RepeatedTagsAreWalkedInOrderWithFindNext) {
  TagList tags;
  tags.Add(kEntry, reinterpret_cast<intptr_t>("one"));
  tags.Add(kSteps, 7);
  tags.Add(kEntry, reinterpret_cast<intptr_t>("two"));
  tags.Add(kEntry, reinterpret_cast<intptr_t>("three"));

  std::vector<std::string> seen;
  for (const intptr_t* value = tags.Find(kEntry); value; value = tags.FindNext(kEntry, value)) {
    seen.emplace_back(reinterpret_cast<const char*>(*value));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "two", "three"}));
}

TEST(TagList, FindNextRejectsPointersFromElsewhere) {
  TagList tags{{kEntry, 1}, {kEntry, 2}};
  TagList other{{kEntry, 3}};
  intptr_t loose = 0;
  EXPECT_EQ(tags.FindNext(kEntry, other.Find(kEntry)), nullptr);
  EXPECT_EQ(tags.FindNext(kEntry, &loose), nullptr);
  EXPECT_EQ(tags.FindNext(kEntry, nullptr), nullptr);
}

TEST(TagList, AbsentTagsGiveTheCallersDefaults) {
  TagList tags{{kSteps, 11}};
  EXPECT_EQ(tags.GetLong(0x10040007, 4), 4);
  EXPECT_EQ(tags.GetDouble(kLow, 0.25), 0.25);
  intptr_t out = 99;
  EXPECT_EQ(tags.Get(0x10040007, &out), 0u);
  EXPECT_EQ(out, 99);
  EXPECT_EQ(tags.Get(kSteps, &out), 1u);
  EXPECT_EQ(out, 11);
}

TEST(TagList, PresentZeroIsNotTheDefault) {
  TagList tags{{kSteps, 0}};
  EXPECT_EQ(tags.GetLong(kSteps, 1001), 0);
  EXPECT_NE(tags.Find(kSteps), nullptr);
}

TEST(TagList, SetReplacesOnlyTheFirstOccurrence) {
  TagList tags{{kEntry, 1}, {kEntry, 2}};
  EXPECT_EQ(tags.Set(kEntry, 5), 1u);
  const intptr_t* first = tags.Find(kEntry);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(*first, 5);
  EXPECT_EQ(*tags.FindNext(kEntry, first), 2);
  EXPECT_EQ(tags.Count(), 2u);
}

TEST(TagList, SetWithoutAddLeavesAnAbsentTagAbsent) {
  TagList tags;
  EXPECT_EQ(tags.Set(kSteps, 3, 0), 0u);
  EXPECT_EQ(tags.Find(kSteps), nullptr);
  EXPECT_EQ(tags.Set(kSteps, 3), 1u);
  EXPECT_EQ(tags.GetLong(kSteps, 0), 3);
}

TEST(TagList, DoublesAndIntegersReadEitherWay) {
  TagList tags{{kLow, -2.75}, {kSteps, 12}};
  EXPECT_EQ(tags.GetDouble(kLow, 0), -2.75);
  EXPECT_EQ(tags.GetLong(kLow, 0), -2);
  EXPECT_EQ(tags.GetDouble(kSteps, 0), 12.0);
  tags.SetDouble(kSteps, 1.5);
  EXPECT_EQ(tags.GetLong(kSteps, 0), 1);
}

TEST(TagList, HugeAndNotANumberDoublesDoNotOverflowTheIntegerReading) {
  TagList tags{{kLow, 1e300}, {0x20030001, std::nan("")}};
  EXPECT_EQ(tags.GetLong(kLow, 0), std::numeric_limits<intptr_t>::max());
  EXPECT_EQ(tags.GetLong(0x20030001, 7), 0);
}

TEST(TagList, PointerValuesArePointerSized) {
  static int target;
  TagList tags{{0x10058000, &target}};
  EXPECT_EQ(reinterpret_cast<int*>(tags.GetLong(0x10058000, 0)), &target);
}

TEST(TagList, MergeReplacesEveryOccurrenceAndKeepsRepeats) {
  TagList attrs{{kEntry, 1}, {kSteps, 5}, {kEntry, 2}};
  TagList update{{kEntry, 7}, {kEntry, 8}, {kLow, 0.5}};
  attrs.Merge(update);
  std::vector<intptr_t> entries;
  for (const intptr_t* v = attrs.Find(kEntry); v; v = attrs.FindNext(kEntry, v)) entries.push_back(*v);
  EXPECT_EQ(entries, (std::vector<intptr_t>{7, 8}));
  EXPECT_EQ(attrs.GetLong(kSteps, 0), 5);
  EXPECT_EQ(attrs.GetDouble(kLow, 0), 0.5);
}

TEST(TagList, CopiesAreIndependent) {
  TagList original{{kSteps, 1}};
  TagList copy = original;
  copy.Set(kSteps, 2);
  copy.Add(kEntry, 3);
  EXPECT_EQ(original.GetLong(kSteps, 0), 1);
  EXPECT_EQ(original.Count(), 1u);
}

TEST(TagList, RemoveAndClearEmptyTheList) {
  TagList tags{{kEntry, 1}, {kSteps, 2}, {kEntry, 3}};
  EXPECT_EQ(tags.Remove(kEntry), 2u);
  EXPECT_EQ(tags.Count(), 1u);
  tags.Clear();
  EXPECT_EQ(tags.Count(), 0u);
  EXPECT_EQ(tags.Find(kSteps), nullptr);
}

}  // namespace
