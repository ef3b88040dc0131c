#include "afx_fixture.h"
#include "afxcmn.h"

using afxtest::AfxTest;
using afxtest::LoggingWnd;

namespace {

class ControlWrappers : public AfxTest {
 protected:
  void SetUp() override {
    AfxTest::SetUp();
    ASSERT_TRUE(panel.CreateTop(300, 200));
  }
  LoggingWnd panel{"panel"};
};

TEST_F(ControlWrappers, TextsComeBackWhole) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(5, 5, 150, 120), &panel, 1));
  combo.AddString("first");
  combo.AddString("a longer second entry");
  CString text;
  combo.GetLBText(1, text);
  EXPECT_EQ(text, "a longer second entry");
  combo.GetLBText(7, text);
  EXPECT_TRUE(text.IsEmpty());

  CListBox list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | LBS_NOTIFY, CRect(5, 130, 150, 190), &panel, 2));
  list.AddString("row");
  list.GetText(0, text);
  EXPECT_EQ(text, "row");

  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(160, 5, 290, 25), &panel, 3));
  edit.SetWindowText("typed value");
  edit.GetWindowText(text);
  EXPECT_EQ(text, "typed value");
}

TEST_F(ControlWrappers, ItemDataHoldsAPointer) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST, CRect(5, 5, 150, 120), &panel, 1));
  int index = combo.AddString("item");
  int marker = 0;
  combo.SetItemData(index, reinterpret_cast<DWORD_PTR>(&marker));
  EXPECT_EQ(combo.GetItemData(index), reinterpret_cast<DWORD_PTR>(&marker));
  EXPECT_EQ(combo.FindStringExact(-1, "item"), index);
  EXPECT_EQ(combo.SetCurSel(5), CB_ERR);
  EXPECT_EQ(combo.GetCurSel(), -1);
}

TEST_F(ControlWrappers, EditSelectionAndCheckState) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(5, 5, 150, 25), &panel, 3));
  edit.SetWindowText("abcdef");
  edit.SetSel(1, 4);
  int start = 0, end = 0;
  edit.GetSel(start, end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 4);
  edit.ReplaceSel("X");
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, "aXef");

  CButton check;
  ASSERT_TRUE(check.Create("Check", WS_VISIBLE | BS_AUTOCHECKBOX, CRect(5, 40, 150, 60), &panel, 4));
  check.SetCheck(BST_CHECKED);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
  EXPECT_EQ(check.GetButtonStyle(), UINT(BS_AUTOCHECKBOX));
}

TEST_F(ControlWrappers, CommonControlsRegisterTheirClasses) {
  CSliderCtrl slider;
  ASSERT_TRUE(slider.Create(WS_VISIBLE, CRect(5, 5, 200, 30), &panel, 5));
  slider.SetRange(-10, 90);
  slider.SetPos(40);
  int min = 0, max = 0;
  slider.GetRange(min, max);
  EXPECT_EQ(min, -10);
  EXPECT_EQ(max, 90);
  EXPECT_EQ(slider.GetPos(), 40);

  CRichEditCtrl rich;
  ASSERT_TRUE(rich.Create(WS_VISIBLE | ES_MULTILINE, CRect(5, 40, 200, 100), &panel, 6));
  EXPECT_EQ(rich.GetEventMask(), DWORD(ENM_NONE));
  EXPECT_EQ(rich.SetEventMask(ENM_CHANGE), DWORD(ENM_NONE));
  EXPECT_EQ(rich.GetEventMask(), DWORD(ENM_CHANGE));
}

}  // namespace
