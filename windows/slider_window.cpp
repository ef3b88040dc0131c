#include "windows/slider_window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <utility>

#include "frame/panel_windows.h"
#include "frame/startup.h"
#include "qzsystem/document.h"

namespace qzc {
namespace {

constexpr uint32_t ThumbPictureId = 100000;
constexpr uint32_t EditColourId = 100112;
constexpr UINT_PTR RepeatTimer = 101;
constexpr UINT RepeatPeriod = 70;
constexpr long RepeatTicksBeforeFirst = 3;
constexpr long PageZoneMargin = 10;  // paging also starts this far beyond the track ends
constexpr long TrackTopAtStart = 3;
// Messages at or above this number that reach the default processing are
// the owner's business: they go to the parent first.
constexpr UINT FirstOwnerMessage = 0x1400;
// How near the default a value still counts as on it when a step chooses
// between the step sizes below and above it.
constexpr double DefaultSlack = 1e-9;
constexpr LPARAM AutoRepeatBit = LPARAM(1) << 30;
// From 2^52 on, every double is a whole number.
constexpr double WholeDoubleLimit = 4503599627370496.0;

// Conversions to pixels truncate; values far outside the track are held
// to a range no window reaches, so NaN and infinities stay harmless.
long Truncate(double value) {
  if (std::isnan(value)) return 0;
  if (value > 1e9) return 1000000000;
  if (value < -1e9) return -1000000000;
  return static_cast<long>(value);
}

// An integer slider truncates its steps to whole numbers, so a range with
// more positions than whole numbers has a step of 0: it snaps to whole
// numbers then.
//
// Near the ends of the double range the half step added before truncating
// could overflow, and the multiple above could lie beyond the largest
// double: a value that large is already a whole number of steps as far as a
// double can tell, or it snaps towards zero instead.
double SnapToStep(double value, double step) {
  if (!(step > 0.0) || !std::isfinite(step)) step = 1.0;
  const double raised = value + step / 2;
  const double steps = std::isfinite(raised) ? raised / step : value / step + 0.5;
  if (!std::isfinite(steps) || std::fabs(steps) >= WholeDoubleLimit) return value;
  const double snapped = step * std::trunc(steps);
  return std::isfinite(snapped) ? snapped : step * std::trunc(value / step);
}

// Where `value` lies between `low` and `high` as a fraction (0 at low, 1 at
// high). Halved first, so that no difference of two finite values overflows.
double FractionOf(double value, double low, double high) {
  return (value * 0.5 - low * 0.5) / (high * 0.5 - low * 0.5);
}

// The value a fraction of the way from `low` to `high`, weighted so that it
// stays finite for any finite ends, and held between them against rounding.
double Between(double low, double high, double fraction) {
  const double value = low * (1.0 - fraction) + high * fraction;
  if (!(value >= std::fmin(low, high))) return std::fmin(low, high);
  if (!(value <= std::fmax(low, high))) return std::fmax(low, high);
  return value;
}

// Copies the rows of `box` (clipped to both pictures) from one picture to
// the same place in another, every byte as it is.
void CopyRows(DIB& to, const DIB& from, const CRect& box) {
  const long left = std::max<long>(box.left, 0);
  const long top = std::max<long>(box.top, 0);
  const long right = std::min<long>({box.right, to.Width, from.Width});
  const long bottom = std::min<long>({box.bottom, to.Height, from.Height});
  if (left >= right || top >= bottom) return;
  const size_t bytes = sizeof(uint32_t) * static_cast<size_t>(right - left);
  for (long y = top; y < bottom; ++y)
    std::memcpy(to.Bits + y * to.Width + left, from.Bits + y * from.Width + left, bytes);
}

ResDIB* OwnThumbPicture() {
  return UnitDIB(Unit::SliderWindow, ThumbPictureId);
}

}  // namespace

SliderWindow::SliderWindow() : Thumb(OwnThumbPicture()) {
  MemoryDC = ::CreateCompatibleDC(nullptr);
  if (Thumb) Thumb->Load();
  TrackBottom = ThumbHeight() + TrackTopAtStart;
  ThumbOffset = (TrackBottom - TrackTop + 1 - ThumbHeight()) / 2;
  SetSteps(StepCount);
}

SliderWindow::~SliderWindow() {
  ReleaseOffscreen();
  ReleaseBackground();
  if (MemoryDC) ::DeleteDC(MemoryDC);
  MemoryDC = nullptr;
  DestroyWindow();
}

BOOL SliderWindow::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return Create(TRACKBAR_CLASSA, nullptr, style, rect, parent, id, nullptr);
}

