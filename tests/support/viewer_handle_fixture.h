// A session with one tool and a viewer showing the sample picture, for tests
// of viewer handles: pointer presses, moves and releases on the viewer,
// pixel captures and input values.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "harness/session.h"
#include "harness/viewer.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/prefs.h"

namespace qzh {

constexpr uint32_t HandlePixel = 0xffc800;  // Viewer::HandleColour as a surface pixel
constexpr uint32_t Inverted = 0xffffff;     // what the white XOR pen does to a pixel

struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  uint32_t At(POINT p) const { return At(p.x, p.y); }
};

class ViewerHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPrefs();
    tool = session.AddTool("Effect");
    session.Pump();
    bare = Capture();
  }
  void TearDown() override {
    qz::SetKeyDown(VK_SHIFT, false);
    qz::SetKeyDown(VK_CONTROL, false);
    ResetPrefs();
  }

  Input* AddPoint(const char* name, float x, float y) { return session.AddInput(tool, name, new Point(x, y)); }
  // A Number input connected to its viewer control under `viewerIndex`.
  Input* AddNumber(const char* name, double value, int viewerIndex = 0) {
    return session.AddInput(tool, name, new Number(value), 0, TagList{{ViewerIndexTag, viewerIndex}});
  }
  double NumberOf(Input* input) { return session.NumberValue(input); }
  void SetNumber(Input* input, double value) {
    AutoNumber number(new Number(value));
    input->SetValue(number, session.Doc.CurrentTime, 1);
  }
  void SetPoint(Input* input, float x, float y) {
    AutoParameter point(new Point(x, y));
    input->SetValue(point, session.Doc.CurrentTime, 1);
  }

  Picture Capture() {
    session.Pump();
    Picture picture;
    qz::CaptureWindow(viewer.Window(), &picture.Width, &picture.Height, &picture.Pixels);
    return picture;
  }
  bool ViewerNeedsPaint() {
    RECT rc;
    return GetUpdateRect(viewer.Window(), &rc, FALSE) != 0;
  }
  POINT At(double x, double y) const { return viewer.PixelOf(x, y); }
  static POINT Offset(POINT p, int dx, int dy) { return POINT{p.x + dx, p.y + dy}; }
  void Press(POINT p) {
    qz::InjectMouseAt(viewer.Window(), WM_LBUTTONDOWN, p.x, p.y);
    session.Pump();
  }
  void MoveTo(POINT p) {
    qz::InjectMouseAt(viewer.Window(), WM_MOUSEMOVE, p.x, p.y);
    session.Pump();
  }
  void Release(POINT p) {
    qz::InjectMouseAt(viewer.Window(), WM_LBUTTONUP, p.x, p.y);
    session.Pump();
  }
  void Drag(POINT from, POINT to, int steps = 4) { session.Drag(viewer.Window(), from, to, steps); }
  void PressKey(int key, bool shift = false, bool ctrl = false) {
    viewer.Focus();
    qz::SetKeyDown(VK_SHIFT, shift);
    qz::SetKeyDown(VK_CONTROL, ctrl);
    qz::PressKey(key);
    qz::SetKeyDown(VK_SHIFT, false);
    qz::SetKeyDown(VK_CONTROL, false);
    session.Pump();
  }
  // The normalised position of a viewer pixel's centre, as a drag sends it.
  std::pair<float, float> PositionOf(POINT p) {
    return {viewer.Info().TransformXIn(p.x), viewer.Info().TransformYIn(p.y)};
  }
  // Pixels that differ between two pictures of the viewer.
  static int DifferentPixels(const Picture& a, const Picture& b) {
    int count = 0;
    for (size_t i = 0; i < a.Pixels.size() && i < b.Pixels.size(); ++i) count += a.Pixels[i] != b.Pixels[i];
    return count;
  }
  std::vector<std::string> WrittenInputs() const {
    std::vector<std::string> names;
    for (const Write& write : session.Writes()) names.push_back(write.Input);
    return names;
  }

  Session session;
  Viewer viewer{session.Doc};
  Operator* tool = nullptr;
  Picture bare;  // the viewer without controls
};

}  // namespace qzh
