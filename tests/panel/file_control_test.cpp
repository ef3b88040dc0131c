#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "frame/tags.h"
#include "harness/session.h"
#include "qzplatform/dialogs.h"
#include "qzplatform/driver.h"
#include "qzplatform/shell.h"
#include "qzsystem/autoparameter.h"

namespace qzh {
namespace {

constexpr UINT FieldId = 1000;
constexpr UINT BrowseId = 1001;
constexpr UINT RefreshMessage = 0x0464;
constexpr DWORD OpenFlags = 0x0020100E;

class FileControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool = session.AddTool("Grain");
    path = session.AddInput(tool, "Texture", new Text("/plates/a.tif"));
  }
  void TearDown() override { qz::ResetDialogResponder(); }

  InputControl* AddFile(const TagList& attributes = {{qzc::tag::ControlName, "Texture"}}) {
    InputControl* control = session.AddPanelControl("FileControl", attributes, {path});
    session.ClearWrites();
    return control;
  }
  static HWND Child(InputControl* control, UINT id) { return GetDlgItem(control->Wnd->m_hWnd, id); }
  static std::string FieldText(InputControl* control) {
    char text[512] = "";
    GetWindowTextA(Child(control, FieldId), text, sizeof text);
    return text;
  }
  std::string PathValue() {
    AutoParameter value(path->GetValue(session.Doc.CurrentTime));
    return value && value->ID == Text::ClassID ? static_cast<Text*>(value.Get())->String : "<none>";
  }
  void SetPath(const char* text) {
    AutoParameter value(new Text(text));
    path->SetValue(value, session.Doc.CurrentTime, 1);
  }
  void Confirm(InputControl* control, const std::string& text) {
    SetWindowTextA(Child(control, FieldId), text.c_str());
    control->OnOK();
  }
  void AnswerOpen(const std::string& chosen) {
    qz::SetDialogResponder([chosen](const qz::DialogRequest&) {
      qz::DialogAnswer answer;
      answer.ok = !chosen.empty();
      answer.path = chosen;
      return answer;
    });
  }

  Session session;
  Operator* tool = nullptr;
  Input* path = nullptr;
};

TEST_F(FileControlTest, OpensShowingTheInputsNameWithFieldAndIconButton) {
  InputControl* control = AddFile();
  EXPECT_EQ(FieldText(control), "/plates/a.tif");
  EXPECT_EQ(session.OpenedRect(control).bottom, 24);
  EXPECT_EQ(GetWindowLongA(Child(control, BrowseId), GWL_STYLE) & BS_ICON, BS_ICON);
  EXPECT_NE(SendMessageA(Child(control, BrowseId), BM_GETIMAGE, IMAGE_ICON, 0), 0);
  EXPECT_TRUE(session.Writes().empty());
}

TEST_F(FileControlTest, TypedNamesAreSentUnlessOnlyTheLetterCaseDiffers) {
  InputControl* control = AddFile();
  Confirm(control, "/PLATES/A.TIF");
  EXPECT_TRUE(session.Writes().empty());
  Confirm(control, "/plates/b.tif");
  EXPECT_EQ(PathValue(), "/plates/b.tif");
  // A name longer than a path may be is not cut into another file's name.
  Confirm(control, "/" + std::string(300, 'x'));
  EXPECT_EQ(PathValue(), "/plates/b.tif");
  EXPECT_EQ(session.Writes().size(), 1u);
}

TEST_F(FileControlTest, BrowseAsksTheOpenDialogWithTheFilterAndSendsTheChoice) {
  InputControl* control =
      AddFile({{qzc::tag::ControlName, "Texture"}, {qzc::tag::FileFilter, "Tiff (*.tif)|*.tif|All Files (*.*)|*.*||"}});
  AnswerOpen("/plates/c.tif");
  session.Click(Child(control, BrowseId), 5, 5);
  ASSERT_EQ(qz::DialogRequests().size(), 1u);
  const qz::DialogRequest& request = qz::DialogRequests()[0];
  EXPECT_EQ(request.kind, qz::DialogKind::FileOpen);
  EXPECT_EQ(request.flags & OpenFlags, OpenFlags);
  EXPECT_EQ(request.fileName, "/plates/a.tif");
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].second, "*.tif");
  EXPECT_EQ(PathValue(), "/plates/c.tif");
  EXPECT_EQ(FieldText(control), "/plates/c.tif");
}

// The host frees the attribute list after the call; the control keeps its own copy.
TEST_F(FileControlTest, TheFilterOutlivesTheAttributeListThatGaveIt) {
  InputControl* control = AddFile();
  {
    auto filter = std::make_unique<std::string>("Scans (*.dpx)|*.dpx||");
    TagList tags{{qzc::tag::FileFilter, filter->c_str()}};
    control->SetAttrsTagList(tags);
  }
  AnswerOpen("");
  session.Click(Child(control, BrowseId), 5, 5);
  ASSERT_EQ(qz::DialogRequests().size(), 1u);
  EXPECT_EQ(qz::DialogRequests()[0].filters[0].first, "Scans (*.dpx)");
  TagList reset{{qzc::tag::FileFilter, static_cast<const void*>(nullptr)}};
  control->SetAttrsTagList(reset);
  session.Click(Child(control, BrowseId), 5, 5);
  EXPECT_EQ(qz::DialogRequests()[1].filters[0].first, "All Files (*.*)");
}

// Writes outside a bracket join the open step; a cancelled browse ends it.
TEST_F(FileControlTest, CancelSendsNothingButEndsTheUndoGroup) {
  InputControl* control = AddFile();
  const size_t steps = session.Doc.UndoSteps().size();
  SetPath("/plates/y.tif");
  AnswerOpen("");
  session.Click(Child(control, BrowseId), 5, 5);
  SetPath("/plates/z.tif");
  EXPECT_EQ(session.Doc.UndoSteps().size(), steps + 2);
  EXPECT_EQ(session.Writes().size(), 2u);
}

TEST_F(FileControlTest, ThreeDroppedFilesSetTheFirstInOneUndoStep) {
  InputControl* control = AddFile();
  ASSERT_TRUE(qz::DropFiles(Child(control, FieldId), POINT{4, 4}, {"/in/one.exr", "/in/two.exr", "/in/three.exr"}));
  session.Pump();
  EXPECT_EQ(PathValue(), "/in/one.exr");
  EXPECT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Doc.UndoSteps().back(), "Drop Filename");
  session.Doc.Undo();
  EXPECT_EQ(PathValue(), "/plates/a.tif");
}

TEST_F(FileControlTest, DisabledBlanksTheFieldAndTellsTheHostWhichRefreshesIt) {
  InputControl* control = AddFile();
  qz::StartRecording();
  TagList disable{{qzc::tag::ReadOnly, 1}};
  control->SetAttrsTagList(disable);
  session.Pump();
  std::vector<qz::RecordedMessage> seen = qz::StopRecording();
  EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [&](const qz::RecordedMessage& m) {
    return m.hwnd == control->Wnd->m_hWnd && m.message == RefreshMessage;
  }));
  EXPECT_EQ(FieldText(control), "");
  // Enter in the blank field is not the user clearing the name.
  control->OnOK();
  EXPECT_EQ(PathValue(), "/plates/a.tif");
  TagList enable{{qzc::tag::ReadOnly, 0}};
  control->SetAttrsTagList(enable);
  session.Pump();
  EXPECT_EQ(FieldText(control), "/plates/a.tif");
}

}  // namespace
}  // namespace qzh
