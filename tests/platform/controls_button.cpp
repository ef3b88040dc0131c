#include "controls_fixture.h"

namespace controls_test {
namespace {

using Button = ControlsTest;

constexpr int kId = 1000;

int Check(HWND button) {
  return static_cast<int>(SendMessageA(button, BM_GETCHECK, 0, 0));
}

// One recorded message, with the parameter that tells the steps of a press apart.
struct Step {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  bool operator==(const Step&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Step& s) {
  return out << "{" << s.hwnd << " 0x" << std::hex << s.message << " " << std::dec << s.wParam << "}";
}

// The messages of a press and release: the input, the state messages a
// button sends itself, the capture change and the parent's WM_COMMAND.
std::vector<Step> PressSteps(const std::vector<qz::RecordedMessage>& all) {
  std::vector<Step> out;
  for (const qz::RecordedMessage& m : all) {
    switch (m.message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_KEYDOWN:
      case WM_KEYUP:
      case BM_SETSTATE:
      case BM_SETCHECK:
      case WM_COMMAND:
        out.push_back(Step{m.hwnd, m.message, m.wParam});
        break;
      case WM_CAPTURECHANGED:
        out.push_back(Step{m.hwnd, m.message, static_cast<WPARAM>(m.lParam)});
        break;
      default:
        break;
    }
  }
  return out;
}

WPARAM Handle(HWND hwnd) {
  return reinterpret_cast<WPARAM>(hwnd);
}

TEST_F(Button, AutoThreeStateCyclesThroughIndeterminateOnClicks) {
  HWND box = Make("BUTTON", "Three", BS_AUTO3STATE, 10, 10, 120, 20, kId);
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    ClickAt(box, 5, 10);
    seen.push_back(Check(box));
  }
  EXPECT_EQ(seen, (std::vector<int>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}));
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED, BN_CLICKED, BN_CLICKED, BN_CLICKED}));
}

TEST_F(Button, ClickSendsTheButtonItsStateAndCheckBeforeReleasingTheCaptureAndNotifying) {
  HWND box = Make("BUTTON", "Three", BS_AUTO3STATE, 10, 10, 120, 20, kId);
  HWND push = Make("BUTTON", "Push", BS_PUSHBUTTON, 10, 40, 80, 24, kId + 1);
  qz::Pump();
  for (WPARAM check : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
    qz::AdvanceClock(1000);  // no double click
    qz::StartRecording();
    ClickAt(box, 5, 10);
    EXPECT_EQ(PressSteps(qz::StopRecording()), (std::vector<Step>{{box, WM_LBUTTONDOWN, MK_LBUTTON},
                                                                  {box, BM_SETSTATE, TRUE},
                                                                  {box, WM_LBUTTONUP, 0},
                                                                  {box, BM_SETSTATE, FALSE},
                                                                  {box, BM_SETCHECK, check},
                                                                  {box, WM_CAPTURECHANGED, 0},
                                                                  {parent_, WM_COMMAND, MAKEWPARAM(kId, BN_CLICKED)}}));
  }
  qz::StartRecording();
  ClickAt(push, 5, 10);
  EXPECT_EQ(PressSteps(qz::StopRecording()),
            (std::vector<Step>{{push, WM_LBUTTONDOWN, MK_LBUTTON},
                               {push, BM_SETSTATE, TRUE},
                               {push, WM_LBUTTONUP, 0},
                               {push, BM_SETSTATE, FALSE},
                               {push, WM_CAPTURECHANGED, 0},
                               {parent_, WM_COMMAND, MAKEWPARAM(kId + 1, BN_CLICKED)}}));
}

TEST_F(Button, PressDraggedOffEndsWithTheCaptureReleaseAlone) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  qz::Pump();
  qz::StartRecording();
  qz::InjectMouseAt(box, WM_LBUTTONDOWN, 5, 10);
  qz::InjectMouseAt(box, WM_MOUSEMOVE, 200, 10);
  qz::InjectMouseAt(box, WM_LBUTTONUP, 200, 10);
  qz::Pump();
  EXPECT_EQ(PressSteps(qz::StopRecording()), (std::vector<Step>{{box, WM_LBUTTONDOWN, MK_LBUTTON},
                                                                {box, BM_SETSTATE, TRUE},
                                                                {box, BM_SETSTATE, FALSE},
                                                                {box, WM_LBUTTONUP, 0},
                                                                {box, WM_CAPTURECHANGED, 0}}));
  EXPECT_EQ(Check(box), BST_UNCHECKED);
}

