#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qzplatform/menus.h"
#include "user_support.h"

namespace usertest {
namespace {

class MenuTest : public UserTest {
 protected:
  void TearDown() override {
    qz::ResetMenus();
    UserTest::TearDown();
  }
  // "Edit" > ("Copy" 11, separator, "Paste" 12 greyed), then "About" 20.
  HMENU Sample() {
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, 11, "Copy");
    AppendMenuA(edit, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(edit, MF_STRING | MF_GRAYED, 12, "Paste");
    HMENU top = CreatePopupMenu();
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
    AppendMenuA(top, MF_STRING, 20, "About");
    return top;
  }
};

TEST_F(MenuTest, ResponderSeesTheWholeTreeAndItsChoiceIsReturned) {
  HWND owner = Top(0, 0, 100, 100);
  HMENU menu = Sample();
  qz::SetMenuResponder(qz::ChooseMenuItem({"Edit", "Copy"}));
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 40, 50, 0, owner, nullptr), 11);
  ASSERT_EQ(qz::MenuRequests().size(), 1u);
  const qz::MenuRequest& request = qz::MenuRequests()[0];
  EXPECT_EQ(request.owner, owner);
  EXPECT_EQ(request.at.x, 40);
  EXPECT_EQ(request.at.y, 50);
  ASSERT_EQ(request.items.size(), 2u);
  EXPECT_EQ(request.items[0].kind, qz::MenuItem::Kind::Popup);
  EXPECT_EQ(request.items[0].text, "Edit");
  ASSERT_EQ(request.items[0].items.size(), 3u);
  EXPECT_EQ(request.items[0].items[1].kind, qz::MenuItem::Kind::Separator);
  EXPECT_EQ(request.items[0].items[2].text, "Paste");
  EXPECT_EQ(request.items[1].id, 20u);
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  DestroyMenu(menu);
}

TEST_F(MenuTest, DismissedUnknownAndGreyedChoicesChooseNothing) {
  HWND owner = Top(0, 0, 100, 100);
  HMENU menu = Sample();
  EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0);  // default responder
  for (UINT answer : {99u, 12u}) {
    qz::SetMenuResponder([answer](const qz::MenuRequest&) { return answer; });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, owner, nullptr), 0) << answer;
  }
  EXPECT_FALSE(TrackPopupMenu(menu, 0, 0, 0, 0, nullptr, nullptr));  // no owner
  DestroyMenu(menu);
}

TEST_F(MenuTest, WithoutReturnCommandTheChoiceIsPostedToTheOwner) {
  HWND owner = Top(0, 0, 100, 100);
  HMENU menu = Sample();
  qz::SetMenuResponder(qz::ChooseMenuItem({"About"}));
  qz::StartRecording();
  EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 0, 0, 0, owner, nullptr));
  qz::Pump();
  std::vector<qz::RecordedMessage> got = qz::StopRecording();
  int commands = 0;
  for (const auto& m : got) commands += m.hwnd == owner && m.message == WM_COMMAND && m.wParam == 20 && m.posted;
  EXPECT_EQ(commands, 1);
  DestroyMenu(menu);
}

TEST_F(MenuTest, DestroyTakesSubmenusAlongAndASubmenuHasOneParent) {
  const size_t before = qz::LiveMenuCount();
  HMENU menu = Sample();
  EXPECT_EQ(qz::LiveMenuCount(), before + 2);
  HMENU other = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  EXPECT_TRUE(AppendMenuA(other, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub"));
  EXPECT_FALSE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Again"));
  EXPECT_FALSE(AppendMenuA(sub, MF_POPUP, reinterpret_cast<UINT_PTR>(other), "Loop"));
  EXPECT_FALSE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), "Self"));
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_TRUE(DestroyMenu(other));
  EXPECT_FALSE(IsMenu(sub));
  EXPECT_FALSE(DestroyMenu(menu));
  EXPECT_FALSE(AppendMenuA(menu, MF_STRING, 1, "Gone"));
  EXPECT_EQ(GetMenuItemCount(menu), -1);
  EXPECT_EQ(qz::LiveMenuCount(), before);
}

}  // namespace
}  // namespace usertest
