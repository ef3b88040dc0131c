#include "button.h"
#include "control_base.h"
#include "control_image.h"
#include "../gdi/text.h"
#include "glyphs.h"
#include "qzplatform/region.h"

namespace qz::controls {
namespace {

constexpr int kTextGap = 4;
constexpr int kSmallIconSize = 16;

// A box just filled with a solid brush that nothing has been drawn over since.
struct Fill {
  RECT box;
  HBRUSH brush;
};

void DrawLabel(HDC hdc, const WindowText& text, RECT* area, UINT format, const Fill* beneath) {
  if (beneath)
    gdi::DrawTextOnFill(hdc, text.c_str(), text.size(), area, format, beneath->box, beneath->brush);
  else
    DrawTextA(hdc, text.c_str(), text.size(), area, format);
}

// Single-line text is centred vertically by DrawText; wrapped text by measuring it first.
void DrawCaption(HDC hdc, const WindowText& text, RECT area, UINT horizontal, bool multiline, const Fill* beneath) {
  if (!multiline) {
    DrawLabel(hdc, text, &area, horizontal | DT_VCENTER | DT_SINGLELINE, beneath);
    return;
  }
  RECT measured = area;
  DrawTextA(hdc, text.c_str(), text.size(), &measured, horizontal | DT_WORDBREAK | DT_CALCRECT);
  int height = measured.bottom - measured.top;
  area.top += (area.bottom - area.top - height) / 2;
  DrawLabel(hdc, text, &area, horizontal | DT_WORDBREAK, beneath);
}

void PaintPush(HWND hwnd, HDC hdc, ButtonState& s, DWORD style, bool pressedLook) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  HBRUSH brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORBTN, COLOR_BTNTEXT, COLOR_BTNFACE);
  if (brush) FillRect(hdc, &rc, brush);
  if (ButtonType(style) == BS_DEFPUSHBUTTON || pressedLook) {
    FrameRect(hdc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME));
    Inset(rc, 1, 1);
  }
  if (pressedLook) {
    FrameRect(hdc, &rc, GetSysColorBrush(COLOR_BTNSHADOW));
    Inset(rc, 1, 1);
  } else {
    DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT | BF_ADJUST);
  }
  int offset = pressedLook ? 1 : 0;
  if (style & (BS_ICON | BS_BITMAP)) {
    PaintImage(hdc, s.image, &s.imageDC, ImagePlacement{rc, true, offset, kSmallIconSize, COLOR_BTNTEXT});
  } else {
    WindowText text(hwnd);
    RECT area = rc;
    Inset(area, 2, 0);
    Shift(area, offset, offset);
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) UseDisabledTextColor(hdc);
    // Inside the frame and edge, the parent's brush is untouched.
    const Fill beneath{rc, brush};
    DrawCaption(hdc, text, area, DT_CENTER, (style & BS_MULTILINE) != 0, brush ? &beneath : nullptr);
  }
  if (s.focused) {
    Inset(rc, 2, 2);
    DrawFocusRect(hdc, &rc);
  }
}

HBRUSH BoxInterior(const ButtonState& s, bool enabled) {
  bool face = s.pushed || !enabled || s.check == BST_INDETERMINATE;
  return GetSysColorBrush(face ? COLOR_BTNFACE : COLOR_WINDOW);
}

