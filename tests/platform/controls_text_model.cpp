#include <gtest/gtest.h>

#include "platform/controls/edit_layout.h"
#include "platform/controls/edit_model.h"
#include "platform/controls/item_list.h"

namespace {

using qz::controls::EditLayout;
using qz::controls::EditModel;
using qz::controls::ItemList;
using qz::controls::TextMeasure;

// Every character is 5 pixels wide.
class FixedMeasure : public TextMeasure {
 public:
  int Width(const char*, size_t length) const override { return static_cast<int>(length) * 5; }
};

TEST(EditModel, LineBreakIsOneStepForCaretAndBackspace) {
  EditModel m;
  m.SetText("ab\r\ncd");
  m.MoveCaret(4, false);
  EXPECT_EQ(m.PreviousPosition(4), 2u);
  EXPECT_TRUE(m.DeleteBackward());
  EXPECT_EQ(m.Text(), "abcd");
  EXPECT_EQ(m.Caret(), 2u);
}

TEST(EditModel, PositionsInsideALineBreakSnapBeforeIt) {
  EditModel m;
  m.SetText("ab\r\ncd");
  m.Select(3, 3);
  EXPECT_EQ(m.Caret(), 2u);
  m.Select(0, 99);
  EXPECT_EQ(m.Caret(), 6u);
}

TEST(EditModel, RoomForInsertCountsTheSelectionAsFree) {
  EditModel m;
  m.SetLimit(5);
  m.SetText("abcdefg");
  EXPECT_EQ(m.RoomForInsert(), 0u);
  m.Select(0, 4);
  EXPECT_EQ(m.RoomForInsert(), 2u);
}

TEST(EditModel, ReplacingNothingWithNothingIsNoChange) {
  EditModel m;
  m.SetText("abc");
  EXPECT_FALSE(m.ReplaceSelection(""));
  EXPECT_FALSE(m.Modified());
  EXPECT_FALSE(m.DeleteForward() && m.Caret() != 0);
}

TEST(EditModel, WordsAreSeparatedByBlanks) {
  EditModel m;
  m.SetText("one two  three");
  EXPECT_EQ(m.NextWord(0), 4u);
  EXPECT_EQ(m.NextWord(4), 9u);
  EXPECT_EQ(m.PreviousWord(9), 4u);
  size_t start = 0, end = 0;
  m.WordAround(10, &start, &end);
  EXPECT_EQ(start, 9u);
  EXPECT_EQ(end, 14u);
}

TEST(EditLayout, SplitsAtLineBreaksOfEitherKind) {
  EditLayout layout;
  FixedMeasure measure;
  std::string text = "ab\r\ncd\nef";
  layout.Build(text, true, 0, measure);
  ASSERT_EQ(layout.LineCount(), 3u);
  EXPECT_EQ(layout.Line(1).start, 4u);
  EXPECT_EQ(layout.Line(1).end, 6u);
  EXPECT_EQ(layout.Line(2).start, 7u);
  EXPECT_EQ(layout.LineOf(6), 1u);
}

TEST(EditLayout, TrailingBreakMakesAnEmptyLastLine) {
  EditLayout layout;
  FixedMeasure measure;
  std::string text = "ab\r\n";
  layout.Build(text, true, 0, measure);
  ASSERT_EQ(layout.LineCount(), 2u);
  EXPECT_EQ(layout.LineOf(4), 1u);
}

TEST(EditLayout, WrapsAtWordsAndBreaksLongWords) {
  EditLayout layout;
  FixedMeasure measure;
  std::string text = "aaa bbb cccccccccc";
  layout.Build(text, true, 20, measure);
  ASSERT_EQ(layout.LineCount(), 5u);
  EXPECT_EQ(text.substr(layout.Line(0).start, layout.Line(0).end - layout.Line(0).start), "aaa ");
  EXPECT_EQ(text.substr(layout.Line(1).start, layout.Line(1).end - layout.Line(1).start), "bbb ");
  EXPECT_EQ(text.substr(layout.Line(2).start, layout.Line(2).end - layout.Line(2).start), "cccc");
  EXPECT_EQ(text.substr(layout.Line(4).start, layout.Line(4).end - layout.Line(4).start), "cc");
  EXPECT_EQ(layout.LineOf(4), 1u);
}

TEST(EditLayout, SingleLineKeepsBreaksOnOneLine) {
  EditLayout layout;
  FixedMeasure measure;
  std::string text = "ab\r\ncd";
  layout.Build(text, false, 10, measure);
  EXPECT_EQ(layout.LineCount(), 1u);
}

TEST(EditLayout, PositionAtPicksTheNearestBoundary) {
  EditLayout layout;
  FixedMeasure measure;
  std::string text = "abcd";
  layout.Build(text, false, 0, measure);
  EXPECT_EQ(layout.PositionAt(text, 0, 7, measure), 1u);
  EXPECT_EQ(layout.PositionAt(text, 0, 8, measure), 2u);
  EXPECT_EQ(layout.PositionAt(text, 0, 500, measure), 4u);
  EXPECT_EQ(layout.XOf(text, 3, measure), 15);
}

TEST(ItemList, SortedAddPlacesEqualTextsAfterEachOther) {
  ItemList items;
  EXPECT_EQ(items.Add("b", 1, true), 0);
  EXPECT_EQ(items.Add("A", 2, true), 0);
  EXPECT_EQ(items.Add("B", 3, true), 2);
  EXPECT_EQ(items.At(1).data, 1u);
}

TEST(ItemList, InsertRejectsIndexesPastTheEnd) {
  ItemList items;
  EXPECT_EQ(items.Insert(1, "x", 0), -1);
  EXPECT_EQ(items.Insert(-1, "x", 0), 0);
  EXPECT_EQ(items.Insert(0, "y", 0), 0);
}

TEST(ItemList, FindWrapsAroundFromTheItemAfterTheStart) {
  ItemList items;
  for (const char* t : {"x", "Y", "x"}) items.Add(t, 0, false);
  EXPECT_EQ(items.FindExact(0, "X"), 2);
  EXPECT_EQ(items.FindExact(2, "x"), 0);
  EXPECT_EQ(items.FindExact(-1, "y"), 1);
  EXPECT_EQ(items.FindInitial(1, 'X'), 2);
}

}  // namespace
