// What the viewer control tests share: a session with one tool, a viewer
// over the sample picture, the user's mouse and keys, the values written,
// and the viewer's pixels, with the platform's own drawing of a figure to
// compare them with.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
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

// The first few pixels where two pictures differ, as "x,y: a/b" in hex;
// empty when they are the same.
inline std::string Differences(const Picture& a, const Picture& b) {
  if (a.Width != b.Width || a.Height != b.Height) return "sizes differ";
  std::string text;
  int shown = 0;
  for (int y = 0; y < a.Height && shown < 8; ++y) {
    for (int x = 0; x < a.Width && shown < 8; ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      char line[64];
      std::snprintf(line, sizeof line, "%d,%d: %06x/%06x ", x, y, a.At(x, y), b.At(x, y));
      text += line;
      ++shown;
    }
  }
  return text;
}

// `base` with `paint` drawn over it by the platform, on a DC in the state a
// viewer's paint starts from.
inline Picture DrawnOver(const Picture& base, const std::function<void(HDC)>& paint) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = base.Width;
  info.bmiHeader.biHeight = -base.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const size_t bytes = base.Pixels.size() * sizeof(uint32_t);
  std::memcpy(bits, base.Pixels.data(), bytes);
  paint(dc);
  Picture drawn = base;
  std::memcpy(drawn.Pixels.data(), bits, bytes);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
  return drawn;
}

class ViewerControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPrefs();
    tool = session.AddTool("Transform");
    session.Pump();
    bare = Capture();
  }
  void TearDown() override {
    qz::SetKeyDown(VK_SHIFT, false);
    qz::SetKeyDown(VK_CONTROL, false);
    ResetPrefs();
  }

  Input* AddPoint(const char* name, float x, float y) { return session.AddInput(tool, name, new Point(x, y)); }
  // A number input connected to its viewer control under `viewerIndex`.
  Input* AddNumber(const char* name, double value, uint32_t viewerIndex = 0) {
    return session.AddInput(tool, name, new Number(value), 0,
                            TagList{{ViewerIndexTag, static_cast<intptr_t>(viewerIndex)}});
  }
  PreviewControl* AddControl(const char* className, std::vector<Input*> inputs, const TagList& tags = {}) {
    PreviewControl* control = viewer.AddViewerControl(className, std::move(inputs), tags);
    session.Pump();
    return control;
  }
  std::pair<float, float> PointOf(Input* input) {
    AutoParameter value(input->GetValue(session.Doc.CurrentTime));
    if (!value || value->ID != Point::ClassID) return {NAN, NAN};
    auto* point = static_cast<Point*>(value.Get());
    return {point->X, point->Y};
  }
  double NumberOf(Input* input) { return session.NumberValue(input); }
  // Sets `value` (taken over) as the input's value at the current time, as
  // the host does when something else changes it.
  void SetValue(Input* input, Parameter* value) {
    AutoParameter held(value);
    input->SetValue(value, session.Doc.CurrentTime, 1);
  }
  void SetPoint(Input* input, float x, float y) { SetValue(input, new Point(x, y)); }
  void SetNumber(Input* input, double value) { SetValue(input, new Number(value)); }

  Picture Capture() {
    session.Pump();
    Picture picture;
    qz::CaptureWindow(viewer.Window(), &picture.Width, &picture.Height, &picture.Pixels);
    return picture;
  }
  // The viewer painted afresh.
  Picture Fresh() {
    viewer.Repaint();
    return Capture();
  }
  bool ViewerNeedsPaint() {
    RECT rc;
    return GetUpdateRect(viewer.Window(), &rc, FALSE) != 0;
  }
  POINT At(double x, double y) const { return viewer.PixelOf(x, y); }
  static POINT Offset(POINT p, int dx, int dy) { return POINT{p.x + dx, p.y + dy}; }
  // The normalised position of a viewer pixel's centre, as the pointer has it.
  std::pair<float, float> PositionOf(POINT p) {
    return {viewer.Info().TransformXIn(p.x), viewer.Info().TransformYIn(p.y)};
  }
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
  // A key pressed on the focused viewer, with Shift and Ctrl held as asked.
  void PressKey(int key, bool shift = false, bool ctrl = false) {
    viewer.Focus();
    qz::SetKeyDown(VK_SHIFT, shift);
    qz::SetKeyDown(VK_CONTROL, ctrl);
    qz::PressKey(key);
    qz::SetKeyDown(VK_SHIFT, false);
    qz::SetKeyDown(VK_CONTROL, false);
    session.Pump();
  }
  // Pixels that differ between two pictures of the viewer.
  static int DifferentPixels(const Picture& a, const Picture& b) {
    int count = 0;
    for (size_t i = 0; i < a.Pixels.size() && i < b.Pixels.size(); ++i) count += a.Pixels[i] != b.Pixels[i];
    return count;
  }
  // The inputs written since the last ClearWrites, by name.
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
