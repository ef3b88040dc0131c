#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "qzsystem/autoparameter.h"
#include "qzsystem/object.h"
#include "qzsystem/parameter.h"

namespace {

struct Tracked : Number {
  explicit Tracked(bool* deleted) : Number(1.0), Deleted(deleted) {}
  ~Tracked() override { *Deleted = true; }
  bool* Deleted;
};

TEST(Object, ClassIdBytesSpellTheIdInMemory) {
  Object object(MakeID("BtnC"));
  EXPECT_EQ(object.ID, 0x436e7442u);
  EXPECT_EQ(std::memcmp(&object.ID, "BtnC", 4), 0);
  EXPECT_EQ(MakeID("OpCo"), 0x6f43704fu);
}

TEST(Object, RecycleDeletesWhenTheLastReferenceGoes) {
  bool deleted = false;
  auto* number = new Tracked(&deleted);
  number->Use();
  number->Recycle();
  EXPECT_FALSE(deleted);
  EXPECT_EQ(number->References(), 1);
  number->Recycle();
  EXPECT_TRUE(deleted);
}

TEST(Object, AutoHolderReleasesOnEveryPath) {
  bool deleted = false;
  auto leave = [&](bool early) {
    AutoNumber held(new Tracked(&deleted));
    if (early) return;
    held->Value = 2.0;
  };
  leave(true);
  EXPECT_TRUE(deleted);
  deleted = false;
  leave(false);
  EXPECT_TRUE(deleted);

  deleted = false;
  EXPECT_THROW(
      {
        AutoParameter held(new Tracked(&deleted));
        throw std::runtime_error("failure");
      },
      std::runtime_error);
  EXPECT_TRUE(deleted);
}

TEST(Object, AutoHolderPassesAsTheRawPointer) {
  AutoNumber number(new Number(1.5));
  auto takesParameter = [](Parameter* p) { return static_cast<Number*>(p)->Value; };
  auto takesNumber = [](Number* n) { return n->Value; };
  EXPECT_EQ(takesParameter(number), 1.5);
  EXPECT_EQ(takesNumber(number), 1.5);
}

TEST(Object, MovedAutoHolderReleasesOnce) {
  bool deleted = false;
  {
    AutoNumber first(new Tracked(&deleted));
    AutoNumber second(std::move(first));
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_FALSE(deleted);
  }
  EXPECT_TRUE(deleted);
}

TEST(Object, DetachedHolderLeavesTheReferenceToTheCaller) {
  bool deleted = false;
  Number* kept;
  {
    AutoNumber held(new Tracked(&deleted));
    kept = held.Detach();
  }
  EXPECT_FALSE(deleted);
  kept->Recycle();
  EXPECT_TRUE(deleted);
}

TEST(Object, GetAttrIsZeroWhenAbsent) {
  Object object;
  object.Attrs.Add(0x1003000a, 2);
  EXPECT_EQ(object.GetAttr(0x1003000a), 2);
  EXPECT_EQ(object.GetAttr(0x1003000c), 0);
  EXPECT_EQ(object.GetAttrDouble(0x20030000, -1.0), -1.0);
}

TEST(Object, CopyAttrWritesDoublesForDoubleTagsAndLeavesOutAloneWhenAbsent) {
  Object object;
  object.Attrs.AddDouble(0x20040006, 0.75);
  object.Attrs.Add(0x10040007, 3);
  double d = 0;
  intptr_t i = 0;
  EXPECT_EQ(object.CopyAttr(0x20040006, &d), 1u);
  EXPECT_EQ(d, 0.75);
  EXPECT_EQ(object.CopyAttr(0x10040007, &i), 1u);
  EXPECT_EQ(i, 3);
  i = 42;
  EXPECT_EQ(object.CopyAttr(0x10040009, &i), 0u);
  EXPECT_EQ(i, 42);
}

TEST(Object, SetAttrsTagListReplacesGivenTagsAndKeepsOthers) {
  Object object;
  object.Attrs.Add(0x10040007, 3);
  object.Attrs.Add(0x10040005, 100);
  TagList update{{0x10040007, 5}};
  EXPECT_EQ(object.SetAttrsTagList(update), 1u);
  EXPECT_EQ(object.GetAttr(0x10040007), 5);
  EXPECT_EQ(object.GetAttr(0x10040005), 100);
  EXPECT_EQ(object.Attrs.Count(), 2u);
}

TEST(Object, AttributeStringsAreOwnedCopies) {
  char name[] = "Blur";
  Object object;
  object.SetAttrString(0x10020001, name);
  std::strcpy(name, "XXXX");
  EXPECT_STREQ(reinterpret_cast<const char*>(object.GetAttr(0x10020001)), "Blur");
  object.SetAttrString(0x10020001, "Sharpen");
  EXPECT_STREQ(reinterpret_cast<const char*>(object.GetAttr(0x10020001)), "Sharpen");
  object.SetAttrString(0x10020001, nullptr);
  EXPECT_EQ(object.GetAttr(0x10020001), 0);
}

TEST(Parameter, ValuesCompareByKindAndValue) {
  AutoNumber one(new Number(1.0)), otherOne(new Number(1.0)), two(new Number(2.0));
  AutoParameter text(new Text("1"));
  EXPECT_TRUE(SameValue(one, otherOne));
  EXPECT_FALSE(SameValue(one, two));
  EXPECT_FALSE(SameValue(one, text));
  EXPECT_TRUE(SameValue(nullptr, nullptr));
  EXPECT_FALSE(SameValue(one, nullptr));
  EXPECT_FALSE(SameValue(nullptr, one));
}

TEST(Parameter, PointsCompareBothCoordinates) {
  AutoParameter a(new Point(0.5f, 0.25f)), b(new Point(0.5f, 0.25f)), c(new Point(0.5f, 0.5f));
  EXPECT_TRUE(SameValue(a, b));
  EXPECT_FALSE(SameValue(a, c));
}

TEST(Parameter, TextKeepsItsOwnCopyAndTakesNullAsEmpty) {
  char buffer[] = "hello";
  AutoParameter text(new Text(buffer));
  buffer[0] = 'j';
  EXPECT_STREQ(static_cast<Text*>(text.Get())->String, "hello");
  AutoParameter empty(new Text(nullptr));
  EXPECT_STREQ(static_cast<Text*>(empty.Get())->String, "");
}

TEST(Parameter, CopyIsAnIndependentEqualValueWithAttributes) {
  AutoParameter original(new Text("abc"));
  original->Attrs.Add(0x100003e8, 2);
  AutoParameter copy(original->Copy());
  EXPECT_NE(copy.Get(), original.Get());
  EXPECT_EQ(copy->References(), 1);
  EXPECT_TRUE(SameValue(copy, original));
  EXPECT_NE(static_cast<Text*>(copy.Get())->String, static_cast<Text*>(original.Get())->String);
  EXPECT_EQ(copy->GetAttr(0x100003e8), 2);
}

TEST(Parameter, LookUpTablesCompareBitwise) {
  AutoHolder<LookUpTable> a(new LookUpTable(54)), b(new LookUpTable(54)), shorter(new LookUpTable(53));
  EXPECT_TRUE(SameValue(a, b));
  EXPECT_FALSE(SameValue(a, shorter));
  a->Table[10] = std::nanf("");
  AutoParameter copy(a->Copy());
  EXPECT_TRUE(SameValue(a, copy));
  b->Table[10] = -32768.0f;
  EXPECT_FALSE(SameValue(a, b));
}

TEST(Parameter, NegativeTableSizeGivesAnEmptyTable) {
  AutoHolder<LookUpTable> table(new LookUpTable(-3));
  EXPECT_EQ(table->Size, 0);
}

}  // namespace
