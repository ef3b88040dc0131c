#include "panel/slider_control.h"

#include <bit>
#include <cmath>
#include <cstdint>
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

constexpr uint32_t ThumbPictureId = 100000;
constexpr uint32_t BackgroundId = 100001;
constexpr uint32_t LayoutId = 100002;
constexpr uint32_t LabelColourId = 100003;

constexpr int ControlWidth = 276;
// Used when the background picture cannot be loaded, so the control keeps
// its usual height.
constexpr int FallbackHeight = 32;
constexpr int BackgroundLoadAttempts = 3;
constexpr COLORREF PanelColour = RGB(64, 64, 64);

constexpr UINT SliderId = 1001;
constexpr UINT EditId = 10101;
constexpr DWORD SliderStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD EditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr UINT EditTextLimit = 25;
constexpr char PlaceholderText[] = "Slider";
constexpr char UndoName[] = "Control Change";

// Shared by every slider control, in control-window coordinates: set at
// start-up, then once from the layout resource by the first construction.
// Plain structs, so that no constructor of this unit can run after the
// start-up table has set them.
RECT TrackRect;
RECT EditRect;
RECT NameLabelRect;
RECT SideLabelRect;

// The layout resource holds the four rectangles as sixteen tags (left, top,
// right, bottom each); the name label's left and right are read 3 pixels
// further right than they are used.
constexpr LONG LayoutDefaults[4][4] = {{24, 3, 201, 14}, {224, 2, 274, 20}, {7, 15, 223, 30}, {114, 15, 220, 30}};
constexpr LONG NameLabelShift = 3;

// Layout numbers are host data: one outside the coordinates a panel can
// hold is not used, the built-in value stands instead.
constexpr intptr_t LayoutLimit = 32767;

LONG LayoutNumber(const TagList& layout, uint32_t tag, LONG builtIn) {
  const intptr_t value = layout.GetLong(tag, builtIn);
  return value >= -LayoutLimit && value <= LayoutLimit ? static_cast<LONG>(value) : builtIn;
}

void ReadLayout(const TagList& layout) {
  RECT* const targets[4] = {&TrackRect, &EditRect, &NameLabelRect, &SideLabelRect};
  for (int k = 0; k < 4; ++k) {
    const uint32_t first = tag::SliderLayout + 4 * k;
    LONG at[4];
    for (int i = 0; i < 4; ++i) at[i] = LayoutNumber(layout, first + i, LayoutDefaults[k][i]);
    if (targets[k] == &NameLabelRect) {
      at[0] -= NameLabelShift;
      at[2] -= NameLabelShift;
    }
    *targets[k] = RECT{at[0], at[1], at[2], at[3]};
  }
}

void LoadClassLayout() {
  ResData* data = UnitData(Unit::SliderControl, LayoutId);
  if (!data || data->Tags) return;
  if (data->Load() && data->Tags) ReadLayout(*data->Tags);
}

const Number* AsNumber(const Parameter* value) {
  return value && value->ID == Number::ClassID ? static_cast<const Number*>(value) : nullptr;
}

bool IsPanelInputZero(const Input* input) {
  return input && input->GetAttr(tag::PanelIndex) == 0;
}

// A number attribute that is not finite is refused: `current` is kept.
double FiniteDouble(const TagList& tags, uint32_t tag, double current) {
  const double value = tags.GetDouble(tag, current);
  return std::isfinite(value) ? value : current;
}

// A count given as a number that is not finite is refused the same way.
long FiniteLong(const TagList& tags, uint32_t tag, long current) {
  const TagItem* item = tags.FindItem(tag);
  if (!item || !std::isfinite(item->Double)) return current;
  return static_cast<long>(item->Value);
}

}  // namespace

const Registration SliderControlRegistration{"SliderControl", CreatorAddress(&NewSliderControl), MakeID("SliC"),
                                             PanelControlType};

InputControl* NewSliderControl() {
  return Create<SliderControl, InputControl>();
}

