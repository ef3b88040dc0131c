#include "windows/screw_wheel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/startup.h"
#include "frame/tags.h"
#include "frame/values.h"

namespace qzc {
namespace {

constexpr uint32_t BackgroundId = 100007;
constexpr uint32_t StripId = 100004;
constexpr uint32_t LeftArrowId = 100005;
constexpr uint32_t RightArrowId = 100006;
constexpr uint32_t InScaleColourId = 100112;
constexpr uint32_t OutOfScaleColourId = 100113;
constexpr uint32_t CaptionColourId = 100009;
constexpr uint32_t LayoutId = 100008;

constexpr UINT_PTR RepeatTimer = 101;
constexpr UINT RepeatPeriod = 70;
constexpr int FirstRepeatTick = 4;  // the first repeat comes 280 ms after the press
// The surface's size when the background picture cannot be loaded, and the
// colour it shows then.
constexpr int FallbackWidth = 276;
constexpr int FallbackHeight = 32;
constexpr uint32_t FallbackPixel = 0xff404040u;

// In client coordinates, shared by every wheel: set at start-up, then once
// from the layout resource by the first construction. Plain structs, so that
// no constructor of this unit can run after the start-up table has set them.
RECT WheelRect;
POINT LeftArrowAt;
POINT RightArrowAt;
RECT CaptionRect;

// Offsets of the wheel's values from the first layout tag; the edit field's
// four (4 to 7) belong to the screw control.
constexpr uint32_t WheelTags = 0;
constexpr uint32_t CaptionTags = 8;
constexpr uint32_t LeftArrowTags = 12;
constexpr uint32_t RightArrowTags = 14;

LONG LayoutValue(const TagList& layout, uint32_t offset, LONG fallback) {
  return static_cast<LONG>(layout.GetLong(tag::ScrewLayout + offset, fallback));
}

void ReadRect(const TagList& layout, uint32_t first, RECT* rect) {
  *rect = RECT{LayoutValue(layout, first, rect->left), LayoutValue(layout, first + 1, rect->top),
               LayoutValue(layout, first + 2, rect->right), LayoutValue(layout, first + 3, rect->bottom)};
}

void ReadPoint(const TagList& layout, uint32_t first, POINT* point) {
  *point = POINT{LayoutValue(layout, first, point->x), LayoutValue(layout, first + 1, point->y)};
}

void LoadLayoutOnce() {
  ResData* data = UnitData(Unit::ScrewWheelWindow, LayoutId);
  if (!data || data->Tags) return;
  if (!data->Load() || !data->Tags) return;
  ReadRect(*data->Tags, WheelTags, &WheelRect);
  ReadRect(*data->Tags, CaptionTags, &CaptionRect);
  ReadPoint(*data->Tags, LeftArrowTags, &LeftArrowAt);
  ReadPoint(*data->Tags, RightArrowTags, &RightArrowAt);
}

const DIB* Picture(uint32_t id) {
  ResDIB* picture = UnitDIB(Unit::ScrewWheelWindow, id);
  return picture && picture->Load() ? picture->Dib : nullptr;
}

int WidthOf(const DIB* picture) {
  return picture ? picture->Width : 0;
}
int HeightOf(const DIB* picture) {
  return picture ? picture->Height : 0;
}

long WheelWidth() {
  return WheelRect.right - WheelRect.left;
}

// A picture's rectangle at its place; bounds are included on every side.
bool Hits(const DIB* picture, POINT at, long x, long y) {
  return picture && x >= at.x && x <= at.x + picture->Width && y >= at.y && y <= at.y + picture->Height;
}

}  // namespace

void ScrewWheelLayout() {
  WheelRect = RECT{18, 2, 210, 15};
  LeftArrowAt = POINT{4, 2};
  RightArrowAt = POINT{210, 2};
  CaptionRect = RECT{7, 15, 200, 30};
}

ScrewWheel::ScrewWheel() {
  LoadLayoutOnce();
  StripOffset = WheelRect.left;
  Upper = WheelRect.right;
  Lower = WheelRect.left;
  Value = Lower;
  HDC screen = ::GetDC(nullptr);
  MemoryDC = ::CreateCompatibleDC(screen);
  if (screen) ::ReleaseDC(nullptr, screen);
  const DIB* background = Picture(BackgroundId);
  const int width = background ? background->Width : FallbackWidth;
  const int height = background ? background->Height : FallbackHeight;
  Surface = new (std::nothrow) DIB(width, height);
  if (Surface && !Surface->Bitmap) {
    delete Surface;
    Surface = nullptr;
  }
  if (Surface && MemoryDC) MemoryPrevious = ::SelectObject(MemoryDC, Surface->Bitmap);
}

ScrewWheel::~ScrewWheel() {
  if (MemoryDC && MemoryPrevious) ::SelectObject(MemoryDC, MemoryPrevious);
  delete Surface;
  if (MemoryDC) ::DeleteDC(MemoryDC);
  Surface = nullptr;
  MemoryDC = nullptr;
  DestroyWindow();
}

BOOL ScrewWheel::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return Create(TRACKBAR_CLASSA, nullptr, style, rect, parent, id, nullptr);
}

