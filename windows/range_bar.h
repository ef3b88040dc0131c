// The two-ended bar of the range control: an outer range drawn as a bar with
// a selected interval on it (inner markers, end handles, repeat marks and up
// to five texts). The user drags either end or the whole interval, steps it
// by clicking beside it, or moves it with the keys; every change is posted
// to the parent as WM_HSCROLL with the gesture's phase in the high word.
#pragma once

#include "afxwin.h"
#include "qzsystem/dib.h"
#include "qzsystem/inputcontrol.h"

namespace qzc {

// The five texts the bar prints.
enum class RangeText { LowInner, Span, HighInner, LowLabel, HighLabel, Count };

// Phases in the high word of the bar's WM_HSCROLL.
constexpr WORD PhaseDuring = 0;
constexpr WORD PhaseStart = 1;
constexpr WORD PhaseEnd = 2;

class RangeBar : public CWnd {
 public:
  static constexpr int TextSize = 128;  // 127 characters and the terminator

  RangeBar();
  ~RangeBar() override;

  // Remembers the owning control (the parent's first window long) and
  // creates the window in the bar's own class, whatever class is asked for.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context) override;

  void SetRange(double lowest, double highest, BOOL redraw);
  void SetSelection(double low, double high, BOOL redraw);
  void SetLow(double low, BOOL redraw);
  void SetHigh(double high, BOOL redraw);
  void SetSteps(double count);
  void SetInteger(long flag) { Integer = flag; }
  void SetRepeatMarks(long flag, double limit);
  void SetDisabled(long flag) { Disabled = flag; }
  void SetInnerLow(double offset) { InnerLow = offset; }
  void SetInnerHigh(double offset) { InnerHigh = offset; }
  void SetShowHandles(long flag) { ShowHandles = flag; }
  void SetKeepSpan(long flag) { KeepSpan = flag; }
  // Copies at most 127 characters; null is taken as "".
  void SetText(RangeText which, const char* text);
  const char* GetText(RangeText which) const { return Texts[static_cast<int>(which)]; }
  // Invalidates everything the bar draws, without erasing.
  void Redraw();

  InputControl* Owner = nullptr;
  long ShowHandles = 1;
  long KeepSpan = 0;
  long Dragging = 0;
  long Repeating = 0;
  long HandleRowOffset = 0;
  double Low = 0.0;
  double High = 0.0;
  long Integer = 0;
  long RepeatMarks = 0;
  long Disabled = 0;
  double Lowest = 0.0;
  double Highest = 0.0;
  double Step = 10.0;
  double InnerLow = 0.0;
  double InnerHigh = 0.0;
  double RepeatLimit = 0.0;
  long Symmetric = 0;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  enum class Zone { None, LowEnd, HighEnd, Body, StepLeft, StepRight };

  // Geometry, shared by painting and input.
  long XOf(double value) const;
  double ValueAt(long x) const;
  long LowX() const;
  long HighX() const;
  long HandleHeight() const;
  Zone ZoneAt(long x, long y) const;

  // Gestures.
  void Notify(double low, double high);
  void StepOnce();
  void FollowPointer(long x, bool final);
  void StartSymmetric();
  void SetCursorFor(Zone zone) const;

  void OnLButtonDown(long x, long y);
  void OnMouseMove(long x, long y, WPARAM keys, bool final);
  void OnLButtonUp(long x, long y);
  bool OnRButtonDown(long x, long y);
  void OnRepeatTimer();
  bool OnKeyDown(WPARAM key, LPARAM flags);
  void OnKeyUp(WPARAM key);
  void OnCaptureChanged(HWND newCapture);
  void OnPaint();
  LRESULT OnEditColour(HDC hdc, HWND edit);

  // Painting.
  void PaintSelection();
  void PaintRepeatMarks();
  void PaintHandles();
  void PaintTexts();

  Zone Mode = Zone::None;
  char Texts[static_cast<int>(RangeText::Count)][TextSize] = {};
  long PressOffset = 0;
  long LastX = 0;
  long Moved = 0;
  long StartPhase = 0;
  long EndPhase = 0;
  long ClickX = 0;
  double LowAtPress = 0.0;
  double HighAtPress = 0.0;
  long RepeatDelay = 0;
  double Centre = 0.0;
  double HalfSpan = 0.0;

  const DIB* Background = nullptr;
  const DIB* LeftHandle = nullptr;
  const DIB* RightHandle = nullptr;
  HDC MemoryDC = nullptr;
  DIB* Surface = nullptr;
  HGDIOBJ MemoryPrevious = nullptr;
};

}  // namespace qzc
