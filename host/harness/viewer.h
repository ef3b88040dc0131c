// The reference host's viewer: a window showing a picture from the resource
// store with viewer controls drawn over it, turning mouse presses, moves,
// releases and arrow keys into the controls' operations as the host does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qzsystem/document.h"
#include "qzsystem/input.h"
#include "qzsystem/previewcontrol.h"
#include "qzsystem/previewinfo.h"
#include "qzsystem/previewview.h"
#include "qzsystem/resources.h"
#include "qzsystem/taglist.h"
#include "windows.h"

namespace qzh {

class ViewerWnd;

// A new viewer control through its registration; null when the class is not
// registered, is not a viewer control, or its creator fails.
PreviewControl* CreateViewerControl(const char* className);

// How the viewer behaves as a host:
// - It paints the picture, then DrawControls(hdc, info, 0) of every active
//   control in the order they were added.
// - A press goes to one control: the first active control, in that order,
//   that answers command 7 (the input under the pointer). A press that no
//   control answers goes to none.
// - The pressed control gets the press, every move and the release, all
//   with one viewer DC taken at the press and released after the release,
//   and the pointer in PreviewInfo. Losing the capture ends the press as a
//   release.
// - When a press starts a drag (DragMode non-zero after ControlDown), the
//   viewer repaints at once, so the dragged figure is drawn again in XOR
//   over the clean picture and the control's next move can rub it out.
// - Arrow keys go as command 4 to the control that took the last press
//   while it stays active, else to the first active control.
// - It answers a colour control's pick: 5147 (lParam a client point) marks
//   where it will pick, until the pointer next moves over the viewer freely;
//   5149 (wParam a List of the control's inputs, lParam the point) sets each
//   input of channel 0..3 to the red, green, blue or alpha of the picture's
//   pixel under the point, deletes the list and answers 0. Other lists (a
//   swatch dropped here, 5148) are not taken: it answers 1.
// - The viewer is owned by the application's main window when there is one,
//   as a window of the application.
class Viewer {
 public:
  static constexpr int DefaultWidth = 400;
  static constexpr int DefaultHeight = 300;
  static constexpr uint32_t SamplePicture = 200000;
  static constexpr COLORREF Background = RGB(32, 32, 32);
  static constexpr COLORREF HandleColour = RGB(255, 200, 0);
  static constexpr UINT PickShowMessage = 5147;
  static constexpr UINT CopyColourMessage = 5148;
  static constexpr UINT PickRequestMessage = 5149;

  // A viewer window of width x height client pixels at a screen position,
  // showing the picture at zoom 1, centred. Destroy it before the platform
  // is reset (before the session).
  explicit Viewer(CPipelineDoc& doc, int width = DefaultWidth, int height = DefaultHeight, POINT screen = {320, 0},
                  uint32_t picture = SamplePicture);
  ~Viewer();
  Viewer(const Viewer&) = delete;
  Viewer& operator=(const Viewer&) = delete;

  // Creates a control through its registration, gives it the document and
  // the view, connects `inputs`, applies the attributes (with the document
  // in 0x10040008) and activates it. The viewer owns it.
  PreviewControl* AddViewerControl(const char* className, std::vector<Input*> inputs, const TagList& attributes = {});
  void ApplyAttributes(PreviewControl* control, const TagList& attributes);
  // Deletes a control as the host does when the viewer closes it.
  void RemoveViewerControl(PreviewControl* control);
  const std::vector<PreviewControl*>& Controls() const { return Shown; }

  HWND Window() const;
  PreviewInfo& Info() { return ViewInfo; }
  bool HasPicture() const { return PictureDC != nullptr; }
  // Zoom and pan (viewer pixels) of the picture; the viewer is redrawn.
  // Both are held to what the viewer can show: the picture at most
  // MaxShownExtent pixels across and at least one, panned at most
  // MaxShownExtent pixels; a zoom that is not a positive number is 1 and a
  // pan that is not a number is 0.
  void SetZoom(float zoom, float panX = 0.0f, float panY = 0.0f);
  static constexpr float MaxShownExtent = 1 << 20;
  float Zoom() const { return ZoomFactor; }
  float PanXOf() const { return PanX; }
  float PanYOf() const { return PanY; }
  // The viewer pixel of a normalised image position.
  POINT PixelOf(double x, double y) const;

  // The host's question: the input under a client point, or null.
  Input* InputAt(POINT at);
  // The control of the press in progress, or null.
  PreviewControl* Pressed() const { return PressedControl; }
  // The DC of the press in progress, or null.
  HDC DragDC() const { return PressDC; }

  void Focus();
  // Invalidates everything and paints it now.
  void Repaint();
  bool SavePng(const std::string& path);

  // The picture's pixel (0xAARRGGBB) shown at a client point; false outside it.
  bool PixelAt(POINT at, uint32_t* pixel) const;
  // Where the pick mark is shown; false when there is none.
  bool PickMark(POINT* at) const;
  // The context menu of a right-click at a client point (a right button
  // release): every active control adds its entries (AddToMenu) to one top
  // menu, which is shown unless empty; the chosen entry goes to the object
  // that added it (HandleMenu) and the viewer is redrawn. Returns that
  // object's answer, 0 when nothing was chosen.
  uint32_t ShowContextMenu(POINT at);
  // The frame holding the viewer; a host puts its flow view there
  // (CChildFrame::FlowView), where tool overlay controls announce their tool.
  CChildFrame& Frame() { return ViewFrame; }

 private:
  friend class ViewerWnd;

  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnButtonDown(int x, int y);
  void OnMouseMove(int x, int y);
  void OnButtonUp(int x, int y);
  void OnKeyDown(WPARAM key);
  void ShowPickMark(POINT at);
  void HidePickMark();
  LRESULT OnPickRequest(List* inputs, POINT at);
  void DrawPickMark(HDC hdc);
  void EndPress(bool release);
  void DrawPicture(HDC hdc);
  void Relayout();
  PreviewControl* ControlAt(HDC hdc, Input** input);
  PreviewControl* KeyTarget() const;
  bool IsShown(const PreviewControl* control) const;

  CPipelineDoc& Doc;
  std::unique_ptr<ViewerWnd> Wnd;
  std::vector<PreviewControl*> Shown;
  PreviewInfo ViewInfo;
  ResDIB Picture;
  HDC PictureDC = nullptr;
  HGDIOBJ PictureDCBitmap = nullptr;
  HPEN HandlePen = nullptr;
  float ZoomFactor = 1.0f;
  float PanX = 0.0f;
  float PanY = 0.0f;
  PreviewControl* PressedControl = nullptr;
  PreviewControl* LastPressed = nullptr;
  HDC PressDC = nullptr;
  bool PickMarkShown = false;
  POINT PickPoint{};
  CChildFrame ViewFrame;
};

}  // namespace qzh
