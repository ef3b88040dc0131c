#include "panel/combo_control.h"

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

constexpr UINT ChoiceId = 1000;
constexpr DWORD ChoiceStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_AUTOHSCROLL | CBS_DROPDOWNLIST;
constexpr int Margin = 5;
constexpr int ChoiceTop = 3;
constexpr int ChoiceBottom = 223;   // the list's dropped-down height
constexpr int ChoiceRightGap = 90;  // room for the label on the right
constexpr int LabelLeftGap = 85;
constexpr int LabelTop = 7;
constexpr int LabelBottom = 25;
constexpr int UsedBottom = 28;
// Truncation towards zero; a value outside the int range (or NaN) selects nothing.
int EntryIndex(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return CB_ERR;
  return static_cast<int>(value);
}

}  // namespace

constinit const Registration ComboControlRegistration{"ComboControl", CreatorAddress(&NewComboControl), MakeID("ComC"),
                                                      PanelControlType};

InputControl* NewComboControl() {
  return Create<ComboControl, InputControl>();
}

ComboControl::ComboControl() {
  ID = MakeID("ComC");
}

ComboControl::~ComboControl() = default;

// The host applies a tool's attributes again whenever they change, so entries
// given in a list replace the earlier ones rather than adding to them.
uint32_t ComboControl::SetAttrsTagList(TagList& tags) {
  if (const intptr_t* first = tags.Find(tag::ComboEntry)) ReplaceItems(tags, first);
  const uint32_t result = InputControl::SetAttrsTagList(tags);
  // The entries are kept as copies in Items; the attribute copy keeps no
  // pointer to the host's texts, which may be freed after this call.
  Attrs.Remove(tag::ComboEntry);
  FollowEnabledState();
  return result;
}

uint32_t ComboControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width();
  if (!InputControl::Open(parent, rect)) return 0;
  if (Choice.Create(ChoiceStyle, CRect(Margin, ChoiceTop, width - ChoiceRightGap, ChoiceBottom), Wnd, ChoiceId))
    SetControlFont(Choice, Font);
  CreateLabel(NameLabel, "", LeftLabelStyle, CRect(width - LabelLeftGap, LabelTop, width - Margin, LabelBottom), Wnd,
              Font, Name);
  rect |= CRect(width - LabelLeftGap, LabelTop, width, UsedBottom);
  FollowEnabledState();
  FillChoice();

  if (Input* input = FirstInput(*this)) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    double number;
    if (NumberOf(value, &number)) Selected = number;
  }
  ShowSelected();
  return 1;
}

// Every message also reaches the base handler, the chosen entry included.
LRESULT ComboControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == CBN_SELENDOK && LOWORD(wParam) == ChoiceId && Choice.m_hWnd) {
    const int index = Choice.GetCurSel();
    if (index >= 0) {
      Selected = index;
      WriteSelected(CurrentTime(*this));
      ResetUndo();
    }
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

Input* ComboControl::GetInputAt(int, int) {
  return FirstInput(*this);
}

// The value is always kept; the display is refreshed only when it names
// another entry.
void ComboControl::NotifyChanged(Input* input, Parameter* value) {
  double number;
  if (!NumberOf(value, &number)) return;
  const bool sameEntry = EntryIndex(number) == EntryIndex(Selected);
  Selected = number;
  if (!sameEntry) InputControl::NotifyChanged(input, value);
}

void ComboControl::UpdateDisplay(Input*) {
  if (Wnd) ShowSelected();
}

void ComboControl::OnDisconnect(Input*) {
  WriteSelected(NoFrameTime);
}

void ComboControl::ReplaceItems(const TagList& tags, const intptr_t* first) {
  Items.ObtainLock();
  Items.Clear();
  for (const intptr_t* entry = first; entry; entry = tags.FindNext(tag::ComboEntry, entry))
    Items.AddString(reinterpret_cast<const char*>(*entry));
  Items.ReleaseLock();
  if (!Choice.m_hWnd) return;
  Choice.ResetContent();
  FillChoice();
  ShowSelected();
}

void ComboControl::FillChoice() {
  if (!Choice.m_hWnd) return;
  Items.ObtainLock();
  for (ListNode* node = Items.GetNext(nullptr); node; node = Items.GetNext(node)) Choice.AddString(node->Str());
  Items.ReleaseLock();
}

void ComboControl::FollowEnabledState() {
  FollowDisabled(Choice, Disabled);
  FollowDisabled(NameLabel, Disabled);
}

void ComboControl::ShowSelected() {
  if (Choice.m_hWnd) Choice.SetCurSel(EntryIndex(Selected));
}

void ComboControl::WriteSelected(double time) {
  WriteNumber(*this, Selected, time);
}

}  // namespace qzc
