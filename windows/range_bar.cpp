#include "windows/range_bar.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "frame/layout.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/startup.h"
#include "frame/tags.h"
#include "qzsystem/document.h"
#include "qzsystem/resources.h"

namespace qzc {
namespace {

constexpr uint32_t BackgroundId = 100010;
constexpr uint32_t LeftHandleId = 100011;
constexpr uint32_t RightHandleId = 100012;
constexpr uint32_t InnerSelectionId = 100013;
constexpr uint32_t EndSelectionId = 100014;
constexpr uint32_t RepeatMarkId = 100015;
constexpr uint32_t OtherRepeatMarkId = 100016;
constexpr uint32_t EditColourId = 100112;
constexpr uint32_t TextColourId = 100018;
constexpr uint32_t LayoutId = 100017;

constexpr WORD BodyCursor = 275;
constexpr WORD LowEndCursor = 276;
constexpr WORD HighEndCursor = 277;

constexpr UINT_PTR RepeatTimer = 101;
constexpr UINT RepeatPeriod = 70;
constexpr long RepeatTicksBeforeFirst = 3;
constexpr double PageFactor = 10.0;  // Page Up and Page Down move ten steps
// An empty outer range still spreads values apart, by this factor.
constexpr double EmptyRangeScale = 1e8;
constexpr LPARAM AutoRepeatBit = LPARAM(1) << 30;
// Without its background picture the bar keeps the usual size and the
// panel colour.
constexpr int FallbackWidth = 276;
constexpr int FallbackHeight = 34;
constexpr uint32_t PanelPixel = 0xff404040;

// Client coordinates shared by every bar: set at start-up, then once from
// the layout resource by the first construction.
RECT BarRect;
RECT NumberRect;
RECT LowLabelRect;
RECT HighLabelRect;

constexpr RECT BarDefault{62, 2, 213, 17};
constexpr RECT NumberDefault{72, 15, 203, 31};
constexpr RECT LowLabelDefault{7, 18, 138, 31};
constexpr RECT HighLabelDefault{139, 18, 269, 31};

void LoadClassLayout() {
  if (const TagList* layout = NewlyLoadedLayout(Unit::RangeBarWindow, LayoutId)) {
    BarRect = LayoutRect(*layout, tag::RangeBarLayout, BarDefault);
    LowLabelRect = LayoutRect(*layout, tag::RangeLowLabelLayout, LowLabelDefault);
    HighLabelRect = LayoutRect(*layout, tag::RangeHighLabelLayout, HighLabelDefault);
    NumberRect = LayoutRect(*layout, tag::RangeNumberLayout, NumberDefault);
  }
}

const DIB* Picture(uint32_t id) {
  ResDIB* res = UnitDIB(Unit::RangeBarWindow, id);
  return res && res->Load() ? res->Dib : nullptr;
}

long Width(const DIB* picture) {
  return picture ? picture->Width : 0;
}
long Height(const DIB* picture) {
  return picture ? picture->Height : 0;
}

// Conversions to pixels truncate; values far outside the bar are held to a
// range no window reaches, so NaN and infinities stay harmless.
long Truncate(double value) {
  if (std::isnan(value)) return 0;
  if (value > 1e9) return 1000000000;
  if (value < -1e9) return -1000000000;
  return static_cast<long>(value);
}

// Repeats a picture across the columns left..right (inclusive) at `top`.
void Tile(DIB* surface, const DIB* piece, long left, long right, long top) {
  if (!surface || !piece || piece->Width <= 0) return;
  left = std::max(left, 0L);
  right = std::min(right, static_cast<long>(surface->Width) - 1);
  for (long x = left; x <= right; x += piece->Width)
    surface->Merge(piece, x, top, 0, 0, std::min<long>(piece->Width, right + 1 - x), piece->Height);
}

HCURSOR CursorOf(WORD id) {
  return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}

}  // namespace

void RangeBarLayout() {
  BarRect = BarDefault;
  NumberRect = NumberDefault;
  LowLabelRect = LowLabelDefault;
  HighLabelRect = HighLabelDefault;
}

RangeBar::RangeBar() {
  LoadClassLayout();
  Background = Picture(BackgroundId);
  LeftHandle = Picture(LeftHandleId);
  RightHandle = Picture(RightHandleId);
  MemoryDC = ::CreateCompatibleDC(nullptr);
  const int width = Background ? Background->Width : FallbackWidth;
  const int height = Background ? Background->Height : FallbackHeight;
  Surface = new (std::nothrow) DIB(width, height);
  if (Surface && !Surface->Bitmap) {
    delete Surface;
    Surface = nullptr;
  }
  if (MemoryDC && Surface) MemoryPrevious = ::SelectObject(MemoryDC, Surface->Bitmap);
  HandleRowOffset = ((BarRect.bottom - BarRect.top + 1) - HandleHeight()) / 2;
}

RangeBar::~RangeBar() {
  if (MemoryDC && MemoryPrevious) ::SelectObject(MemoryDC, MemoryPrevious);
  delete Surface;
  if (MemoryDC) ::DeleteDC(MemoryDC);
  DestroyWindow();
}

BOOL RangeBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return Create(TRACKBAR_CLASSA, nullptr, style, rect, parent, id, nullptr);
}

