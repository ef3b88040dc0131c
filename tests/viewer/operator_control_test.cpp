#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "afxwin.h"
#include "frame/tags.h"
#include "harness/module.h"
#include "harness/polyline_tool.h"
#include "qzplatform/menus.h"
#include "qzsystem/menu.h"
#include "qzsystem/registry.h"
#include "viewer_fixture.h"

namespace qzh {
namespace {

// A tool that records every preview hook the overlay control calls, answers
// presses with DownAnswer and the viewer's question for the input under the
// pointer with Anchor, and adds Entries to menus.
class RecordingTool : public Operator {
 public:
  explicit RecordingTool(const char* name) : Operator(name) {}

  std::vector<std::string> Calls;  // drawing left out: paints come when they come
  int Draws = 0;
  std::vector<PreviewControl*> Callers;
  void* LastData = nullptr;
  uint32_t DownAnswer = 1;
  Input* Anchor = nullptr;
  std::vector<std::string> Entries;
  std::vector<uint32_t> Chosen;

  void PreviewDraw(PreviewControl* control, HDC, PreviewInfo*, uint32_t) override {
    Callers.push_back(control);
    ++Draws;
  }
  uint32_t PreviewDown(PreviewControl* control, HDC, PreviewInfo*, POINT) override {
    Record(control, "down");
    return DownAnswer;
  }
  void PreviewMove(PreviewControl* control, HDC, PreviewInfo*, POINT) override { Record(control, "move"); }
  void PreviewUp(PreviewControl* control, HDC, PreviewInfo*, POINT) override { Record(control, "up"); }
  void PreviewCommand(PreviewControl* control, HDC, PreviewInfo*, uint32_t command, void* data) override {
    LastData = data;
    if (command == PreviewCommandInputAt) {
      if (Anchor && data) *static_cast<Input**>(data) = Anchor;
      return;  // asked on every press; not recorded
    }
    Record(control, "command " + std::to_string(command));
  }
  uint32_t PreviewGetTip(PreviewControl* control, HDC, PreviewInfo*, char* text) override {
    Record(control, "tip");
    std::strcpy(text, "Edge");
    return 7;
  }
  void PreviewDragDone() override { Calls.push_back("done"); }
  void AddToMenu(QZMenu* menu, TagList&) override {
    for (size_t i = 0; i < Entries.size(); ++i) menu->AddItem(Entries[i].c_str(), this, static_cast<uint32_t>(i + 1));
  }
  uint32_t HandleMenu(QZMenu*, uint32_t item) override {
    Chosen.push_back(item);
    return 1;
  }

 private:
  void Record(PreviewControl* control, std::string call) {
    Callers.push_back(control);
    Calls.push_back(std::move(call));
  }
};

using Calls = std::vector<std::string>;

class OperatorControlTest : public ViewerControlTest {
 protected:
  void SetUp() override {
    ViewerControlTest::SetUp();
    recorder = AddRecorder("Warp");
    recorder->Anchor = session.AddInput(recorder, "Anchor", new Point(0.5f, 0.5f));
  }
  void TearDown() override {
    qz::ResetMenus();
    ViewerControlTest::TearDown();
  }
  RecordingTool* AddRecorder(const char* name) {
    auto* made = new RecordingTool(name);
    session.Doc.AddTool(made);
    return made;
  }
  static TagList Naming(Operator* tool) { return TagList{{qzc::tag::OverlayOperator, static_cast<const void*>(tool)}}; }
  PreviewControl* AddOverlay(Operator* tool) {
    PreviewControl* control = viewer.AddViewerControl("OperatorControl", {}, tool ? Naming(tool) : TagList{});
    session.Pump();
    recorder->Calls.clear();
    return control;
  }
  void RightClick(POINT at) {
    qz::InjectMouseAt(viewer.Window(), WM_RBUTTONDOWN, at.x, at.y);
    qz::InjectMouseAt(viewer.Window(), WM_RBUTTONUP, at.x, at.y);
    session.Pump();
  }
  int PostsToAll(uint32_t message, Operator* tool) const {
    int count = 0;
    for (const RenderRequest& request : session.Doc.RenderRequests())
      count += request.Type == RenderRequest::Post && request.Message == message &&
               request.LParam == reinterpret_cast<intptr_t>(tool);
    return count;
  }

