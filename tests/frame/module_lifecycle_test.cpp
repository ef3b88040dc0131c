#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "harness/module.h"
#include "module_fixture.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/registry.h"

namespace {

// Allocations through the no-throw operator new fail while this is set, as
// when memory is exhausted; the module's creators allocate that way. Every
// form of new and delete is replaced so that they stay paired.
std::atomic<bool> FailNoThrowNew{false};

}  // namespace

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (FailNoThrowNew) return nullptr;
  return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace qzh {
namespace {

const ClassInfo* FindClass(const std::vector<ClassInfo>& classes, const std::string& name) {
  for (const ClassInfo& info : classes)
    if (info.Name == name) return &info;
  return nullptr;
}

TEST(ModuleRegistry, ButtonControlIsRegisteredWithItsIdAndType) {
  std::vector<ClassInfo> classes = ControlClasses();
  const ClassInfo* button = FindClass(classes, "ButtonControl");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Id, 0x436e7442u);
  EXPECT_EQ(IdText(button->Id), "BtnC");
  EXPECT_EQ(button->Type, 2048);
  EXPECT_NE(button->Record->GetData(RegistryCreatorTag), 0);
}

TEST(ModuleRegistry, UnloadRemovesEveryClassAndReloadRestoresTheOrder) {
  Module& module = ModuleEnvironment::Instance();
  std::vector<ClassInfo> before = ControlClasses();
  ASSERT_FALSE(before.empty());

  ASSERT_TRUE(module.Unload()) << "the library stayed in the process";
  EXPECT_TRUE(ControlClasses().empty());
  EXPECT_EQ(FindRegistryByName("ButtonControl"), nullptr);

  ASSERT_TRUE(module.Load()) << module.Error();
  std::vector<ClassInfo> after = ControlClasses();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    EXPECT_EQ(after[i].Name, before[i].Name);
    EXPECT_EQ(after[i].Id, before[i].Id);
    EXPECT_EQ(after[i].Type, before[i].Type);
  }
}

TEST(ModuleRegistry, CreatorReturnsNullWhenMemoryIsExhausted) {
  FailNoThrowNew = true;
  InputControl* control = CreatePanelControl("ButtonControl");
  FailNoThrowNew = false;
  EXPECT_EQ(control, nullptr);

  InputControl* made = CreatePanelControl("ButtonControl");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->ID, 0x436e7442u);
  delete made;
}

TEST(ModuleRegistry, UnknownOrViewerClassesAreNotCreatedAsPanelControls) {
  EXPECT_EQ(CreatePanelControl("NoSuchControl"), nullptr);
}

}  // namespace
}  // namespace qzh