BOOL RangeBar::Create(LPCSTR, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context) {
  if (!parent || !parent->m_hWnd) return FALSE;
  Owner = reinterpret_cast<InputControl*>(::GetWindowLongA(parent->m_hWnd, 0));
  // Not a parent-DC class: the bar's own clip keeps it off its edit fields.
  LPCSTR ownClass = AfxRegisterWndClass(0);
  if (!CWnd::Create(ownClass, windowName, style | WS_CHILD | WS_VISIBLE, rect, parent, id, context)) return FALSE;
  ModifyStyleEx(0, WS_EX_CONTROLPARENT);
  return TRUE;
}

// Against a bound that moves over the selection, keep span shifts the whole
// selection; otherwise each end is clamped on its own.
void RangeBar::SetRange(double lowest, double highest, BOOL redraw) {
  if (KeepSpan) {
    if (Low < lowest) {
      High = std::min(High + (lowest - Low), highest);
      Low = lowest;
    }
    if (High > highest) {
      Low = std::max(Low - (High - highest), lowest);
      High = highest;
    }
  } else {
    Low = std::min(std::max(Low, lowest), highest);
    High = std::max(std::min(High, highest), lowest);
  }
  Lowest = lowest;
  Highest = highest;
  if (redraw) Redraw();
}

void RangeBar::SetSelection(double low, double high, BOOL redraw) {
  Low = std::max(low, Lowest);
  High = std::min(high, Highest);
  if (redraw) Redraw();
}

void RangeBar::SetLow(double low, BOOL redraw) {
  Low = low;
  if (redraw) Redraw();
}

void RangeBar::SetHigh(double high, BOOL redraw) {
  High = high;
  if (redraw) Redraw();
}

void RangeBar::SetSteps(double count) {
  if (!(count > 0.0)) count = 1.0;
  Step = (Highest - Lowest + 1.0) / count;
}

void RangeBar::SetRepeatMarks(long flag, double limit) {
  RepeatMarks = flag;
  RepeatLimit = limit;
}

void RangeBar::SetText(RangeText which, const char* text) {
  char* target = Texts[static_cast<int>(which)];
  if (!text) text = "";
  size_t n = 0;
  while (n < TextSize - 1 && text[n]) ++n;
  std::memcpy(target, text, n);
  target[n] = '\0';
}

// The bar with its handles, the number texts and the labels, each on its
// own so that the edit fields between them are left alone.
void RangeBar::Redraw() {
  if (!m_hWnd) return;
  const CRect bar(BarRect.left - Width(LeftHandle), BarRect.top, BarRect.right + Width(RightHandle) + 1,
                  BarRect.bottom);
  for (const RECT& area : {static_cast<const RECT&>(bar), NumberRect, LowLabelRect, HighLabelRect})
    ::InvalidateRect(m_hWnd, &area, FALSE);
}

long RangeBar::XOf(double value) const {
  const double scale = BarRect.right - BarRect.left;
  const double range = Highest - Lowest;
  if (!(range > 0.0)) return BarRect.left + Truncate((value - Lowest) * scale * EmptyRangeScale);
  return BarRect.left + Truncate((value - Lowest) * scale / range);
}