BOOL ScrewWheel::Create(LPCSTR, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        void* context) {
  return CreateTrackBarWindow(*this, &Owner, windowName, style, rect, parent, id, context);
}

void ScrewWheel::SetRange(double lower, double upper, BOOL redraw) {
  Lower = lower;
  Upper = upper;
  if (redraw && m_hWnd) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateFromTopmostPending(m_hWnd);
  }
}

void ScrewWheel::SetSteps(long count) {
  StepDivisor = count - 1 >= 2 ? static_cast<int>(std::min(count - 1, 0x7fffffffL)) : 2;
}

void ScrewWheel::SetPage(long count) {
  PageFactor = static_cast<double>(count) - 1.0;
}

void ScrewWheel::SetValue(double value) {
  Value = value;
  if (!m_hWnd) return;
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  UpdateFromTopmostPending(m_hWnd);
}

void ScrewWheel::SetCaption(const char* text) {
  if (!text) text = "";
  const size_t length = strnlen(text, CaptionSize - 1);
  std::memcpy(Caption, text, length);
  Caption[length] = '\0';
}

// A scale without width (or beyond the doubles) cannot map pixels to values.
bool ScrewWheel::SpanUsable() const {
  return Span() != 0.0 && std::isfinite(Span()) && WheelWidth() > 0;
}

// Where a value sits on an endless wheel, in pixels from the lower scale value.
long ScrewWheel::PixelOf(double value) const {
  if (!SpanUsable()) return 0;
  return WholeNumber((value - Lower) * static_cast<double>(WheelWidth()) / Span());
}

// The strip turns with the value and wraps around every strip width; an exact
// negative multiple gives the strip width itself, which draws the same.
int ScrewWheel::OffsetFor(double value) const {
  const long width = WidthOf(Picture(StripId));
  if (width <= 0) return 0;
  const long p = PixelOf(value);
  return static_cast<int>(p >= 0 ? p % width : width - (-p) % width);
}

int ScrewWheel::StripTop() const {
  return WheelRect.top + (WheelRect.bottom - HeightOf(Picture(StripId)) - WheelRect.top + 1) / 2;
}

bool ScrewWheel::HitsLeftArrow(long x, long y) const {
  return Hits(Picture(LeftArrowId), LeftArrowAt, x, y);
}

bool ScrewWheel::HitsRightArrow(long x, long y) const {
  return Hits(Picture(RightArrowId), RightArrowAt, x, y);
}

bool ScrewWheel::HitsWheel(long x, long y) const {
  return y >= WheelRect.top && y <= WheelRect.bottom && x >= WheelRect.left + 1 && x <= WheelRect.right - 1;
}

// Compared in whole numbers, so a value just past an end by a fraction still counts as inside.
bool ScrewWheel::OutOfScale() const {
  const long value = WholeNumber(Value);
  return value < WholeNumber(Lower) || value > WholeNumber(Upper);
}