void SliderControlLayout() {
  TrackRect = RECT{24, 9, 201, 14};
  EditRect = RECT{224, 2, 274, 20};
  NameLabelRect = RECT{4, 15, 220, 30};
  SideLabelRect = RECT{114, 15, 220, 30};
}

SliderControl::SliderControl() {
  LoadClassLayout();
  ID = MakeID("SliC");
}

// The edit field is a child of the slider, so it goes first; the windows
// are destroyed while every member is still whole.
SliderControl::~SliderControl() {
  Edit.DestroyWindow();
  Slider.DestroyWindow();
  SideLabel.DestroyWindow();
  NameLabel.DestroyWindow();
}

// A list whose 0x1004000b is 0 is left to the base alone.
uint32_t SliderControl::SetAttrsTagList(TagList& tags) {
  if (tags.GetLong(tag::UseAttributes, 1) != 0) ReadAttributes(tags);
  const uint32_t result = InputControl::SetAttrsTagList(tags);
  // The labels' texts are kept as copies of their own; the attribute copy
  // keeps no pointer to the host's text, which may be freed after this call.
  Attrs.Remove(tag::SliderLeftLabel);
  Attrs.Remove(tag::SliderRightLabel);
  return result;
}

void SliderControl::ReadAttributes(TagList& tags) {
  const long wasReadOnly = ReadOnly;
  Steps = FiniteLong(tags, tag::StepCount, Steps);
  Pages = FiniteLong(tags, tag::SliderPages, Pages);
  TimeType = static_cast<long>(tags.GetLong(tag::TimeType, TimeType));
  Snap = static_cast<long>(tags.GetLong(tag::Snap, Snap));
  DisplayMin = FiniteDouble(tags, tag::RangeMin, DisplayMin);
  DisplayMax = FiniteDouble(tags, tag::RangeMax, DisplayMax);
  DisplayMin = FiniteDouble(tags, tag::DisplayMin, DisplayMin);
  DisplayMax = FiniteDouble(tags, tag::DisplayMax, DisplayMax);
  Integer = static_cast<long>(tags.GetLong(tag::Integer, Integer));
  ReadOnly = static_cast<long>(tags.GetLong(tag::ReadOnly, ReadOnly));
  Decimals = static_cast<long>(tags.GetLong(tag::Decimals, Decimals));
  Precision = PrecisionFor(Decimals);
  DefaultValue = FiniteDouble(tags, tag::DefaultValue, DefaultValue);
  if (tags.Find(tag::DefaultValue) && std::isfinite(tags.GetDouble(tag::DefaultValue, 0.0))) HasDefault = 1;

  ConfigureEdit();
  ConfigureSlider();
  // An integer slider without a step count has one position per whole number
  // (a range given backwards counts as the same range in order).
  if (Integer && !tags.Find(tag::StepCount))
    Steps = WholeNumber(std::fabs(DisplayMax * 0.5 - DisplayMin * 0.5) * 2.0 + 1.0);
  ConfigureSteps();
  Slider.SetValue(Value, FALSE);

  ReadLabels(tags);
  if (ReadOnly != wasReadOnly) LabelsDirty = 1;
  NotifyChanged(nullptr, nullptr);
}

// The name label's text always starts with a space.
void SliderControl::ReadLabels(const TagList& tags) {
  if (const intptr_t* name = tags.Find(tag::SliderLeftLabel)) {
    const char* text = reinterpret_cast<const char*>(*name);
    std::string named = " ";
    named += text ? text : "";
    if (named != NameText) {
      NameText = std::move(named);
      LabelsDirty = 1;
    }
  }
  if (const intptr_t* side = tags.Find(tag::SliderRightLabel)) {
    const char* text = reinterpret_cast<const char*>(*side);
    if (!text) text = "";
    if (SideText != text) {
      SideText = text;
      LabelsDirty = 1;
    }
  }
}

void SliderControl::ConfigureSlider() {
  Slider.SetSnap(Snap);
  Slider.SetInteger(Integer);
  Slider.SetDisabled(ReadOnly);
  Slider.SetRange(DisplayMin, DisplayMax, FALSE);
  if (HasDefault) Slider.SetDefault(DefaultValue);
}

