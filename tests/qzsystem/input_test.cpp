#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/input.h"
#include "qzsystem/operator.h"
#include "recorder.h"

namespace {

using std::nullopt;

TEST(Input, ConstantValueIsTheSameAtEveryTime) {
  Input input("Size");
  EXPECT_EQ(ValueOf(&input, 0), nullopt);
  EXPECT_EQ(Write(&input, 0.5), 1u);
  EXPECT_EQ(ValueOf(&input, -1000000000.0), 0.5);
  EXPECT_EQ(ValueOf(&input, 250), 0.5);
}

TEST(Input, GetValueHandsTheCallerANewReference) {
  Input input;
  AutoNumber number(new Number(2.0));
  input.SetValue(number, 0, 1);
  EXPECT_EQ(number->References(), 2);
  Parameter* value = input.GetValue(0);
  EXPECT_EQ(value, number.Get());
  EXPECT_EQ(number->References(), 3);
  value->Recycle();
  EXPECT_EQ(number->References(), 2);
}

TEST(Input, SetValueReportsAChangeOnlyWhenTheValueDiffers) {
  Input input;
  EXPECT_EQ(Write(&input, 1.0), 1u);
  EXPECT_EQ(Write(&input, 1.0), 0u);
  EXPECT_EQ(Write(&input, 0.0), 1u);
  AutoParameter text(new Text("0"));
  EXPECT_EQ(input.SetValue(text, 0, 1), 1u);
}

TEST(Input, UnchangedWriteKeepsTheStoredObject) {
  Input input;
  AutoNumber first(new Number(1.0));
  AutoNumber same(new Number(1.0));
  input.SetValue(first, 0, 1);
  input.SetValue(same, 0, 1);
  EXPECT_EQ(same->References(), 1);
  EXPECT_EQ(first->References(), 2);
}

TEST(Input, NullClearsTheValue) {
  Input input;
  EXPECT_EQ(input.SetValue(nullptr, 0, 1), 0u);
  Write(&input, 3.0);
  EXPECT_EQ(input.SetValue(nullptr, 0, 1), 1u);
  EXPECT_EQ(ValueOf(&input, 0), nullopt);
}

TEST(Input, KeyedValueIsTheLastKeyAtOrBeforeTheTimeElseTheFirst) {
  Input input;
  input.Animate(1);
  Write(&input, 10.0, 10);
  Write(&input, 20.0, 20);
  Write(&input, 5.0, 5);
  EXPECT_EQ(input.KeyCount(), 3u);
  EXPECT_EQ(ValueOf(&input, 0), 5.0);
  EXPECT_EQ(ValueOf(&input, 5), 5.0);
  EXPECT_EQ(ValueOf(&input, 9.999), 5.0);
  EXPECT_EQ(ValueOf(&input, 10), 10.0);
  EXPECT_EQ(ValueOf(&input, 1e9), 20.0);
}

TEST(Input, KeyedWriteComparesWithTheKeyAtThatTimeOnly) {
  Input input;
  input.Animate(1);
  Write(&input, 1.0, 0);
  // Same value as the one in force at 10, but a new key there.
  EXPECT_EQ(Write(&input, 1.0, 10), 1u);
  EXPECT_EQ(input.KeyCount(), 2u);
  EXPECT_EQ(Write(&input, 1.0, 10), 0u);
}

TEST(Input, NullAtAKeysTimeRemovesThatKey) {
  Input input;
  input.Animate(1);
  Write(&input, 1.0, 0);
  Write(&input, 2.0, 10);
  EXPECT_EQ(input.SetValue(nullptr, 10, 1), 1u);
  EXPECT_EQ(input.KeyCount(), 1u);
  EXPECT_EQ(ValueOf(&input, 50), 1.0);
  EXPECT_EQ(input.SetValue(nullptr, 7, 1), 0u);
}

TEST(Input, AnimatingMakesTheConstantAKeyAtTheCurrentTime) {
  CPipelineDoc doc;
  Operator* tool = doc.AddTool(new Operator("Blur1"));
  Input* input = tool->AddInput("Size");
  Write(input, 4.0);
  doc.CurrentTime = 12;
  input->Animate(1);
  Write(input, 8.0, 20);
  EXPECT_EQ(ValueOf(input, 12), 4.0);
  EXPECT_EQ(ValueOf(input, 0), 4.0);
  EXPECT_EQ(ValueOf(input, 25), 8.0);
  doc.CurrentTime = 30;
  input->Animate(0);
  EXPECT_EQ(input->KeyCount(), 0u);
  EXPECT_EQ(ValueOf(input, 0), 8.0);
}

TEST(Input, ObserversAreToldOncePerEffectiveChange) {
  Input input;
  Recorder first, second;
  input.AddObserver(&first);
  input.AddObserver(&second);
  input.AddObserver(&first);
  Write(&input, 1.0);
  Write(&input, 1.0);
  Write(&input, 2.0);
  input.SetValue(nullptr, 0, 1);
  EXPECT_EQ(first.Values, (std::vector<std::optional<double>>{1.0, 2.0, nullopt}));
  EXPECT_EQ(second.Values, first.Values);
  EXPECT_EQ(first.Inputs[0], &input);
}

TEST(Input, ObserversSeeTheValueAtTheDocumentsCurrentTime) {
  CPipelineDoc doc;
  Input* input = doc.AddTool(new Operator("T"))->AddInput("Size");
  input->Animate(1);
  Recorder recorder;
  input->AddObserver(&recorder);
  doc.CurrentTime = 0;
  Write(input, 1.0, 0);
  Write(input, 2.0, 50);
  EXPECT_EQ(recorder.Values, (std::vector<std::optional<double>>{1.0, 1.0}));
}

struct SelfRemover : InputObserver {
  void InputChanged(Input* input, Parameter*) override {
    ++Calls;
    input->RemoveObserver(this);
  }
  int Calls = 0;
};

TEST(Input, AnObserverMayRemoveItselfWhileBeingTold) {
  Input input;
  SelfRemover remover;
  Recorder after;
  input.AddObserver(&remover);
  input.AddObserver(&after);
  Write(&input, 1.0);
  Write(&input, 2.0);
  EXPECT_EQ(remover.Calls, 1);
  EXPECT_EQ(after.Values.size(), 2u);
}

struct Clamper : InputObserver {
  void InputChanged(Input* input, Parameter* value) override {
    Seen.push_back(static_cast<Number*>(value)->Value);
    if (static_cast<Number*>(value)->Value > 1.0) Write(input, 1.0);
  }
  std::vector<double> Seen;
};

TEST(Input, AnObserverMayWriteTheInputItIsToldAbout) {
  Input input;
  Clamper clamper;
  Recorder recorder;
  input.AddObserver(&clamper);
  input.AddObserver(&recorder);
  Write(&input, 5.0);
  EXPECT_EQ(ValueOf(&input, 0), 1.0);
  EXPECT_EQ(clamper.Seen, (std::vector<double>{5.0, 1.0}));
  // The first walk still hands its own value, kept alive for the walk.
  EXPECT_EQ(recorder.Values, (std::vector<std::optional<double>>{1.0, 5.0}));
}

TEST(Input, NameIsAnOwnedAttribute) {
  char name[] = "Angle";
  Input input(name, 0x41676e41);
  name[0] = 'X';
  EXPECT_STREQ(input.GetName(), "Angle");
  EXPECT_STREQ(reinterpret_cast<const char*>(input.GetAttr(0x10020001)), "Angle");
}

TEST(Input, ANameGivenInAnAttributeListIsCopiedToo) {
  std::string name = "Gain";
  TagList tags{{0x10020001, name.c_str()}, {0x1003000a, 1}};
  Input input;
  input.SetAttrsTagList(tags);
  name = "Overwritten and much longer than before";
  EXPECT_STREQ(input.GetName(), "Gain");
  EXPECT_EQ(input.GetAttr(0x1003000a), 1);
}

TEST(Input, ConnectingSetsTheConnectionAttributeAndTellsObservers) {
  Operator source("Loader1");
  Operator target("Merge1");
  Output* image = source.AddOutput("Output", 0x017475cf, MakeID("Imag"));
  Input* mask = target.AddInput("Mask");
  Recorder recorder;
  mask->AddObserver(&recorder);

  EXPECT_EQ(mask->ConnectTo(image, 1), 1u);
  EXPECT_TRUE(mask->IsConnected());
  EXPECT_EQ(mask->ConnectedTo(), image);
  auto* output = reinterpret_cast<Output*>(mask->GetAttr(0x10030000));
  ASSERT_EQ(output, image);
  EXPECT_EQ(reinterpret_cast<Operator*>(output->GetAttr(0x10020002)), &source);
  EXPECT_TRUE(output->HasType(0x67616d49));

  EXPECT_EQ(mask->ConnectTo(nullptr, 1), 1u);
  EXPECT_FALSE(mask->IsConnected());
  EXPECT_EQ(mask->GetAttr(0x10030000), 0);
  EXPECT_EQ(recorder.Connections, (std::vector<Output*>{image, nullptr}));
}

TEST(Input, AToolCannotFeedItself) {
  Operator tool("Blur1");
  Output* out = tool.AddOutput("Output");
  Input* in = tool.AddInput("Input");
  EXPECT_EQ(in->ConnectTo(out, 1), 0u);
  EXPECT_FALSE(in->IsConnected());
}

TEST(Input, RemovingAToolDisconnectsTheInputsItFed) {
  CPipelineDoc doc;
  Operator* source = doc.AddTool(new Operator("Loader1"));
  Operator* target = doc.AddTool(new Operator("Merge1"));
  Input* in = target->AddInput("Mask");
  Recorder recorder;
  in->AddObserver(&recorder);
  doc.StartUndo("Connect");
  in->ConnectTo(source->AddOutput("Output"), 1);
  doc.EndUndo(1);
  doc.RemoveTool(source);
  EXPECT_FALSE(in->IsConnected());
  EXPECT_EQ(in->GetAttr(0x10030000), 0);
  EXPECT_EQ(recorder.Connections.back(), nullptr);
  // The connection step referred to the vanished output and is gone.
  EXPECT_TRUE(doc.UndoSteps().empty());
}

TEST(Operator, FindsInputsAndOutputsByNameOrId) {
  Operator tool("Loader1");
  Input* clips = tool.AddInput(nullptr, 0x70696cc3);
  Input* size = tool.AddInput("Size", 0x657a6953);
  Output* main = tool.AddOutput("Output", 0x017475cf);
  EXPECT_EQ(tool.FindInput(0x70696cc3), clips);
  EXPECT_EQ(tool.FindInput(nullptr, 0x70696cc3), clips);
  EXPECT_EQ(tool.FindInput("Size"), size);
  EXPECT_EQ(tool.FindInput("Size", 0x70696cc3), nullptr);
  EXPECT_EQ(tool.FindInput("size"), nullptr);
  EXPECT_EQ(tool.FindInput(nullptr, 0), nullptr);
  EXPECT_EQ(tool.FindOutput(0x017475cf), main);
  EXPECT_EQ(tool.FindOutput("Output"), main);
  EXPECT_EQ(clips->Owner, &tool);
}

TEST(Operator, NamesAreCutToTheBufferAndCopiedWithTheirEnd) {
  std::string longName(300, 'n');
  Operator tool(longName.c_str());
  EXPECT_EQ(std::strlen(tool.Name), Operator::NameSize - 1);
  char buffer[256];
  std::memset(buffer, 'x', sizeof buffer);
  tool.GetName(buffer);
  EXPECT_EQ(std::string(buffer), std::string(Operator::NameSize - 1, 'n'));
}

TEST(Operator, AnInputHeldElsewhereOutlivesItsTool) {
  auto* tool = new Operator("T");
  Input* input = tool->AddInput("Size");
  input->Use();
  tool->Recycle();
  EXPECT_EQ(input->Owner, nullptr);
  EXPECT_EQ(Write(input, 1.0), 1u);
  input->Recycle();
}

}  // namespace