double RangeBar::ValueAt(long x) const {
  const long scale = BarRect.right - BarRect.left;
  if (scale == 0) return Lowest;
  return Lowest + (Highest - Lowest) * (x - BarRect.left) / scale;
}

long RangeBar::LowX() const {
  return XOf(Low);
}
long RangeBar::HighX() const {
  return XOf(High);
}

// Without the handle pictures the whole height of the bar is the handle
// row, so that the selection can still be dragged.
long RangeBar::HandleHeight() const {
  const long height = std::max(Height(LeftHandle), Height(RightHandle));
  return height > 0 ? height : BarRect.bottom - BarRect.top;
}

// Presses on the handle row pick an end or the body (with keep span, the
// body reaches over both handles); elsewhere on the bar they step towards
// the pointer.
RangeBar::Zone RangeBar::ZoneAt(long x, long y) const {
  long lowX = LowX();
  long highX = HighX();
  if (lowX == highX && !(Highest > Lowest)) {
    lowX = BarRect.left;
    highX = BarRect.right;
  }
  const long leftWidth = Width(LeftHandle);
  const long rightWidth = Width(RightHandle);
  const long rowTop = BarRect.top + HandleRowOffset;
  if (y >= rowTop && y <= rowTop + HandleHeight() - 1) {
    if (KeepSpan && x >= lowX - leftWidth && x <= highX + rightWidth) return Zone::Body;
    if (x >= lowX - leftWidth && x <= lowX - 1) return Zone::LowEnd;
    if (x >= lowX && x <= highX) return Zone::Body;
    if (x >= highX + 1 && x <= highX + rightWidth) return Zone::HighEnd;
  }
  if (y >= BarRect.top && y <= BarRect.bottom - 1) {
    if (x < lowX - leftWidth && x > BarRect.left - leftWidth) return Zone::StepLeft;
    if (x > highX + rightWidth && x < BarRect.right + rightWidth) return Zone::StepRight;
  }
  return Zone::None;
}

// Stores the values and tells the parent. A gesture whose first change is
// also its last (a press released elsewhere without a move in between) is
// told as a start with the change and then an end.
void RangeBar::Notify(double low, double high) {
  const bool changed = low != Low || high != High;
  if (!changed && !StartPhase && !EndPhase) return;
  Low = low;
  High = high;
  HWND parent = ::GetParent(m_hWnd);
  const LPARAM self = reinterpret_cast<LPARAM>(m_hWnd);
  if (StartPhase && (changed || !EndPhase) && parent)
    ::PostMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, PhaseStart), self);
  else if (!StartPhase && !EndPhase && parent)
    ::PostMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, PhaseDuring), self);
  if (EndPhase && parent) ::PostMessageA(parent, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, PhaseEnd), self);
  StartPhase = 0;
  EndPhase = 0;
}

// One step of a press beside the selection, until the selection reaches
// the pointer; the other end follows, so the span stays.
void RangeBar::StepOnce() {
  if (Mode == Zone::StepLeft) {
    if (LowX() <= ClickX) return;
    const double low = std::max(Lowest, Low - Step);
    Notify(low, High + (low - Low));
  } else if (Mode == Zone::StepRight) {
    if (HighX() >= ClickX) return;
    const double high = std::min(Highest, High + Step);
    Notify(Low + (high - High), high);
  }
}

void RangeBar::StartSymmetric() {
  if (Symmetric) return;
  Symmetric = 1;
  Centre = (Low + High) / 2;
  HalfSpan = Centre - Low;
}

void RangeBar::FollowPointer(long x, bool final) {
  switch (Mode) {
    case Zone::LowEnd: {
      const long at = std::max<long>(x - PressOffset, BarRect.left);
      double low = at > HighX() ? High : ValueAt(at);
      low = std::max(low, Lowest);
      double high = High;
      if (Symmetric) {
        low = std::min(low, Centre);
        high = std::min(Highest, 2 * Centre - low);
      }
      Notify(low, high);
      break;
    }
    case Zone::HighEnd: {
      const long at = std::min<long>(x - PressOffset, BarRect.right);
      double high = at < LowX() ? Low : ValueAt(at);
      high = std::min(high, Highest);
      double low = Low;
      if (Symmetric) {
        high = std::max(high, Centre);
        low = std::max(Lowest, 2 * Centre - high);
      }
      Notify(low, high);
      break;
    }
    case Zone::Body: {
      // The span of the press, so that many moves add up to no drift.
      const double span = HighAtPress - LowAtPress;
      const long at = std::max<long>(x - PressOffset, BarRect.left);
      const double last = Highest - span;
      double low = at > XOf(last) ? last : ValueAt(at);
      low = std::max(low, Lowest);
      Notify(low, low + span);
      break;
    }
    case Zone::StepLeft:
    case Zone::StepRight:
      ClickX = x;
      if (final) Notify(Low, High);
      break;
    case Zone::None:
      if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      break;
  }
}