BOOL SliderWindow::Create(LPCSTR, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                          void* context) {
  return CreateTrackBarWindow(*this, &Owner, windowName, style, rect, parent, id, context);
}

void SliderWindow::SetTrackRect(const RECT& rect) {
  TrackLeft = rect.left;
  TrackTop = rect.top;
  TrackRight = rect.right;
  TrackBottom = rect.bottom;
  if (Thumb) Thumb->Load();
  ThumbOffset = (TrackBottom - TrackTop + 1 - ThumbHeight()) / 2;
  TrackWidth = TrackRight - TrackLeft + 1;
  TrackCentre = TrackLeft + TrackWidth / 2;
}

void SliderWindow::SetThumbImage(ResDIB* image) {
  // A picture of another size would leave part of the old thumb behind.
  if (m_hWnd && ThumbX != -1) {
    CRect old = ThumbRect(ThumbX);
    ::InvalidateRect(m_hWnd, &old, FALSE);
  }
  Thumb = image ? image : OwnThumbPicture();
  CachedThumbWidth = -1;
  PictureTop = PictureBottom = -1;
  SetTrackRect(CRect(TrackLeft, TrackTop, TrackRight, TrackBottom));
  if (m_hWnd && ThumbX != -1) {
    CRect now = ThumbRect(ThumbLeftOf(Value));
    ::InvalidateRect(m_hWnd, &now, FALSE);
  }
  MoveThumb();
}

// A range given backwards is used in order, so that steps below and above
// the default always move the way their keys point. A range with an end
// that is not finite is refused: the previous one stays.
void SliderWindow::SetRange(double min, double max, BOOL redraw) {
  if (!std::isfinite(min) || !std::isfinite(max)) return;
  if (min > max) std::swap(min, max);
  if (Value < min) Value = min;
  if (Value > max) Value = max;
  if (DefaultValue < min) DefaultValue = min;
  if (DefaultValue > max) DefaultValue = max;
  Min = min;
  Max = max;
  if (redraw) MoveThumb();
}

// A value that is not a number shows as the minimum, so that steps from it
// stay finite.
void SliderWindow::SetValue(double value, BOOL redraw) {
  Value = std::isnan(value) ? Min : Snap(value);
  if (Value < Min) Value = Min;
  if (Value > Max) Value = Max;
  if (redraw) MoveThumb();
}

// A default that is not finite is refused; the previous one stays.
void SliderWindow::SetDefault(double value) {
  if (!std::isfinite(value)) return;
  HasDefault = 1;
  DefaultValue = value;
}

void SliderWindow::SetSteps(double count) {
  if (!(count >= 2.0)) count = 2.0;
  SizesFor(count, &StepLow, &StepHigh);
  StepCount = count;
  SetPages(PageCount);
}

// An automatic page count divides the positions until at most ten gaps are
// left, so a page is a tenth of the range for 1001, 101, 51, 21 or 11 steps.
void SliderWindow::SetPages(double count) {
  double used;
  if (count != 0.0) {
    if (!(count >= 2.0)) count = 2.0;
    used = count;
    PageCount = count;
  } else {
    double gaps = StepCount - 1;
    while (gaps > 10 && std::isfinite(gaps)) {
      if (gaps * 0.2 > 10)
        gaps *= 0.1;
      else if (gaps * 0.5 > 10)
        gaps *= 0.2;
      else
        gaps *= 0.5;
    }
    used = gaps + 1 >= 2.0 ? gaps + 1 : 2.0;
  }
  SizesFor(used, &PageLow, &PageHigh);
}

