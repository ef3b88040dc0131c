#include "panel/offset_control.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"

namespace qzc {
namespace {

constexpr UINT XEditId = 1;
constexpr UINT YEditId = 2;
constexpr DWORD EditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr UINT EditTextLimit = 25;

// The y label and field stand 100 pixels right of the x ones.
constexpr int YShift = 100;
constexpr RECT XLabelRect{5, 5, 25, 21};
constexpr RECT XEditRect{25, 3, 85, 21};
// The name label ends 5 pixels before the right edge; the control uses
// the panel's width down to y 26.
constexpr int NameLabelWidth = 80;
constexpr int RightMargin = 5;
constexpr int NameLabelTop = 5;
constexpr int NameLabelBottom = 23;
constexpr int UsedBottom = 26;

constexpr RECT Shifted(RECT rc, int dx) {
  return RECT{rc.left + dx, rc.top, rc.right + dx, rc.bottom};
}

// Any difference at all; a NaN kept from the input is no difference.
bool ChangedFrom(double value, double stored) {
  return value != stored && !(std::isnan(value) && std::isnan(stored));
}

const Point* AsPoint(const Parameter* value) {
  return value && value->ID == Point::ClassID ? static_cast<const Point*>(value) : nullptr;
}

void CreateField(TimeCodeEdit& edit, const RECT& rect, CWnd* parent, UINT id, HFONT font) {
  if (!edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", EditStyle, rect, parent, id)) return;
  SetControlFont(edit, font);
  edit.SendMessage(EM_LIMITTEXT, EditTextLimit);
}

}  // namespace

const Registration OffsetControlRegistration{"OffsetControl", CreatorAddress(&NewOffsetControl), MakeID("OffC"),
                                             PanelControlType};

InputControl* NewOffsetControl() {
  return Create<OffsetControl, InputControl>();
}

OffsetControl::OffsetControl() {
  ID = MakeID("OffC");
}

OffsetControl::~OffsetControl() {
  NameLabel.DestroyWindow();
  YLabel.DestroyWindow();
  XLabel.DestroyWindow();
  YEdit.DestroyWindow();
  XEdit.DestroyWindow();
}

uint32_t OffsetControl::SetAttrsTagList(TagList& tags) {
  if (tags.Find(tag::DisplayMin)) LowestValue = tags.GetDouble(tag::DisplayMin, LowestValue);
  if (tags.Find(tag::DisplayMax)) HighestValue = tags.GetDouble(tag::DisplayMax, HighestValue);
  if (tags.Find(tag::Decimals)) Decimals = static_cast<long>(tags.GetLong(tag::Decimals, Decimals));
  UpdateDisplay(nullptr);
  const uint32_t result = InputControl::SetAttrsTagList(tags);
  FollowDisabled(XEdit, Disabled);
  FollowDisabled(YEdit, Disabled);
  if (NameLabel.m_hWnd && tags.Find(tag::ControlName)) NameLabel.SetWindowText(Name);
  return result;
}

// Without a connected input (or a Point in it) the fields show the stored
// coordinates.
uint32_t OffsetControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width();
  if (!InputControl::Open(parent, rect)) return 0;
  CreateLabel(XLabel, "X:", LeftLabelStyle, XLabelRect, Wnd, Font, "X:");
  CreateField(XEdit, XEditRect, Wnd, XEditId, Font);
  CreateLabel(YLabel, "Y:", LeftLabelStyle, Shifted(XLabelRect, YShift), Wnd, Font, "Y:");
  CreateField(YEdit, Shifted(XEditRect, YShift), Wnd, YEditId, Font);
  const int nameLeft = width - RightMargin - NameLabelWidth;
  CreateLabel(NameLabel, Name, LeftLabelStyle, CRect(nameLeft, NameLabelTop, width - RightMargin, NameLabelBottom), Wnd,
              Font, Name);
  rect |= CRect(nameLeft, NameLabelTop, width, UsedBottom);
  FollowDisabled(XEdit, Disabled);
  FollowDisabled(YEdit, Disabled);

  if (Input* input = FirstInput(*this)) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (const Point* point = AsPoint(value)) {
      X = point->X;
      Y = point->Y;
    }
  }
  UpdateDisplay(nullptr);
  return 1;
}

// A value equal in both coordinates to the stored one is neither shown
// again nor passed on.
void OffsetControl::NotifyChanged(Input* input, Parameter* value) {
  const Point* point = AsPoint(value);
  if (!point) return;
  const double x = point->X;
  const double y = point->Y;
  if (!ChangedFrom(x, X) && !ChangedFrom(y, Y)) return;
  X = x;
  Y = y;
  InputControl::NotifyChanged(input, value);
}

void OffsetControl::UpdateDisplay(Input* input) {
  if (Wnd) {
    Show(XEdit, X, ShownX);
    Show(YEdit, Y, ShownY);
  }
  InputControl::UpdateDisplay(input);
}

// An input being disconnected keeps the coordinates shown, for no frame in
// particular.
void OffsetControl::OnDisconnect(Input* input) {
  if (!input) return;
  AutoParameter point(new (std::nothrow) Point(static_cast<float>(X), static_cast<float>(Y)));
  if (point) input->SetValue(point, NoFrameTime, 1);
}

// The stored coordinate is tested, not the field's text.
uint32_t OffsetControl::IsEditInRange(HWND edit) {
  if (edit && edit == XEdit.m_hWnd) return InRange(X) ? 1 : 0;
  if (edit && edit == YEdit.m_hWnd) return InRange(Y) ? 1 : 0;
  return InputControl::IsEditInRange(edit);
}

// Any difference from the stored coordinate, even below the decimals shown,
// sends a new Point with both coordinates; a field still showing what the
// control wrote into it holds no entry, so leaving it sends nothing (its
// rounded text must not replace the finer stored value). A field whose entry
// was not taken shows the stored value again.
void OffsetControl::OnOK() {
  double x = X;
  double y = Y;
  const bool enteredX = Entry(XEdit, ShownX, &x);
  const bool enteredY = Entry(YEdit, ShownY, &y);
  if (ChangedFrom(x, X) || ChangedFrom(y, Y)) {
    AutoParameter point(new (std::nothrow) Point(static_cast<float>(x), static_cast<float>(y)));
    if (point) {
      X = x;
      Y = y;
      SetInputs(point, CurrentTime(*this), 0);
    }
  }
  if (enteredX || enteredY) UpdateDisplay(nullptr);
  InputControl::OnOK();
}

void OffsetControl::Show(TimeCodeEdit& edit, double value, char (&shown)[ShownSize]) {
  if (!edit.m_hWnd) return;
  edit.SetValue(value, Decimals);
  ::GetWindowTextA(edit.m_hWnd, shown, ShownSize);
}

// Reads the user's entry in a field into `value` (which holds the stored
// coordinate): false when there is none. Text that is no number, or a number
// beyond a float's range, leaves `value` as it was.
bool OffsetControl::Entry(TimeCodeEdit& edit, const char* shown, double* value) {
  if (!edit.m_hWnd) return false;
  char text[ShownSize];
  ::GetWindowTextA(edit.m_hWnd, text, ShownSize);
  if (std::strcmp(text, shown) == 0) return false;
  const double typed = edit.GetValue(*value);
  if (std::fabs(typed) <= FLT_MAX) *value = typed;
  return true;
}

bool OffsetControl::InRange(double value) const {
  return LowestValue <= value && value <= HighestValue;
}

}  // namespace qzc
