#include "panel/screw_control.h"

#include <cmath>
#include <new>

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"

namespace qzc {
namespace {

constexpr uint32_t BackgroundId = 100007;
constexpr uint32_t LayoutId = 100008;

constexpr int ControlWidth = 276;
constexpr int FallbackHeight = 32;  // when the background picture cannot be loaded
constexpr long NoStepsGiven = 1001;

constexpr UINT WheelId = 1001;
constexpr UINT EditId = 0x4E85;
constexpr DWORD WheelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD EditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr UINT EditTextLimit = 25;

// The edit field in the wheel's client coordinates, shared by every screw
// control: set at start-up, then once from the layout resource by the first
// construction.
RECT EditRect;
constexpr uint32_t EditTags = 4;  // after the wheel's four layout values

void LoadLayoutOnce() {
  ResData* data = UnitData(Unit::ScrewControl, LayoutId);
  if (!data || data->Tags) return;
  if (!data->Load() || !data->Tags) return;
  const TagList& layout = *data->Tags;
  const uint32_t first = tag::ScrewLayout + EditTags;
  EditRect = RECT{static_cast<LONG>(layout.GetLong(first, EditRect.left)),
                  static_cast<LONG>(layout.GetLong(first + 1, EditRect.top)),
                  static_cast<LONG>(layout.GetLong(first + 2, EditRect.right)),
                  static_cast<LONG>(layout.GetLong(first + 3, EditRect.bottom))};
}

}  // namespace

constinit const Registration ScrewControlRegistration{"ScrewControl", CreatorAddress(&NewScrewControl), MakeID("ScrC"),
                                                      PanelControlType};

// A control whose wheel could not be made is no control.
InputControl* NewScrewControl() {
  auto* control = static_cast<ScrewControl*>(Create<ScrewControl, InputControl>());
  if (control && !control->Wheel) {
    delete control;
    return nullptr;
  }
  return control;
}

void ScrewControlLayout() {
  EditRect = RECT{224, 2, 274, 20};
}

ScrewControl::ScrewControl() : Wheel(new (std::nothrow) ScrewWheel) {
  ID = MakeID("ScrC");
  LoadLayoutOnce();
}

// The edit field is a child of the wheel, so it goes first.
ScrewControl::~ScrewControl() {
  Edit.DestroyWindow();
  delete Wheel;
  Wheel = nullptr;
}

// A list holding a step count other than the default makes the scale run
// from 0 to the last step unless it gives the upper value itself.
uint32_t ScrewControl::SetAttrsTagList(TagList& tags) {
  Divisions = static_cast<long>(tags.GetLong(tag::ScrewDivisions, Divisions));
  Steps = static_cast<long>(tags.GetLong(tag::StepCount, Steps));
  if (tags.Find(tag::StepCount) && Steps != NoStepsGiven) Upper = static_cast<double>(Steps) - 1.0;
  const long wasReadOnly = ReadOnly;
  ReadOnly = static_cast<long>(tags.GetLong(tag::ReadOnly, ReadOnly));
  TimeType = static_cast<long>(tags.GetLong(tag::TimeType, TimeType));
  Lower = tags.GetDouble(tag::RangeMin, Lower);
  Upper = tags.GetDouble(tag::RangeMax, Upper);
  Lower = tags.GetDouble(tag::DisplayMin, Lower);
  Upper = tags.GetDouble(tag::DisplayMax, Upper);
  Integer = static_cast<long>(tags.GetLong(tag::Integer, Integer));
  Decimals = static_cast<long>(tags.GetLong(tag::Decimals, Decimals));
  Precision = PrecisionFor(Decimals);

  ConfigureEdit();
  ConfigureWheel();
  if (ReadOnly != wasReadOnly) NotifyChanged(nullptr, nullptr);

  const uint32_t result = InputControl::SetAttrsTagList(tags);
  if (Wheel && Wheel->m_hWnd) {
    if (tags.Find(tag::ControlName)) Wheel->SetCaption(Name);
    // A new scale or caption shows at the next paint.
    Wheel->InvalidateRect(nullptr, FALSE);
  }
  return result;
}

// The edit field keeps its state while the wheel is dragged.
void ScrewControl::ConfigureEdit() {
  if (!Wheel || !Wheel->Dragging) Edit.SetDisabled(ReadOnly);
  Edit.SetInteger(Integer);
  Edit.SetTimeType(TimeType);
}

void ScrewControl::ConfigureWheel() {
  if (!Wheel) return;
  Wheel->SetRange(Lower, Upper, FALSE);
  Wheel->SetSteps(Steps);
  Wheel->SetPage(PageCount());
  Wheel->Disabled = static_cast<int>(ReadOnly);
}

// Without divisions, the steps are divided by 2, 5 or 10 until at most ten
// are left; a page is what remains: 100 steps of 1001, 1 step of 10 or fewer.
// No step count at all counts as one step.
long ScrewControl::PageCount() const {
  if (Divisions != 0) return Divisions;
  if (Steps < 1) return 1;
  long d = Steps;
  while (d > 10) {
    if (d / 2 <= 10)
      d /= 2;
    else if (d / 5 <= 10)
      d /= 5;
    else
      d /= 10;
  }
  return Steps / d;
}

// Without a connected input the control shows its own value and writes
// nothing until one is connected.
uint32_t ScrewControl::Open(CWnd* parent, CRect& rect) {
  if (!Wheel || !InputControl::Open(parent, rect)) return 0;
  ResBitmap* background = UnitBitmap(Unit::ScrewControl, BackgroundId);
  const int height = background && background->Load() && background->Height > 0 ? background->Height : FallbackHeight;
  const CRect area(0, 0, ControlWidth, height);
  if (Wheel->Create(WheelStyle, area, Wnd, WheelId)) SetControlFont(*Wheel, Font);
  rect |= area;
  Wheel->SetCaption(Name);
  Wheel->Disabled = static_cast<int>(ReadOnly);

  if (Wheel->m_hWnd && Edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", EditStyle, EditRect, Wheel, EditId)) {
    SetControlFont(Edit, Font);
    Edit.SendMessage(EM_LIMITTEXT, EditTextLimit);
  }
  ConfigureEdit();

  double number;
  if (ReadNumber(*this, FirstInput(*this), &number) && std::isfinite(number)) Value = number;
  ConfigureWheel();
  Wheel->SetValue(Value);
  Edit.SetValue(Value, ShownDecimals());
  return 1;
}

LRESULT ScrewControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_HSCROLL:
      if (Wheel && Wheel->m_hWnd && reinterpret_cast<HWND>(lParam) == Wheel->m_hWnd) OnWheelChange();
      break;
    default:
      break;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

// The value the wheel now holds goes out when it counts as a change; the
// shown value follows when the host tells the control of it. The display is
// refreshed once: by the host's notice of the write, else here, which also
// puts back a wheel turned by less than the precision.
void ScrewControl::OnWheelChange() {
  const double value = Wheel->GetValue();
  const unsigned refreshed = Refreshes;
  if (std::isfinite(value) && HasValueChanged(Integer, value, Value, Precision)) WriteValue(value);
  if (Edit.Disabled() != ReadOnly && !Wheel->Dragging) Edit.SetDisabled(ReadOnly);
  if (Refreshes == refreshed) UpdateDisplay(nullptr);
}

// Takes a number that differs at the control's precision, so a value heard
// again is shown once. Numbers without a place on the wheel (NaN,
// infinities) and values of other kinds are not taken.
void ScrewControl::NotifyChanged(Input* input, Parameter* value) {
  if (value) {
    double number;
    if (!NumberOf(value, &number)) return;
    KeptValue = number;
    ValueKept = true;
    if (!std::isfinite(number)) return;
    if (!HasValueChanged(Integer, number, Value, Precision)) return;
    Value = number;
  }
  InputControl::NotifyChanged(input, value);
}

void ScrewControl::UpdateDisplay(Input*) {
  if (!Wnd) return;
  ++Refreshes;
  if (Wheel) Wheel->SetValue(Value);
  if (Edit.m_hWnd) Edit.SetValue(Value, ShownDecimals());
}

// An input being disconnected keeps its own value, for no frame in particular.
void ScrewControl::OnDisconnect(Input* input) {
  StoreNumber(input, ValueKept ? KeptValue : Value, NoFrameTime);
}

// A typed value is not held to the scale.
void ScrewControl::OnOK() {
  if (Edit.m_hWnd) {
    const double typed = Edit.GetValue(Value);
    if (std::isfinite(typed) && HasValueChanged(Integer, typed, Value, Precision)) WriteValue(typed);
    UpdateDisplay(nullptr);
  }
  InputControl::OnOK();
}

void ScrewControl::WriteValue(double value) {
  WriteNumber(*this, value, CurrentTime(*this));
}

}  // namespace qzc
