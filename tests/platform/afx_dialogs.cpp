#include <cstring>

#include "afx_fixture.h"
#include "afxdlgs.h"
#include "qzplatform/dialogs.h"

using afxtest::AfxTest;

namespace {

class ColorDialog : public AfxTest {};
class FontDialog : public AfxTest {};
class FileDialog : public AfxTest {};

TEST_F(ColorDialog, OkAnswerGivesTheChosenColour) {
  qz::SetDialogResponder([](const qz::DialogRequest&) {
    qz::DialogAnswer answer;
    answer.ok = true;
    answer.colour = RGB(10, 20, 30);
    return answer;
  });
  CColorDialog dialog(RGB(200, 100, 50), CC_FULLOPEN);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetColor(), RGB(10, 20, 30));

  ASSERT_EQ(qz::DialogRequests().size(), 1u);
  const qz::DialogRequest& request = qz::DialogRequests()[0];
  EXPECT_EQ(request.kind, qz::DialogKind::Colour);
  EXPECT_EQ(request.flags, DWORD(CC_FULLOPEN | CC_RGBINIT));
  EXPECT_EQ(request.initialColour, RGB(200, 100, 50));
  ASSERT_EQ(request.customColours.size(), 16u);
  EXPECT_EQ(request.customColours[0], RGB(255, 255, 255));
}

TEST_F(ColorDialog, DefaultResponderCancelsAndKeepsTheColour) {
  CColorDialog dialog(RGB(1, 2, 3));
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.GetColor(), RGB(1, 2, 3));
  EXPECT_EQ(qz::DialogRequests().size(), 1u);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(ColorDialog, WithoutRgbInitThePlatformStartsFromBlack) {
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.rgbResult = RGB(9, 9, 9);
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(qz::DialogRequests().back().initialColour, RGB(0, 0, 0));
}

TEST_F(ColorDialog, WrongStructureSizeFailsWithoutAsking) {
  CHOOSECOLORA cc{};
  cc.lStructSize = 3;
  EXPECT_FALSE(ChooseColorA(&cc));
  EXPECT_EQ(CommDlgExtendedError(), DWORD(CDERR_STRUCTSIZE));
  EXPECT_TRUE(qz::DialogRequests().empty());
}

qz::DialogAnswer BoldItalicSans(const qz::DialogRequest&) {
  qz::DialogAnswer answer;
  answer.ok = true;
  answer.font.lfHeight = -16;
  answer.font.lfWeight = FW_BOLD;
  answer.font.lfItalic = 1;
  strcpy(answer.font.lfFaceName, "DejaVu Sans");
  answer.fontColour = RGB(0, 0, 255);
  return answer;
}

TEST_F(FontDialog, CallerFontOpensTheDialogAndReceivesTheChoice) {
  LOGFONTA font{};
  font.lfHeight = -12;
  font.lfWeight = FW_NORMAL;
  strcpy(font.lfFaceName, "Arial");
  qz::SetDialogResponder(BoldItalicSans);
  CFontDialog dialog(&font);
  EXPECT_EQ(dialog.DoModal(), IDOK);

  const qz::DialogRequest& request = qz::DialogRequests().back();
  EXPECT_EQ(request.kind, qz::DialogKind::Font);
  EXPECT_EQ(request.flags, DWORD(CF_EFFECTS | CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT));
  EXPECT_STREQ(request.initialFont.lfFaceName, "Arial");
  EXPECT_EQ(request.initialPointSize, 90);

  EXPECT_EQ(dialog.GetSize(), 120);
  EXPECT_EQ(dialog.GetFaceName(), "DejaVu Sans");
  EXPECT_TRUE(dialog.IsBold());
  EXPECT_TRUE(dialog.IsItalic());
  EXPECT_FALSE(dialog.IsUnderline());
  EXPECT_EQ(dialog.GetWeight(), FW_BOLD);
  EXPECT_EQ(dialog.GetColor(), RGB(0, 0, 255));
  EXPECT_EQ(font.lfHeight, -16);
  EXPECT_STREQ(font.lfFaceName, "DejaVu Sans");
}

TEST_F(FontDialog, HeightFollowsAnAnswerGivenInPoints) {
  qz::SetDialogResponder([](const qz::DialogRequest&) {
    qz::DialogAnswer answer;
    answer.ok = true;
    answer.pointSize = 90;
    strcpy(answer.font.lfFaceName, "Mono");
    return answer;
  });
  CFontDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetSize(), 90);
  LOGFONTA chosen{};
  dialog.GetCurrentFont(&chosen);
  EXPECT_EQ(chosen.lfHeight, -12);
  EXPECT_FALSE(qz::DialogRequests().back().flags & CF_INITTOLOGFONTSTRUCT);
}

TEST_F(FontDialog, CancelLeavesTheCallerFontAlone) {
  LOGFONTA font{};
  font.lfHeight = -12;
  strcpy(font.lfFaceName, "Arial");
  CFontDialog dialog(&font);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_STREQ(font.lfFaceName, "Arial");
}

