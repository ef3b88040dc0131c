#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzplatform/shell.h"
#include "tests/qzsystem/tempdir.h"

namespace qzh {
namespace {

class ListControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder.Path.empty());
    tool = session.AddTool("Edit");
    clips = session.AddClipListInput(tool, "Clips");
  }

  InputControl* AddList() {
    InputControl* control = session.AddPanelControl("ListControl", {{qzc::tag::ControlName, "Clips"}}, {clips});
    if (control) list = FindChild(control, Role::ListBox);
    return control;
  }
  // A numbered sequence stem.0001.png... of `frames` files; the first's path.
  std::string Sequence(const std::string& stem, int frames) const {
    for (int frame = 1; frame <= frames; ++frame) {
      char number[16];
      std::snprintf(number, sizeof number, ".%04d.png", frame);
      folder.Write(stem + number, "frame");
    }
    return folder.File(stem + ".0001.png");
  }
  void Drop(const std::vector<std::string>& files) {
    ASSERT_TRUE(qz::DropFiles(list, POINT{30, 30}, files));
    session.Pump();
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[512] = {};
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      rows.push_back(text);
    }
    return rows;
  }
  // The three clips of the drop test, from frame 10.
  void DropThreeClips() {
    Drop({Sequence("a", 24), folder.File("missing.0001.png"), Sequence("b", 12), Sequence("c", 1)});
  }
  std::string Row(const std::string& stem, int start, int end) const {
    return folder.File(stem + ".0001.png") + "\t" + std::to_string(start) + "\t" + std::to_string(end);
  }

  TempDir folder;
  Session session;
  Operator* tool = nullptr;
  Input* clips = nullptr;
  HWND list = nullptr;
};

// Files dropped at frame 10 become clips end to end, each as long as its run
// of numbered files; a file that cannot be read, and a path longer than the
// platform allows, are skipped without a gap.
TEST_F(ListControlTest, DroppedFilesBecomeClipsEndToEndSkippingUnreadableOnes) {
  ASSERT_NE(AddList(), nullptr);
  session.Doc.SetCurrentTime(10.0, 1);
  const std::string tooLong = folder.File(std::string(300, 'x') + ".png");
  Drop({Sequence("a", 24), folder.File("missing.0001.png"), tooLong, Sequence("b", 12), Sequence("c", 1)});
  EXPECT_EQ(Rows(), (std::vector<std::string>{Row("a", 10, 34), Row("b", 34, 46), Row("c", 46, 47)}));
  std::vector<double> times;
  for (const Write& write : session.ControlWrites()) times.push_back(write.Time);
  EXPECT_EQ(times, (std::vector<double>{10.0, 34.0, 46.0}));
}

// A folder stands for its first file by name; an empty one for itself.
TEST_F(ListControlTest, DroppedFolderAddsItsFirstFile) {
  ASSERT_NE(AddList(), nullptr);
  std::filesystem::create_directory(folder.File("shots"));
  std::filesystem::create_directory(folder.File("shots/aa_sub"));
  folder.Write("shots/zeta.png", "z");
  folder.Write("shots/beta.png", "b");
  std::filesystem::create_directory(folder.File("empty"));
  Drop({folder.File("shots"), folder.File("empty")});
  EXPECT_EQ(Rows(),
            (std::vector<std::string>{folder.File("shots/beta.png") + "\t0\t1", folder.File("empty") + "\t1\t2"}));
}

TEST_F(ListControlTest, NamesAreCutToEightyCharactersInTheirRow) {
  ASSERT_NE(AddList(), nullptr);
  const std::string stem(120 - folder.Path.size(), 'n');
  Drop({Sequence(stem, 2)});
  ASSERT_EQ(Rows().size(), 1u);
  EXPECT_EQ(Rows()[0], folder.File(stem).substr(0, 80) + "\t0\t2");
}

// Delete on a row removes that clip in one "Delete Clip" step, and undo
// brings it back.
TEST_F(ListControlTest, DeleteRemovesOneClipInOneUndoStepThatUndoRestores) {
  ASSERT_NE(AddList(), nullptr);
  session.Doc.SetCurrentTime(10.0, 1);
  DropThreeClips();
  session.Doc.ResetUndo();
  const size_t stepsBefore = session.Doc.UndoSteps().size();
  SetFocus(list);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  qz::PressKey(VK_DELETE);
  EXPECT_EQ(Rows(), (std::vector<std::string>{Row("a", 10, 34), Row("c", 46, 47)}));
  ASSERT_EQ(session.Doc.UndoSteps().size(), stepsBefore + 1);
  EXPECT_EQ(session.Doc.UndoSteps().back(), "Delete Clip");
  ASSERT_EQ(session.ControlWrites().size(), 4u);
  EXPECT_EQ(session.ControlWrites().back().Value, "(none)");
  EXPECT_EQ(session.ControlWrites().back().Time, 34.0);

  ASSERT_TRUE(session.Doc.Undo());
  EXPECT_EQ(Rows(), (std::vector<std::string>{Row("a", 10, 34), Row("b", 34, 46), Row("c", 46, 47)}));
}

TEST_F(ListControlTest, DoubleClickMovesTheCurrentTimeToTheClipsStart) {
  ASSERT_NE(AddList(), nullptr);
  session.Doc.SetCurrentTime(10.0, 1);
  DropThreeClips();
  const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(rowHeight, 0);
  const int y = rowHeight * 2 + rowHeight / 2;
  session.Click(list, 20, y);
  session.Click(list, 20, y);
  EXPECT_EQ(session.Doc.CurrentTime, 46.0);
  EXPECT_EQ(session.ControlWrites().size(), 3u);
}

// Digits typed in the list stay with it; a key the list does not keep still
// reaches the host's shortcuts.
TEST_F(ListControlTest, ListKeepsDigitsAndLeavesOtherShortcutsToTheHost) {
  ASSERT_NE(AddList(), nullptr);
  DropThreeClips();
  session.EnableShortcuts(true);
  SetFocus(list);
  qz::PressKey('1');
  EXPECT_TRUE(session.ShortcutsRun().empty());
  qz::PressKey('P');
  EXPECT_EQ(session.ShortcutsRun(), std::vector<std::string>{"Play"});
}

// A first input without a clip list cannot be shown: Open reports failure
// when the host opens the control with it connected.
TEST_F(ListControlTest, FirstInputWithoutEntriesMakesOpenFail) {
  Input* number = session.AddNumberInput(tool, "Gain", 1.0);
  InputControl* plain = session.AddPanelControl("ListControl", {}, {number});
  InputControl* withClips = AddList();
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(withClips, nullptr);
  session.HidePanel();
  for (auto [control, opens] : {std::pair{plain, 0u}, std::pair{withClips, 1u}}) {
    CRect rect(0, 0, Session::DefaultPanelWidth, 0);
    EXPECT_EQ(control->Open(session.Panel(), rect), opens);
    EXPECT_EQ(rect, CRect(0, 0, Session::DefaultPanelWidth, 220));
    control->Close();
  }
}

}  // namespace
}  // namespace qzh
