#include <gtest/gtest.h>

#include "qzsystem/document.h"
#include "qzsystem/input.h"
#include "qzsystem/operator.h"
#include "recorder.h"

namespace {

using Names = std::vector<std::string>;
using Values = std::vector<std::optional<double>>;

class Undo : public ::testing::Test {
 protected:
  void SetUp() override {
    tool = doc.AddTool(new Operator("Blur1"));
    size = tool->AddInput("Size");
    angle = tool->AddInput("Angle");
    size->AddObserver(&seen);
  }

  CPipelineDoc doc;
  Operator* tool = nullptr;
  Input* size = nullptr;
  Input* angle = nullptr;
  Recorder seen;
};

TEST_F(Undo, BracketedWriteIsUndoneAndObserversAreTold) {
  Write(size, 1.0);
  doc.ResetUndo();
  doc.StartUndo("Control Change");
  Write(size, 2.0);
  doc.EndUndo(1);
  EXPECT_EQ(doc.UndoSteps(), (Names{"Change", "Control Change"}));

  EXPECT_EQ(doc.Undo(), 1u);
  EXPECT_EQ(ValueOf(size, 0), 1.0);
  EXPECT_EQ(seen.Values, (Values{1.0, 2.0, 1.0}));
  EXPECT_EQ(doc.RedoSteps(), (Names{"Control Change"}));
}

TEST_F(Undo, UndoingTheFirstValueClearsTheInputAgain) {
  doc.StartUndo("Set");
  Write(size, 2.0);
  doc.EndUndo(1);
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), std::nullopt);
}

TEST_F(Undo, NestedBracketsMakeOneStepNamedByTheOuter) {
  doc.StartUndo("Select Colour");
  Write(size, 1.0);
  doc.StartUndo("Inner");
  Write(angle, 2.0);
  doc.EndUndo(1);
  Write(size, 3.0);
  doc.EndUndo(1);
  EXPECT_EQ(doc.UndoSteps(), (Names{"Select Colour"}));
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), std::nullopt);
  EXPECT_EQ(ValueOf(angle, 0), std::nullopt);
}

TEST_F(Undo, AStepKeepsTheValueBeforeTheFirstWriteAndAfterTheLast) {
  Write(size, 1.0);
  doc.ResetUndo();
  doc.StartUndo("Drag");
  Write(size, 2.0);
  Write(size, 3.0);
  Write(size, 4.0);
  doc.EndUndo(1);
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), 1.0);
  doc.Redo();
  EXPECT_EQ(ValueOf(size, 0), 4.0);
}

TEST_F(Undo, AnEmptyBracketLeavesNoStepAndKeepsRedo) {
  doc.StartUndo("A");
  Write(size, 1.0);
  doc.EndUndo(1);
  doc.Undo();
  doc.StartUndo("Empty");
  doc.EndUndo(1);
  doc.StartUndo("Unchanged");
  size->SetValue(nullptr, 0, 1);
  doc.EndUndo(1);
  EXPECT_EQ(doc.UndoSteps(), Names{});
  EXPECT_EQ(doc.RedoSteps(), (Names{"A"}));
}

TEST_F(Undo, RedoReappliesAndANewStepDropsRedo) {
  doc.StartUndo("One");
  Write(size, 1.0);
  doc.EndUndo(1);
  doc.StartUndo("Two");
  Write(size, 2.0);
  doc.EndUndo(1);
  doc.Undo();
  doc.Undo();
  EXPECT_EQ(doc.Undo(), 0u);
  EXPECT_EQ(doc.Redo(), 1u);
  EXPECT_EQ(ValueOf(size, 0), 1.0);
  doc.StartUndo("Three");
  Write(angle, 3.0);
  doc.EndUndo(1);
  EXPECT_EQ(doc.Redo(), 0u);
  EXPECT_EQ(doc.UndoSteps(), (Names{"One", "Three"}));
}

TEST_F(Undo, WritesAfterABracketedFirstWriteJoinItsStep) {
  Write(size, 0.0);
  doc.ResetUndo();
  doc.StartUndo("Control Change");
  Write(size, 0.1);
  doc.EndUndo(1);
  Write(size, 0.2);
  Write(size, 0.3);
  EXPECT_EQ(doc.UndoSteps(), (Names{"Change", "Control Change"}));
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), 0.0);
}

TEST_F(Undo, WritesOutsideBracketsFormOneChangeStepUntilReset) {
  Write(size, 1.0);
  Write(angle, 2.0);
  Write(size, 3.0);
  EXPECT_EQ(doc.UndoSteps(), (Names{"Change"}));
  doc.ResetUndo();
  Write(size, 4.0);
  EXPECT_EQ(doc.UndoSteps(), (Names{"Change", "Change"}));
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), 3.0);
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), std::nullopt);
  EXPECT_EQ(ValueOf(angle, 0), std::nullopt);
}