void SliderControl::ConfigureSteps() {
  Slider.SetSteps(Steps);
  Slider.SetPages(Pages);
}

void SliderControl::ConfigureEdit() {
  Edit.SetDisabled(ReadOnly);
  Edit.SetInteger(Integer);
  Edit.SetTimeType(TimeType);
}

uint32_t SliderControl::Open(CWnd* parent, CRect& rect) {
  if (!InputControl::Open(parent, rect)) return 0;
  ResBitmap* background = UnitBitmap(Unit::SliderControl, BackgroundId);
  const int height = background && background->Load() && background->Height > 0 ? background->Height : FallbackHeight;
  const CRect area(0, 0, ControlWidth, height);
  rect |= area;

  Slider.SetTrackRect(TrackRect);
  Slider.SetThumbImage(UnitDIB(Unit::SliderControl, ThumbPictureId));
  ConfigureSlider();
  ConfigureSteps();
  ReadInitialValue();

  CreateLabel(NameLabel, PlaceholderText, LeftLabelStyle, NameLabelRect, Wnd, Font, NameText.c_str());
  CreateLabel(SideLabel, PlaceholderText, RightLabelStyle, SideLabelRect, Wnd, Font, SideText.c_str());

  Slider.SetValue(Value, FALSE);
  if (Slider.Create(SliderStyle, area, Wnd, SliderId)) {
    SetControlFont(Slider, Font);
    if (Edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", EditStyle, EditRect, &Slider, EditId)) {
      SetControlFont(Edit, Font);
      Edit.SendMessage(EM_LIMITTEXT, EditTextLimit);
    }
  }
  ConfigureEdit();
  Edit.SetValue(Value, ShownDecimals());
  return 1;
}

// Only the first input connected as index 0 is asked.
void SliderControl::ReadInitialValue() {
  Inputs.ObtainReadLock();
  for (ListNode* node = Inputs.GetNext(nullptr); node; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (!IsPanelInputZero(input)) continue;
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (const Number* number = AsNumber(value)) Value = number->Value;
    break;
  }
  Inputs.ReleaseReadLock();
}

LRESULT SliderControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_HSCROLL:
      if (Slider.m_hWnd && reinterpret_cast<HWND>(lParam) == Slider.m_hWnd) CommitSliderValue(HIWORD(wParam));
      break;
    case WM_CTLCOLORSTATIC:
      return LabelColours(reinterpret_cast<HDC>(wParam));
    default:
      break;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

// Without its picture the control shows the panel colour.
LRESULT SliderControl::EraseBackground(HDC hdc) {
  if (!hdc) return 1;
  ResBitmap* picture = UnitBitmap(Unit::SliderControl, BackgroundId);
  bool loaded = false;
  for (int attempt = 0; picture && !loaded && attempt < BackgroundLoadAttempts; ++attempt)
    loaded = picture->Load() != 0 && picture->Bitmap;
  if (!loaded) {
    CRect client;
    if (Wnd) Wnd->GetClientRect(&client);
    HBRUSH brush = ::CreateSolidBrush(PanelColour);
    if (brush) {
      ::FillRect(hdc, &client, brush);
      ::DeleteObject(brush);
    }
    return 1;
  }
  HDC source = ::CreateCompatibleDC(hdc);
  if (!source) return 1;
  HGDIOBJ previous = ::SelectObject(source, picture->Bitmap);
  ::BitBlt(hdc, 0, 0, picture->Width, picture->Height, source, 0, 0, SRCCOPY);
  ::SelectObject(source, previous);
  ::DeleteDC(source);
  return 1;
}

