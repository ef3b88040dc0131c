// The horizontal slider of the slider and colour controls: a track-bar
// window that draws only a thumb picture over a snapshot of its parent's
// background and reports every value change to its parent as a posted
// WM_HSCROLL.
#pragma once

#include "afxwin.h"
#include "qzsystem/dib.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/resources.h"

namespace qzc {

class SliderWindow : public CWnd {
 public:
  SliderWindow();
  ~SliderWindow() override;

  // Remembers the owning control (the parent's first window long), creates
  // the "msctls_trackbar32" window and lets dialog navigation into its
  // children. Whatever class is asked for, the slider is a track bar.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context) override;

  void SetTrackRect(const RECT& rect);
  // Null selects the window's own thumb picture.
  void SetThumbImage(ResDIB* image);
  void SetRange(double min, double max, BOOL redraw);
  void SetValue(double value, BOOL redraw);
  void SetDefault(double value);
  void SetSteps(double count);
  void SetPages(double count);
  void SetInteger(long flag) { Integer = flag; }
  void SetDisabled(long flag);
  void SetSnap(long flag) { SnapOn = flag; }
  double Snap(double value) const;

  InputControl* Owner = nullptr;
  long Captured = 0;
  long Repeating = 0;
  double Value = 0.0;
  long DraggingThumb = 0;
  long PagingDown = 0;
  long PagingUp = 0;
  long Integer = 0;
  long Disabled = 0;
  long SnapOn = 0;
  double Min = 0.0;
  double Max = 0.0;
  long GrabX = 0;
  long LastX = 0;
  long Moved = 0;
  long GestureStart = 0;
  double StepLow = 0.0;
  double StepHigh = 0.0;
  double PageLow = 0.0;
  double PageHigh = 0.0;
  double DefaultValue = 0.0;
  long HasDefault = 0;
  double StartValue = 0.0;
  double StepCount = 1001.0;
  double PageCount = 0.0;
  long RepeatDelay = 0;
  long ThumbX = -1;
  long TrackTop = 3;
  long TrackLeft = 24;
  long TrackRight = 201;
  long TrackBottom = 3;
  long TrackWidth = 178;
  long TrackCentre = 113;
  long ThumbOffset = 0;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  const DIB* ThumbPicture() const { return Thumb ? Thumb->Dib : nullptr; }
  long ThumbWidth() const;
  long ThumbHeight() const;
  long PixelOf(double value) const;
  double ValueAtPointer(long x) const;
  long ThumbLeftOf(double value) const { return PixelOf(value) - ThumbWidth() / 2; }
  CRect ThumbRect(long left) const;
  bool HitsThumb(long x, long y) const;
  CRect Band() const;
  void SizesFor(double count, double* low, double* high) const;

  void SetValueNotify(double value);
  void StepDown(bool page, bool pointerCheck);
  void StepUp(bool page, bool pointerCheck);
  void MoveThumb();

  void OnLButtonDown(long x, long y);
  void OnMouseMove(long x);
  void OnLButtonUp(long x);
  bool OnRButtonDown(long x);
  void OnRepeatTimer();
  bool OnKeyDown(WPARAM key, LPARAM flags);
  void OnKeyUp(WPARAM key);
  void OnCaptureChanged(HWND newCapture);
  void OnPaint();
  LRESULT OnEditColour(HDC hdc, HWND edit);

  void RefreshSnapshot(const CRect& client);
  void TakeSnapshot(HWND parent, const CRect& client, const CRect& inParent, long top, long bottom);
  void ReleaseOffscreen();
  void ReleaseBackground();

  HDC MemoryDC = nullptr;
  HGDIOBJ MemoryPrevious = nullptr;
  DIB* Offscreen = nullptr;
  HDC BackgroundDC = nullptr;
  DIB* Background = nullptr;
  HGDIOBJ BackgroundPrevious = nullptr;
  ResDIB* Thumb = nullptr;
  CRect CachedRect{-1, -1, -1, -1};
  long CachedThumbWidth = -1;
  // The client rows the off-screen pictures hold: the thumb's rows, within
  // the client area.
  long PictureTop = -1;
  long PictureBottom = -1;
};

}  // namespace qzc
