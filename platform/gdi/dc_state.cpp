#include "dc.h"

using namespace qz::gdi;

namespace {

// Stores a new value of one piece of DC state and returns the old one, or
// `failure` for a bad DC.
template <class T>
T Exchange(HDC hdc, T DcState::*field, T value, T failure) {
  Dc* dc = DcOf(hdc);
  if (!dc) return failure;
  T old = dc->state.*field;
  dc->state.*field = value;
  return old;
}

template <class T>
T Read(HDC hdc, T DcState::*field, T failure) {
  Dc* dc = DcOf(hdc);
  return dc ? dc->state.*field : failure;
}

constexpr UINT kGdiError = 0xFFFFFFFF;

}  // namespace

int SetROP2(HDC hdc, int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return 0;
  return Exchange(hdc, &DcState::rop2, mode, 0);
}

int GetROP2(HDC hdc) {
  return Read(hdc, &DcState::rop2, 0);
}

int SetBkMode(HDC hdc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Exchange(hdc, &DcState::bkMode, mode, 0);
}

int GetBkMode(HDC hdc) {
  return Read(hdc, &DcState::bkMode, 0);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, &DcState::bkColor, color & 0xFFFFFF, CLR_INVALID);
}

COLORREF GetBkColor(HDC hdc) {
  return Read<COLORREF>(hdc, &DcState::bkColor, CLR_INVALID);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  return Exchange<COLORREF>(hdc, &DcState::textColor, color & 0xFFFFFF, CLR_INVALID);
}

COLORREF GetTextColor(HDC hdc) {
  return Read<COLORREF>(hdc, &DcState::textColor, CLR_INVALID);
}

UINT SetTextAlign(HDC hdc, UINT align) {
  return Exchange(hdc, &DcState::textAlign, align, kGdiError);
}

UINT GetTextAlign(HDC hdc) {
  return Read(hdc, &DcState::textAlign, kGdiError);
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.viewportOrg;
  dc->state.viewportOrg = POINT{x, y};
  ForgetRaster(*dc);
  return TRUE;
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin) {
  Dc* dc = DcOf(hdc);
  if (!dc || !origin) return FALSE;
  *origin = dc->state.viewportOrg;
  return TRUE;
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  return SetViewportOrgEx(hdc, dc->state.viewportOrg.x + dx, dc->state.viewportOrg.y + dy, old);
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
  Dc* dc = DcOf(hdc);
  if (!dc) return FALSE;
  if (old) *old = dc->state.current;
  dc->state.current = POINT{x, y};
  return TRUE;
}