void SliderWindow::SetDisabled(long flag) {
  Disabled = flag;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Only integer sliders with snapping snap; multiples count from 0, and a
// value never snaps across the default.
double SliderWindow::Snap(double value) const {
  if (!SnapOn || !Integer) return value;
  if (!HasDefault) return SnapToStep(value, StepLow);
  const double d = DefaultValue;
  if (value == d) return std::trunc(value + 0.5);
  const double snapped = SnapToStep(value, value <= d ? StepLow : StepHigh);
  if ((value < d && snapped > d) || (value > d && snapped < d)) return std::trunc(d + 0.5);
  return snapped;
}

long SliderWindow::ThumbWidth() const {
  const DIB* picture = ThumbPicture();
  return picture ? picture->Width : 0;
}

long SliderWindow::ThumbHeight() const {
  const DIB* picture = ThumbPicture();
  return picture ? picture->Height : 0;
}

// The thumb's centre for a value; with a default, each side of it maps
// linearly onto its half of the track.
long SliderWindow::PixelOf(double value) const {
  if (Min == Max) return TrackLeft;
  if (!HasDefault) return TrackLeft + Truncate(TrackWidth * FractionOf(value, Min, Max));
  const double d = DefaultValue;
  const long half = TrackWidth / 2;
  if (value < d) return Min == d ? TrackLeft : TrackLeft + Truncate(half * FractionOf(value, Min, d));
  if (value == d) return TrackCentre;
  if (Max == d) return TrackRight + 1;
  return TrackCentre + Truncate(FractionOf(value, d, Max) * (TrackWidth - half));
}

double SliderWindow::ValueAtPointer(long x) const {
  long at = x - GrabX;
  if (at < TrackLeft) at = TrackLeft;
  if (at > PixelOf(Max)) return Max;
  const double diff = at - TrackLeft;
  double value;
  if (!HasDefault) {
    value = TrackWidth > 0 ? Between(Min, Max, diff / TrackWidth) : Min;
  } else {
    const double d = DefaultValue;
    const long half = TrackWidth / 2;
    if (at < TrackCentre)
      value = half > 0 ? Between(Min, d, diff / half) : Min;
    else if (at == TrackCentre || TrackWidth - half <= 0)
      value = d;
    else
      value = Between(d, Max, static_cast<double>(at - TrackCentre) / (TrackWidth - half));
  }
  return value < Min ? Min : value;
}

// One pixel wider than the picture, as the thumb is invalidated.
CRect SliderWindow::ThumbRect(long left) const {
  const long top = TrackTop + ThumbOffset;
  return CRect(left, top, left + ThumbWidth() + 1, top + ThumbHeight());
}

bool SliderWindow::HitsThumb(long x, long y) const {
  const long top = TrackTop + ThumbOffset;
  const long centre = PixelOf(Value);
  const long half = ThumbWidth() / 2;
  return y >= top && y <= top + ThumbHeight() - 1 && x >= centre - half && x <= centre + half;
}

// The strip the thumb can occupy anywhere in the range.
CRect SliderWindow::Band() const {
  const long half = ThumbWidth() / 2;
  const long top = TrackTop + ThumbOffset;
  return CRect(PixelOf(Min) - half, top, PixelOf(Max) + ThumbWidth() - half, top + ThumbHeight());
}

void SliderWindow::SizesFor(double count, double* low, double* high) const {
  // Differences of halves, doubled after the division: a step over a range
  // wider than the largest double stays finite whenever it can be.
  if (HasDefault) {
    *low = (DefaultValue * 0.5 - Min * 0.5) / ((count - 1) * 0.25);
    *high = (Max * 0.5 - DefaultValue * 0.5) / ((count - 1) * 0.25);
  } else {
    *high = (Max * 0.5 - Min * 0.5) / ((count - 1) * 0.5);
    *low = *high;
  }
  if (Integer) {
    *low = std::trunc(*low);
    *high = std::trunc(*high);
  }
}

// The single path by which the user changes the value. The first report of
// a gesture carries high word 1 so that the owner opens an undo step; it is
// made even when the value stays the same.
void SliderWindow::SetValueNotify(double value) {
  if (value == Value && !GestureStart) return;
  Value = Snap(value);
  const WPARAM code = GestureStart ? MAKEWPARAM(TB_THUMBTRACK, 1) : MAKEWPARAM(TB_THUMBTRACK, 0);
  GestureStart = 0;
  if (HWND parent = ::GetParent(m_hWnd)) ::PostMessageA(parent, WM_HSCROLL, code, reinterpret_cast<LPARAM>(m_hWnd));
}

void SliderWindow::StepDown(bool page, bool pointerCheck) {
  if (pointerCheck && PixelOf(Value) <= GrabX) return;
  const double low = page ? PageLow : StepLow;
  const double high = page ? PageHigh : StepHigh;
  double value = Value - low;
  if (HasDefault && Value > DefaultValue + DefaultSlack) {
    value = Value - high;
    if (value < DefaultValue) value = DefaultValue;
  }
  if (value < Min) value = Min;
  SetValueNotify(value);
}

void SliderWindow::StepUp(bool page, bool pointerCheck) {
  if (pointerCheck && PixelOf(Value) >= GrabX) return;
  const double low = page ? PageLow : StepLow;
  const double high = page ? PageHigh : StepHigh;
  double value;
  if (HasDefault && Value < DefaultValue - DefaultSlack) {
    value = Value + low;
    if (value > DefaultValue) value = DefaultValue;
  } else {
    value = Value + (HasDefault ? high : low);
  }
  if (value > Max) value = Max;
  SetValueNotify(value);
}

// After a programmatic change: only the old and the new thumb places are
// repainted, without erasing, and at once.
void SliderWindow::MoveThumb() {
  if (!m_hWnd || !::GetParent(m_hWnd)) return;
  const long left = ThumbLeftOf(Value);
  if (left != ThumbX && ThumbX != -1) {
    CRect old = ThumbRect(ThumbX);
    CRect now = ThumbRect(left);
    ::InvalidateRect(m_hWnd, &old, FALSE);
    ::InvalidateRect(m_hWnd, &now, FALSE);
  }
  UpdateFromTopmostPending(m_hWnd);
}

LRESULT SliderWindow::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
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
      OnLButtonUp(GET_X_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam));
      return 0;
    case WM_RBUTTONDOWN:
      if (OnRButtonDown(GET_X_LPARAM(lParam))) return 0;
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

