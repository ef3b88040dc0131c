#include "control_base.h"

#include "../gdi/objects.h"
#include "../gdi/paint_canvas.h"
#include "../user/wm.h"

namespace qz::controls {

// SendMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), hwnd)
// with the window looked up once: a child tells its parent under its id; a
// top-level popup tells its owner, with id 0.
void NotifyParent(HWND hwnd, int code) {
  user::Window* w = user::Find(hwnd);
  if (!w || !w->parent) return;
  bool child = !user::IsTopLevel(w);
  user::Window* parent = child ? w->parent : ((w->style & WS_POPUP) ? w->owner : nullptr);
  if (!parent) return;
  int id = child ? static_cast<int>(w->id) : 0;
  user::Send(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

LRESULT CopyTextOut(std::string_view text, WPARAM size, LPARAM buffer) {
  if (size == 0 || !buffer) return 0;
  char* out = reinterpret_cast<char*>(buffer);
  size_t count = text.size() < size - 1 ? text.size() : size - 1;
  text.copy(out, count);
  out[count] = '\0';
  return static_cast<LRESULT>(count);
}

void NotifyItemDeleted(HWND hwnd, UINT ctlType, int index, ULONG_PTR data, bool ownerDrawn) {
  if (!ownerDrawn && data == 0) return;
  HWND parent = GetParent(hwnd);
  if (!parent || !IsWindow(parent)) return;
  DELETEITEMSTRUCT dis{};
  dis.CtlType = ctlType;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
  dis.itemID = static_cast<UINT>(index);
  dis.hwndItem = hwnd;
  dis.itemData = data;
  SendMessageA(parent, WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

bool IsHollowBrush(HBRUSH brush) {
  if (!brush) return false;
  // A brush answers from its own record (the stock NULL_BRUSH is BS_NULL);
  // any other handle is read as GetObject reads it.
  if (const gdi::Brush* b = gdi::As<gdi::Brush>(brush, OBJ_BRUSH)) return b->log.lbStyle == BS_NULL;
  if (brush == static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))) return true;
  LOGBRUSH lb{};
  return GetObjectA(brush, sizeof(lb), &lb) == sizeof(lb) && lb.lbStyle == BS_NULL;
}

HBRUSH AskParentForColors(HWND hwnd, HDC hdc, UINT ctlColorMessage, int textColorIndex, int backColorIndex) {
  gdi::SetOpaqueColors(hdc, GetSysColor(textColorIndex), GetSysColor(backColorIndex));
  HWND parent = GetParent(hwnd);
  HBRUSH brush = nullptr;
  if (parent) {
    brush = reinterpret_cast<HBRUSH>(
        SendMessageA(parent, ctlColorMessage, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd)));
  }
  // A parent that leaves the message to default processing returns nothing
  // (or zero); the control then keeps its system colours.
  if (!brush) return GetSysColorBrush(backColorIndex);
  if (IsHollowBrush(brush)) return nullptr;
  return brush;
}

HFONT FontOrSystem(HFONT font) {
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

TEXTMETRICA MeasureFont(HWND hwnd, HFONT font) {
  TEXTMETRICA tm{};
  HDC hdc = GetDC(hwnd);
  if (!hdc) return tm;
  {
    FontSelection selection(hdc, font);
    GetTextMetricsA(hdc, &tm);
  }
  ReleaseDC(hwnd, hdc);
  return tm;
}

int AverageCharWidth(HWND hwnd, HFONT font) {
  static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  SIZE size{};
  HDC hdc = GetDC(hwnd);
  if (!hdc) return 0;
  {
    FontSelection selection(hdc, font);
    GetTextExtentPoint32A(hdc, kAlphabet, 52, &size);
  }
  ReleaseDC(hwnd, hdc);
  return (size.cx / 26 + 1) / 2;
}

namespace {

constexpr int kClientEdge = 2;

// GetWindowLongA(GWL_EXSTYLE) and GetWindowRect with the window looked up
// once: every paint of an edit field asks.
bool DrawsOwnEdge(HWND hwnd, const RECT& client) {
  const user::Window* w = user::Find(hwnd);
  if (!w || !(w->exStyle & WS_EX_CLIENTEDGE)) return false;
  const RECT window = user::WindowRectOnScreen(w);
  return window.right - window.left == client.right && window.bottom - window.top == client.bottom;
}

}  // namespace

RECT InnerClientRect(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  if (DrawsOwnEdge(hwnd, client)) Inset(client, kClientEdge, kClientEdge);
  return client;
}

void DrawClientEdge(HWND hwnd, HDC hdc) {
  RECT client{};
  GetClientRect(hwnd, &client);
  if (DrawsOwnEdge(hwnd, client)) DrawEdge(hdc, &client, EDGE_SUNKEN, BF_RECT);
}

RECT PaintClientEdge(HWND hwnd, HDC hdc) {
  RECT client{};
  GetClientRect(hwnd, &client);
  if (DrawsOwnEdge(hwnd, client)) {
    RECT edge = client;
    DrawEdge(hdc, &edge, EDGE_SUNKEN, BF_RECT);
    Inset(client, kClientEdge, kClientEdge);
  }
  return client;
}

WindowText::WindowText(HWND hwnd) {
  inline_[0] = '\0';
  int length = GetWindowTextLengthA(hwnd);
  if (length < static_cast<int>(sizeof(inline_))) {
    length_ = GetWindowTextA(hwnd, inline_, sizeof(inline_));
    return;
  }
  heap_.resize(length + 1);
  length_ = GetWindowTextA(hwnd, heap_.data(), length + 1);
  heap_.resize(length_);
}

void UseDisabledTextColor(HDC hdc) {
  SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
}

}  // namespace qz::controls