void RangeBar::SetCursorFor(Zone zone) const {
  switch (zone) {
    case Zone::Body:
      ::SetCursor(CursorOf(BodyCursor));
      break;
    case Zone::LowEnd:
      ::SetCursor(CursorOf(LowEndCursor));
      break;
    case Zone::HighEnd:
      ::SetCursor(CursorOf(HighEndCursor));
      break;
    default:
      ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
      break;
  }
}

LRESULT RangeBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam, false);
      return 0;
    case WM_RBUTTONDOWN:
      if (OnRButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) return 0;
      break;
    case WM_TIMER:
      if (wParam != RepeatTimer) break;
      OnRepeatTimer();
      return 0;
    case WM_KEYDOWN:
      if (OnKeyDown(wParam, lParam)) return 0;
      break;
    case WM_KEYUP:
      OnKeyUp(wParam);
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLOREDIT:
      return OnEditColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
      break;
  }
  return CWnd::WindowProc(msg, wParam, lParam);
}

// An edit field losing the focus ends any gesture and completes the entry
// in the owner, which hears of it through its own window.
BOOL RangeBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  ForwardFieldLeaving(m_hWnd, wParam, lParam);
  return CWnd::OnCommand(wParam, lParam);
}

// Every press starts a gesture of its own: its first notification carries
// the start phase, even the immediate step of a press beside the selection.
void RangeBar::OnLButtonDown(long x, long y) {
  if (Disabled) return;
  ::SetFocus(m_hWnd);
  LowAtPress = Low;
  HighAtPress = High;
  Mode = Zone::None;
  StartPhase = 0;
  EndPhase = 0;
  const Zone zone = ZoneAt(x, y);
  if (zone == Zone::None) return;
  Mode = zone;
  StartPhase = 1;
  Moved = 0;
  LastX = x;
  if (zone == Zone::HighEnd)
    PressOffset = x - HighX();
  else
    PressOffset = x - LowX();
  if (zone == Zone::StepLeft || zone == Zone::StepRight) {
    ClickX = x;
    StepOnce();
    RepeatDelay = RepeatTicksBeforeFirst;
    ::SetTimer(m_hWnd, RepeatTimer, RepeatPeriod, nullptr);
    Repeating = 1;
  }
  Dragging = 1;
  ::SetCapture(m_hWnd);
  SetCursorFor(zone);
  OnMouseMove(x, y, ::GetAsyncKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0, false);
}

// Ctrl held while dragging an end moves the other end the opposite way
// about the centre of the selection.
void RangeBar::OnMouseMove(long x, long y, WPARAM keys, bool final) {
  if (!Dragging) {
    const Zone zone = Disabled ? Zone::None : ZoneAt(x, y);
    SetCursorFor(zone == Zone::StepLeft || zone == Zone::StepRight ? Zone::None : zone);
    return;
  }
  if (keys & MK_CONTROL)
    StartSymmetric();
  else
    Symmetric = 0;
  if (!final && x == LastX && !Moved) return;
  Moved = 1;
  FollowPointer(x, final);
}

void RangeBar::OnLButtonUp(long x, long y) {
  if (!Dragging) return;
  EndPhase = 1;
  OnMouseMove(x, y, ::GetAsyncKeyState(VK_CONTROL) < 0 ? MK_CONTROL : 0, true);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (Owner && Owner->Doc) Owner->Doc->SyncRender();
  Redraw();
}

// A right press during a gesture ends it and puts the values of the press back.
bool RangeBar::OnRButtonDown(long x, long y) {
  if (!Dragging) return false;
  OnLButtonUp(x, y);
  Notify(LowAtPress, HighAtPress);
  return true;
}

