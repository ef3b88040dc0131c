#include <cstdio>
#include <fstream>
#include <sstream>

#include "afx_fixture.h"

using afxtest::AfxTest;

namespace {

class Profile : public AfxTest {
 protected:
  void SetUp() override {
    AfxTest::SetUp();
    path = ::testing::TempDir() + "afx_profile_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
           ".ini";
    std::remove(path.c_str());
  }
  void TearDown() override {
    std::remove(path.c_str());
    AfxTest::TearDown();
  }

  std::string FileText() const {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  void WriteFileText(const std::string& text) const { std::ofstream(path) << text; }

  std::string path;
};

TEST_F(Profile, ValuesSurviveANewApplicationObject) {
  {
    CWinApp app("writer");
    app.SetProfilePath(path.c_str());
    EXPECT_TRUE(app.WriteProfileString("Defaults", "Last File", "/clips/shot 01.png"));
    EXPECT_TRUE(app.WriteProfileInt("Defaults", "Count", -12));
  }
  CWinApp app("reader");
  app.SetProfilePath(path.c_str());
  EXPECT_EQ(app.GetProfileString("Defaults", "Last File"), "/clips/shot 01.png");
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("Defaults", "Count", 5)), -12);
  EXPECT_EQ(FileText(), "[Defaults]\nLast File=/clips/shot 01.png\nCount=-12\n");
}

TEST_F(Profile, SectionsAndKeysIgnoreCase) {
  CWinApp app;
  app.SetProfilePath(path.c_str());
  app.WriteProfileString("Defaults", "Last File", "a");
  app.WriteProfileString("DEFAULTS", "last file", "b");
  EXPECT_EQ(app.GetProfileString("defaults", "LAST FILE"), "b");
  EXPECT_EQ(FileText(), "[Defaults]\nLast File=b\n");
}

TEST_F(Profile, NullValueDeletesKeyAndNullKeyDeletesSection) {
  CWinApp app;
  app.SetProfilePath(path.c_str());
  app.WriteProfileString("One", "a", "1");
  app.WriteProfileString("One", "b", "2");
  app.WriteProfileString("Two", "c", "3");
  EXPECT_TRUE(app.WriteProfileString("One", "a", nullptr));
  EXPECT_TRUE(app.WriteProfileString("Two", nullptr, nullptr));
  app.SetProfilePath(path.c_str());
  EXPECT_EQ(app.GetProfileString("One", "a", "gone"), "gone");
  EXPECT_EQ(app.GetProfileString("One", "b"), "2");
  EXPECT_EQ(app.GetProfileString("Two", "c", "gone"), "gone");
  EXPECT_EQ(FileText(), "[One]\nb=2\n");
}

TEST_F(Profile, MissingFileIsAnEmptyProfile) {
  CWinApp app;
  app.SetProfilePath(path.c_str());
  EXPECT_EQ(app.GetProfileString("Defaults", "Last File", "fallback"), "fallback");
  EXPECT_EQ(app.GetProfileString("Defaults", "Last File"), "");
  EXPECT_EQ(app.GetProfileInt("Defaults", "Count", 42), 42u);
}

TEST_F(Profile, ValueEndsAtTheFirstLineBreak) {
  CWinApp app;
  app.SetProfilePath(path.c_str());
  app.WriteProfileString("S", "k", "first\n[Injected]\nx=1");
  app.SetProfilePath(path.c_str());
  EXPECT_EQ(app.GetProfileString("S", "k"), "first");
  EXPECT_EQ(app.GetProfileString("Injected", "x", "none"), "none");
}

TEST_F(Profile, IntegersReadAsThePlatformDoes) {
  WriteFileText("[N]\nneg=-7\nhex=0x1F\ntrailing=12px\nword=abc\nempty=\n");
  CWinApp app;
  app.SetProfilePath(path.c_str());
  EXPECT_EQ(static_cast<int>(app.GetProfileInt("N", "neg", 0)), -7);
  EXPECT_EQ(app.GetProfileInt("N", "hex", 0), 31u);
  EXPECT_EQ(app.GetProfileInt("N", "trailing", 0), 12u);
  EXPECT_EQ(app.GetProfileInt("N", "word", 9), 0u);
  EXPECT_EQ(app.GetProfileInt("N", "empty", 9), 9u);
}

TEST_F(Profile, UnwritableFileLeavesTheProfileUnchanged) {
  CWinApp app;
  std::string unwritable = ::testing::TempDir() + "no_such_dir_for_afx/profile.ini";
  app.SetProfilePath(unwritable.c_str());
  EXPECT_FALSE(app.WriteProfileString("S", "k", "v"));
  EXPECT_EQ(app.GetProfileString("S", "k", "unset"), "unset");
}

TEST_F(Profile, CommentsAndSpacingOfTheFileAreKept) {
  WriteFileText("; settings\n[Defaults]\n  Last File = /a.png  \n; keep me\n");
  CWinApp app;
  app.SetProfilePath(path.c_str());
  EXPECT_EQ(app.GetProfileString("Defaults", "Last File"), "/a.png");
  app.WriteProfileString("Defaults", "Other", "x");
  EXPECT_EQ(FileText(), "; settings\n[Defaults]\nLast File=/a.png\n; keep me\nOther=x\n");
}

TEST_F(Profile, WithoutAPathTheProfileLivesInMemory) {
  CWinApp app;
  EXPECT_TRUE(app.WriteProfileString("S", "k", "v"));
  EXPECT_EQ(app.GetProfileString("S", "k"), "v");
}

}  // namespace
