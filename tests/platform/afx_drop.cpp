#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "afx_fixture.h"
#include "qzplatform/shell.h"

using afxtest::AfxTest;
using afxtest::LoggingWnd;

namespace {

class DropTarget : public LoggingWnd {
 public:
  using LoggingWnd::LoggingWnd;
  HDROP drop = nullptr;
  int drops = 0;
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_DROPFILES) {
      drop = reinterpret_cast<HDROP>(wParam);
      ++drops;
      return 0;
    }
    return LoggingWnd::WindowProc(msg, wParam, lParam);
  }
};

class FileDrop : public AfxTest {
 protected:
  void SetUp() override {
    AfxTest::SetUp();
    ASSERT_TRUE(panel.CreateTop());
    ASSERT_TRUE(field.CreateChild(&panel, 5, RECT{20, 30, 120, 60}));
  }

  DropTarget panel{"panel"};
  DropTarget field{"field"};
};

TEST_F(FileDrop, GoesToTheNearestAncestorThatAcceptsFiles) {
  panel.DragAcceptFiles();
  EXPECT_TRUE(panel.GetExStyle() & WS_EX_ACCEPTFILES);
  EXPECT_TRUE(qz::DropFiles(field.m_hWnd, POINT{5, 6}, {"/clips/a.png"}));
  EXPECT_EQ(panel.drops, 0);
  qz::Pump();
  EXPECT_EQ(panel.drops, 1);
  EXPECT_EQ(field.drops, 0);
  POINT point{};
  EXPECT_TRUE(DragQueryPoint(panel.drop, &point));
  EXPECT_EQ(point.x, 25);
  EXPECT_EQ(point.y, 36);
  DragFinish(panel.drop);
}

TEST_F(FileDrop, NothingIsPostedWithoutAcceptFiles) {
  EXPECT_FALSE(qz::DropFiles(field.m_hWnd, POINT{1, 1}, {"/a"}));
  panel.DragAcceptFiles();
  panel.DragAcceptFiles(FALSE);
  EXPECT_FALSE(qz::DropFiles(field.m_hWnd, POINT{1, 1}, {"/a"}));
  qz::Pump();
  EXPECT_EQ(panel.drops + field.drops, 0);
}

TEST_F(FileDrop, QueriesCountLengthsAndCopiesWithinTheBuffer) {
  field.DragAcceptFiles();
  ASSERT_TRUE(qz::DropFiles(field.m_hWnd, POINT{0, 0}, {"/clips/first.png", "/b"}));
  qz::Pump();
  HDROP drop = field.drop;
  EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(DragQueryFileA(drop, 0, nullptr, 0), 16u);
  char buffer[8];
  memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(DragQueryFileA(drop, 0, buffer, 5), 4u);
  EXPECT_STREQ(buffer, "/cli");
  EXPECT_EQ(buffer[5], '#');
  EXPECT_EQ(DragQueryFileA(drop, 1, buffer, sizeof buffer), 2u);
  EXPECT_STREQ(buffer, "/b");
  EXPECT_EQ(DragQueryFileA(drop, 2, buffer, sizeof buffer), 0u);
  EXPECT_EQ(DragQueryFileA(drop, 0, buffer, 0), 0u);
  DragFinish(drop);
}

TEST_F(FileDrop, FinishedHandleFailsSafely) {
  field.DragAcceptFiles();
  ASSERT_TRUE(qz::DropFiles(field.m_hWnd, POINT{0, 0}, {"/a"}));
  qz::Pump();
  DragFinish(field.drop);
  char buffer[8] = "keep";
  POINT point{7, 7};
  EXPECT_EQ(DragQueryFileA(field.drop, 0xFFFFFFFF, nullptr, 0), 0u);
  EXPECT_EQ(DragQueryFileA(field.drop, 0, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "keep");
  EXPECT_FALSE(DragQueryPoint(field.drop, &point));
  DragFinish(field.drop);
  EXPECT_EQ(DragQueryFileA(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
}

TEST_F(FileDrop, ResetFreesUnfinishedHandles) {
  field.DragAcceptFiles();
  ASSERT_TRUE(qz::DropFiles(field.m_hWnd, POINT{0, 0}, {"/a"}));
  qz::Pump();
  AfxResetFramework();
  EXPECT_EQ(DragQueryFileA(field.drop, 0xFFFFFFFF, nullptr, 0), 0u);
}

class FileStatus : public ::testing::Test {};

TEST_F(FileStatus, ReportsSizeTimeAndAbsoluteName) {
  std::string path = ::testing::TempDir() + "afx_status_file.bin";
  std::ofstream(path) << "12345";
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
  EXPECT_EQ(status.m_size, 5u);
  EXPECT_EQ(status.m_mtime.GetTime(), info.st_mtime);
  EXPECT_EQ(status.m_szFullName[0], '/');
  EXPECT_FALSE(status.m_attribute & CFile::directory);
  std::remove(path.c_str());
}

TEST_F(FileStatus, DirectoriesAreMarked) {
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus(::testing::TempDir().c_str(), status));
  EXPECT_TRUE(status.m_attribute & CFile::directory);
}

TEST_F(FileStatus, MissingPathFails) {
  CFileStatus status;
  EXPECT_FALSE(CFile::GetStatus("/no/such/afx/file", status));
  EXPECT_EQ(status.m_szFullName[0], '\0');
  EXPECT_FALSE(CFile::GetStatus(nullptr, status));
}

TEST_F(FileStatus, NameLongerThanTheRecordFailsCleanly) {
  std::string dir = ::testing::TempDir() + std::string(130, 'd');
  std::string deeper = dir + "/" + std::string(130, 'e');
  ::mkdir(dir.c_str(), 0700);
  ::mkdir(deeper.c_str(), 0700);
  CFileStatus status;
  EXPECT_FALSE(CFile::GetStatus(deeper.c_str(), status));
  EXPECT_EQ(status.m_szFullName[0], '\0');
  ::rmdir(deeper.c_str());
  ::rmdir(dir.c_str());
}

}  // namespace