HBRUSH MarkInk(const ButtonState& s, bool enabled) {
  if (!enabled) return GetSysColorBrush(COLOR_GRAYTEXT);
  return GetSysColorBrush(s.check == BST_INDETERMINATE ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
}

void PaintBox(HDC hdc, const ButtonState& s, DWORD type, RECT box, bool enabled) {
  if (IsRadioType(type)) {
    PaintRadio(hdc, box.left, box.top, BoxInterior(s, enabled), s.check != BST_UNCHECKED, MarkInk(s, enabled));
    return;
  }
  DrawEdge(hdc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(hdc, &box, BoxInterior(s, enabled));
  if (s.check != BST_UNCHECKED) PaintCheckMark(hdc, box.left + 1, box.top + 1, MarkInk(s, enabled));
}

void PaintCheck(HWND hwnd, HDC hdc, ButtonState& s, DWORD style) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  HBRUSH brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE);
  if (brush) FillRect(hdc, &rc, brush);
  bool enabled = IsWindowEnabled(hwnd);
  RECT box = CheckBoxRect(hwnd, style);
  PaintBox(hdc, s, ButtonType(style), box, enabled);

  RECT area = rc;
  if (style & BS_LEFTTEXT) {
    area.right = box.left - kTextGap;
  } else {
    area.left = box.right + kTextGap;
  }
  WindowText text(hwnd);
  if (!enabled) UseDisabledTextColor(hdc);
  UINT horizontal = (style & BS_LEFTTEXT) ? DT_RIGHT : DT_LEFT;
  // The box is drawn beside the caption's area, clear of it.
  const Fill beneath{IntersectRects(area, rc), brush};
  const bool plainFill = brush && !IsRadioType(ButtonType(style));
  DrawCaption(hdc, text, area, horizontal, (style & BS_MULTILINE) != 0, plainFill ? &beneath : nullptr);
  if (s.focused && text.size() > 0) {
    RECT extent = area;
    DrawTextA(hdc, text.c_str(), text.size(), &extent, horizontal | DT_SINGLELINE | DT_CALCRECT);
    int height = extent.bottom - extent.top;
    RECT focus{area.left - 1, (rc.bottom - height) / 2 - 1, area.left + (extent.right - extent.left) + 1,
               (rc.bottom - height) / 2 + height + 1};
    if (style & BS_LEFTTEXT) Shift(focus, (area.right - area.left) - (extent.right - extent.left), 0);
    focus = IntersectRects(focus, rc);
    DrawFocusRect(hdc, &focus);
  }
}

// The frame is drawn through the middle of the caption line; only the caption's
// background is filled, so the controls inside the group stay visible.
void PaintGroupBox(HWND hwnd, HDC hdc) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  HBRUSH brush = AskParentForColors(hwnd, hdc, WM_CTLCOLORSTATIC, COLOR_WINDOWTEXT, COLOR_BTNFACE);
  TEXTMETRICA tm{};
  GetTextMetricsA(hdc, &tm);
  RECT frame = rc;
  frame.top += tm.tmHeight / 2 - 1;
  DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
  WindowText text(hwnd);
  if (text.size() == 0) return;
  RECT caption{rc.left + 7, rc.top, rc.right - 7, rc.top + tm.tmHeight};
  DrawTextA(hdc, text.c_str(), text.size(), &caption, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
  caption.left -= 1;
  caption.right += 1;
  if (brush) FillRect(hdc, &caption, brush);
  if (!IsWindowEnabled(hwnd)) UseDisabledTextColor(hdc);
  caption.left += 1;
  DrawTextA(hdc, text.c_str(), text.size(), &caption, DT_LEFT | DT_SINGLELINE);
}

void PaintOwnerDraw(HWND hwnd, HDC hdc, const ButtonState& s) {
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  dis.itemID = 0;
  dis.itemAction = ODA_DRAWENTIRE;
  if (s.pushed) dis.itemState |= ODS_SELECTED;
  if (s.focused) dis.itemState |= ODS_FOCUS;
  if (!IsWindowEnabled(hwnd)) dis.itemState |= ODS_DISABLED;
  dis.hwndItem = hwnd;
  dis.hDC = hdc;
  GetClientRect(hwnd, &dis.rcItem);
  HWND parent = GetParent(hwnd);
  if (parent) SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

}  // namespace

RECT CheckBoxRect(HWND hwnd, DWORD style) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  int size = IsRadioType(ButtonType(style)) ? kCheckBoxSize - 1 : kCheckBoxSize;
  RECT box{rc.left, (rc.bottom - size) / 2, rc.left + size, 0};
  if (style & BS_LEFTTEXT) {
    box.left = rc.right - size;
    box.right = rc.right;
  }
  box.bottom = box.top + size;
  return box;
}

void PaintButton(HWND hwnd, HDC hdc, ButtonState& s) {
  DWORD style = StyleOf(hwnd);
  DWORD type = ButtonType(style);
  FontSelection font(hdc, s.font);
  if (type == BS_OWNERDRAW) {
    PaintOwnerDraw(hwnd, hdc, s);
  } else if (type == BS_GROUPBOX) {
    PaintGroupBox(hwnd, hdc);
  } else if (HasCheckState(type) && (style & BS_PUSHLIKE)) {
    PaintPush(hwnd, hdc, s, style & ~static_cast<DWORD>(BS_TYPEMASK), s.pushed || s.check != BST_UNCHECKED);
  } else if (HasCheckState(type)) {
    PaintCheck(hwnd, hdc, s, style);
  } else {
    PaintPush(hwnd, hdc, s, style, s.pushed);
  }
}

}  // namespace qz::controls