TEST_F(FontDialog, UnterminatedFaceNameFromTheResponderIsBounded) {
  qz::SetDialogResponder([](const qz::DialogRequest&) {
    qz::DialogAnswer answer;
    answer.ok = true;
    memset(answer.font.lfFaceName, 'x', sizeof answer.font.lfFaceName);
    return answer;
  });
  CFontDialog dialog;
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetFaceName().GetLength(), LF_FACESIZE - 1);
}

qz::DialogAnswer Choose(const std::string& path, DWORD filterIndex = 0) {
  qz::DialogAnswer answer;
  answer.ok = true;
  answer.path = path;
  answer.filterIndex = filterIndex;
  return answer;
}

TEST_F(FileDialog, FilterBarsBecomePairsAndTheIndexIsOneBased) {
  qz::SetDialogResponder([](const qz::DialogRequest&) { return Choose("/clips/a.bmp", 2); });
  CFileDialog dialog(TRUE, nullptr, "start.png", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "Images|*.png;*.bmp|All Files|*.*||");
  EXPECT_EQ(dialog.DoModal(), IDOK);
  const qz::DialogRequest& request = qz::DialogRequests().back();
  EXPECT_EQ(request.kind, qz::DialogKind::FileOpen);
  EXPECT_EQ(request.flags, DWORD(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST));
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(request.filters, (std::vector<Pair>{{"Images", "*.png;*.bmp"}, {"All Files", "*.*"}}));
  EXPECT_EQ(request.filterIndex, 1u);
  EXPECT_EQ(request.fileName, "start.png");
  EXPECT_EQ(dialog.m_ofn.nFilterIndex, 2u);
  EXPECT_EQ(dialog.GetPathName(), "/clips/a.bmp");
}

TEST_F(FileDialog, ChosenIndexIsShownAndKeptWhenTheAnswerGivesNone) {
  qz::SetDialogResponder([](const qz::DialogRequest&) { return Choose("/x.txt"); });
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "Text|*.txt|Log|*.log");
  dialog.m_ofn.nFilterIndex = 2;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(qz::DialogRequests().back().filterIndex, 2u);
  EXPECT_EQ(qz::DialogRequests().back().filters.size(), 2u);
  EXPECT_EQ(dialog.m_ofn.nFilterIndex, 2u);
}

TEST_F(FileDialog, SaveAppendsTheDefaultExtensionAndSplitsThePath) {
  qz::SetDialogResponder([](const qz::DialogRequest&) { return Choose("/tmp/shots/frame"); });
  CFileDialog dialog(FALSE, "png", nullptr, OFN_OVERWRITEPROMPT, "PNG|*.png||");
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(qz::DialogRequests().back().kind, qz::DialogKind::FileSave);
  EXPECT_EQ(qz::DialogRequests().back().defaultExtension, "png");
  EXPECT_EQ(dialog.GetPathName(), "/tmp/shots/frame.png");
  EXPECT_EQ(dialog.GetFileName(), "frame.png");
  EXPECT_EQ(dialog.GetFileExt(), "png");
  EXPECT_EQ(dialog.GetFileTitle(), "frame");
  EXPECT_STREQ(dialog.m_ofn.lpstrFile + dialog.m_ofn.nFileOffset, "frame.png");
  EXPECT_STREQ(dialog.m_ofn.lpstrFile + dialog.m_ofn.nFileExtension, "png");
}

TEST_F(FileDialog, ExtensionInADirectoryNameIsNoExtension) {
  qz::SetDialogResponder([](const qz::DialogRequest&) { return Choose("/v1.2/clip"); });
  CFileDialog dialog(FALSE, "exr");
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.GetPathName(), "/v1.2/clip.exr");
  EXPECT_EQ(dialog.GetFileTitle(), "clip");
}

TEST_F(FileDialog, PathLongerThanTheBufferFailsWithoutOverflow) {
  qz::SetDialogResponder([](const qz::DialogRequest&) { return Choose("/a/very/long/path/name.png"); });
  CFileDialog dialog(TRUE);
  char buffer[24];
  memset(buffer, '#', sizeof buffer);
  buffer[0] = '\0';
  dialog.m_ofn.lpstrFile = buffer;
  dialog.m_ofn.nMaxFile = 16;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(CommDlgExtendedError(), DWORD(FNERR_BUFFERTOOSMALL));
  WORD needed;
  memcpy(&needed, buffer, sizeof needed);
  EXPECT_EQ(needed, strlen("/a/very/long/path/name.png") + 1);
  for (size_t i = 16; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#') << i;
}

TEST_F(FileDialog, LongInitialNameIsCutToTheBuffer) {
  std::string name(400, 'n');
  CFileDialog dialog(TRUE, nullptr, name.c_str());
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(qz::DialogRequests().back().fileName.size(), size_t(_MAX_PATH - 1));
}

TEST_F(FileDialog, ResetForgetsTheResponderAndTheLog) {
  qz::SetDialogResponder([](const qz::DialogRequest&) { return Choose("/a"); });
  AfxResetFramework();
  EXPECT_TRUE(qz::DialogRequests().empty());
  CFileDialog dialog(TRUE);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