LRESULT SliderWindow::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= FirstOwnerMessage && m_hWnd)
    if (HWND parent = ::GetParent(m_hWnd)) ::SendMessageA(parent, msg, wParam, lParam);
  return CWnd::DefWindowProc(msg, wParam, lParam);
}

// The edit field losing the focus ends any gesture and completes the entry
// in the owner, which hears of it through its own window.
BOOL SliderWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
  ForwardFieldLeaving(m_hWnd, wParam, lParam);
  return CWnd::OnCommand(wParam, lParam);
}

// The parent acting on one of the slider's notifications moves the focus to
// the slider; the creation and destruction notices are not such acts.
BOOL SliderWindow::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (msg != WM_PARENTNOTIFY && ::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
  return CWnd::OnChildNotify(msg, wParam, lParam, result);
}

void SliderWindow::OnLButtonDown(long x, long y) {
  if (Disabled) return;
  ::SetFocus(m_hWnd);
  Captured = 0;
  DraggingThumb = 0;
  PagingDown = 0;
  PagingUp = 0;
  Moved = 0;
  StartValue = Value;
  const long centre = PixelOf(Value);
  const long half = ThumbWidth() / 2;
  const bool inTrackRow = y >= TrackTop && y <= TrackBottom - 1;
  if (HitsThumb(x, y)) {
    LastX = x;
    GrabX = x - centre;
    DraggingThumb = 1;
  } else if (inTrackRow && x < centre - half && x > TrackLeft - PageZoneMargin) {
    GrabX = x;
    PagingDown = 1;
    StepDown(true, true);
  } else if (inTrackRow && x > centre + half && x < TrackRight + PageZoneMargin) {
    GrabX = x;
    PagingUp = 1;
    StepUp(true, true);
  } else {
    GestureStart = 0;
    return;
  }
  if (!DraggingThumb) {
    RepeatDelay = RepeatTicksBeforeFirst;
    ::SetTimer(m_hWnd, RepeatTimer, RepeatPeriod, nullptr);
    Repeating = 1;
    LastX = x;
  }
  GestureStart = 1;
  Captured = 1;
  ::SetCapture(m_hWnd);
  OnMouseMove(x);
}