TEST_F(Undo, UndoAndRedoEndTheGroup) {
  Write(size, 1.0);
  doc.ResetUndo();
  Write(size, 2.0);
  doc.Undo();
  Write(angle, 5.0);
  EXPECT_EQ(doc.UndoSteps(), (Names{"Change", "Change"}));
  doc.Undo();
  doc.Redo();
  Write(angle, 6.0);
  EXPECT_EQ(doc.UndoSteps().size(), 3u);
}

TEST_F(Undo, UndoItselfRecordsNothing) {
  doc.StartUndo("Set");
  Write(size, 1.0);
  doc.EndUndo(1);
  doc.Undo();
  doc.Redo();
  doc.Undo();
  EXPECT_EQ(doc.UndoSteps(), Names{});
  EXPECT_EQ(doc.RedoSteps(), (Names{"Set"}));
}

TEST_F(Undo, KeyedWritesAreRestoredPerTime) {
  size->Animate(1);
  Write(size, 1.0, 0);
  doc.ResetUndo();
  doc.StartUndo("Keys");
  Write(size, 2.0, 0);
  Write(size, 3.0, 10);
  doc.EndUndo(1);
  doc.Undo();
  EXPECT_EQ(size->KeyCount(), 1u);
  EXPECT_EQ(ValueOf(size, 10), 1.0);
  doc.Redo();
  EXPECT_EQ(ValueOf(size, 0), 2.0);
  EXPECT_EQ(ValueOf(size, 10), 3.0);
}

// One step writing the same input at several times, as a user typing at
// different frames or a disconnect (at its own time) followed by a write:
// redo must give back exactly what undo took away, animated or not.
TEST_F(Undo, RedoRestoresTheStateBeforeUndoWhenOneStepWritesAnInputAtSeveralTimes) {
  struct Case {
    bool animated;
    std::vector<std::pair<double, double>> writes;  // value, time
  };
  const Case cases[] = {
      {false, {{0.3, 0}, {0.6, 5}, {0.9, 0}}},
      {false, {{0.3, -1e9}, {0.6, 0}}},
      {false, {{0.3, 0}, {0.6, -1e9}, {0.9, 0}, {0.2, 7}}},
      {true, {{0.3, 0}, {0.6, 5}, {0.9, 0}}},
  };
  for (const Case& c : cases) {
    CPipelineDoc d;
    Operator* t = d.AddTool(new Operator("T"));
    Input* in = t->AddInput("In");
    if (c.animated) in->Animate(1);
    Write(in, 0.1, 0);
    d.ResetUndo();
    for (auto [value, time] : c.writes) Write(in, value, time);
    ASSERT_EQ(d.UndoSteps().size(), 2u);
    const std::optional<double> at0 = ValueOf(in, 0), at5 = ValueOf(in, 5), at7 = ValueOf(in, 7);
    d.Undo();
    EXPECT_EQ(ValueOf(in, 0), 0.1);
    d.Redo();
    EXPECT_EQ(ValueOf(in, 0), at0) << "animated " << c.animated;
    EXPECT_EQ(ValueOf(in, 5), at5);
    EXPECT_EQ(ValueOf(in, 7), at7);
  }
}

// An input animated after the step was made (animation is not recorded):
// undo puts a key where the constant was written, and redo takes exactly
// that away again.
TEST_F(Undo, RedoAfterUndoRestoresExactlyOnceTheInputWasAnimatedSince) {
  Write(size, 1.0);
  doc.ResetUndo();
  Write(size, 2.0);
  doc.CurrentTime = -5;
  size->Animate(1);
  ASSERT_EQ(size->KeyCount(), 1u);
  doc.Undo();
  doc.Redo();
  EXPECT_EQ(size->KeyCount(), 1u);
  EXPECT_EQ(ValueOf(size, -5), 2.0);
  EXPECT_EQ(ValueOf(size, 0), 2.0);
}

TEST_F(Undo, RemovingAKeyIsUndoable) {
  size->Animate(1);
  Write(size, 1.0, 0);
  Write(size, 2.0, 10);
  doc.ResetUndo();
  doc.StartUndo("Delete Clip");
  size->SetValue(nullptr, 10, 1);
  doc.EndUndo(1);
  EXPECT_EQ(size->KeyCount(), 1u);
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 10), 2.0);
}

TEST_F(Undo, ConnectionsAreUndone) {
  Operator* source = doc.AddTool(new Operator("Loader1"));
  Output* out = source->AddOutput("Output", 0x017475cf);
  doc.StartUndo("Connect Tool to BitmapMask");
  angle->ConnectTo(out, 1);
  doc.EndUndo(1);
  doc.Undo();
  EXPECT_FALSE(angle->IsConnected());
  doc.Redo();
  EXPECT_EQ(angle->ConnectedTo(), out);
}

