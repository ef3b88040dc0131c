#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "qzsystem/prefs.h"
#include "qzsystem/registry.h"

namespace {

int created = 0;
void* MakeThing() {
  ++created;
  return &created;
}

std::vector<std::string> Names(RegistryList* list) {
  std::vector<std::string> names;
  list->ObtainReadLock();
  for (Registry* r = list->GetFirst(); r; r = list->GetNext(r)) names.emplace_back(r->Name);
  list->ReleaseReadLock();
  return names;
}

TEST(Registry, RecordsAreKeptInRegistrationOrderAndLeaveWhenDestroyed) {
  RegistryList* list = nullptr;
  auto first = std::make_unique<Registry>(&list, "ClipControl", uintptr_t{0});
  ASSERT_NE(list, nullptr);
  auto second = std::make_unique<Registry>(&list, "RectangleControl", uintptr_t{0});
  auto third = std::make_unique<Registry>(&list, "XYOffsetControl", uintptr_t{0});
  EXPECT_EQ(Names(list), (std::vector<std::string>{"ClipControl", "RectangleControl", "XYOffsetControl"}));

  second.reset();
  EXPECT_EQ(Names(list), (std::vector<std::string>{"ClipControl", "XYOffsetControl"}));
  third.reset();
  auto fourth = std::make_unique<Registry>(&list, "OffsetControl", uintptr_t{0});
  EXPECT_EQ(Names(list), (std::vector<std::string>{"ClipControl", "OffsetControl"}));
  first.reset();
  fourth.reset();
  EXPECT_EQ(list->Count(), 0u);
  EXPECT_EQ(list->GetFirst(), nullptr);
  delete list;
}

TEST(Registry, VariadicPairsBecomeTheRecordsData) {
  RegistryList* list = nullptr;
  {
    Registry record(&list, "ButtonControl", uintptr_t{0x10000000}, reinterpret_cast<uintptr_t>(&MakeThing),
                    uintptr_t{0x10000005}, uintptr_t{0x436e7442}, uintptr_t{0x10000003}, uintptr_t{2048}, uintptr_t{0});
    EXPECT_EQ(record.GetData(RegistryClassIDTag), 0x436e7442);
    EXPECT_EQ(record.GetData(RegistryClassTypeTag), 2048);
    EXPECT_EQ(record.GetData(0x10000069), 0);
    EXPECT_EQ(record.Tags.Count(), 3u);
    created = 0;
    EXPECT_EQ(record.Create(), &created);
    EXPECT_EQ(created, 1);
  }
  delete list;
}

TEST(Registry, RepeatedTagsStayInOrder) {
  RegistryList* list = nullptr;
  {
    Registry format(&list, "TGAFormat", uintptr_t{0x10000003}, uintptr_t{512}, uintptr_t{0x10000064}, uintptr_t{1},
                    uintptr_t{0x18000064}, reinterpret_cast<uintptr_t>(".TGA"), uintptr_t{0x18000064},
                    reinterpret_cast<uintptr_t>(".Targa"), uintptr_t{0});
    std::vector<std::string> extensions;
    for (const intptr_t* v = format.Tags.Find(0x18000064); v; v = format.Tags.FindNext(0x18000064, v)) {
      extensions.emplace_back(reinterpret_cast<const char*>(*v));
    }
    EXPECT_EQ(extensions, (std::vector<std::string>{".TGA", ".Targa"}));
    EXPECT_STREQ(reinterpret_cast<const char*>(format.GetData(0x18000064)), ".TGA");
    EXPECT_EQ(format.Create(), nullptr);
  }
  delete list;
}

TEST(Registry, TheClassRegistryFindsRecordsByNameAndId) {
  ASSERT_NE(ClassRegistry, nullptr);
  const uint32_t before = ClassRegistry->Count();
  {
    Registry slider(&ClassRegistry, "SliderControl", uintptr_t{0x10000005}, uintptr_t{0x43696c53}, uintptr_t{0});
    Registry point(&ClassRegistry, "PointControl", uintptr_t{0x10000005}, uintptr_t{0x43746e50}, uintptr_t{0});
    EXPECT_EQ(FindRegistryByName("PointControl"), &point);
    EXPECT_EQ(FindRegistryById(0x43696c53), &slider);
    EXPECT_EQ(FindRegistryByName("CrosshairControl"), nullptr);
    EXPECT_EQ(FindRegistryById(0x43724858), nullptr);
    EXPECT_EQ(ClassRegistry->Count(), before + 2);
  }
  EXPECT_EQ(FindRegistryByName("PointControl"), nullptr);
  EXPECT_EQ(ClassRegistry->Count(), before);
}

TEST(Registry, TheNameIsCopied) {
  RegistryList* list = nullptr;
  char name[] = "ComboControl";
  {
    Registry record(&list, name, uintptr_t{0});
    name[0] = 'X';
    EXPECT_STREQ(record.Name, "ComboControl");
  }
  delete list;
}

class Prefs : public ::testing::Test {
 protected:
  void TearDown() override { ResetPrefs(); }
};

TEST_F(Prefs, DefaultsHoldUntilTheHostSetsAValue) {
  EXPECT_EQ(GetPrefLong(0x10000000), 5);
  EXPECT_EQ(GetPrefLong(0x10000028), 0);
  EXPECT_EQ(GetPrefLong(0x12345678), 0);
  SetPrefLong(0x10000000, 8);
  SetPrefLong(0x10000028, 2);
  EXPECT_EQ(GetPrefLong(0x10000000), 8);
  EXPECT_EQ(GetPrefLong(0x10000028), 2);
  ResetPrefs();
  EXPECT_EQ(GetPrefLong(0x10000000), 5);
}

}  // namespace