TEST_F(Button, CaptureTakenMidPressUnpressesThroughSetState) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  qz::InjectMouseAt(box, WM_LBUTTONDOWN, 5, 10);
  qz::Pump();
  qz::StartRecording();
  SetCapture(parent_);
  EXPECT_EQ(PressSteps(qz::StopRecording()),
            (std::vector<Step>{{box, WM_CAPTURECHANGED, Handle(parent_)}, {box, BM_SETSTATE, FALSE}}));
}

TEST_F(Button, SpaceHoldsTheCaptureFromKeyDownToKeyUpAndClicksAsTheMouseDoes) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 10, 120, 20, kId);
  SetFocus(box);
  qz::Pump();
  qz::StartRecording();
  qz::InjectKey(WM_KEYDOWN, VK_SPACE);
  qz::Pump();
  EXPECT_EQ(GetCapture(), box);
  qz::InjectKey(WM_KEYUP, VK_SPACE);
  qz::Pump();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(PressSteps(qz::StopRecording()), (std::vector<Step>{{box, WM_KEYDOWN, VK_SPACE},
                                                                {box, BM_SETSTATE, TRUE},
                                                                {box, WM_KEYUP, VK_SPACE},
                                                                {box, BM_SETSTATE, FALSE},
                                                                {box, BM_SETCHECK, BST_CHECKED},
                                                                {box, WM_CAPTURECHANGED, 0},
                                                                {parent_, WM_COMMAND, MAKEWPARAM(kId, BN_CLICKED)}}));
}

// A subclass sees the check the click would set and may keep it from happening.
WNDPROC g_buttonProc = nullptr;
LRESULT CALLBACK RefusingCheck(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == BM_SETCHECK) return 0;
  return CallWindowProcA(g_buttonProc, hwnd, msg, wParam, lParam);
}

TEST_F(Button, SubclassSeesTheClicksCheckChange) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  g_buttonProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RefusingCheck)));
  ClickAt(box, 5, 10);
  EXPECT_EQ(Check(box), BST_UNCHECKED);
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED}));
}

TEST_F(Button, AutoCheckBoxTogglesBetweenTwoStates) {
  HWND box = Make("BUTTON", "Two", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  ClickAt(box, 5, 10);
  EXPECT_EQ(Check(box), BST_CHECKED);
  ClickAt(box, 5, 10);
  EXPECT_EQ(Check(box), BST_UNCHECKED);
}

TEST_F(Button, StateIsSetBeforeTheParentHearsOfTheClick) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  int checkAtClick = -1;
  onCommand_ = [&](WPARAM, LPARAM from) { checkAtClick = Check(reinterpret_cast<HWND>(from)); };
  ClickAt(box, 5, 10);
  EXPECT_EQ(checkAtClick, BST_CHECKED);
}

TEST_F(Button, ClickedOnlyOnReleaseInside) {
  HWND button = Make("BUTTON", "Push", BS_PUSHBUTTON, 10, 10, 80, 24, kId);
  qz::InjectMouseAt(button, WM_LBUTTONDOWN, 10, 10);
  qz::Pump();
  EXPECT_EQ(GetCapture(), button);
  EXPECT_TRUE(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  qz::InjectMouseAt(button, WM_MOUSEMOVE, 200, 10);
  qz::Pump();
  EXPECT_FALSE(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  qz::InjectMouseAt(button, WM_LBUTTONUP, 200, 10);
  qz::Pump();
  EXPECT_TRUE(Codes(kId).empty());
  EXPECT_EQ(GetCapture(), nullptr);

  ClickAt(button, 10, 10);
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED}));
}

TEST_F(Button, MovingBackInsideBeforeReleaseStillClicks) {
  HWND button = Make("BUTTON", "Push", BS_PUSHBUTTON, 10, 10, 80, 24, kId);
  qz::InjectMouseAt(button, WM_LBUTTONDOWN, 10, 10);
  qz::InjectMouseAt(button, WM_MOUSEMOVE, 200, 10);
  qz::InjectMouseAt(button, WM_MOUSEMOVE, 20, 12);
  qz::InjectMouseAt(button, WM_LBUTTONUP, 20, 12);
  qz::Pump();
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED}));
}

TEST_F(Button, LosingCaptureCancelsThePress) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  qz::InjectMouseAt(box, WM_LBUTTONDOWN, 5, 10);
  qz::Pump();
  SetCapture(parent_);
  EXPECT_FALSE(SendMessageA(box, BM_GETSTATE, 0, 0) & BST_PUSHED);
  ReleaseCapture();
  SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 10));
  EXPECT_TRUE(Codes(kId).empty());
  EXPECT_EQ(Check(box), BST_UNCHECKED);
}

