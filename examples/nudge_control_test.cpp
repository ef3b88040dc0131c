// The example control driven through the installed harness as the host does:
// the module loaded with dlopen, the control created through its
// registration, its button clicked.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness/module.h"
#include "harness/session.h"
#include "nudge_control.h"
#include "qzcontrols_version.h"
#include "qzsystem/resources.h"

namespace {

HWND ButtonOf(InputControl* control) {
  return GetDlgItem(control->Wnd->m_hWnd, NudgeControl::ButtonId);
}

TEST(NudgeControl, EachClickAddsTheStepInOneUndoStep) {
  qzh::Module module;
  ASSERT_TRUE(module.Load(NUDGE_MODULE)) << module.Error();
  {
    qzh::Session s;
    Operator* tool = s.AddTool("Grade");
    Input* gain = s.AddNumberInput(tool, "Gain", 1.0);
    InputControl* control = s.AddPanelControl(
        "NudgeControl", TagList{{ControlNameTag, "Gain +0.25"}, {NudgeControl::StepTag, 0.25}}, {gain});
    ASSERT_NE(control, nullptr);
    s.Click(ButtonOf(control), 10, 10);
    s.Click(ButtonOf(control), 10, 10);
    EXPECT_DOUBLE_EQ(s.NumberValue(gain), 1.5);
    EXPECT_EQ(s.Doc.UndoSteps(), (std::vector<std::string>{"Nudge", "Nudge"}));
    s.Doc.Undo();
    EXPECT_DOUBLE_EQ(s.NumberValue(gain), 1.25);
  }
  EXPECT_TRUE(module.Unload());
}

TEST(NudgeControl, TheInstalledControlsModuleLoadsBesideIt) {
  EXPECT_EQ(qzh::Module::DefaultPath(), QZ_CONTROLS_MODULE);
  qzh::Module controls;
  ASSERT_TRUE(controls.Load()) << controls.Error();
  bool slider = false;
  for (const qzh::ClassInfo& info : qzh::ControlClasses()) slider |= info.Name == "SliderControl";
  EXPECT_TRUE(slider);
  EXPECT_TRUE(controls.Unload());
  EXPECT_STRNE(QZCONTROLS_VERSION, "");
}

TEST(NudgeControl, TheInstalledResourceStoreIsFound) {
  EXPECT_TRUE(std::filesystem::equivalent(GetResourceDir(), QZ_RESOURCE_STORE));
}

}  // namespace