  RecordingTool* recorder = nullptr;
};

TEST_F(OperatorControlTest, IsRegisteredAsTheViewerControlOpCoAndAttachesItsTool) {
  bool listed = false;
  for (const ClassInfo& info : ControlClasses())
    if (info.Name == "OperatorControl") {
      listed = true;
      EXPECT_EQ(IdText(info.Id), "OpCo");
      EXPECT_EQ(info.Type, ClassTypeViewerControl);
    }
  EXPECT_TRUE(listed);
  EXPECT_EQ(CreatePanelControl("OperatorControl"), nullptr);

  PreviewControl* control = viewer.AddViewerControl("OperatorControl", {}, Naming(recorder));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ID, MakeID("OpCo"));
  EXPECT_EQ(control->GetOperator(), recorder);
  EXPECT_EQ(recorder->Calls, Calls{"command 5"});
  ASSERT_NE(control->Name, nullptr);
  EXPECT_STREQ(control->Name, "Warp");
}

// Command 3 is the viewer's alone; every other command reaches the tool with
// its data.
TEST_F(OperatorControlTest, EveryCommandButThreeReachesTheTool) {
  PreviewControl* control = AddOverlay(recorder);
  int data = 0;
  for (uint32_t command : {0u, 3u, 4u, 9u, 1000u}) {
    recorder->Calls.clear();
    recorder->LastData = nullptr;
    control->ControlCommand(nullptr, &viewer.Info(), command, &data);
    if (command == 3) {
      EXPECT_TRUE(recorder->Calls.empty());
    } else {
      EXPECT_EQ(recorder->Calls, Calls{"command " + std::to_string(command)});
      EXPECT_EQ(recorder->LastData, &data) << command;
    }
  }
  recorder->Calls.clear();
  PressKey(VK_LEFT);
  EXPECT_EQ(recorder->Calls, Calls{"command 4"});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(recorder->LastData), static_cast<uintptr_t>(VK_LEFT));
  for (PreviewControl* caller : recorder->Callers) EXPECT_EQ(caller, control);
}

struct PressRow {
  const char* Name;
  uint32_t Answer;
  Calls AtRelease;
};

class OperatorPressTest : public OperatorControlTest, public ::testing::WithParamInterface<PressRow> {};