// The labels draw their text straight over the background picture.
LRESULT SliderControl::LabelColours(HDC hdc) {
  ::SetBkMode(hdc, TRANSPARENT);
  ResColour* colour = UnitColour(Unit::SliderControl, LabelColourId);
  if (colour && colour->Load()) ::SetTextColor(hdc, colour->Colour);
  return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

// The first change of a gesture opens the undo step the rest of it joins.
void SliderControl::CommitSliderValue(WORD undo) {
  const double value = Slider.Value;
  if (undo && Doc) Doc->StartUndo(UndoName);
  const unsigned long updates = DisplayUpdates;
  if (HasValueChanged(Integer, value, Value, Precision)) WriteValue(value);
  if (undo && Doc) Doc->EndUndo(1);
  // A write is normally shown already, by the input's notice; showing the
  // same value again would change nothing.
  if (DisplayUpdates == updates || !StillShown()) UpdateDisplay(nullptr);
}

// True while the value, the slider's value and the number's decimals are
// exactly (to the bit) what the last display update left.
bool SliderControl::StillShown() const {
  return std::bit_cast<uint64_t>(Value) == std::bit_cast<uint64_t>(ShownValue) &&
         std::bit_cast<uint64_t>(Slider.Value) == std::bit_cast<uint64_t>(ShownSliderValue) &&
         ShownDecimals() == ShownDecimalCount && !LabelsDirty;
}

// A value that is not finite (a number typed beyond the double range) is
// never written.
void SliderControl::WriteValue(double value) {
  if (!std::isfinite(value)) return;
  WriteNumber(*this, value, CurrentTime(*this));
}

Input* SliderControl::GetInputAt(int, int) {
  return FirstInput(*this);
}

// The first input connected as index 0 names the control when no name was
// given; the label shows the plain name until it is next redrawn.
uint32_t SliderControl::AddInput(Input* input) {
  if (!InputControl::AddInput(input)) return 0;
  AutoParameter value(input->GetValue(CurrentTime(*this)));
  if (NameText.empty() && IsPanelInputZero(input)) {
    const char* name = reinterpret_cast<const char*>(input->GetAttr(tag::InputName));
    if (!name) name = "";
    if (NameLabel.m_hWnd) NameLabel.SetWindowText(name);
    NameText = " ";
    NameText += name;
  }
  if (value) NotifyChanged(input, value);
  return 1;
}

// Shows a value that differs at the control's precision; a changed default
// is shown even when the value stays.
void SliderControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value) {
    InputControl::NotifyChanged(input, nullptr);
    return;
  }
  const Number* number = AsNumber(value);
  const bool taken = number && IsPanelInputZero(input);
  const bool shown = taken && HasValueChanged(Integer, number->Value, Value, Precision);
  // The value is kept exactly even when the change is too small to show,
  // so that writing it back on disconnection never changes the input.
  if (taken) Value = number->Value;
  if (shown) {
    InputControl::NotifyChanged(input, value);
  } else if (DefaultValue != PrevDefault) {
    InputControl::NotifyChanged(input, value);
  }
  PrevDefault = DefaultValue;
}

void SliderControl::UpdateDisplay(Input*) {
  if (!Wnd) return;
  if (Edit.m_hWnd) {
    Edit.SetValue(Value, ShownDecimals());
    Slider.SetValue(Value, TRUE);
  }
  if (LabelsDirty && NameLabel.m_hWnd && SideLabel.m_hWnd) {
    NameLabel.SetWindowText(NameText.c_str());
    SideLabel.SetWindowText(SideText.c_str());
    Wnd->InvalidateRect(nullptr, TRUE);
    LabelsDirty = 0;
  }
  ++DisplayUpdates;
  ShownValue = Value;
  ShownSliderValue = Slider.Value;
  ShownDecimalCount = ShownDecimals();
}

// An input being disconnected keeps the value shown, for no frame in particular.
void SliderControl::OnDisconnect(Input* input) {
  StoreNumber(input, Value, NoFrameTime);
}

void SliderControl::OnOK() {
  if (Edit.m_hWnd) {
    const double typed = Slider.Snap(Edit.GetValue(Value));
    if (HasValueChanged(Integer, typed, Value, Precision)) WriteValue(typed);
  }
  UpdateDisplay(nullptr);
  InputControl::OnOK();
}

}  // namespace qzc
