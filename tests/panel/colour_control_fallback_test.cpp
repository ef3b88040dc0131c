// The colour control without its background for three rows, and with
// allocations failing: a program of its own, since the module's resources
// are loaded once and kept, and allocations are made to fail here.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/counting_allocator.h"
#include "harness/module.h"
#include "harness/session.h"
#include "harness/viewer.h"
#include "module_fixture.h"
#include "qzplatform/dialogs.h"
#include "qzplatform/driver.h"
#include "qzsystem/resources.h"

namespace qzh {
namespace {

using namespace qzc;
namespace fs = std::filesystem;

constexpr uint32_t BackgroundId = 100122;
constexpr uint32_t BackgroundWithAlphaId = 100019;
constexpr uint32_t FillStripId = 100026;

// The resource store without background 100122 and with a layout of two
// tags, for the whole program.
class StoreWithoutBackground {
 public:
  StoreWithoutBackground() {
    char pattern[] = "/tmp/qz-colour-XXXXXX";
    if (!mkdtemp(pattern)) return;
    Dir = pattern;
    const std::string missing = std::to_string(BackgroundId) + ".png";
    for (const fs::directory_entry& entry : fs::directory_iterator(GetResourceDir()))
      if (entry.path().filename() != missing) fs::copy(entry.path(), Dir / entry.path().filename());
    // A layout that moves only the swatch's left edge and the pick
    // button's top: every other coordinate keeps its built-in value.
    std::ofstream layout(Dir / "100024.tags", std::ios::trunc);
    layout << "0x1000041c 6\n0x10000421 26\n";
    layout.close();
    SetResourceDir(Dir.c_str());
  }
  ~StoreWithoutBackground() {
    SetResourceDir(nullptr);
    std::error_code ignored;
    if (!Dir.empty()) fs::remove_all(Dir, ignored);
  }

 private:
  fs::path Dir;
};

class ColourControlFallbackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Store = std::make_unique<StoreWithoutBackground>(); }
  static void TearDownTestSuite() { Store.reset(); }

  void SetUp() override {
    qz::ResetDialogResponder();
    tool = session.AddTool("Grade");
  }

  InputControl* AddColour(const std::vector<double>& values) {
    for (size_t c = 0; c < values.size(); ++c)
      inputs.push_back(
          session.AddInput(tool, ("Channel " + std::to_string(c)).c_str(), new Number(values[c]), static_cast<int>(c)));
    InputControl* control = session.AddConnectedPanelControl("ColourControl", {}, inputs);
    session.Pump();
    session.ClearWrites();
    return control;
  }

  static std::unique_ptr<StoreWithoutBackground> Store;
  Session session;
  Operator* tool = nullptr;
  std::vector<Input*> inputs;
};

std::unique_ptr<StoreWithoutBackground> ColourControlFallbackTest::Store;

// The full background stands in, shortened by its alpha row, which the fill
// strip covers from row 50 to the bottom, inside a sunken bevel.
TEST_F(ColourControlFallbackTest, WithoutTheThreeRowBackgroundTheStripCoversTheAlphaRow) {
  ResDIB full(BackgroundWithAlphaId, 0);
  ResDIB strip(FillStripId, 0);
  ASSERT_TRUE(full.Load() && strip.Load());
  InputControl* control = AddColour({0.5, 0.5, 0.5});
  ASSERT_NE(control, nullptr);
  const int height = full.Dib->Height - 16;
  EXPECT_EQ(session.OpenedRect(control), CRect(0, 0, 276, height));

  int width = 0, shownHeight = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::CaptureWindow(control->Wnd->m_hWnd, &width, &shownHeight, &pixels));
  ASSERT_EQ(shownHeight, height);
  int covered = 0;
  for (int y = 50; y < height - 2; ++y)
    for (int x = 90; x < 200; ++x) {
      const uint32_t fill = strip.Dib->Bits[(y - 50) % strip.Dib->Height * strip.Dib->Width + x] & 0xffffff;
      const uint32_t under = full.Dib->Bits[y * full.Dib->Width + x] & 0xffffff;
      if (under == fill) continue;
      ++covered;
      EXPECT_EQ(pixels[y * width + x], fill) << x << ", " << y;
    }
  EXPECT_GT(covered, 0);  // the alpha row's groove is there to be covered
  // The bevel's dark outer line along the bottom.
  EXPECT_NE(pixels[(height - 1) * width + 150], strip.Dib->Bits[150] & 0xffffff);
}