void SliderWindow::OnMouseMove(long x) {
  if (!Captured) {
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    return;
  }
  if (x == LastX && !Moved) return;
  Moved = 1;
  if (PagingDown || PagingUp) {
    GrabX = x;
    return;
  }
  if (DraggingThumb) SetValueNotify(ValueAtPointer(x));
}

void SliderWindow::OnLButtonUp(long x) {
  OnMouseMove(x);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (Owner && Owner->Doc) Owner->Doc->SyncRender();
}

// A right press during a gesture ends it and puts the value back.
bool SliderWindow::OnRButtonDown(long x) {
  if (!Captured) return false;
  OnLButtonUp(x);
  SetValueNotify(StartValue);
  return true;
}

// The first ticks only wait, so the first repeat comes 280 ms after the press.
void SliderWindow::OnRepeatTimer() {
  if (!Repeating || (!PagingDown && !PagingUp)) {
    ::KillTimer(m_hWnd, RepeatTimer);
    Repeating = 0;
    return;
  }
  if (RepeatDelay > 0) {
    --RepeatDelay;
    return;
  }
  if (PagingDown)
    StepDown(true, true);
  else
    StepUp(true, true);
}

// Returns false for keys left to the track bar's own processing.
bool SliderWindow::OnKeyDown(WPARAM key, LPARAM flags) {
  if (Disabled) return true;
  if (!(flags & AutoRepeatBit)) GestureStart = 1;
  switch (key) {
    case VK_PRIOR:
      StepDown(true, false);
      return true;
    case VK_NEXT:
      StepUp(true, false);
      return true;
    case VK_END:
      SetValueNotify(Max);
      return true;
    case VK_HOME:
      SetValueNotify(Min);
      return true;
    case VK_LEFT:
      StepDown(false, false);
      return true;
    case VK_RIGHT:
      StepUp(false, false);
      return true;
    default:
      GestureStart = 0;
      return false;
  }
}

void SliderWindow::OnKeyUp(WPARAM key) {
  if (key != VK_CONTROL) SetValueNotify(Value);
}

// Taking the capture again while holding it is no loss.
void SliderWindow::OnCaptureChanged(HWND newCapture) {
  if (newCapture == m_hWnd) return;
  Captured = 0;
  PagingUp = 0;
  PagingDown = 0;
  DraggingThumb = 0;
  GestureStart = 0;
  RepeatDelay = 0;
  if (Repeating) {
    ::KillTimer(m_hWnd, RepeatTimer);
    Repeating = 0;
  }
}

// The thumb band is rebuilt off screen from the background snapshot and
// copied out in one blit, so a moving thumb never flickers or leaves a trail.
// Both pictures hold the thumb's rows of the client area at full width, so
// the band's rows are copied straight across.
// A disabled slider still repaints the band, without the thumb, so that a
// thumb drawn before does not stay behind.
void SliderWindow::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  if (!hdc) return;
  CRect clip;
  if (::GetClipBox(hdc, &clip) != NULLREGION && !clip.IsRectEmpty()) {
    CRect client;
    GetClientRect(&client);
    RefreshSnapshot(client);
    CRect band = Band() & clip;
    band &= client;
    if (Offscreen && BackgroundDC && !band.IsRectEmpty()) {
      CRect rows = band;
      rows.OffsetRect(0, -PictureTop);
      CopyRows(*Offscreen, *Background, rows);
      const long left = ThumbLeftOf(Value);
      const long top = TrackTop + ThumbOffset - PictureTop;
      if (!Disabled) Offscreen->Merge(ThumbPicture(), left, top, 0, 0, ThumbWidth(), ThumbHeight());
      ::BitBlt(hdc, band.left, band.top, band.Width(), band.Height(), MemoryDC, band.left, band.top - PictureTop,
               SRCCOPY);
      ThumbX = left;
    }
  }
  ::EndPaint(m_hWnd, &ps);
}

