#include "qzsystem/inputcontrol.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "qzsystem/document.h"
#include "qzsystem/parameter.h"

namespace {

constexpr char ControlClassName[] = "QZControlWindow";
// Panel background behind controls that draw no background of their own.
constexpr COLORREF PanelColour = RGB(64, 64, 64);

// Rounds halves away from zero, as std::round does for every double, without
// the library call: a value change is checked on every drag step. From 2^52
// up every double is whole already.
inline double RoundToWhole(double x) {
  constexpr double WholeFrom = 4503599627370496.0;  // 2^52
  if (!(std::fabs(x) < WholeFrom)) return x;
  double whole = static_cast<double>(static_cast<int64_t>(x));
  // The fraction x - whole is exact, and so is the step to the next whole.
  if (std::fabs(x - whole) >= 0.5) whole += std::copysign(1.0, x);
  return std::copysign(whole, x);
}

}  // namespace

// The window the host makes for each panel control. Its first window long
// holds the InputControl*, and every message it receives goes to the
// control's HandleMsg; the base HandleMsg gives it the framework's default.
class ControlWnd : public CWnd {
 public:
  explicit ControlWnd(InputControl* control) : Control(control) {}

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (!Control) return CWnd::WindowProc(msg, wParam, lParam);
    return Control->HandleMsg(msg, wParam, lParam);
  }
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return CWnd::WindowProc(msg, wParam, lParam); }

  InputControl* Control;
};

namespace {

LPCSTR RegisterControlClass() {
  WNDCLASSA wc{};
  if (!GetClassInfoA(nullptr, ControlClassName, &wc)) {
    wc.lpfnWndProc = DefWindowProcA;
    wc.cbWndExtra = sizeof(void*);
    wc.lpszClassName = ControlClassName;
    RegisterClassA(&wc);
  }
  return ControlClassName;
}

char* CopyText(const char* text) {
  if (!text) text = "";
  size_t n = std::strlen(text);
  char* copy = new char[n + 1];
  std::memcpy(copy, text, n + 1);
  return copy;
}

}  // namespace

InputControl::InputControl() : Name(CopyText("")) {}

InputControl::~InputControl() {
  Close();
  Inputs.ObtainLock();
  for (ListNode* node = Inputs.GetFirst(); node; node = Inputs.GetNext(node))
    static_cast<Input*>(node->Obj())->RemoveObserver(this);
  Inputs.Clear();
  Inputs.ReleaseLock();
  delete[] Name;
}

void InputControl::SetName(const char* name) {
  char* copy = CopyText(name);
  delete[] Name;
  Name = copy;
}

// The base keeps the host's own attributes: name, enabled state, flags,
// columns, font and document.
uint32_t InputControl::SetAttrsTagList(TagList& tags) {
  Object::SetAttrsTagList(tags);
  // The attribute copy points at the control's own copy of the name, not at
  // the host's text, which may be freed once the list has been applied.
  if (const intptr_t* name = tags.Find(ControlNameTag)) {
    SetName(reinterpret_cast<const char*>(*name));
    Attrs.Set(ControlNameTag, reinterpret_cast<intptr_t>(Name));
  }
  Disabled = static_cast<uint32_t>(tags.GetLong(ControlDisabledTag, Disabled));
  Flags = static_cast<uint32_t>(tags.GetLong(ControlFlagsTag, Flags));
  int columns = static_cast<int>(tags.GetLong(ControlColumnsTag, Columns));
  Columns = columns > 0 ? columns : 1;
  Font = reinterpret_cast<HFONT>(tags.GetLong(ControlFontTag, reinterpret_cast<intptr_t>(Font)));
  Doc = reinterpret_cast<CPipelineDoc*>(tags.GetLong(ControlDocTag, reinterpret_cast<intptr_t>(Doc)));
  return 1;
}

// Default handling of the control window's messages: Enter or leaving an
// edit field completes the entry (OnOK), a drop goes to OnDropFiles, and the
// background is the panel colour.
LRESULT InputControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!Window) return 0;
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_KILLFOCUS) OnOK();
      break;
    case WM_ERASEBKGND: {
      RECT rc;
      ::GetClientRect(Window->m_hWnd, &rc);
      HBRUSH brush = CreateSolidBrush(PanelColour);
      FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_DROPFILES:
      if (OnDropFiles(reinterpret_cast<HDROP>(wParam))) return 0;
      DragFinish(reinterpret_cast<HDROP>(wParam));
      return 0;
    case ControlRefreshMessage:
      // A control whose disabled state changed: the host shows it afresh.
      UpdateDisplay(nullptr);
      ::InvalidateRect(Window->m_hWnd, nullptr, TRUE);
      return 0;
    default:
      break;
  }
  return Window->Default(msg, wParam, lParam);
}

Input* InputControl::GetInputAt(int, int) {
  return nullptr;
}

