#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"

namespace qzh {
namespace {

using Names = std::vector<std::string>;

constexpr uint32_t MainOutputId = 0x017475cf;
constexpr uint32_t ImageType = MakeID("Imag");
constexpr UINT ToolHandedMessage = 0x1418;
constexpr char ConnectStep[] = "Connect Tool to BitmapMask";
constexpr char DisconnectStep[] = "Disconnect Tool from BitmapMask";

class ImageControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    comp = ImageTool("Comp");
    mask = session.AddInput(comp, "Effect Mask", nullptr);
  }

  // A tool whose main output delivers images.
  Operator* ImageTool(const char* name) {
    Operator* tool = session.AddTool(name);
    tool->AddOutput("Output", MainOutputId, ImageType);
    return tool;
  }
  static Output* MainOutput(Operator* tool) { return tool->FindOutput(MainOutputId); }

  InputControl* AddImageControl() {
    return session.AddPanelControl("ImageControl", TagList{{qzc::tag::ControlName, "Effect Mask"}}, {mask});
  }
  static HWND FieldOf(InputControl* control) { return FindChild(control, Role::Edit); }
  static std::string TextOf(HWND hwnd) {
    char text[300] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  // Replaces the field's text as a user does and confirms it with Enter.
  void Enter(InputControl* control, const char* text) {
    HWND field = FieldOf(control);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
    if (*text)
      qz::TypeText(text);
    else
      qz::PressKey(VK_DELETE);
    qz::PressKey(VK_RETURN);
    session.Pump();
  }

  Session session;
  Operator* comp = nullptr;
  Input* mask = nullptr;
};

TEST_F(ImageControlTest, TypedNameConnectsTheFirstToolMatchingIgnoringCaseInOneStep) {
  ImageTool("Blur1");
  Operator* first = ImageTool("matte");
  ImageTool("MATTE");
  InputControl* control = AddImageControl();

  Enter(control, "Matte");
  EXPECT_EQ(mask->ConnectedTo(), MainOutput(first));
  EXPECT_EQ(TextOf(FieldOf(control)), "matte");
  EXPECT_EQ(session.Doc.UndoSteps(), (Names{ConnectStep}));
  EXPECT_TRUE(session.ControlWrites().empty());
}

TEST_F(ImageControlTest, NamesThatConnectNothingChangeNothingAndOpenNoStep) {
  Operator* matte = ImageTool("Matte1");
  session.AddTool("Numbers")->AddOutput("Output", MainOutputId, MakeID("Numb"));
  session.AddTool("Viewer1")->AddOutput("Side", 0x12345678, ImageType);
  session.AddTool("Empty1");
  InputControl* control = AddImageControl();
  Enter(control, "Matte1");
  const Names steps = session.Doc.UndoSteps();

  for (const char* name : {"Nothing", "Numbers", "viewer1", "EMPTY1", "Comp", "Matte"}) {
    SCOPED_TRACE(name);
    Enter(control, name);
    EXPECT_EQ(mask->ConnectedTo(), MainOutput(matte));
    EXPECT_EQ(session.Doc.UndoSteps(), steps);
    // The field shows the tool still connected, not the name that failed.
    EXPECT_EQ(TextOf(FieldOf(control)), "Matte1");
  }
}

TEST_F(ImageControlTest, UndoRestoresThePreviousConnectionAndTheFieldFollows) {
  Operator* first = ImageTool("Matte1");
  ImageTool("Matte2");
  InputControl* control = AddImageControl();
  Enter(control, "Matte1");
  Enter(control, "Matte2");
  Enter(control, "");
  EXPECT_FALSE(mask->IsConnected());
  EXPECT_EQ(session.Doc.UndoSteps(), (Names{ConnectStep, ConnectStep, DisconnectStep}));

  session.Doc.Undo();
  EXPECT_EQ(TextOf(FieldOf(control)), "Matte2");
  session.Doc.Undo();
  EXPECT_EQ(mask->ConnectedTo(), MainOutput(first));
  EXPECT_EQ(TextOf(FieldOf(control)), "Matte1");
  session.Doc.Undo();
  EXPECT_FALSE(mask->IsConnected());
  EXPECT_EQ(TextOf(FieldOf(control)), "");
  session.Doc.Redo();
  EXPECT_EQ(TextOf(FieldOf(control)), "Matte1");
}

TEST_F(ImageControlTest, ClearingAnUnconnectedInputOpensNoStep) {
  InputControl* control = AddImageControl();
  Enter(control, "");
  EXPECT_FALSE(mask->IsConnected());
  EXPECT_TRUE(session.Doc.UndoSteps().empty());
}

// Leaving the field with the connected tool's name in it connects nothing
// anew, even when an earlier tool matches that name ignoring case.
TEST_F(ImageControlTest, ConfirmingTheShownNameKeepsTheConnection) {
  ImageTool("MATTE");
  Operator* second = ImageTool("Matte");
  mask->ConnectTo(MainOutput(second), 1);
  session.Doc.ResetUndo();
  InputControl* control = AddImageControl();
  const Names steps = session.Doc.UndoSteps();
  Enter(control, "Matte");
  EXPECT_EQ(mask->ConnectedTo(), MainOutput(second));
  EXPECT_EQ(session.Doc.UndoSteps(), steps);
}

TEST_F(ImageControlTest, HandedToolConnectsAtOnceWhenItDeliversImages) {
  Operator* matte = ImageTool("Matte1");
  Operator* numbers = session.AddTool("Numbers");
  numbers->AddOutput("Output", MainOutputId, MakeID("Numb"));
  InputControl* control = AddImageControl();
  HWND wnd = control->Wnd->m_hWnd;

  EXPECT_EQ(SendMessageA(wnd, ToolHandedMessage, 0, 0), 1);
  EXPECT_EQ(SendMessageA(wnd, ToolHandedMessage, 0, reinterpret_cast<LPARAM>(numbers)), 1);
  EXPECT_FALSE(mask->IsConnected());
  EXPECT_EQ(SendMessageA(wnd, ToolHandedMessage, 0, reinterpret_cast<LPARAM>(matte)), 1);
  EXPECT_EQ(mask->ConnectedTo(), MainOutput(matte));
  EXPECT_EQ(TextOf(FieldOf(control)), "Matte1");
}

TEST_F(ImageControlTest, FieldShowsTheConnectedToolFromOpeningToItsRemoval) {
  Operator* matte = ImageTool("Matte1");
  mask->ConnectTo(MainOutput(matte), 1);
  InputControl* control = AddImageControl();
  EXPECT_EQ(TextOf(FieldOf(control)), "Matte1");

  session.HidePanel();
  EXPECT_EQ(control->Wnd, nullptr);
  session.ShowPanel();
  ASSERT_NE(control->Wnd, nullptr);
  EXPECT_EQ(TextOf(FieldOf(control)), "Matte1");

  session.Doc.RemoveTool(matte);
  EXPECT_FALSE(mask->IsConnected());
  EXPECT_EQ(TextOf(FieldOf(control)), "");
}

// The panel closing with an entry typed but not confirmed connects nothing.
TEST_F(ImageControlTest, DeletingTheControlLeavesAnUnconfirmedEntry) {
  ImageTool("Matte1");
  InputControl* control = AddImageControl();
  SetFocus(FieldOf(control));
  qz::TypeText("Matte1");
  session.RemovePanelControl(control);
  EXPECT_FALSE(mask->IsConnected());
  EXPECT_TRUE(session.Doc.UndoSteps().empty());
}

TEST_F(ImageControlTest, FieldAndNameLabelShareThePanelWidth) {
  InputControl* control = AddImageControl();
  EXPECT_EQ(session.OpenedRect(control).right, Session::DefaultPanelWidth);
  EXPECT_EQ(session.OpenedRect(control).bottom, 24);
  RECT field;
  GetWindowRect(FieldOf(control), &field);
  RECT label;
  HWND name = FindChild(control, Role::Label);
  GetWindowRect(name, &label);
  EXPECT_EQ(field.right - field.left, Session::DefaultPanelWidth - 90);
  EXPECT_EQ(label.left - field.right, 0);
  EXPECT_EQ(TextOf(name), "Effect Mask");
}

}  // namespace
}  // namespace qzh