// The first ticks only wait, so the first repeat comes 280 ms after the press.
void RangeBar::OnRepeatTimer() {
  if (Mode != Zone::StepLeft && Mode != Zone::StepRight) {
    ::KillTimer(m_hWnd, RepeatTimer);
    Repeating = 0;
    return;
  }
  if (RepeatDelay > 0) {
    --RepeatDelay;
    return;
  }
  StepOnce();
}

// Returns false for keys left to the default processing. With Ctrl (and
// without keep span) the keys resize the selection about its centre.
bool RangeBar::OnKeyDown(WPARAM key, LPARAM flags) {
  if (Disabled) return true;
  if (::GetAsyncKeyState(VK_CONTROL) < 0)
    StartSymmetric();
  else
    Symmetric = 0;
  if (!(flags & AutoRepeatBit)) StartPhase = 1;
  const bool symmetric = Symmetric && !KeepSpan;
  const double span = High - Low;
  double step = Step;
  double low = Low;
  double high = High;
  switch (key) {
    case VK_PRIOR:
      step *= PageFactor;
      [[fallthrough]];
    case VK_LEFT:
      if (symmetric) {
        HalfSpan = std::max(0.0, HalfSpan - step);
        low = std::max(Lowest, Centre - HalfSpan);
        high = std::min(Highest, Centre + HalfSpan);
      } else {
        low = std::max(Lowest, Low - step);
        high = High + (low - Low);
      }
      break;
    case VK_NEXT:
      step *= PageFactor;
      [[fallthrough]];
    case VK_RIGHT:
      if (symmetric) {
        HalfSpan = std::min(Highest - Lowest, HalfSpan + step);
        low = std::max(Lowest, Centre - HalfSpan);
        high = std::min(Highest, Centre + HalfSpan);
      } else {
        high = std::min(Highest, High + step);
        low = Low + (high - High);
      }
      break;
    case VK_END:
      low = symmetric ? Lowest : Highest - span;
      high = Highest;
      break;
    case VK_HOME:
      low = symmetric ? Centre : Lowest;
      high = symmetric ? Centre : Lowest + span;
      break;
    default:
      StartPhase = 0;
      return false;
  }
  Notify(low, high);
  return true;
}

void RangeBar::OnKeyUp(WPARAM key) {
  if (key == VK_CONTROL) {
    Symmetric = 0;
    return;
  }
  if (Disabled) return;
  EndPhase = 1;
  Notify(Low, High);
}

// Taking the capture again while holding it is no loss.
void RangeBar::OnCaptureChanged(HWND newCapture) {
  if (newCapture == m_hWnd) return;
  Mode = Zone::None;
  Dragging = 0;
  StartPhase = 0;
  EndPhase = 0;
  RepeatDelay = 0;
  if (Repeating) {
    ::KillTimer(m_hWnd, RepeatTimer);
    Repeating = 0;
  }
  SetCursorFor(Zone::None);
}

// The picture is rebuilt in the off-screen surface from the background and
// copied out in one blit, so nothing flickers while dragging.
void RangeBar::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (!hdc) return;
  CRect clip;
  if (::GetClipBox(hdc, &clip) != NULLREGION && !clip.IsRectEmpty() && Surface) {
    clip &= CRect(0, 0, Surface->Width, Surface->Height);
    for (long y = clip.top; y < clip.bottom; ++y) {
      uint32_t* row = Surface->Bits + y * Surface->Width;
      if (Background)
        std::memcpy(row + clip.left, Background->Bits + y * Background->Width + clip.left,
                    static_cast<size_t>(clip.Width()) * sizeof(uint32_t));
      else
        std::fill(row + clip.left, row + clip.right, PanelPixel);
    }
    if (!Disabled || Dragging) {
      PaintSelection();
      PaintRepeatMarks();
      if (ShowHandles) PaintHandles();
    }
    PaintTexts();
    ::BitBlt(hdc, clip.left, clip.top, clip.Width(), clip.Height(), MemoryDC, clip.left, clip.top, SRCCOPY);
  }
  ::EndPaint(m_hWnd, &ps);
}

