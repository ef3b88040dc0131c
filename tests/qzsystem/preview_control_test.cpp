#include <gtest/gtest.h>

#include <vector>

#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/operator.h"
#include "qzsystem/previewcontrol.h"
#include "qzsystem/previewview.h"
#include "recorder.h"

namespace {

// A viewer control that writes down what the base tells it.
struct Probe : PreviewControl {
  void NotifyChanged(Input* input, Parameter* value) override {
    auto* number = dynamic_cast<Number*>(value);
    Told.push_back({input, number ? number->Value : -1.0});
    PreviewControl::NotifyChanged(input, value);
  }
  uint32_t RemoveInput(Input* input) override {
    Removed.push_back(input);
    return PreviewControl::RemoveInput(input);
  }
  struct Notice {
    Input* From;
    double Value;
  };
  std::vector<Notice> Told;
  std::vector<Input*> Removed;
};

class PreviewControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qz::ResetPlatform();
    tool = new Operator("Tool");
    doc.AddTool(tool);
  }
  void TearDown() override {
    if (view.m_hWnd) view.DestroyWindow();
    qz::ResetPlatform();
  }

  Input* NumberInput(const char* name, double value, int viewerIndex = -1) {
    Input* input = tool->AddInput(name);
    if (viewerIndex >= 0) input->Attrs.Set(ViewerIndexTag, viewerIndex);
    Write(input, value);
    return input;
  }
  void OpenView() {
    view.Doc = &doc;
    view.CreateEx(0, AfxRegisterWndClass(0), "View", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr);
    qz::Pump();
  }
  bool ViewNeedsPaint() {
    RECT rc;
    return GetUpdateRect(view.m_hWnd, &rc, FALSE) != 0;
  }

  CPipelineDoc doc;
  Operator* tool = nullptr;
  PreviewView view;
};

TEST_F(PreviewControlTest, AddInputJoinsTheInputsControlsAndTellsItsValue) {
  Input* size = NumberInput("Size", 0.25);
  Probe probe;
  EXPECT_EQ(probe.AddInput(size), 1u);
  EXPECT_EQ(size->Controls.Count(), 1u);
  EXPECT_EQ(size->Controls.GetFirst()->Obj(), &probe);
  ASSERT_EQ(probe.Told.size(), 1u);
  EXPECT_EQ(probe.Told[0].Value, 0.25);

  Write(size, 0.5);
  ASSERT_EQ(probe.Told.size(), 2u);
  EXPECT_EQ(probe.Told[1].Value, 0.5);
}

TEST_F(PreviewControlTest, ConnectingAnInputTwiceJoinsOnce) {
  Input* size = NumberInput("Size", 0.25);
  Probe probe;
  probe.AddInput(size);
  EXPECT_EQ(probe.AddInput(size), 1u);
  EXPECT_EQ(size->Controls.Count(), 1u);
  EXPECT_EQ(probe.Inputs.Count(), 1u);
  Write(size, 0.5);
  EXPECT_EQ(probe.Told.size(), 2u);
}

TEST_F(PreviewControlTest, RemoveInputLeavesTheListAndStopsObserving) {
  Input* size = NumberInput("Size", 0.25);
  Input* other = NumberInput("Other", 1.0);
  Probe probe;
  probe.AddInput(size);
  EXPECT_EQ(probe.RemoveInput(other), 0u);
  EXPECT_EQ(probe.RemoveInput(nullptr), 0u);
  EXPECT_EQ(probe.RemoveInput(size), 1u);
  EXPECT_EQ(size->Controls.Count(), 0u);
  EXPECT_EQ(probe.Inputs.Count(), 0u);
  Write(size, 0.75);
  EXPECT_EQ(probe.Told.size(), 1u);
}

TEST_F(PreviewControlTest, DestructionLeavesEveryInput) {
  Input* a = NumberInput("A", 0.0);
  Input* b = NumberInput("B", 0.0);
  {
    Probe probe;
    probe.AddInput(a);
    probe.AddInput(b);
    EXPECT_EQ(a->Controls.Count(), 1u);
  }
  EXPECT_EQ(a->Controls.Count(), 0u);
  EXPECT_EQ(b->Controls.Count(), 0u);
  Write(a, 3.0);  // no observer left to call
}

TEST_F(PreviewControlTest, JoiningADocumentInputsControlsListFollowsItsChanges) {
  Input* pivot = NumberInput("Pivot", 0.25);
  Probe probe;
  probe.Doc = &doc;
  pivot->Controls.Add(&probe);
  Write(pivot, 0.5);
  ASSERT_EQ(probe.Told.size(), 1u);
  EXPECT_EQ(probe.Told[0].From, pivot);
  pivot->Controls.Remove(&probe);
  Write(pivot, 0.75);
  EXPECT_EQ(probe.Told.size(), 1u);
}

