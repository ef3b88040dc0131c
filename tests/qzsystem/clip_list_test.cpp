#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qzsystem/autoparameter.h"
#include "qzsystem/cliplist.h"
#include "qzsystem/document.h"
#include "qzsystem/operator.h"
#include "qzsystem/parameter.h"
#include "tempdir.h"

namespace {

struct Placed {
  std::string Name;
  double Start;
  double End;
  bool operator==(const Placed&) const = default;
};

std::vector<Placed> EntriesOf(Input* input) {
  auto* list = reinterpret_cast<ClipList*>(input->GetAttr(ClipEntriesTag));
  std::vector<Placed> placed;
  if (!list) return placed;
  list->ObtainReadLock();
  for (ListNode* node = list->GetFirst(); node; node = list->GetNext(node)) {
    const auto* entry = static_cast<const ClipEntry*>(node->Obj());
    placed.push_back({entry->Name, entry->Start, entry->End});
  }
  list->ReleaseReadLock();
  return placed;
}

class ClipListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool = doc.AddTool(new Operator("Edit"));
    clips = tool->AddInput(new ClipListInput("Clips"));
    for (int frame = 1; frame <= 3; ++frame) dir.Write("a." + std::to_string(frame) + ".png", "x");
    dir.Write("b.png", "x");
  }
  void Place(const std::string& name, double time) {
    AutoClip clip(new Clip(dir.File(name).c_str(), 0));
    clips->SetValue(clip, time, 1);
  }

  TempDir dir;
  CPipelineDoc doc;
  Operator* tool = nullptr;
  Input* clips = nullptr;
};

// Entries follow the clips in time order whatever the order of placing, each
// as long as its run of numbered files.
TEST_F(ClipListTest, EntriesAreInTimeOrderWithLengthsFromTheFiles) {
  EXPECT_EQ(tool->FindInput(ClipListInputID), clips);
  EXPECT_TRUE(EntriesOf(clips).empty());
  Place("b.png", 20.0);
  Place("a.1.png", 5.0);
  EXPECT_EQ(EntriesOf(clips), (std::vector<Placed>{{dir.File("a.1.png"), 5.0, 8.0}, {dir.File("b.png"), 20.0, 21.0}}));
}

// A null value at a clip's start removes that clip; at any other time it
// changes nothing. Undo brings the removed clip back.
TEST_F(ClipListTest, NullAtAStartRemovesThatClipAndUndoRestoresIt) {
  Place("a.1.png", 0.0);
  Place("b.png", 3.0);
  doc.ResetUndo();
  EXPECT_EQ(clips->SetValue(nullptr, 1.0, 1), 0u);
  EXPECT_EQ(EntriesOf(clips).size(), 2u);
  doc.StartUndo("Delete Clip");
  EXPECT_NE(clips->SetValue(nullptr, 0.0, 1), 0u);
  doc.EndUndo(1);
  EXPECT_EQ(EntriesOf(clips), (std::vector<Placed>{{dir.File("b.png"), 3.0, 4.0}}));
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(EntriesOf(clips), (std::vector<Placed>{{dir.File("a.1.png"), 0.0, 3.0}, {dir.File("b.png"), 3.0, 4.0}}));
}

}  // namespace