LRESULT SliderWindow::OnEditColour(HDC hdc, HWND edit) {
  if (LRESULT brush = EditColours(hdc, UnitColour(Unit::SliderWindow, EditColourId))) return brush;
  return CWnd::WindowProc(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(edit));
}

void SliderWindow::RefreshSnapshot(const CRect& client) {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent || !MemoryDC) return;
  CRect inParent = client;
  ::MapWindowPoints(m_hWnd, parent, reinterpret_cast<LPPOINT>(&inParent), 2);
  const long top = std::clamp<long>(TrackTop + ThumbOffset, 0, client.bottom);
  const long bottom = std::clamp<long>(TrackTop + ThumbOffset + ThumbHeight(), top, client.bottom);
  if (inParent == CachedRect && ThumbWidth() == CachedThumbWidth && top == PictureTop && bottom == PictureBottom)
    return;
  TakeSnapshot(parent, client, inParent, top, bottom);
  CachedRect = inParent;
  CachedThumbWidth = ThumbWidth();
  PictureTop = top;
  PictureBottom = bottom;
}

// The parent paints itself straight into the background bitmap, with the
// origin moved to the band's place and drawing held to the parent's client
// area: only the part under the thumb's rows (`top` to `bottom` of the
// client) is painted, so a snapshot costs the band's area whatever the
// parent's size. The DC's state is saved around the parent's painting, so
// nothing the parent selects stays selected.
void SliderWindow::TakeSnapshot(HWND parent, const CRect& client, const CRect& inParent, long top, long bottom) {
  ReleaseOffscreen();
  const bool empty = client.Width() == 0 || bottom <= top;
  if (!empty) {
    Offscreen = new (std::nothrow) DIB(client.Width(), bottom - top);
    if (Offscreen && Offscreen->Bitmap)
      MemoryPrevious = ::SelectObject(MemoryDC, Offscreen->Bitmap);
    else
      ReleaseOffscreen();
  }
  ReleaseBackground();
  CRect whole;
  ::GetClientRect(parent, &whole);
  HDC screen = ::GetDC(nullptr);
  // An empty band still gets a one-pixel picture for the parent to paint.
  Background = new (std::nothrow) DIB(empty ? 1 : client.Width(), empty ? 1 : bottom - top);
  BackgroundDC = Background && Background->Bitmap ? ::CreateCompatibleDC(screen) : nullptr;
  if (BackgroundDC) {
    BackgroundPrevious = ::SelectObject(BackgroundDC, Background->Bitmap);
    const int saved = ::SaveDC(BackgroundDC);
    ::SetViewportOrgEx(BackgroundDC, -inParent.left, -(inParent.top + top), nullptr);
    ::IntersectClipRect(BackgroundDC, whole.left, whole.top, whole.right, whole.bottom);
    ::SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(BackgroundDC), 0);
    ::SendMessageA(parent, WM_PAINT, reinterpret_cast<WPARAM>(BackgroundDC), 0);
    ::RestoreDC(BackgroundDC, saved);
  } else {
    ReleaseBackground();
  }
  if (screen) ::ReleaseDC(nullptr, screen);
}

void SliderWindow::ReleaseOffscreen() {
  if (MemoryDC && MemoryPrevious) ::SelectObject(MemoryDC, MemoryPrevious);
  MemoryPrevious = nullptr;
  delete Offscreen;
  Offscreen = nullptr;
}

void SliderWindow::ReleaseBackground() {
  if (BackgroundDC) {
    if (BackgroundPrevious) ::SelectObject(BackgroundDC, BackgroundPrevious);
    ::DeleteDC(BackgroundDC);
  }
  delete Background;
  BackgroundDC = nullptr;
  Background = nullptr;
  BackgroundPrevious = nullptr;
}

}  // namespace qzc