// Stores a value the user made and tells the parent; the high word carries
// the value's whole part (its low 16 bits).
void ScrewWheel::Change(double value, WORD code) {
  Value = value;
  const WORD whole = static_cast<WORD>(WholeNumber(value) & 0xffff);
  if (HWND parent = ::GetParent(m_hWnd))
    ::PostMessageA(parent, WM_HSCROLL, MAKEWPARAM(code, whole), reinterpret_cast<LPARAM>(m_hWnd));
}

void ScrewWheel::StartRepeat() {
  Repeating = 1;
  TickCount = 0;
  ::SetTimer(m_hWnd, RepeatTimer, RepeatPeriod, nullptr);
  ::SetCapture(m_hWnd);
}

LRESULT ScrewWheel::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
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
      if (::GetCapture() == m_hWnd) ::ReleaseCapture();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam));
      return 0;
    case WM_TIMER:
      if (wParam != RepeatTimer) break;
      OnRepeatTimer();
      return 0;
    case WM_KEYDOWN:
      if (OnKeyDown(wParam)) return 0;
      break;
    case WM_KEYUP:
      if (Owner) Owner->ResetUndo();
      break;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      break;
    case WM_SETFOCUS:
    case WM_CHAR:
    case WM_DRAWITEM:
      return 0;
    case WM_HSCROLL:
      return DefWindowProc(msg, wParam, lParam);
    case WM_CTLCOLOREDIT:
      return OnEditColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
      break;
  }
  return CWnd::WindowProc(msg, wParam, lParam);
}

// The edit field losing the focus completes the entry in the owner, which
// hears of it through its own window.
BOOL ScrewWheel::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == EN_KILLFOCUS)
    if (HWND parent = ::GetParent(m_hWnd)) ::SendMessageA(parent, WM_COMMAND, wParam, lParam);
  return CWnd::OnCommand(wParam, lParam);
}

// The parent acting on one of the wheel's notifications moves the focus to
// the wheel; the creation and destruction notices are not such acts.
BOOL ScrewWheel::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (msg != WM_PARENTNOTIFY && ::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
  return CWnd::OnChildNotify(msg, wParam, lParam, result);
}

// The arrow buttons and the wheel are tested independently; with the usual
// layout they do not overlap.
void ScrewWheel::OnLButtonDown(long x, long y) {
  ::SetFocus(m_hWnd);
  if (Disabled) return;
  if (HitsLeftArrow(x, y)) {
    DecrementHeld = 1;
    StepDown();
    StartRepeat();
  }
  if (HitsRightArrow(x, y)) {
    IncrementHeld = 1;
    StepUp();
    StartRepeat();
  }
  if (HitsWheel(x, y)) {
    Dragging = 1;
    ::SetCapture(m_hWnd);
    DragAnchor = x - PixelOf(Value);
  }
}

// Across the whole wheel width the value changes by upper minus lower.
void ScrewWheel::OnMouseMove(long x) {
  if (!Dragging || !SpanUsable()) return;
  Change(Lower + static_cast<double>(x - DragAnchor) * Span() / static_cast<double>(WheelWidth()), TB_THUMBTRACK);
}

void ScrewWheel::OnRepeatTimer() {
  if (++TickCount < FirstRepeatTick) return;
  if (DecrementHeld) StepDown();
  if (IncrementHeld) StepUp();
}

// Returns false for keys left to the track bar's own processing.
bool ScrewWheel::OnKeyDown(WPARAM key) {
  switch (key) {
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_NEXT:
    case VK_PRIOR:
      break;
    default:
      return false;
  }
  if (Disabled) return true;
  switch (key) {
    case VK_END:
      Change(Upper, TB_BOTTOM);
      break;
    case VK_HOME:
      Change(Lower, TB_TOP);
      break;
    case VK_LEFT:
    case VK_UP:
      StepDown();
      break;
    case VK_RIGHT:
    case VK_DOWN:
      StepUp();
      break;
    case VK_NEXT:
      Change(Value + Step() * PageFactor, TB_PAGEDOWN);
      break;
    case VK_PRIOR:
      Change(Value - Step() * PageFactor, TB_PAGEUP);
      break;
    default:
      break;
  }
  return true;
}