// The tool decides whether a press starts a drag; only a drag it accepted
// ends with PreviewDragDone, after PreviewUp.
TEST_P(OperatorPressTest, TheToolsAnswerToAPressDecidesTheDrag) {
  PreviewControl* control = AddOverlay(recorder);
  recorder->DownAnswer = GetParam().Answer;
  const POINT at = At(0.5, 0.5);
  Press(at);
  EXPECT_EQ(viewer.Pressed(), control);
  EXPECT_EQ(control->DragMode, GetParam().Answer);
  MoveTo(Offset(at, 10, 5));
  Release(Offset(at, 10, 5));
  Calls expected{"down", "move"};
  expected.insert(expected.end(), GetParam().AtRelease.begin(), GetParam().AtRelease.end());
  EXPECT_EQ(recorder->Calls, expected);
  EXPECT_EQ(control->DragMode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, OperatorPressTest,
                         ::testing::Values(PressRow{"Refused", 0, {"up"}}, PressRow{"Accepted", 1, {"up", "done"}},
                                           PressRow{"AcceptedAsTwo", 2, {"up", "done"}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(OperatorControlTest, DrawingAndTipsAreTheTools) {
  PreviewControl* control = AddOverlay(recorder);
  recorder->Draws = 0;
  viewer.Repaint();
  Capture();
  EXPECT_EQ(recorder->Draws, 1);
  char tip[64] = "unchanged";
  EXPECT_EQ(control->ControlGetTip(nullptr, &viewer.Info(), tip), 7u);
  EXPECT_STREQ(tip, "Edge");

  // Made inactive, the overlay stays as drawn: no repaint is asked for.
  session.Pump();
  control->SetInactive();
  EXPECT_EQ(control->IsActive, 0);
  EXPECT_FALSE(ViewerNeedsPaint());
}

TEST_F(OperatorControlTest, WithoutAToolEveryOperationIsOnlyTheBase) {
  PreviewControl* control = AddOverlay(nullptr);
  EXPECT_EQ(control->GetOperator(), nullptr);
  EXPECT_EQ(control->Name, nullptr);
  const Picture shown = Capture();
  EXPECT_EQ(DifferentPixels(shown, bare), 0);
  HDC hdc = GetDC(viewer.Window());
  EXPECT_EQ(control->ControlDown(hdc, &viewer.Info(), CPoint(10, 10)), 0u);
  EXPECT_EQ(control->DragMode, 0u);
  control->ControlMove(hdc, &viewer.Info(), CPoint(12, 10));
  control->ControlUp(hdc, &viewer.Info(), CPoint(12, 10));
  control->ControlCommand(hdc, &viewer.Info(), PreviewCommandKey, reinterpret_cast<void*>(VK_LEFT));
  ReleaseDC(viewer.Window(), hdc);
  char tip[16] = "unchanged";
  EXPECT_EQ(control->ControlGetTip(nullptr, &viewer.Info(), tip), 0u);
  EXPECT_STREQ(tip, "unchanged");
  QZMenu menu;
  TagList context;
  control->AddToMenu(&menu, context);
  EXPECT_EQ(menu.GetLength(), 0u);
  EXPECT_EQ(menu.Tags.Count(), 0u);
  EXPECT_TRUE(recorder->Calls.empty());
  viewer.RemoveViewerControl(control);
  EXPECT_EQ(PostsToAll(OverlayClosedMessage, nullptr), 0);
}

// The tool's entries sit in a submenu under its name; the top menu records
// the control; the entry the user chooses reaches the tool.
TEST_F(OperatorControlTest, ContextMenuHoldsTheToolsEntriesAndTheChoiceReachesIt) {
  recorder->Entries = {"Straighten", "Smooth"};
  PreviewControl* control = AddOverlay(recorder);

  QZMenu menu;
  QZMenu* view = menu.AddSubMenu("View", 0);
  TagList context;
  control->AddToMenu(view, context);
  ASSERT_EQ(view->GetLength(), 1u);
  EXPECT_EQ(menu.Tags.GetLong(MenuOverlayControlTag, 0), reinterpret_cast<intptr_t>(control));
  EXPECT_EQ(view->Tags.Count(), 0u);

  qz::SetMenuResponder(qz::ChooseMenuItem({"Warp", "Smooth"}));
  RightClick(At(0.3, 0.3));
  ASSERT_EQ(qz::MenuRequests().size(), 1u);
  const qz::MenuRequest& request = qz::MenuRequests()[0];
  EXPECT_EQ(request.owner, viewer.Window());
  ASSERT_EQ(request.items.size(), 1u);
  EXPECT_EQ(request.items[0].kind, qz::MenuItem::Kind::Popup);
  EXPECT_EQ(request.items[0].text, "Warp");
  ASSERT_EQ(request.items[0].items.size(), 2u);
  EXPECT_EQ(request.items[0].items[0].text, "Straighten");
  EXPECT_EQ(request.items[0].items[1].text, "Smooth");
  EXPECT_EQ(recorder->Chosen, std::vector<uint32_t>{2});
  EXPECT_EQ(qz::LiveMenuCount(), 0u);  // the shown menu is destroyed again
}

TEST_F(OperatorControlTest, AToolWithoutEntriesLeavesNoEmptySubmenu) {
  PreviewControl* control = AddOverlay(recorder);
  QZMenu menu;
  menu.AddItem("Fit", nullptr, 1);
  TagList context;
  control->AddToMenu(&menu, context);
  EXPECT_EQ(menu.GetLength(), 1u);

  RightClick(At(0.3, 0.3));
  EXPECT_TRUE(qz::MenuRequests().empty());  // nothing to show: no menu at all
}

struct TypeRow {
  const char* Name;
  bool Registered;
  intptr_t Type;
  bool Announced;
};

class OperatorTypeTest : public OperatorControlTest, public ::testing::WithParamInterface<TypeRow> {};

// Setting the view announces the tool to the frame's flow view with 0x140A,
// unless the tool's class type has both of its two lowest bits set.
TEST_P(OperatorTypeTest, SettingTheViewAnnouncesTheToolByItsClassType) {
  const TypeRow& row = GetParam();
  RegistryList* list = nullptr;
  auto record = std::make_unique<Registry>(&list, "Warp", uintptr_t{RegistryClassTypeTag},
                                           static_cast<uintptr_t>(row.Type), uintptr_t{0});
  if (row.Registered) recorder->Registration = record.get();
  CWnd flow;
  flow.CreateEx(0, AfxRegisterWndClass(0, nullptr, nullptr), "Flow", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr);
  viewer.Frame().SetView(CChildFrame::FlowView, &flow);
  PreviewControl* control = AddOverlay(recorder);

  qz::StartRecording();
  control->SetView(control->View);
  session.Pump();
  int announced = 0;
  for (const qz::RecordedMessage& m : qz::StopRecording())
    announced += m.hwnd == flow.m_hWnd && m.message == OverlayShownMessage && m.wParam == 0 &&
                 m.lParam == reinterpret_cast<LPARAM>(recorder) && m.posted;
  EXPECT_EQ(announced, row.Announced ? 1 : 0);

  viewer.RemoveViewerControl(control);
  viewer.Frame().SetView(CChildFrame::FlowView, nullptr);
  flow.DestroyWindow();
  recorder->Registration = nullptr;
  record.reset();
  delete list;
}

INSTANTIATE_TEST_SUITE_P(Types, OperatorTypeTest,
                         ::testing::Values(TypeRow{"Unregistered", false, 0, true}, TypeRow{"Plain", true, 0, true},
                                           TypeRow{"LowBitOnly", true, 1, true},
                                           TypeRow{"SecondBitOnly", true, 2, true},
                                           TypeRow{"BothLowBits", true, 3, false},
                                           TypeRow{"BothLowBitsAndMore", true, 7 | 4096, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(OperatorControlTest, ClosingDetachesTheToolAndTellsTheViewsUnlessSuppressed) {
  for (bool suppressed : {false, true}) {
    recorder->SuppressNotify = suppressed;
    session.Doc.ClearRenderRequests();
    PreviewControl* control = AddOverlay(recorder);
    recorder->PreviewControls.Add(control);
    viewer.RemoveViewerControl(control);
    EXPECT_EQ(PostsToAll(OverlayClosedMessage, recorder), suppressed ? 0 : 1);
    EXPECT_EQ(recorder->Calls, Calls{"command 6"});
    EXPECT_EQ(recorder->PreviewControls.Count(), 0u);
  }
}

// Every list naming a tool attaches it again and fetches its name into one
// owned buffer (the sanitizer build would report a buffer left behind); a
// list naming another tool detaches the first.
TEST_F(OperatorControlTest, EachListRenamesIntoOneOwnedNameAndANewToolReplacesTheOld) {
  PreviewControl* control = AddOverlay(recorder);
  constexpr int Lists = 2000;
  for (int i = 0; i < Lists; ++i) viewer.ApplyAttributes(control, Naming(recorder));
  EXPECT_EQ(recorder->Calls.size(), static_cast<size_t>(Lists));
  EXPECT_EQ(recorder->Calls.back(), "command 5");
  EXPECT_STREQ(control->Name, "Warp");

  viewer.ApplyAttributes(control, TagList{});  // a list without the tag keeps the tool
  EXPECT_EQ(control->GetOperator(), recorder);

  RecordingTool* other = AddRecorder("Ripple");
  recorder->Calls.clear();
  viewer.ApplyAttributes(control, Naming(other));
  EXPECT_EQ(recorder->Calls, Calls{"command 6"});
  EXPECT_EQ(other->Calls, Calls{"command 5"});
  EXPECT_EQ(control->GetOperator(), other);
  EXPECT_STREQ(control->Name, "Ripple");
}

// The reference host's polygon mask tool: its outline is drawn through the
// control, a point is dragged, and its menu entries work from the viewer.
TEST_F(OperatorControlTest, SampleMaskToolDrawsDragsAndAnswersItsMenu) {
  PolylineTool* mask = PolylineTool::AddTo(session.Doc, "Polygon Mask", {{0.2f, 0.2f}, {0.6f, 0.2f}, {0.4f, 0.6f}});
  PreviewControl* control = AddOverlay(mask);
  ASSERT_EQ(mask->Overlays, std::vector<PreviewControl*>{control});
  Picture shown = Capture();
  const POINT first = At(0.2, 0.2);
  EXPECT_EQ(shown.At(Offset(first, -3, -3)), HandlePixel);
  EXPECT_EQ(shown.At(Offset(first, 10, 0)), HandlePixel);  // the segment to the second point

  const POINT to = At(0.7, 0.7);
  Drag(At(0.4, 0.6), to);
  EXPECT_EQ(mask->DragsDone, 1);
  const auto [x, y] = mask->PointAt(2);
  const auto [toX, toY] = PositionOf(to);
  EXPECT_FLOAT_EQ(x, toX);
  EXPECT_FLOAT_EQ(y, toY);
  shown = Capture();
  EXPECT_EQ(shown.At(Offset(to, -3, -3)), HandlePixel);

  qz::SetMenuResponder(qz::ChooseMenuItem({"Polygon Mask", "Reset Points"}));
  RightClick(At(0.9, 0.9));
  ASSERT_EQ(qz::MenuRequests().size(), 1u);
  EXPECT_EQ(qz::FindMenuCommand(qz::MenuRequests()[0].items, {"Polygon Mask", "Close Shape"}), 1u);
  EXPECT_EQ(mask->MenuChoices, std::vector<uint32_t>{PolylineTool::MenuResetPoints});
  EXPECT_FLOAT_EQ(mask->PointAt(2).first, 0.4f);
  EXPECT_FLOAT_EQ(mask->PointAt(2).second, 0.6f);
  shown = Capture();
  EXPECT_EQ(shown.At(Offset(At(0.4, 0.6), -3, -3)), HandlePixel);
  EXPECT_EQ(shown.At(Offset(to, -3, -3)), bare.At(Offset(to, -3, -3)));

  viewer.RemoveViewerControl(control);
  EXPECT_TRUE(mask->Overlays.empty());
}

}  // namespace
}  // namespace qzh
