#include <gtest/gtest.h>

#include <vector>

#include "afxwin.h"
#include "qzplatform/driver.h"
#include "qzplatform/menus.h"
#include "qzsystem/menu.h"
#include "qzsystem/object.h"

namespace {

// An object that adds two entries and writes down the ones chosen.
struct Handler : Object {
  void AddToMenu(QZMenu* menu, TagList&) override {
    menu->AddItem("Open", this, 10);
    menu->AddSeparator();
    menu->AddItem("Close", this, 20, MF_GRAYED);
  }
  uint32_t HandleMenu(QZMenu* menu, uint32_t item) override {
    Chosen.push_back({menu, item});
    return item;
  }
  struct Choice {
    QZMenu* Menu;
    uint32_t Item;
  };
  std::vector<Choice> Chosen;
};

class QZMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qz::ResetPlatform();
    owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr);
  }
  void TearDown() override {
    if (owner.m_hWnd) owner.DestroyWindow();
    qz::ResetPlatform();
  }
  CWnd owner;
};

TEST_F(QZMenuTest, ObjectsFillSubmenusAndTheChosenEntryGoesToItsHandler) {
  Handler handler;
  QZMenu top;
  top.AddItem("Fit", nullptr, 1);
  QZMenu* tool = top.AddSubMenu("Tool", 0);
  EXPECT_EQ(tool->Parent, &top);
  EXPECT_EQ(tool->Title(), "Tool");
  tool->AddObj(&handler);
  EXPECT_EQ(tool->GetLength(), 3u);
  EXPECT_EQ(top.GetLength(), 2u);

  qz::SetMenuResponder(qz::ChooseMenuItem({"Tool", "Open"}));
  EXPECT_EQ(top.Track(owner.m_hWnd, POINT{5, 6}), 10u);
  ASSERT_EQ(handler.Chosen.size(), 1u);
  EXPECT_EQ(handler.Chosen[0].Menu, tool);
  ASSERT_EQ(qz::MenuRequests().size(), 1u);
  const auto& items = qz::MenuRequests()[0].items;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].items[1].kind, qz::MenuItem::Kind::Separator);
  EXPECT_EQ(items[1].items[2].flags & MF_GRAYED, static_cast<UINT>(MF_GRAYED));

  // A greyed entry, an entry without a handler and a dismissed menu choose nothing.
  for (std::vector<std::string> path : {std::vector<std::string>{"Tool", "Close"}, {"Fit"}, {}}) {
    qz::SetMenuResponder(qz::ChooseMenuItem(path));
    EXPECT_EQ(top.Track(owner.m_hWnd, POINT{5, 6}), 0u);
  }
  EXPECT_EQ(handler.Chosen.size(), 1u);
  EXPECT_EQ(qz::LiveMenuCount(), 0u);
}

TEST_F(QZMenuTest, RemoveTakesASubmenuOutAndAnEmptyMenuIsNotShown) {
  QZMenu top;
  top.AddItem("Fit", nullptr, 1);
  QZMenu* empty = top.AddSubMenu("Empty", 0);
  empty->Remove();
  EXPECT_EQ(top.GetLength(), 1u);
  top.Remove();  // a top menu stays
  EXPECT_EQ(top.GetLength(), 1u);

  QZMenu nothing;
  EXPECT_EQ(nothing.Track(owner.m_hWnd, POINT{0, 0}), 0u);
  EXPECT_TRUE(qz::MenuRequests().empty());
}

}  // namespace