TEST_F(PreviewControlTest, FollowedInputStaysObservedWhenItIsDisconnected) {
  Input* pivot = NumberInput("Pivot", 0.25);
  Probe probe;
  probe.Doc = &doc;
  probe.AddInput(pivot);
  pivot->Controls.Add(&probe);
  probe.RemoveInput(pivot);
  Write(pivot, 0.5);
  EXPECT_EQ(probe.Told.size(), 2u);
  pivot->Controls.Remove(&probe);
  Write(pivot, 0.75);
  EXPECT_EQ(probe.Told.size(), 2u);
}

TEST_F(PreviewControlTest, SetInputsWritesOnlyInputsOfTheViewerIndex) {
  Input* width = NumberInput("Width", 0.1, 0);
  Input* height = NumberInput("Height", 0.2, 1);
  Input* plain = NumberInput("Plain", 0.3);  // no index attribute counts as 0
  Probe probe;
  for (Input* input : {width, height, plain}) probe.AddInput(input);
  probe.Told.clear();

  AutoNumber value(new Number(0.9));
  probe.SetInputs(value, 0.0, 1);
  EXPECT_EQ(ValueOf(width, 0), 0.1);
  EXPECT_EQ(ValueOf(height, 0), 0.9);
  ASSERT_EQ(probe.Told.size(), 1u);
  EXPECT_EQ(probe.Told[0].From, height);

  probe.SetInputs(value, 0.0, 0);
  EXPECT_EQ(ValueOf(width, 0), 0.9);
  EXPECT_EQ(ValueOf(plain, 0), 0.9);
}

TEST_F(PreviewControlTest, ControlDownKeepsTheDragAndControlUpEndsIt) {
  Probe probe;
  probe.DragMode = 2;
  EXPECT_EQ(probe.ControlDown(nullptr, nullptr, CPoint(1, 1)), 1u);
  EXPECT_EQ(probe.DragMode, 2u);
  probe.ControlUp(nullptr, nullptr, CPoint(1, 1));
  EXPECT_EQ(probe.DragMode, 0u);
  EXPECT_EQ(probe.ControlDown(nullptr, nullptr, CPoint(1, 1)), 0u);
}

TEST_F(PreviewControlTest, EachDragIsItsOwnUndoStep) {
  Input* size = NumberInput("Size", 0.0);
  Probe probe;
  probe.Doc = &doc;
  probe.AddInput(size);
  doc.ResetUndo();
  const size_t before = doc.UndoSteps().size();
  for (double end : {0.5, 0.8}) {
    probe.DragMode = 2;
    for (double v : {end - 0.2, end - 0.1, end}) {
      AutoNumber value(new Number(v));
      probe.SetInputs(value, 0.0, 0);
    }
    probe.ControlUp(nullptr, nullptr, CPoint());
  }
  EXPECT_EQ(doc.UndoSteps().size(), before + 2);
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), 0.5);
}

TEST_F(PreviewControlTest, ActivationAndChangesAskTheViewToRedrawExceptWhileDragging) {
  OpenView();
  Input* size = NumberInput("Size", 0.0);
  Probe probe;
  probe.SetView(&view);
  EXPECT_EQ(probe.Doc, &doc);
  probe.AddInput(size);
  qz::Pump();

  probe.SetActive(0);
  EXPECT_EQ(probe.IsActive, 1);
  EXPECT_TRUE(ViewNeedsPaint());
  qz::Pump();
  probe.SetInactive();
  EXPECT_EQ(probe.IsActive, 0);
  EXPECT_TRUE(ViewNeedsPaint());
  qz::Pump();

  Write(size, 1.0);
  EXPECT_TRUE(ViewNeedsPaint());
  qz::Pump();
  probe.DragMode = 2;
  Write(size, 2.0);
  EXPECT_FALSE(ViewNeedsPaint());
}

TEST_F(PreviewControlTest, ReleasingAnInputRemovesItFromEveryControl) {
  Input* size = NumberInput("Size", 0.0);
  Probe first, second;
  first.AddInput(size);
  second.AddInput(size);
  ReleasePreviewControls(size);
  ASSERT_EQ(first.Removed.size(), 1u);
  ASSERT_EQ(second.Removed.size(), 1u);
  EXPECT_EQ(size->Controls.Count(), 0u);
  EXPECT_EQ(first.Inputs.Count(), 0u);
}

TEST_F(PreviewControlTest, OperatorIsTheToolOfTheFirstInput) {
  Probe probe;
  EXPECT_EQ(probe.GetOperator(), nullptr);
  probe.AddInput(NumberInput("Size", 0.0));
  EXPECT_EQ(probe.GetOperator(), tool);
}

TEST_F(PreviewControlTest, BaseAnswersNoCommandAndHasNoTip) {
  Probe probe;
  Input* sentinel = reinterpret_cast<Input*>(0x1);
  probe.ControlCommand(nullptr, nullptr, PreviewCommandInputAt, &sentinel);
  EXPECT_EQ(sentinel, reinterpret_cast<Input*>(0x1));
  char tip[8] = "keep";
  EXPECT_EQ(probe.ControlGetTip(nullptr, nullptr, tip), 0u);
  EXPECT_STREQ(tip, "keep");
}

}  // namespace