TEST_F(Button, SpaceClicksOnReleaseOfTheKey) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 10, 120, 20, kId);
  SetFocus(box);
  qz::InjectKey(WM_KEYDOWN, VK_SPACE);
  qz::Pump();
  EXPECT_TRUE(SendMessageA(box, BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_TRUE(Codes(kId).empty());
  qz::InjectKey(WM_KEYUP, VK_SPACE);
  qz::Pump();
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED}));
  EXPECT_EQ(Check(box), BST_CHECKED);
}

TEST_F(Button, SetCheckIsIgnoredByPushButtonsAndNeverClicks) {
  HWND push = Make("BUTTON", "Push", BS_PUSHBUTTON, 10, 10, 80, 24, kId);
  HWND box = Make("BUTTON", "Box", BS_CHECKBOX, 10, 40, 80, 20, kId + 1);
  EXPECT_EQ(SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0), 0);
  EXPECT_EQ(Check(push), BST_UNCHECKED);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(Check(box), BST_CHECKED);
  EXPECT_EQ(Count(WM_COMMAND), 0);
}

TEST_F(Button, TwoStateBoxTakesIndeterminateAsChecked) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 80, 20, kId);
  SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(Check(box), BST_CHECKED);
}

TEST_F(Button, PlainCheckBoxNotifiesWithoutChangingItsState) {
  HWND box = Make("BUTTON", "Box", BS_CHECKBOX, 10, 10, 80, 20, kId);
  ClickAt(box, 5, 10);
  EXPECT_EQ(Check(box), BST_UNCHECKED);
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED}));
}

TEST_F(Button, DisabledButtonSendsNothing) {
  HWND button = Make("BUTTON", "Push", BS_PUSHBUTTON | WS_DISABLED, 10, 10, 80, 24, kId);
  ClickAt(button, 10, 10);
  SendMessageA(button, BM_CLICK, 0, 0);
  SendMessageA(button, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(Codes(kId).empty());
}

TEST_F(Button, BmClickPressesAndReleases) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 80, 20, kId);
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(Check(box), BST_CHECKED);
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Button, AutoRadioClearsOnlyItsOwnGroup) {
  HWND a = Make("BUTTON", "A", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 80, 20, 1);
  HWND b = Make("BUTTON", "B", BS_AUTORADIOBUTTON, 10, 30, 80, 20, 2);
  HWND c = Make("BUTTON", "C", BS_AUTORADIOBUTTON, 10, 50, 80, 20, 3);
  HWND d = Make("BUTTON", "D", BS_AUTORADIOBUTTON | WS_GROUP, 10, 70, 80, 20, 4);
  SendMessageA(a, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(d, BM_SETCHECK, BST_CHECKED, 0);
  ClickAt(c, 5, 10);
  EXPECT_EQ(Check(a), BST_UNCHECKED);
  EXPECT_EQ(Check(b), BST_UNCHECKED);
  EXPECT_EQ(Check(c), BST_CHECKED);
  EXPECT_EQ(Check(d), BST_CHECKED);
}

TEST_F(Button, SetStyleSwitchesCheckBoxKindAndKeepsOtherStyles) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX | WS_TABSTOP, 10, 10, 80, 20, kId);
  SendMessageA(box, BM_SETSTYLE, BS_AUTO3STATE, MAKELPARAM(TRUE, 0));
  DWORD style = static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE));
  EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTO3STATE));
  EXPECT_TRUE(style & WS_TABSTOP);
  ClickAt(box, 5, 10);
  ClickAt(box, 5, 10);
  EXPECT_EQ(Check(box), BST_INDETERMINATE);
}

TEST_F(Button, SetImageReturnsThePreviousImage) {
  HWND button = Make("BUTTON", "", BS_ICON, 10, 10, 24, 24, kId);
  HICON first = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
  HICON second = LoadIconA(nullptr, MAKEINTRESOURCEA(32513));
  EXPECT_EQ(SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(first)), 0);
  EXPECT_EQ(SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(second)),
            reinterpret_cast<LRESULT>(first));
  EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0), reinterpret_cast<LRESULT>(second));
  qz::Pump();
}

TEST_F(Button, BitmapButtonShowsItsBitmapCentred) {
  HWND button = Make("BUTTON", "ignored", BS_BITMAP, 10, 10, 40, 30, kId);
  HDC screen = GetDC(button);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 6);
  ReleaseDC(button, screen);
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all{0, 0, 8, 6};
  FillRect(memory, &all, SolidBrush(RGB(255, 0, 0)));
  SelectObject(memory, old);
  DeleteDC(memory);
  SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  qz::Pump();
  EXPECT_EQ(Pixel(button, 20, 15), 0xFF0000u);
  EXPECT_NE(Pixel(button, 4, 4), 0xFF0000u);
  DestroyWindow(button);
  DeleteObject(bitmap);
}

