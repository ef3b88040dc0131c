#include "panel/check_box_control.h"

#include <cmath>
#include <limits>
#include <new>

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"

namespace qzc {
namespace {

constexpr UINT BoxId = 1000;
constexpr int Margin = 5;
constexpr int BoxTop = 3;
constexpr int BoxBottom = 19;
constexpr int UsedBottom = 22;  // the box and a 3-pixel margin below it
constexpr long Indeterminate = -1;

// Truncation towards zero, saturating, so that any stored number gives a state.
long TruncatedState(double value) {
  if (std::isnan(value)) return 0;
  constexpr double Low = static_cast<double>(std::numeric_limits<long>::min());
  constexpr double High = static_cast<double>(std::numeric_limits<long>::max());
  if (value <= Low) return std::numeric_limits<long>::min();
  if (value >= High) return std::numeric_limits<long>::max();
  return static_cast<long>(value);
}

// The state a number holds; false for a value that is not a number.
bool StateOf(const Parameter* value, long& state) {
  if (!value || value->ID != Number::ClassID) return false;
  state = TruncatedState(static_cast<const Number*>(value)->Value);
  return true;
}

// The platform's third check state stands for the indeterminate value.
WPARAM CheckOf(long state) {
  return state < 0 ? BST_INDETERMINATE : static_cast<WPARAM>(state);
}
long StateOfCheck(LRESULT check) {
  return check == BST_INDETERMINATE ? Indeterminate : static_cast<long>(check);
}

}  // namespace

constinit const Registration CheckBoxControlRegistration{"CheckBoxControl", CreatorAddress(&NewCheckBoxControl),
                                                         MakeID("ChBC"), PanelControlType};

InputControl* NewCheckBoxControl() {
  return Create<CheckBoxControl, InputControl>();
}

CheckBoxControl::CheckBoxControl() {
  ID = MakeID("ChBC");
}

CheckBoxControl::~CheckBoxControl() = default;

uint32_t CheckBoxControl::SetAttrsTagList(TagList& tags) {
  if (tags.Find(tag::CheckBoxThreeState)) {
    ThreeState = static_cast<long>(tags.GetLong(tag::CheckBoxThreeState, ThreeState));
    ApplyBoxStyle();
  }
  InputControl::SetAttrsTagList(tags);
  if (!Box.m_hWnd) return 1;
  FollowDisabled(Box, Disabled);
  if (tags.Find(tag::ControlName)) {
    Box.SetWindowText(Name);
    if (Wnd) Wnd->InvalidateRect(nullptr, TRUE);
  }
  return 1;
}

uint32_t CheckBoxControl::CopyAttr(uint32_t tag, void* out) {
  if (tag == tag::ControlName) {
    if (out) *static_cast<const char**>(out) = Name;
    return 0;
  }
  if (tag == tag::CheckBoxThreeState) {
    if (out) *static_cast<intptr_t*>(out) = ThreeState;
    return 0;
  }
  return InputControl::CopyAttr(tag, out);
}

uint32_t CheckBoxControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width() / Columns;
  if (!InputControl::Open(parent, rect)) return 0;
  if (Box.Create("", PushButtonStyle, CRect(Margin, BoxTop, width - Margin, BoxBottom), Wnd, BoxId)) {
    Box.SetWindowText(Name);
    SetControlFont(Box, Font);
    Box.ModifyStyleEx(0, WS_EX_TRANSPARENT);
  }
  rect |= CRect(Margin, BoxTop, width, UsedBottom);
  ApplyBoxStyle();
  FollowDisabled(Box, Disabled);

  if (Input* input = FirstInput(*this)) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (StateOf(value, State)) NumberOf(value, &Held);
  }
  ShowState();
  return 1;
}

LRESULT CheckBoxControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COMMAND || HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) != BoxId)
    return InputControl::HandleMsg(msg, wParam, lParam);
  // The box has already toggled itself; its check is the state the user chose.
  State = StateOfCheck(Box.m_hWnd ? Box.SendMessage(BM_GETCHECK) : BST_UNCHECKED);
  Held = static_cast<double>(State);
  WriteNumber(*this, Held, CurrentTime(*this));
  ResetUndo();
  return 0;
}

void CheckBoxControl::NotifyChanged(Input* input, Parameter* value) {
  long state;
  if (!StateOf(value, state)) return;
  NumberOf(value, &Held);
  if (state == State) return;
  State = state;
  InputControl::NotifyChanged(input, value);
}

void CheckBoxControl::UpdateDisplay(Input*) {
  ShowState();
}

void CheckBoxControl::OnDisconnect(Input* input) {
  StoreNumber(input, Held, NoFrameTime);
}

void CheckBoxControl::ApplyBoxStyle() {
  if (Box.m_hWnd) Box.SendMessage(BM_SETSTYLE, ThreeState ? BS_AUTO3STATE : BS_AUTOCHECKBOX, TRUE);
}

void CheckBoxControl::ShowState() {
  if (Box.m_hWnd) Box.SendMessage(BM_SETCHECK, CheckOf(State));
}

}  // namespace qzc
