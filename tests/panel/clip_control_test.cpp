#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "frame/tags.h"
#include "harness/formats.h"
#include "harness/session.h"
#include "qzplatform/dialogs.h"
#include "qzplatform/driver.h"
#include "qzplatform/shell.h"
#include "qzsystem/autoparameter.h"
#include "tests/qzsystem/tempdir.h"

namespace qzh {
namespace {

constexpr UINT NameId = 1000;
constexpr UINT BrowseId = 1001;
constexpr uint32_t SaveMode = qzc::tag::Specific0;
constexpr uint32_t InitialFormat = qzc::tag::Specific4;

class ClipControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool = session.AddTool("Render");
    clip = session.AddInput(tool, "Output", new Clip("/renders/old.0001.tga", 1));
  }
  void TearDown() override { qz::ResetDialogResponder(); }

  InputControl* AddClip(TagList attributes = {}) {
    attributes.Merge(TagList{{qzc::tag::ControlName, "Output"}});
    InputControl* control = session.AddPanelControl("ClipControl", attributes, {clip});
    session.ClearWrites();
    return control;
  }
  static HWND Child(InputControl* control, UINT id) { return GetDlgItem(control->Wnd->m_hWnd, id); }
  std::string ClipName() {
    AutoParameter value(clip->GetValue(session.Doc.CurrentTime));
    return value && value->ID == Clip::ClassID ? static_cast<Clip*>(value.Get())->Name : "<none>";
  }
  // Answers the dialog with `path` under the filter at `index` (0: the one shown).
  void Answer(const std::string& path, DWORD index = 0) {
    qz::SetDialogResponder([path, index](const qz::DialogRequest&) {
      qz::DialogAnswer answer;
      answer.ok = !path.empty();
      answer.path = path;
      answer.filterIndex = index;
      return answer;
    });
  }
  void Browse(InputControl* control) { session.Click(Child(control, BrowseId), 5, 5); }
  const qz::DialogRequest& LastRequest() { return qz::DialogRequests().back(); }

  FormatRegistrations formats;
  Session session;
  Operator* tool = nullptr;
  Input* clip = nullptr;
};

TEST_F(ClipControlTest, TheFilterListsEveryFormatsPatternsInLowerCase) {
  formats.Add("Tga", MakeID("TGAf"), true, false, "Targa", {".TGA", ".Targa"});
  formats.Add("Cache", MakeID("CCHf"), false, false, "Cache", {".qzc"});
  formats.Add("Exr", MakeID("EXRf"), false, true, "OpenEXR", {".exr"});
  InputControl* control = AddClip({{InitialFormat, static_cast<intptr_t>(MakeID("EXRf"))}});
  Answer("");
  Browse(control);
  const qz::DialogRequest& request = LastRequest();
  using Filter = std::pair<std::string, std::string>;
  EXPECT_EQ(request.filters, (std::vector<Filter>{{"All Image Files (*.tga;*.targa;*.exr)", "*.tga;*.targa;*.exr"},
                                                  {"Targa (*.tga;*.targa)", "*.tga;*.targa"},
                                                  {"OpenEXR (*.exr)", "*.exr"},
                                                  {"All Files (*.*)", "*.*"}}));
  EXPECT_EQ(request.filterIndex, 3u);
  EXPECT_EQ(request.kind, qz::DialogKind::FileOpen);
  EXPECT_EQ(request.flags & OFN_FILEMUSTEXIST, static_cast<DWORD>(OFN_FILEMUSTEXIST));
}

// "All Image Files ()||All Files (*.*)|*.*||": the empty pattern list ends
// the platform's filter list after its first entry.
TEST_F(ClipControlTest, WithoutFormatsTheFilterIsTheEmptyTemplate) {
  InputControl* control = AddClip();
  Answer("");
  Browse(control);
  using Filter = std::pair<std::string, std::string>;
  EXPECT_EQ(LastRequest().filters, (std::vector<Filter>{{"All Image Files ()", ""}}));
  EXPECT_EQ(LastRequest().filterIndex, 1u);
}

// Hundreds of formats with many extensions each give a complete filter.
TEST_F(ClipControlTest, ManyFormatsGiveACompleteFilter) {
  for (int i = 0; i < 300; ++i)
    formats.Add("Many", 0x1000 + i, true, true, "A format with a long description to fill the lists",
                {".aaaa", ".bbbb", ".cccc", ".dddd", ".eeee"});
  InputControl* control = AddClip();
  Answer("");
  Browse(control);
  const qz::DialogRequest& request = LastRequest();
  ASSERT_EQ(request.filters.size(), 302u);
  EXPECT_EQ(request.filters[0].second.size(), 300 * 5 * 7 - 1);
  EXPECT_EQ(request.filters[300].second, "*.aaaa;*.bbbb;*.cccc;*.dddd;*.eeee");
}

struct SaveCase {
  const char* Name;
  const char* Chosen;
  DWORD FilterIndex;
  const char* Written;
};