TEST_F(Button, OwnerDrawAsksTheParentWithPressedAndFocusState) {
  HWND button = Make("BUTTON", "", BS_OWNERDRAW, 10, 10, 60, 24, kId);
  qz::Pump();
  ASSERT_FALSE(drawItems_.empty());
  EXPECT_EQ(drawItems_.back().CtlType, static_cast<UINT>(ODT_BUTTON));
  EXPECT_EQ(drawItems_.back().CtlID, static_cast<UINT>(kId));
  EXPECT_EQ(drawItems_.back().hwndItem, button);
  EXPECT_EQ(drawItems_.back().itemState & (ODS_SELECTED | ODS_FOCUS), 0u);
  EXPECT_EQ(drawItems_.back().rcItem.right, 60);

  qz::InjectMouseAt(button, WM_LBUTTONDOWN, 5, 5);
  qz::Pump();
  EXPECT_EQ(drawItems_.back().itemState & (ODS_SELECTED | ODS_FOCUS), static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
  qz::InjectMouseAt(button, WM_LBUTTONUP, 5, 5);
  qz::Pump();
  EXPECT_EQ(drawItems_.back().itemState & ODS_SELECTED, 0u);
  EXPECT_EQ(Codes(kId), (std::vector<int>{BN_CLICKED}));
}

TEST_F(Button, CheckBoxBackgroundComesFromTheParentsStaticColour) {
  colorMessage_ = WM_CTLCOLORSTATIC;
  colorBrush_ = SolidBrush(RGB(200, 0, 0));
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  HWND push = Make("BUTTON", "Push", BS_PUSHBUTTON, 10, 40, 80, 24, kId + 1);
  qz::Pump();
  EXPECT_EQ(Pixel(box, 115, 2), 0xC80000u);
  EXPECT_NE(Pixel(push, 40, 3), 0xC80000u);
  bool askedBtn = false;
  for (const ParentMessage& m : Received(WM_CTLCOLORBTN)) askedBtn |= reinterpret_cast<HWND>(m.lParam) == push;
  EXPECT_TRUE(askedBtn);
}

TEST_F(Button, HollowBrushLeavesTheParentsPixelsUnderACheckBox) {
  eraseBrush_ = SolidBrush(RGB(0, 0, 180));
  colorMessage_ = WM_CTLCOLORSTATIC;
  colorBrush_ = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  colorBkMode_ = TRANSPARENT;
  colorText_ = RGB(255, 255, 255);
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  qz::Pump();
  EXPECT_EQ(Pixel(box, 115, 2), 0x0000B4u);
  RECT text{17, 0, 60, 20};
  EXPECT_GT(CountOther(box, text, 0x0000B4u), 0);
}

TEST_F(Button, CheckMarkIsDrawnDarkOnlyWhenChecked) {
  HWND box = Make("BUTTON", "Box", BS_AUTOCHECKBOX, 10, 10, 120, 20, kId);
  qz::Pump();
  RECT boxArea{3, 5, 10, 14};
  uint32_t window = SysPixel(COLOR_WINDOW);
  EXPECT_EQ(CountOther(box, boxArea, window), 0);
  ClickAt(box, 5, 10);
  qz::Pump();
  int dark = 0;
  for (int y = boxArea.top; y < boxArea.bottom; ++y)
    for (int x = boxArea.left; x < boxArea.right; ++x) dark += IsDark(Pixel(box, x, y)) ? 1 : 0;
  EXPECT_GE(dark, 15);
}

TEST_F(Button, DialogCodesTellPushButtonsApart) {
  HWND push = Make("BUTTON", "Push", BS_PUSHBUTTON, 10, 10, 80, 24, 1);
  HWND def = Make("BUTTON", "OK", BS_DEFPUSHBUTTON, 10, 40, 80, 24, 2);
  HWND radio = Make("BUTTON", "R", BS_AUTORADIOBUTTON, 10, 70, 80, 20, 3);
  EXPECT_EQ(SendMessageA(push, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  EXPECT_EQ(SendMessageA(def, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(SendMessageA(radio, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
}

TEST_F(Button, GroupBoxLetsClicksThrough) {
  HWND group = Make("BUTTON", "Group", BS_GROUPBOX, 10, 10, 200, 100, kId);
  POINT inside{50, 50};
  ClientToScreen(group, &inside);
  EXPECT_EQ(WindowFromPoint(inside), parent_);
}

}  // namespace
}  // namespace controls_test
