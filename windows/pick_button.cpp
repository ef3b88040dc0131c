#include "windows/pick_button.h"

#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"

namespace qzc {
namespace {

constexpr char PickUndoName[] = "Pick Colour";

LPARAM PointParam(POINT point) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(point.x)), static_cast<WORD>(static_cast<short>(point.y)));
}

POINT PointOf(LPARAM lParam) {
  return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// A window of the application lies inside its main window's family; the
// main window itself is never a target.
bool IsApplicationWindow(HWND target) {
  CWnd* main = AfxGetMainWnd();
  if (!target || !main || !main->m_hWnd) return false;
  for (HWND parent = ::GetParent(target); parent; parent = ::GetParent(parent))
    if (parent == main->m_hWnd) return true;
  return false;
}

int ChannelOf(const Input* input) {
  const intptr_t channel = input->GetAttr(tag::PanelIndex);
  return channel >= 0 && channel < PickButton::Channels ? static_cast<int>(channel) : -1;
}

}  // namespace

// An undo step still open when the button goes is closed with it.
PickButton::~PickButton() {
  CloseUndo();
}

LRESULT PickButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (Message != 0) {
    switch (msg) {
      case WM_KILLFOCUS:
        OnGestureLost();
        break;
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWnd) OnGestureLost();
        break;
      // A quick second press is reported as a double click; it starts a
      // gesture all the same.
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        OnLButtonDown();
        break;
      case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        break;
      case WM_LBUTTONUP:
        OnLButtonUp(lParam);
        break;
      case WM_RBUTTONDOWN:
        OnRButtonDown();
        break;
      default:
        break;
    }
  }
  // The parent's answer is the answer: the sender of an input list learns
  // from it whether the list was kept.
  if (Message != 0 && msg >= FirstOwnerMessage && m_hWnd)
    if (HWND parent = ::GetParent(m_hWnd)) return ::SendMessageA(parent, msg, wParam, lParam);
  return CButton::WindowProc(msg, wParam, lParam);
}

HWND PickButton::TargetAt(LPARAM lParam, LPARAM* point) const {
  POINT at = PointOf(lParam);
  ::ClientToScreen(m_hWnd, &at);
  HWND target = ::WindowFromPoint(at);
  if (!target) return nullptr;
  ::ScreenToClient(target, &at);
  *point = PointParam(at);
  return target;
}

void PickButton::OnLButtonDown() {
  ::SetCapture(m_hWnd);
  if (Cursor) ::SetCursor(Cursor);
  Capturing = 1;
  if (!Picks()) return;
  SaveColour();
  if (Owner->Doc && !UndoOpen) {
    Owner->Doc->StartUndo(PickUndoName);
    UndoOpen = true;
  }
}

void PickButton::OnMouseMove(LPARAM lParam) {
  if (!Capturing || Message != PickMessage) return;
  HWND parent = ::GetParent(m_hWnd);
  LPARAM point = 0;
  HWND target = TargetAt(lParam, &point);
  if (!parent || !IsApplicationWindow(target)) return;
  ::PostMessageA(target, PickShowMessage, 0, point);
  ::SendMessageA(parent, Message, reinterpret_cast<WPARAM>(target), point);
}

// Capturing is cleared before the capture goes, so the capture change that
// follows is not taken for a lost gesture.
void PickButton::OnLButtonUp(LPARAM lParam) {
  if (!Capturing) return;
  Capturing = 0;
  ::ReleaseCapture();
  if (HWND parent = ::GetParent(m_hWnd)) {
    LPARAM point = 0;
    HWND target = TargetAt(lParam, &point);
    if (target == m_hWnd)
      ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), 0), reinterpret_cast<LPARAM>(m_hWnd));
    else if (target && target != parent && IsApplicationWindow(target))
      ::SendMessageA(parent, Message, reinterpret_cast<WPARAM>(target), point);
  }
  CloseUndo();
}

void PickButton::OnRButtonDown() {
  if (!Capturing) return;
  Capturing = 0;
  ::ReleaseCapture();
  if (Picks()) RestoreColour();
  CloseUndo();
}

// Focus or capture taken away mid-gesture ends it where it stands: the
// colour picked so far stays, and the pick's undo step is closed rather
// than left open to swallow later changes.
void PickButton::OnGestureLost() {
  if (!Capturing) return;
  Capturing = 0;
  CloseUndo();
}

void PickButton::SaveColour() {
  SavedChannels = 0;
  const double time = CurrentTime(*Owner);
  Owner->Inputs.ObtainReadLock();
  for (ListNode* node = Owner->Inputs.GetNext(nullptr); node; node = Owner->Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    const int channel = ChannelOf(input);
    if (channel < 0) continue;
    AutoParameter value(input->GetValue(time));
    double number = 0.0;
    if (!NumberOf(value, &number)) continue;
    SavedColour[channel] = number;
    SavedChannels |= 1u << channel;
  }
  Owner->Inputs.ReleaseReadLock();
}

// Only channels that had a value at the press are put back.
void PickButton::RestoreColour() {
  uint32_t connected = 0;
  Owner->Inputs.ObtainReadLock();
  for (ListNode* node = Owner->Inputs.GetNext(nullptr); node; node = Owner->Inputs.GetNext(node)) {
    const int channel = ChannelOf(static_cast<Input*>(node->Obj()));
    if (channel >= 0) connected |= 1u << channel;
  }
  Owner->Inputs.ReleaseReadLock();
  const double time = CurrentTime(*Owner);
  for (int channel = 0; channel < Channels; ++channel)
    if (connected & SavedChannels & (1u << channel))
      WriteNumber(*Owner, SavedColour[channel], time, static_cast<uint32_t>(channel));
}

void PickButton::CloseUndo() {
  if (!UndoOpen) return;
  UndoOpen = false;
  if (Owner && Owner->Doc) Owner->Doc->EndUndo(1);
}

}  // namespace qzc