// Makes the control window at Position, as wide as `rect` (relative to
// Position); the control grows `rect` to what it uses, and the host then
// sizes the window to it.
uint32_t InputControl::Open(CWnd* parent, CRect& rect) {
  if (!parent || !parent->m_hWnd || Window) return 0;
  ControlWnd* wnd = new (std::nothrow) ControlWnd(this);
  if (!wnd) return 0;
  // Known before creation: the window's first messages already reach HandleMsg.
  Window = wnd;
  Wnd = wnd;
  int height = rect.Height() > 0 ? rect.Height() : 1;
  if (!wnd->CreateEx(WS_EX_CONTROLPARENT, RegisterControlClass(), "", WS_CHILD | WS_VISIBLE, Position.x + rect.left,
                     Position.y + rect.top, rect.Width(), height, parent->m_hWnd, nullptr)) {
    Window = nullptr;
    Wnd = nullptr;
    delete wnd;
    return 0;
  }
  SetWindowLongA(wnd->m_hWnd, 0, reinterpret_cast<LONG_PTR>(this));
  return 1;
}

void InputControl::Close() {
  if (!Window) return;
  ControlWnd* wnd = Window;
  Window = nullptr;
  Wnd = nullptr;
  wnd->Control = nullptr;
  wnd->DestroyWindow();
  delete wnd;
}

// An open control is handed a newly connected input's value at the document's
// current time through its own NotifyChanged, so that it shows it at once.
uint32_t InputControl::AddInput(Input* input) {
  if (!input) return 0;
  Inputs.ObtainLock();
  bool known = Inputs.Find(input) != nullptr;
  if (!known) Inputs.Add(input);
  Inputs.ReleaseLock();
  if (known) return 1;
  input->AddObserver(this);
  if (Window) {
    Parameter* value = input->GetValue(Doc ? Doc->CurrentTime : 0.0);
    if (value) {
      NotifyChanged(input, value);
      value->Recycle();
    }
  }
  return 1;
}

// A connected input is first handed the control's last value (OnDisconnect),
// then taken off the list and no longer observed.
uint32_t InputControl::RemoveInput(Input* input) {
  if (!input) return 0;
  Inputs.ObtainReadLock();
  const bool known = Inputs.Find(input) != nullptr;
  Inputs.ReleaseReadLock();
  if (!known) return 0;
  OnDisconnect(input);
  Inputs.ObtainLock();
  Inputs.Remove(input);
  Inputs.ReleaseLock();
  input->RemoveObserver(this);
  return 1;
}

// Stores the value in every connected input with the given index; each
// input then tells its controls, this one included, through NotifyChanged.
void InputControl::SetInputs(Parameter* value, double time, uint32_t index) {
  Inputs.ObtainLock();
  for (ListNode* node = Inputs.GetNext(nullptr); node; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (static_cast<uint32_t>(input->GetAttr(PanelIndexTag)) != index) continue;
    input->SetValue(value, time, 1);
  }
  Inputs.ReleaseLock();
}

void InputControl::ResetUndo() {
  if (Doc) Doc->ResetUndo();
}

void InputControl::NotifyChanged(Input* input, Parameter*) {
  UpdateDisplay(input);
}

void InputControl::UpdateDisplay(Input*) {}
void InputControl::OnConnect(Input*) {}
void InputControl::OnDisconnect(Input*) {}
uint32_t InputControl::IsEditInRange(HWND) {
  return 1;
}
void InputControl::SetUndo(uint32_t on) {
  UndoEnabled = on;
}
void InputControl::OnOK() {}
void InputControl::OnCancel() {}
uint32_t InputControl::OnDropFiles(HDROP) {
  return 0;
}

void InputControl::DrawBevel(HDC hdc, const RECT& rect) {
  RECT rc = rect;
  DrawEdge(hdc, &rc, EDGE_SUNKEN, BF_RECT);
}

uint32_t InputControl::HasValueChanged(uint32_t integer, double newValue, double oldValue, double precision) {
  if (std::isnan(newValue) != std::isnan(oldValue)) return 1;
  if (std::isnan(newValue)) return 0;
  double unit = integer ? 1.0 : precision;
  if (!(unit > 0.0) || !std::isfinite(unit)) return newValue != oldValue;
  double a = RoundToWhole(newValue / unit);
  double b = RoundToWhole(oldValue / unit);
  // Values so large that they overflow the division are beyond the reach of
  // the precision: any difference counts.
  if (!std::isfinite(a) || !std::isfinite(b)) return newValue != oldValue;
  return a != b;
}

InputControl* InputControl::FromWindow(HWND hwnd) {
  for (; hwnd; hwnd = GetParent(hwnd)) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (auto* control = dynamic_cast<ControlWnd*>(wnd)) return control->Control;
  }
  return nullptr;
}

void InputControl::InputChanged(Input* input, Parameter* value) {
  NotifyChanged(input, value);
}

void InputControl::InputConnected(Input* input, Output*) {
  OnConnect(input);
}
