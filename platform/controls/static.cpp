#include "control_base.h"
#include "control_image.h"
#include "../gdi/text.h"
#include "controls.h"

namespace qz::controls {
namespace {

constexpr int kStnClicked = 0;
constexpr int kStnDblClk = 1;
constexpr int kIconSize = 32;

struct StaticState {
  HFONT font = nullptr;
  HANDLE image = nullptr;
  HDC imageDC = nullptr;
  bool transparent = false;  // the parent chose a hollow brush at the last paint
};

DWORD StaticType(DWORD style) {
  return style & SS_TYPEMASK;
}

bool IsTextType(DWORD type) {
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

UINT TextFormat(DWORD style) {
  UINT format = 0;
  switch (StaticType(style)) {
    case SS_CENTER:
      format = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      format = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK;
      break;
    case SS_SIMPLE:
      format = DT_LEFT | DT_SINGLELINE;
      break;
    case SS_LEFTNOWORDWRAP:
      format = DT_LEFT | DT_EXPANDTABS;
      break;
    default:
      format = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK;
      break;
  }
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (style & SS_CENTERIMAGE) format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
  return format;
}

void PaintOwnerDraw(HWND hwnd, HDC hdc) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_STATIC;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  dis.itemAction = ODA_DRAWENTIRE;
  if (!IsWindowEnabled(hwnd)) dis.itemState = ODS_DISABLED;
  dis.hwndItem = hwnd;
  dis.hDC = hdc;
  GetClientRect(hwnd, &dis.rcItem);
  HWND parent = GetParent(hwnd);
  if (parent) SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void PaintStatic(HWND hwnd, HDC hdc, StaticState& s) {
  DWORD style = StyleOf(hwnd);
  DWORD type = StaticType(style);
  FontSelection font(hdc, s.font);
  if (type == SS_OWNERDRAW) {
    PaintOwnerDraw(hwnd, hdc);
    return;
  }
  RECT rc{};
  GetClientRect(hwnd, &rc);
  HBRUSH brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE);
  s.transparent = brush == nullptr;
  if (brush) FillRect(hdc, &rc, brush);
  if (style & SS_SUNKEN) DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  if (type == SS_BITMAP || type == SS_ICON) {
    bool centred = (style & SS_CENTERIMAGE) != 0;
    PaintImage(hdc, s.image, &s.imageDC, ImagePlacement{rc, centred, 0, kIconSize, COLOR_WINDOWTEXT});
    return;
  }
  if (!IsTextType(type)) return;
  WindowText text(hwnd);
  if (!IsWindowEnabled(hwnd)) UseDisabledTextColor(hdc);
  if (brush)
    gdi::DrawTextOnFill(hdc, text.c_str(), text.size(), &rc, TextFormat(style), rc, brush);
  else
    DrawTextA(hdc, text.c_str(), text.size(), &rc, TextFormat(style));
}

// A transparent label draws its new text over the old one unless the parent
// repaints what lies beneath, so the parent's area under it is invalidated too.
void Repaint(HWND hwnd, const StaticState& s) {
  HWND parent = GetParent(hwnd);
  if (s.transparent && parent) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    MapWindowPoints(hwnd, parent, reinterpret_cast<POINT*>(&rc), 2);
    InvalidateRect(parent, &rc, TRUE);
  }
  InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT OnSetImage(HWND hwnd, StaticState& s, LPARAM image) {
  HANDLE previous = s.image;
  s.image = reinterpret_cast<HANDLE>(image);
  InvalidateRect(hwnd, nullptr, TRUE);
  return reinterpret_cast<LRESULT>(previous);
}

void OnNcDestroy(HWND hwnd, StaticState& s) {
  if (s.imageDC) DeleteDC(s.imageDC);
  DetachState<StaticState>(hwnd);
}

}  // namespace

static LRESULT StaticMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, StaticState* s) {
  switch (msg) {
    case WM_NCDESTROY:
      OnNcDestroy(hwnd, *s);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCHITTEST:
      // Without SS_NOTIFY a label lets clicks through to the window beneath.
      if (!(StyleOf(hwnd) & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SETFONT:
      s->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Repaint(hwnd, *s);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(hwnd, msg, wParam, lParam);
      Repaint(hwnd, *s);
      return result;
    }
    case WM_LBUTTONDOWN:
      if (StyleOf(hwnd) & SS_NOTIFY) NotifyParent(hwnd, kStnClicked);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (StyleOf(hwnd) & SS_NOTIFY) NotifyParent(hwnd, kStnDblClk);
      return 0;
    case STM_SETIMAGE:
    case STM_SETICON:
      return OnSetImage(hwnd, *s, msg == STM_SETICON ? static_cast<LPARAM>(wParam) : lParam);
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ControlProc<StaticState>(hwnd, msg, wParam, lParam, PaintStatic, StaticMessage);
}

}  // namespace qz::controls