// Any end of the capture ends the gesture and the owner's undo grouping; a
// drag reports its final value once more. Taking the capture again while
// holding it is no end.
void ScrewWheel::OnCaptureChanged(HWND newCapture) {
  if (newCapture == m_hWnd) return;
  if (Owner) Owner->ResetUndo();
  DecrementHeld = 0;
  IncrementHeld = 0;
  if (Repeating) {
    ::KillTimer(m_hWnd, RepeatTimer);
    Repeating = 0;
  }
  if (Dragging) {
    Dragging = 0;
    Change(Value, TB_THUMBPOSITION);
  }
}

// The whole picture is composed off screen and reaches the window in one
// copy of the clip box, so the window never shows a half-drawn strip.
void ScrewWheel::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (!hdc) return;
  CRect clip;
  if (::GetClipBox(hdc, &clip) > NULLREGION && !clip.IsRectEmpty() && Surface && MemoryDC) {
    Compose();
    ::BitBlt(hdc, clip.left, clip.top, clip.Width(), clip.Height(), MemoryDC, clip.left, clip.top, SRCCOPY);
  }
  ::EndPaint(m_hWnd, &ps);
}

// Background, then (unless disabled) the strip at its offset, wrapped round
// the wheel, and the arrow buttons, then the caption. The pictures are merged
// straight into the surface, so a repaint allocates nothing.
void ScrewWheel::Compose() {
  const DIB* background = Picture(BackgroundId);
  const size_t pixels = static_cast<size_t>(Surface->Width) * Surface->Height;
  if (background && background->Width == Surface->Width && background->Height == Surface->Height)
    std::memcpy(Surface->Bits, background->Bits, pixels * sizeof(uint32_t));
  else
    std::fill(Surface->Bits, Surface->Bits + pixels, FallbackPixel);

  StripOffset = OffsetFor(Value);
  if (!Disabled || Dragging) {
    const DIB* strip = Picture(StripId);
    const int width = static_cast<int>(WheelWidth());
    const int top = StripTop();
    const int height = HeightOf(strip);
    if (StripOffset < width)
      Surface->Merge(strip, WheelRect.left + StripOffset, top, 0, 0, width - StripOffset, height);
    const int wrapped = std::min(StripOffset, width);
    Surface->Merge(strip, WheelRect.left, top, WidthOf(strip) - StripOffset, 0, wrapped, height);
    const DIB* left = Picture(LeftArrowId);
    const DIB* right = Picture(RightArrowId);
    Surface->Merge(left, LeftArrowAt.x, LeftArrowAt.y, 0, 0, WidthOf(left), HeightOf(left));
    Surface->Merge(right, RightArrowAt.x, RightArrowAt.y, 0, 0, WidthOf(right), HeightOf(right));
  }
  DrawCaption();
}

void ScrewWheel::DrawCaption() {
  if (!Caption[0]) return;
  ResColour* colour = UnitColour(Unit::ScrewWheelWindow, CaptionColourId);
  HGDIOBJ previous = Owner && Owner->Font ? ::SelectObject(MemoryDC, Owner->Font) : nullptr;
  ::SetBkMode(MemoryDC, TRANSPARENT);
  if (colour && colour->Load()) ::SetTextColor(MemoryDC, colour->Colour);
  ::TextOutA(MemoryDC, CaptionRect.left, CaptionRect.top, Caption, static_cast<int>(std::strlen(Caption)));
  if (previous) ::SelectObject(MemoryDC, previous);
}

// The edit field shows by its colours whether the value lies in the scale.
LRESULT ScrewWheel::OnEditColour(HDC hdc, HWND edit) {
  const uint32_t id = OutOfScale() ? OutOfScaleColourId : InScaleColourId;
  if (LRESULT brush = EditColours(hdc, UnitColour(Unit::ScrewWheelWindow, id))) return brush;
  return CWnd::WindowProc(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(edit));
}

}  // namespace qzc
