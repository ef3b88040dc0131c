// The thumb wheel of the screw control: a track-bar window drawn from
// pictures, turned by dragging it sideways, by holding one of its two arrow
// buttons or from the keyboard. Its value has no ends: the scale only says
// what one wheel width and one step are worth. Every change is posted to the
// parent as WM_HSCROLL; the owner reads the value back.
#pragma once

#include <cstddef>

#include "afxwin.h"
#include "qzsystem/dib.h"
#include "qzsystem/inputcontrol.h"

namespace qzc {

class ScrewWheel : public CWnd {
 public:
  static constexpr size_t CaptionSize = 64;  // 63 characters and a terminator

  ScrewWheel();
  ~ScrewWheel() override;

  // Remembers the owning control (the parent's first window long), creates
  // the "msctls_trackbar32" window and lets dialog navigation into its
  // children. Whatever class is asked for, the wheel is a track bar.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context) override;

  void SetRange(double lower, double upper, BOOL redraw);
  void SetSteps(long count);
  void SetPage(long count);
  // Stores the value and repaints at once.
  void SetValue(double value);
  double GetValue() const { return Value; }
  // Null clears the caption; a longer text is cut to 63 characters.
  void SetCaption(const char* text);

  InputControl* Owner = nullptr;
  int StripOffset = 0;
  int Dragging = 0;
  int Repeating = 0;
  int DecrementHeld = 0;
  int IncrementHeld = 0;
  double PageFactor = 10.0;
  double Upper = 0.0;
  double Lower = 0.0;
  char Caption[CaptionSize] = "";
  double Value = 0.0;
  int StepDivisor = 1000;
  long DragAnchor = 0;
  int TickCount = 0;
  int Disabled = 0;  // set directly by the owner

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  double Span() const { return Upper - Lower; }
  double Step() const { return Span() / StepDivisor; }
  bool SpanUsable() const;
  long PixelOf(double value) const;
  int OffsetFor(double value) const;
  int StripTop() const;
  bool HitsLeftArrow(long x, long y) const;
  bool HitsRightArrow(long x, long y) const;
  bool HitsWheel(long x, long y) const;
  bool OutOfScale() const;

  void Change(double value, WORD code);
  void StepDown() { Change(Value - Step(), TB_THUMBPOSITION); }
  void StepUp() { Change(Value + Step(), TB_THUMBPOSITION); }
  void StartRepeat();

  void OnLButtonDown(long x, long y);
  void OnMouseMove(long x);
  void OnRepeatTimer();
  bool OnKeyDown(WPARAM key);
  void OnCaptureChanged(HWND newCapture);
  void OnPaint();
  void Compose();
  void DrawCaption();
  LRESULT OnEditColour(HDC hdc, HWND edit);

  HDC MemoryDC = nullptr;
  DIB* Surface = nullptr;  // the off-screen picture, selected into MemoryDC
  HGDIOBJ MemoryPrevious = nullptr;
};

}  // namespace qzc