class ClipSaveModeTest : public ClipControlTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(ClipSaveModeTest, AppendsTheFormatsExtensionToANameWithoutOne) {
  formats.Add("Tga", MakeID("TGAf"), true, true, "Targa", {".tga", ".Targa"});
  formats.Add("Png", MakeID("PNGf"), true, true, "PNG", {".png"});
  InputControl* control = AddClip({{SaveMode, 1}, {InitialFormat, static_cast<intptr_t>(MakeID("TGAf"))}});
  Answer(GetParam().Chosen, GetParam().FilterIndex);
  Browse(control);
  EXPECT_EQ(LastRequest().kind, qz::DialogKind::FileSave);
  EXPECT_EQ(LastRequest().flags & OFN_FILEMUSTEXIST, 0u);
  EXPECT_EQ(ClipName(), GetParam().Written);
  AutoParameter value(clip->GetValue(session.Doc.CurrentTime));
  EXPECT_EQ(static_cast<Clip*>(value.Get())->SaveMode, 1u);
}

INSTANTIATE_TEST_SUITE_P(Names, ClipSaveModeTest,
                         ::testing::Values(SaveCase{"Plain", "/out/shot", 2, "/out/shot.tga"},
                                           SaveCase{"FrameNumber", "/out/shot.0001", 2, "/out/shot.0001.tga"},
                                           SaveCase{"SecondFormat", "/out/shot", 3, "/out/shot.png"},
                                           SaveCase{"OwnExtension", "/out/shot.exr", 2, "/out/shot.exr"},
                                           SaveCase{"AllFiles", "/out/shot", 4, "/out/shot"},
                                           SaveCase{"AllImageFiles", "/out/shot", 1, "/out/shot"}),
                         [](const auto& info) { return std::string(info.param.Name); });

// The host keeps one profile file; each session's application reads it anew.
TEST(ClipControlProfile, TheLastFileIsRememberedAcrossSessions) {
  TempDir dir;
  const std::string profile = dir.File("qzhost.ini");
  std::string offered[2];
  for (int run = 0; run < 2; ++run) {
    Session session;
    AfxGetApp()->SetProfilePath(profile.c_str());
    Input* empty = session.AddInput(session.AddTool("Read"), "Clip", nullptr);
    InputControl* control = session.AddPanelControl("ClipControl", {{qzc::tag::ControlName, "Clip"}}, {empty});
    qz::SetDialogResponder([run](const qz::DialogRequest&) {
      qz::DialogAnswer answer;
      answer.ok = run == 0;
      answer.path = "/plates/chosen.0001.tga";
      return answer;
    });
    session.Click(GetDlgItem(control->Wnd->m_hWnd, BrowseId), 5, 5);
    offered[run] = qz::DialogRequests().back().fileName;
    qz::ResetDialogResponder();
  }
  EXPECT_EQ(offered[0], "");
  EXPECT_EQ(offered[1], "/plates/chosen.0001.tga");
}

TEST_F(ClipControlTest, DroppedFilesSetTheFirstInOneUndoStep) {
  InputControl* control = AddClip();
  ASSERT_TRUE(qz::DropFiles(Child(control, NameId), POINT{3, 3}, {"/in/a.0001.tga", "/in/b.0001.tga"}));
  session.Pump();
  EXPECT_EQ(ClipName(), "/in/a.0001.tga");
  EXPECT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Doc.UndoSteps().back(), "Drop Filename");
}

TEST_F(ClipControlTest, TypedNamesAndHostChanges) {
  InputControl* control = AddClip();
  SetWindowTextA(Child(control, NameId), "/RENDERS/OLD.0001.TGA");
  control->OnOK();
  EXPECT_TRUE(session.Writes().empty());
  SetWindowTextA(Child(control, NameId), "/renders/new.0001.tga");
  control->OnOK();
  EXPECT_EQ(ClipName(), "/renders/new.0001.tga");

  // A host change while the user types replaces the pending entry.
  SetWindowTextA(Child(control, NameId), "/renders/typed.0001.tga");
  AutoClip fromHost(new Clip("/renders/host.0001.tga", 1));
  clip->SetValue(fromHost, session.Doc.CurrentTime, 1);
  control->OnOK();
  EXPECT_EQ(ClipName(), "/renders/host.0001.tga");
}

TEST_F(ClipControlTest, AHiddenNameShowsNothingAndIsNotClearedByEnter) {
  InputControl* control = AddClip({{qzc::tag::ReadOnly, 1}});
  char text[64] = "x";
  GetWindowTextA(Child(control, NameId), text, sizeof text);
  EXPECT_STREQ(text, "");
  control->OnOK();
  EXPECT_EQ(ClipName(), "/renders/old.0001.tga");
}

TEST_F(ClipControlTest, ANameInTheAttributesIsWrittenOutsideAnyFrame) {
  InputControl* control = AddClip();
  TagList tags{{qzc::tag::Specific2, "/renders/preset.0001.tga"}};
  control->SetAttrsTagList(tags);
  ASSERT_EQ(session.Writes().size(), 1u);
  EXPECT_EQ(session.Writes()[0].Time, -1000000000.0);
}

}  // namespace
}  // namespace qzh