// From each end to its inner marker in one picture, between the markers in
// another; a marker that passes the other end stops at it.
void RangeBar::PaintSelection() {
  const DIB* ends = Picture(EndSelectionId);
  const DIB* inner = Picture(InnerSelectionId);
  const long lowX = LowX();
  const long highX = HighX();
  if (highX < lowX) return;
  const long innerLowX = Low + InnerLow > High ? highX : XOf(Low + InnerLow);
  const long innerHighX = High - InnerHigh < Low ? lowX : XOf(High - InnerHigh);
  const long rows = BarRect.bottom - BarRect.top + 1;
  const long endsTop = BarRect.top + (rows - Height(ends)) / 2;
  const long innerTop = BarRect.top + (rows - Height(inner)) / 2;
  Tile(Surface, ends, lowX, std::min(innerLowX, highX), endsTop);
  Tile(Surface, inner, innerLowX + 1, innerHighX - 1, innerTop);
  Tile(Surface, ends, std::max(innerHighX, lowX), highX, endsTop);
}

// Copies of the span laid end to end beyond the high end, up to the limit,
// in alternating pictures. An empty span has no copies.
void RangeBar::PaintRepeatMarks() {
  const double limit = std::min(Highest, RepeatLimit);
  if (!RepeatMarks || !(High < limit)) return;
  double span = High - Low + (Integer ? 1.0 : 0.0);
  const double range = Highest - Lowest;
  const double pixel = range / (BarRect.right - BarRect.left);
  if (span > 0.0 && range > 0.0 && span < pixel / 2) span = pixel;
  if (!(span > 0.0) || !std::isfinite(span)) return;
  const DIB* marks[2] = {Picture(RepeatMarkId), Picture(OtherRepeatMarkId)};
  const long rows = BarRect.bottom - BarRect.top + 1;
  long start = HighX() + 1;
  for (long k = 1; start <= BarRect.right; ++k) {
    const double end = std::min(High + k * span, limit);
    const long x = std::min(XOf(end), static_cast<long>(BarRect.right));
    const DIB* mark = marks[(k - 1) % 2];
    Tile(Surface, mark, start, x, BarRect.top + (rows - Height(mark)) / 2);
    start = x + 1;
    if (end >= limit) break;
  }
}

void RangeBar::PaintHandles() {
  if (!Surface) return;
  const long top = BarRect.top + HandleRowOffset;
  if (LeftHandle)
    Surface->Merge(LeftHandle, LowX() - LeftHandle->Width, top, 0, 0, LeftHandle->Width, LeftHandle->Height);
  if (RightHandle) Surface->Merge(RightHandle, HighX() + 1, top, 0, 0, RightHandle->Width, RightHandle->Height);
}

// The numbers are hidden while disabled (unless a drag is under way); the
// labels always show.
void RangeBar::PaintTexts() {
  bool any = false;
  for (const char* text : Texts) any = any || text[0];
  if (!any || !MemoryDC) return;
  ::SetBkMode(MemoryDC, TRANSPARENT);
  ResColour* colour = UnitColour(Unit::RangeBarWindow, TextColourId);
  if (colour && colour->Load()) ::SetTextColor(MemoryDC, colour->Colour);
  HGDIOBJ previousFont = nullptr;
  if (Owner && Owner->Font) previousFont = ::SelectObject(MemoryDC, Owner->Font);
  constexpr UINT Line = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | DT_TOP;
  auto put = [this](RangeText which, RECT rect, UINT align) {
    const char* text = GetText(which);
    if (text[0]) ::DrawTextA(MemoryDC, text, -1, &rect, Line | align);
  };
  if (!Disabled || Dragging) {
    put(RangeText::LowInner, NumberRect, DT_LEFT);
    put(RangeText::Span, NumberRect, DT_CENTER);
    put(RangeText::HighInner, NumberRect, DT_RIGHT);
  }
  put(RangeText::LowLabel, LowLabelRect, DT_LEFT);
  put(RangeText::HighLabel, HighLabelRect, DT_RIGHT);
  if (previousFont) ::SelectObject(MemoryDC, previousFont);
}

LRESULT RangeBar::OnEditColour(HDC hdc, HWND edit) {
  if (LRESULT brush = EditColours(hdc, UnitColour(Unit::RangeBarWindow, EditColourId))) return brush;
  return CWnd::WindowProc(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(edit));
}

}  // namespace qzc