TEST_F(Undo, UndoOfAReconnectionRestoresThePreviousConnectionAndTellsObservers) {
  Output* first = doc.AddTool(new Operator("Matte1"))->AddOutput("Output", 0x017475cf);
  Output* second = doc.AddTool(new Operator("Matte2"))->AddOutput("Output", 0x017475cf);
  angle->AddObserver(&seen);
  angle->ConnectTo(first, 1);
  doc.ResetUndo();
  doc.StartUndo("Connect Tool to BitmapMask");
  angle->ConnectTo(second, 1);
  doc.EndUndo(1);

  doc.Undo();
  EXPECT_EQ(angle->ConnectedTo(), first);
  EXPECT_EQ(angle->GetAttr(InputConnectionTag), reinterpret_cast<intptr_t>(first));
  doc.Redo();
  EXPECT_EQ(angle->ConnectedTo(), second);
  EXPECT_EQ(seen.Connections, (std::vector<Output*>{first, second, first, second}));
}

TEST_F(Undo, UndoIsRefusedInsideABracket) {
  doc.StartUndo("A");
  Write(size, 1.0);
  doc.EndUndo(1);
  doc.StartUndo("B");
  EXPECT_EQ(doc.Undo(), 0u);
  EXPECT_EQ(doc.Redo(), 0u);
  doc.EndUndo(1);
  EXPECT_EQ(ValueOf(size, 0), 1.0);
}

TEST_F(Undo, AnUnmatchedEndIsIgnored) {
  doc.EndUndo(1);
  doc.StartUndo("A");
  Write(size, 1.0);
  doc.EndUndo(1);
  Write(angle, 2.0);
  EXPECT_EQ(doc.UndoSteps(), (Names{"A"}));
}

TEST_F(Undo, RemovingAToolForgetsItsRecords) {
  Operator* other = doc.AddTool(new Operator("Other"));
  Input* gain = other->AddInput("Gain");
  doc.StartUndo("Both");
  Write(size, 1.0);
  Write(gain, 2.0);
  doc.EndUndo(1);
  doc.StartUndo("Gain only");
  Write(gain, 3.0);
  doc.EndUndo(1);
  doc.RemoveTool(other);
  EXPECT_EQ(doc.UndoSteps(), (Names{"Both"}));
  doc.Undo();
  EXPECT_EQ(ValueOf(size, 0), std::nullopt);
}

TEST_F(Undo, TheStepHoldsItsOwnReferences) {
  auto* first = new Number(1.0);
  doc.StartUndo("A");
  size->SetValue(first, 0, 1);
  first->Recycle();
  Write(size, 2.0);
  doc.EndUndo(1);
  // The value written first and replaced within the step is not needed.
  doc.Undo();
  doc.Redo();
  EXPECT_EQ(ValueOf(size, 0), 2.0);
}

TEST(Document, RenderRequestsAreRecordedInOrder) {
  CPipelineDoc doc;
  Operator* tool = doc.AddTool(new Operator("Blur1"));
  doc.RenderInteractive(tool, nullptr, 3);
  doc.SyncRender();
  doc.PostToAll(0x1409, 0, reinterpret_cast<intptr_t>(tool));
  const auto& requests = doc.RenderRequests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Type, RenderRequest::Interactive);
  EXPECT_EQ(requests[0].Tool, tool);
  EXPECT_EQ(requests[0].Mode, 3);
  EXPECT_EQ(requests[1].Type, RenderRequest::Sync);
  EXPECT_EQ(requests[2].Type, RenderRequest::Post);
  EXPECT_EQ(requests[2].Message, 0x1409u);
  EXPECT_EQ(requests[2].LParam, reinterpret_cast<intptr_t>(tool));
  doc.ClearRenderRequests();
  EXPECT_TRUE(doc.RenderRequests().empty());
}

TEST(Document, MovingInTimeTellsObserversTheValueThere) {
  CPipelineDoc doc;
  Input* input = doc.AddTool(new Operator("T"))->AddInput("Size");
  input->Animate(1);
  Write(input, 1.0, 0);
  Write(input, 2.0, 10);
  Recorder recorder;
  input->AddObserver(&recorder);
  doc.SetCurrentTime(12, 1);
  doc.SetCurrentTime(3, 1);
  EXPECT_EQ(doc.CurrentTime, 3);
  EXPECT_EQ(recorder.Values, (Values{2.0, 1.0}));
}

TEST(Document, ToolsAreFoundByNameAndReleasedWithTheDocument) {
  auto* doc = new CPipelineDoc;
  Operator* tool = doc->AddTool(new Operator("Blur1"));
  tool->Use();
  EXPECT_EQ(doc->FindTool("Blur1"), tool);
  EXPECT_EQ(doc->FindTool("Blur2"), nullptr);
  EXPECT_EQ(tool->Doc, doc);
  delete doc;
  EXPECT_EQ(tool->References(), 1);
  EXPECT_EQ(tool->Doc, nullptr);
  tool->Recycle();
}

}  // namespace