TEST_F(ColourControlFallbackTest, TheLayoutResourceOverridesTheBuiltInRectanglesTagByTag) {
  InputControl* control = AddColour({0.5, 0.5, 0.5});
  ASSERT_NE(control, nullptr);
  auto placeOf = [&](int id) {
    HWND child = GetDlgItem(control->Wnd->m_hWnd, id);
    RECT rc;
    GetWindowRect(child, &rc);
    POINT origin{0, 0};
    ClientToScreen(control->Wnd->m_hWnd, &origin);
    return CRect(rc.left - origin.x, rc.top - origin.y, rc.right - origin.x, rc.bottom - origin.y);
  };
  EXPECT_EQ(placeOf(2020), CRect(6, 4, 64, 23));
  EXPECT_EQ(placeOf(2021), CRect(4, 26, 64, 44));
  EXPECT_EQ(placeOf(30102), CRect(224, 18, 274, 34));
}

TEST_F(ColourControlFallbackTest, ACreatorWithoutMemoryReturnsNull) {
  FailNothrowAllocations() = true;
  InputControl* control = CreatePanelControl("ColourControl");
  FailNothrowAllocations() = false;
  EXPECT_EQ(control, nullptr);
}

// Without memory for the input list a pick sends nothing; without memory
// for a value the dialog's colour is not written, and nothing null is.
TEST_F(ColourControlFallbackTest, WithoutMemoryNothingIsSentOrWritten) {
  InputControl* control = AddColour({0.1, 0.2, 0.3});
  ASSERT_NE(control, nullptr);
  Viewer viewer(session.Doc, Viewer::DefaultWidth, Viewer::DefaultHeight, POINT{Session::DefaultPanelWidth + 20, 0});
  session.Pump();
  HWND pick = GetDlgItem(control->Wnd->m_hWnd, 2021);
  POINT over = viewer.PixelOf(0.75, 0.25);
  ClientToScreen(viewer.Window(), &over);
  ScreenToClient(pick, &over);

  qz::InjectMouseAt(pick, WM_LBUTTONDOWN, 10, 10);
  session.Pump();
  FailNothrowAllocations() = true;
  qz::StartRecording();
  qz::InjectMouseAt(pick, WM_MOUSEMOVE, over.x, over.y);
  session.Pump();
  const std::vector<qz::RecordedMessage> messages = qz::StopRecording();
  FailNothrowAllocations() = false;
  qz::InjectMouseAt(pick, WM_RBUTTONDOWN, over.x, over.y);
  session.Pump();
  for (const qz::RecordedMessage& message : messages) EXPECT_NE(message.message, Viewer::PickRequestMessage);
  EXPECT_TRUE(session.Writes().empty());

  qz::SetDialogResponder([](const qz::DialogRequest&) {
    qz::DialogAnswer answer;
    answer.ok = true;
    answer.colour = RGB(255, 255, 255);
    FailNothrowAllocations() = true;
    return answer;
  });
  session.Click(GetDlgItem(control->Wnd->m_hWnd, 2020), 20, 10);
  FailNothrowAllocations() = false;
  EXPECT_EQ(qz::DialogRequests().size(), 1u);
  EXPECT_TRUE(session.Writes().empty());
  EXPECT_DOUBLE_EQ(session.NumberValue(inputs[0]), 0.1);
}

}  // namespace
}  // namespace qzh
