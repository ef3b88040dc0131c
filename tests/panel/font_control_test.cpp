#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "frame/tags.h"
#include "harness/session.h"
#include "qzplatform/dialogs.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace qzh {
namespace {

constexpr UINT FaceId = 111;
constexpr UINT SelectId = 2020;
constexpr double TwelvePointBoldItalic = 120 * 65536 + 12;

class FontControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tool = session.AddTool("Title");
    face = session.AddInput(tool, "Face", new Text("DejaVu Sans"), 0);
    style = session.AddNumberInput(tool, "Style", TwelvePointBoldItalic, 1);
    control = session.AddPanelControl("FontControl", {{qzc::tag::ControlName, "Font"}}, {face, style});
    session.ClearWrites();
  }
  void TearDown() override { qz::ResetDialogResponder(); }

  HWND Child(UINT id) { return GetDlgItem(control->Wnd->m_hWnd, id); }
  std::string FaceValue() {
    AutoParameter value(face->GetValue(session.Doc.CurrentTime));
    return value && value->ID == Text::ClassID ? static_cast<Text*>(value.Get())->String : "<none>";
  }
  // Answers the font dialog with `answerFace` at `pointSize` tenths, bold and italic as given.
  void AnswerFont(const char* answerFace, int pointSize, bool bold, bool italic, bool ok = true) {
    qz::SetDialogResponder([=](const qz::DialogRequest&) {
      qz::DialogAnswer answer;
      answer.ok = ok;
      std::strncpy(answer.font.lfFaceName, answerFace, LF_FACESIZE - 1);
      answer.font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
      answer.font.lfItalic = italic;
      answer.pointSize = pointSize;
      return answer;
    });
  }

  Session session;
  Operator* tool = nullptr;
  Input* face = nullptr;
  Input* style = nullptr;
  InputControl* control = nullptr;
};

// 7864332 holds 12 points; its style bits are not read back.
TEST_F(FontControlTest, TheDialogOpensOnTheInputsFaceAndSize) {
  AnswerFont("", 0, false, false, false);
  session.Click(Child(SelectId), 10, 8);
  ASSERT_EQ(qz::DialogRequests().size(), 1u);
  const qz::DialogRequest& request = qz::DialogRequests()[0];
  EXPECT_STREQ(request.initialFont.lfFaceName, "DejaVu Sans");
  EXPECT_EQ(request.initialFont.lfHeight, -16);
  EXPECT_EQ(request.initialFont.lfWeight, 0);
  EXPECT_EQ(request.flags & (CF_TTONLY | CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS),
            static_cast<DWORD>(CF_TTONLY | CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS));
  EXPECT_EQ(request.flags & CF_EFFECTS, 0u);
  EXPECT_TRUE(session.Writes().empty());
}

// The default 8 points at 96 pixels per inch: -107 x 0.1 truncated.
TEST(FontControlDefaults, TheRecordHeightForEightPointsIsMinusTen) {
  Session session;
  Input* face = session.AddInput(session.AddTool("T"), "Face", new Text("DejaVu Sans"), 0);
  InputControl* control = session.AddPanelControl("FontControl", {{qzc::tag::ControlName, "Font"}}, {face});
  session.Click(GetDlgItem(control->Wnd->m_hWnd, SelectId), 10, 8);
  EXPECT_EQ(qz::DialogRequests().back().initialFont.lfHeight, -10);
  qz::ResetDialogResponder();
}

TEST_F(FontControlTest, AChosenFontSendsFaceAndStyleCodeInOneUndoStep) {
  AnswerFont("DejaVu Serif", 100, true, true);
  session.Click(Child(SelectId), 10, 8);
  EXPECT_EQ(FaceValue(), "DejaVu Serif");
  EXPECT_EQ(session.NumberValue(style), 6553612.0);
  EXPECT_EQ(session.Doc.UndoSteps().back(), "Select Font");
  session.Doc.Undo();
  EXPECT_EQ(FaceValue(), "DejaVu Sans");
  EXPECT_EQ(session.NumberValue(style), TwelvePointBoldItalic);
  char shown[64] = "";
  GetWindowTextA(Child(FaceId), shown, sizeof shown);
  EXPECT_STREQ(shown, "DejaVu Sans");
}

TEST_F(FontControlTest, EnterSendsTheTypedFaceButNeverAnEmptyOne) {
  SetWindowTextA(Child(FaceId), "DejaVu Sans Mono");
  control->OnOK();
  EXPECT_EQ(FaceValue(), "DejaVu Sans Mono");
  SetWindowTextA(Child(FaceId), "");
  control->OnOK();
  EXPECT_EQ(FaceValue(), "DejaVu Sans Mono");
  EXPECT_EQ(session.Writes().size(), 1u);
}

TEST_F(FontControlTest, TheLabelNamesTheLastInputAndBadStyleCodesAreIgnored) {
  char label[32] = "";
  GetWindowTextA(GetDlgItem(control->Wnd->m_hWnd, 0xFFFF), label, sizeof label);
  EXPECT_STREQ(label, "Style");
  for (double bad : {std::nan(""), HUGE_VAL, -1e300}) {
    AutoNumber number(new Number(bad));
    style->SetValue(number, session.Doc.CurrentTime, 1);
  }
  AnswerFont("", 0, false, false, false);
  session.Click(Child(SelectId), 10, 8);
  EXPECT_EQ(qz::DialogRequests().back().initialFont.lfHeight, -16);
}

}  // namespace
}  // namespace qzh
