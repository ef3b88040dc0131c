// Temporary definitions so that dependants link while the GDI is built up.
#include "wingdi.h"
#include "winuser.h"
#include "qzplatform/surface.h"

HDC CreateCompatibleDC(HDC) { return nullptr; }
BOOL DeleteDC(HDC) { return FALSE; }
int SaveDC(HDC) { return 0; }
BOOL RestoreDC(HDC, int) { return FALSE; }
int GetDeviceCaps(HDC, int) { return 0; }
HGDIOBJ SelectObject(HDC, HGDIOBJ) { return nullptr; }
HGDIOBJ GetCurrentObject(HDC, UINT) { return nullptr; }
BOOL DeleteObject(HGDIOBJ) { return FALSE; }
HGDIOBJ GetStockObject(int) { return nullptr; }
int GetObjectA(HGDIOBJ, int, LPVOID) { return 0; }
DWORD GetObjectType(HGDIOBJ) { return 0; }
HPEN CreatePen(int, int, COLORREF) { return nullptr; }
HPEN CreatePenIndirect(const LOGPEN*) { return nullptr; }
HBRUSH CreateSolidBrush(COLORREF) { return nullptr; }
HBRUSH CreateBrushIndirect(const LOGBRUSH*) { return nullptr; }
HFONT CreateFontIndirectA(const LOGFONTA*) { return nullptr; }
HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR) {
  return nullptr;
}
HBITMAP CreateCompatibleBitmap(HDC, int, int) { return nullptr; }
HBITMAP CreateBitmap(int, int, UINT, UINT, const void*) { return nullptr; }
HBITMAP CreateDIBSection(HDC, const BITMAPINFO*, UINT, void**, HANDLE, DWORD) { return nullptr; }
HRGN CreateRectRgn(int, int, int, int) { return nullptr; }
HRGN CreateRectRgnIndirect(const RECT*) { return nullptr; }
int CombineRgn(HRGN, HRGN, HRGN, int) { return 0; }
int GetRgnBox(HRGN, LPRECT) { return 0; }
int SetROP2(HDC, int) { return 0; }
int GetROP2(HDC) { return 0; }
int SetBkMode(HDC, int) { return 0; }
int GetBkMode(HDC) { return 0; }
COLORREF SetBkColor(HDC, COLORREF) { return CLR_INVALID; }
COLORREF GetBkColor(HDC) { return CLR_INVALID; }
COLORREF SetTextColor(HDC, COLORREF) { return CLR_INVALID; }
COLORREF GetTextColor(HDC) { return CLR_INVALID; }
UINT SetTextAlign(HDC, UINT) { return 0; }
UINT GetTextAlign(HDC) { return 0; }
BOOL SetViewportOrgEx(HDC, int, int, LPPOINT) { return FALSE; }
BOOL GetViewportOrgEx(HDC, LPPOINT) { return FALSE; }
BOOL OffsetViewportOrgEx(HDC, int, int, LPPOINT) { return FALSE; }
int GetClipBox(HDC, LPRECT) { return 0; }
int IntersectClipRect(HDC, int, int, int, int) { return 0; }
int ExcludeClipRect(HDC, int, int, int, int) { return 0; }
int SelectClipRgn(HDC, HRGN) { return 0; }
BOOL MoveToEx(HDC, int, int, LPPOINT) { return FALSE; }
BOOL LineTo(HDC, int, int) { return FALSE; }
BOOL Polyline(HDC, const POINT*, int) { return FALSE; }
BOOL Polygon(HDC, const POINT*, int) { return FALSE; }
BOOL Rectangle(HDC, int, int, int, int) { return FALSE; }
BOOL Ellipse(HDC, int, int, int, int) { return FALSE; }
COLORREF SetPixel(HDC, int, int, COLORREF) { return CLR_INVALID; }
COLORREF GetPixel(HDC, int, int) { return CLR_INVALID; }
int FillRect(HDC, const RECT*, HBRUSH) { return 0; }
int FrameRect(HDC, const RECT*, HBRUSH) { return 0; }
BOOL DrawEdge(HDC, LPRECT, UINT, UINT) { return FALSE; }
BOOL DrawFocusRect(HDC, const RECT*) { return FALSE; }
BOOL BitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return FALSE; }
BOOL StretchBlt(HDC, int, int, int, int, HDC, int, int, int, int, DWORD) { return FALSE; }
int SetDIBitsToDevice(HDC, int, int, DWORD, DWORD, int, int, UINT, UINT, const void*, const BITMAPINFO*, UINT) {
  return 0;
}
BOOL TextOutA(HDC, int, int, LPCSTR, int) { return FALSE; }
int DrawTextA(HDC, LPCSTR, int, LPRECT, UINT) { return 0; }
LONG TabbedTextOutA(HDC, int, int, LPCSTR, int, int, const INT*, int) { return 0; }
BOOL GetTextExtentPoint32A(HDC, LPCSTR, int, SIZE*) { return FALSE; }
BOOL GetTextMetricsA(HDC, TEXTMETRICA*) { return FALSE; }
int MulDiv(int, int, int) { return -1; }
DWORD GetSysColor(int) { return 0; }
HBRUSH GetSysColorBrush(int) { return nullptr; }

namespace qz {
void Surface::Resize(int w, int h, uint32_t fill) {
  width = w;
  height = h;
  pixels.assign(static_cast<size_t>(w) * h, fill);
}
HDC CreateSurfaceDC(Surface*, POINT, const Region&) { return nullptr; }
Surface* SurfaceOfDC(HDC, POINT*) { return nullptr; }
bool WritePng(const std::string&, int, int, const uint32_t*, int) { return false; }
bool ReadPng(const std::string&, int*, int*, std::vector<uint32_t>*) { return false; }
}  // namespace qz
