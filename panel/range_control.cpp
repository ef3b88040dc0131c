#include "panel/range_control.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "frame/creator.h"
#include "frame/layout.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"

namespace qzc {
namespace {

constexpr uint32_t BackgroundId = 100010;
constexpr uint32_t LayoutId = 100017;

constexpr int ControlWidth = 276;
constexpr int FallbackHeight = 34;  // without the background picture
constexpr UINT BarId = 1001;
constexpr UINT LowEditId = 0x7595;
constexpr UINT HighEditId = 0x7596;
constexpr DWORD BarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr DWORD EditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr UINT EditTextLimit = 25;
constexpr char UndoName[] = "Control Change";

constexpr uint32_t LowIndex = 0;
constexpr uint32_t HighIndex = 1;
constexpr long ShowInnerTexts = 4;  // bit of the text flags
constexpr int NumberTextSize = 32;
constexpr long TimeCodeTextSize = 31;
constexpr double TimeCodeLimit = 1e9;
// Spans this close count as equal: the whole selection moved.
constexpr double SpanSlack = 1e-9;

// Where the edit fields sit in the bar: set at start-up, then once from the
// layout resource by the first construction.
RECT LowEditRect;
RECT HighEditRect;
constexpr RECT LowEditDefault{2, 2, 52, 20};
constexpr RECT HighEditDefault{224, 2, 274, 20};

void LoadClassLayout() {
  if (const TagList* layout = NewlyLoadedLayout(Unit::RangeControl, LayoutId)) {
    LowEditRect = LayoutRect(*layout, tag::RangeLowEditLayout, LowEditDefault);
    HighEditRect = LayoutRect(*layout, tag::RangeHighEditLayout, HighEditDefault);
  }
}

// Whole numbers round half up; saturating, so any stored number gives one.
long Round(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::floor(value + 0.5);
  if (rounded > 1e15) return 1000000000000000L;
  if (rounded < -1e15) return -1000000000000000L;
  return static_cast<long>(rounded);
}

// A double attribute that is not a number leaves the setting as it was.
double ReadDouble(const TagList& tags, uint32_t tag, double current) {
  const double value = tags.GetDouble(tag, current);
  return std::isfinite(value) ? value : current;
}

// The end an input holds: its index attribute.
intptr_t EndOf(const Input* input) {
  return input ? input->GetAttr(tag::PanelIndex) : -1;
}

bool FiniteNumberOf(const Parameter* value, double* number) {
  return NumberOf(value, number) && std::isfinite(*number);
}

}  // namespace

constinit const Registration RangeControlRegistration{"RangeControl", CreatorAddress(&NewRangeControl), MakeID("RngC"),
                                                      PanelControlType};

InputControl* NewRangeControl() {
  return Create<RangeControl, InputControl>();
}

void RangeControlLayout() {
  LowEditRect = LowEditDefault;
  HighEditRect = HighEditDefault;
}

RangeControl::RangeControl() {
  LoadClassLayout();
  ID = MakeID("RngC");
  Bar = new (std::nothrow) RangeBar();
}

// The edit fields are children of the bar, so they go first.
RangeControl::~RangeControl() {
  LowEdit.DestroyWindow();
  HighEdit.DestroyWindow();
  delete Bar;
}

// A list whose 0x1004000b is 0 is left to the base alone.
uint32_t RangeControl::SetAttrsTagList(TagList& tags) {
  if (tags.GetLong(tag::UseAttributes, 1) != 0) ReadAttributes(tags);
  return InputControl::SetAttrsTagList(tags);
}

// The refresh flag is cleared first and set again only by what the bar must
// redraw for; an update that changes none of it skips exactly one display.
void RangeControl::ReadAttributes(TagList& tags) {
  Refresh = 0;
  const uint32_t newSteps = static_cast<uint32_t>(tags.GetLong(tag::StepCount, Steps));
  TimeType = static_cast<long>(tags.GetLong(tag::TimeType, TimeType));

  const double lowest = ReadDouble(tags, tag::DisplayMin, ReadDouble(tags, tag::RangeMin, Lowest));
  const double highest = ReadDouble(tags, tag::DisplayMax, ReadDouble(tags, tag::RangeMax, Highest));
  const bool rangeChanged = lowest != Lowest || highest != Highest;
  Lowest = lowest;
  Highest = highest;

  const long newKeepSpan = static_cast<long>(tags.GetLong(tag::RangeKeepSpan, KeepSpan));
  const double innerLow = ReadDouble(tags, tag::RangeInnerLow, InnerLowOffset);
  const double innerHigh = ReadDouble(tags, tag::RangeInnerHigh, InnerHighOffset);
  double low = ReadDouble(tags, tag::LowEnd, LowValue);
  double high = ReadDouble(tags, tag::HighEnd, HighValue);

  // A new range refits the selection: kept whole against either bound under
  // keep span (the setting in force before this update), else each end alone.
  if (rangeChanged) {
    if (KeepSpan) {
      if (Highest < high) {
        low = std::max(Highest - (high - low), Lowest);
        high = Highest;
      }
      if (Lowest > low) {
        high = std::min(Lowest + (high - low), Highest);
        low = Lowest;
      }
    } else {
      if (Highest < low) low = Highest;
      if (Lowest > low) low = Lowest;
      if (Lowest > high) high = Lowest;
      if (Highest < high) high = Highest;
    }
    Refresh = 1;
  }

  Integer = static_cast<long>(tags.GetLong(tag::Integer, Integer));
  const long repeatMarks = static_cast<long>(tags.GetLong(tag::RangeRepeatMarks, RepeatMarks));
  const long readOnly = static_cast<long>(tags.GetLong(tag::ReadOnly, ReadOnly));
  const double repeatLimit = ReadDouble(tags, tag::RangeRepeatLimit, RepeatLimit);
  if (repeatMarks != RepeatMarks || readOnly != ReadOnly || repeatLimit != RepeatLimit) Refresh = 1;
  RepeatMarks = repeatMarks;
  ReadOnly = readOnly;
  RepeatLimit = repeatLimit;

  ShowHandles = static_cast<long>(tags.GetLong(tag::RangeShowHandles, ShowHandles));
  TextFlags = static_cast<long>(tags.GetLong(tag::RangeTextFlags, TextFlags));
  if (TextFlags) Refresh = 1;
  Decimals = static_cast<long>(tags.GetLong(tag::Decimals, Decimals));
  Precision = PrecisionFor(Decimals);
  if (ReadTexts(tags)) Refresh = 1;

  ConfigureEdits();
  if (Bar) {
    Bar->SetInteger(Integer);
    Bar->SetRepeatMarks(RepeatMarks, RepeatLimit);
    Bar->SetDisabled(ReadOnly);
    Bar->SetInnerLow(innerLow);
    Bar->SetInnerHigh(innerHigh);
    Bar->SetRange(Lowest, Highest, FALSE);
    Bar->SetSelection(low, high, FALSE);
    Bar->SetShowHandles(ShowHandles);
    // The new setting, so that the bar and the fields agree from now on.
    Bar->SetKeepSpan(newKeepSpan);
    Bar->SetSteps(static_cast<double>(newSteps));
  }
  LowValue = low;
  HighValue = high;
  InnerLowOffset = innerLow;
  InnerHighOffset = innerHigh;
  KeepSpan = newKeepSpan;
  Steps = newSteps;
  NotifyChanged(nullptr, nullptr);
}

// The labels and the span text, each compared with what the bar holds over
// the 127 characters it keeps; true when one changed.
bool RangeControl::ReadTexts(const TagList& tags) {
  static constexpr struct {
    uint32_t Tag;
    RangeText Which;
  } Texts[] = {{tag::RangeLowLabel, RangeText::LowLabel},
               {tag::RangeSpanText, RangeText::Span},
               {tag::RangeHighLabel, RangeText::HighLabel}};
  if (!Bar) return false;
  bool changed = false;
  for (const auto& text : Texts) {
    if (!tags.Find(text.Tag)) continue;
    const char* given = reinterpret_cast<const char*>(tags.GetLong(text.Tag, 0));
    if (!given) given = "";
    if (std::strncmp(given, Bar->GetText(text.Which), RangeBar::TextSize - 1) == 0) continue;
    Bar->SetText(text.Which, given);
    changed = true;
  }
  return changed;
}

// Both fields stay enabled during a drag, so that a drag over a read-only
// control can still end in them.
void RangeControl::ConfigureEdits() {
  for (TimeCodeEdit* edit : {&LowEdit, &HighEdit}) {
    edit->SetDisabled(IsDragged() ? 0 : ReadOnly);
    edit->SetInteger(Integer);
    edit->SetTimeType(TimeType);
  }
}

// Without a bar there is nothing to show the values in: Open fails and
// creates nothing.
uint32_t RangeControl::Open(CWnd* parent, CRect& rect) {
  if (!Bar) return 0;
  if (!InputControl::Open(parent, rect)) return 0;
  ResDIB* background = UnitDIB(Unit::RangeControl, BackgroundId);
  const int height = background && background->Load() && background->Dib && background->Dib->Height > 0
                         ? background->Dib->Height
                         : FallbackHeight;
  const CRect area(0, 0, ControlWidth, height);
  if (!Bar->Create(BarStyle, area, Wnd, BarId)) {
    InputControl::Close();
    return 0;
  }
  Bar->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(Font), TRUE);
  rect |= area;
  const struct {
    TimeCodeEdit& Edit;
    const RECT& Place;
    UINT Id;
  } edits[] = {{LowEdit, LowEditRect, LowEditId}, {HighEdit, HighEditRect, HighEditId}};
  for (const auto& e : edits) {
    if (!e.Edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", EditStyle, e.Place, Bar, e.Id)) continue;
    SetControlFont(e.Edit, Font);
    e.Edit.SendMessage(EM_LIMITTEXT, EditTextLimit);
  }
  ConfigureEdits();
  ShowInEdit(LowEdit, LowValue);
  ShowInEdit(HighEdit, HighValue);
  return 1;
}

LRESULT RangeControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the bar covers the whole control
    case WM_HSCROLL:
      if (Bar && Bar->m_hWnd && reinterpret_cast<HWND>(lParam) == Bar->m_hWnd) OnBarChange(HIWORD(wParam));
      break;
    default:
      break;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

// The left half of the panel belongs to the low end, the right half (from
// its middle on) to the high end.
Input* RangeControl::GetInputAt(int x, int) {
  if (!Wnd) return nullptr;
  CRect client;
  Wnd->GetClientRect(&client);
  const intptr_t end = client.right / 2 <= x ? HighIndex : LowIndex;
  Input* found = nullptr;
  Inputs.ObtainReadLock();
  for (ListNode* node = Inputs.GetNext(nullptr); node && !found; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (EndOf(input) == end) found = input;
  }
  Inputs.ReleaseReadLock();
  return found;
}

// The low input names the low label, the high input the high label, unless
// the tool gave them; each shows its value at once.
uint32_t RangeControl::AddInput(Input* input) {
  if (!input) return 0;
  const intptr_t end = EndOf(input);
  if (end == LowIndex || end == HighIndex) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    const RangeText label = end == LowIndex ? RangeText::LowLabel : RangeText::HighLabel;
    const char* name = reinterpret_cast<const char*>(input->GetAttr(tag::InputName));
    if (Bar && name && !Bar->GetText(label)[0]) Bar->SetText(label, name);
    double number;
    if (FiniteNumberOf(value, &number)) {
      if (end == LowIndex) {
        LowValue = number;
        ShowInEdit(LowEdit, LowValue);
      } else {
        HighValue = number;
        ShowInEdit(HighEdit, HighValue);
      }
      NotifyChanged(nullptr, nullptr);
    }
  }
  return InputControl::AddInput(input);
}

// Takes a value that differs at the control's precision, and shows it once;
// a value seen again changes nothing and writes nothing.
void RangeControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value) {
    InputControl::NotifyChanged(input, nullptr);
    return;
  }
  bool notified = false;
  double v;
  if (NumberOf(value, &v)) {
    const intptr_t end = EndOf(input);
    if (end == LowIndex) KeptLow = v, LowKept = true;
    if (end == HighIndex) KeptHigh = v, HighKept = true;
  }
  if (FiniteNumberOf(value, &v)) {
    const intptr_t end = EndOf(input);
    if (end == LowIndex && HasValueChanged(Integer, v, LowValue, Precision)) {
      LowValue = std::max(v, Lowest);
      InputControl::NotifyChanged(input, value);
      notified = true;
    } else if (end == HighIndex && HasValueChanged(Integer, v, HighValue, Precision)) {
      HighValue = std::min(v, Highest);
      InputControl::NotifyChanged(input, value);
      notified = true;
    }
  }
  if (InnerLowOffset != LastInnerLow)
    InputControl::NotifyChanged(input, value);
  else if (InnerHighOffset != LastInnerHigh && !notified)
    InputControl::NotifyChanged(input, value);
  LastInnerLow = InnerLowOffset;
  LastInnerHigh = InnerHighOffset;
}

void RangeControl::UpdateDisplay(Input*) {
  if (!Wnd || !Refresh) {
    Refresh = 1;
    return;
  }
  if (Bar) {
    ShowTexts();
    if (Integer)
      Bar->SetSelection(Round(LowValue), Round(HighValue), FALSE);
    else
      Bar->SetSelection(LowValue, HighValue, FALSE);
  }
  ShowInEdit(LowEdit, LowValue);
  ShowInEdit(HighEdit, HighValue);
  if (Bar) Bar->Redraw();
  Refresh = 1;
}

// The inner values and the span, as the text flags ask; under the integer
// flag the span counts the whole numbers covered.
void RangeControl::ShowTexts() {
  if (!TextFlags) return;
  char text[NumberTextSize];
  if (TextFlags & ShowInnerTexts) {
    FormatNumber(LowValue + InnerLowOffset, Round(LowValue) + Round(InnerLowOffset), text);
    Bar->SetText(RangeText::LowInner, text);
    FormatNumber(HighValue - InnerHighOffset, Round(HighValue) - Round(InnerHighOffset), text);
    Bar->SetText(RangeText::HighInner, text);
  }
  FormatNumber(HighValue - LowValue, Round(HighValue) - Round(LowValue) + 1, text);
  Bar->SetText(RangeText::Span, text);
}

// As many digits after the point as the host's number fields show at most:
// a decimals attribute of millions would otherwise have printf make millions
// of digits for a 32-character text.
constexpr long MaxTextDecimals = 15;

// `whole` is what the text shows under the integer flag. Empty while
// read-only and not dragged; a time code with a time type.
void RangeControl::FormatNumber(double value, long whole, char* out) const {
  if (ReadOnly && !IsDragged())
    out[0] = '\0';
  else if (TimeType)
    TimeCodeEdit::FormatTimeCode(Integer ? static_cast<double>(whole) : value, out, Integer, ShownDecimals(),
                                 TimeCodeTextSize, TimeType, 0, 0, 0, TimeCodeLimit);
  else if (Integer)
    std::snprintf(out, NumberTextSize, "%ld", whole);
  else
    std::snprintf(out, NumberTextSize, "%.*f", static_cast<int>(std::min(ShownDecimals(), MaxTextDecimals)), value);
}

void RangeControl::ShowInEdit(TimeCodeEdit& edit, double value) {
  if (edit.m_hWnd) edit.SetValue(Integer ? static_cast<double>(Round(value)) : value, ShownDecimals());
}

// A gesture on the bar: its first notification opens the undo step. Ends
// are stored before they are sent, so that the host's echo of each write
// finds the control already showing it.
void RangeControl::OnBarChange(WORD phase) {
  const double oldLow = LowValue;
  const double oldHigh = HighValue;
  // Whole-number inputs are sent whole numbers.
  const double newLow = Integer ? static_cast<double>(Round(Bar->Low)) : Bar->Low;
  const double newHigh = Integer ? static_cast<double>(Round(Bar->High)) : Bar->High;
  const bool undo = phase == PhaseStart && Doc;
  if (undo) Doc->StartUndo(UndoName);
  if (HasValueChanged(Integer, newLow, oldLow, Precision) || HasValueChanged(Integer, newHigh, oldHigh, Precision)) {
    const double oldSpan = oldHigh - oldLow;
    const double newSpan = newHigh - newLow;
    const bool lowRounded = Round(newLow) != Round(oldLow);
    const bool highRounded = Round(newHigh) != Round(oldHigh);
    bool lowChanged, highChanged, lowFirst;
    if (std::fabs(newSpan - oldSpan) <= SpanSlack * std::max(1.0, std::fabs(oldSpan))) {
      lowChanged = highChanged = !Integer || lowRounded || highRounded;
      lowFirst = true;
    } else {
      lowChanged = newLow != oldLow && (!Integer || lowRounded);
      highChanged = newHigh != oldHigh && (!Integer || highRounded);
      lowFirst = newSpan < oldSpan;
    }
    if (lowChanged) LowValue = newLow;
    if (highChanged) HighValue = newHigh;
    if (lowChanged && highChanged) {
      if (lowFirst) Send(newLow, LowIndex, RangeChange::BothDragged);
      Send(newHigh, HighIndex, RangeChange::BothDragged);
      if (!lowFirst) Send(newLow, LowIndex, RangeChange::BothDragged);
    } else if (lowChanged) {
      Send(newLow, LowIndex, RangeChange::LowDragged);
    } else if (highChanged) {
      Send(newHigh, HighIndex, RangeChange::HighDragged);
    }
    if (Integer && !lowChanged) Bar->SetLow(Round(LowValue), FALSE);
    if (Integer && !highChanged) Bar->SetHigh(Round(HighValue), FALSE);
  }
  if (undo) Doc->EndUndo(1);
  if (phase == PhaseEnd && ReadOnly) ConfigureEdits();
  UpdateDisplay(nullptr);
  if (Bar->m_hWnd) Bar->UpdateWindow();
}

void RangeControl::Send(double value, uint32_t index, RangeChange kind) {
  WriteNumber(*this, value, CurrentTime(*this), index, tag::ChangeKind, static_cast<intptr_t>(kind));
}

// Both fields were typed into at most; the low one is applied first, and the
// high one only when the low one sent nothing.
void RangeControl::OnOK() {
  const double oldLow = LowValue;
  const double oldHigh = HighValue;
  if (!TypedLow(oldLow, oldHigh)) TypedHigh(oldLow, oldHigh);
  UpdateDisplay(nullptr);
  InputControl::OnOK();
}

// A low end typed beyond the high end pushes it along (to no more than the
// highest value); with keep span, one that would push the span past the
// highest value puts the selection against it instead.
bool RangeControl::TypedLow(double oldLow, double oldHigh) {
  if (!LowEdit.m_hWnd) return false;
  double v = LowEdit.GetValue(oldLow);
  if (!std::isfinite(v) || !HasValueChanged(Integer, v, oldLow, Precision)) return false;
  bool sent = false;
  bool againstBound = false;
  if (KeepSpan && v > oldLow && v - oldLow + HighValue > Highest) {
    v = Highest - (oldHigh - oldLow);
    ShowInEdit(LowEdit, v);
    Send(Highest, HighIndex, RangeChange::TypedAgainstBound);
    sent = againstBound = true;
  } else if (HighValue < v) {
    v = std::min(v, Highest);
    ShowInEdit(LowEdit, v);
    Send(v, HighIndex, RangeChange::LowTyped);
    sent = true;
  }
  if (v != oldLow) {
    Send(v, LowIndex, againstBound ? RangeChange::TypedAgainstBound : RangeChange::LowTyped);
    sent = true;
  }
  return sent;
}

// A high end typed below the low end stops at it; with keep span, one that
// would drag the span below the lowest value puts the selection against it.
void RangeControl::TypedHigh(double oldLow, double oldHigh) {
  if (!HighEdit.m_hWnd) return;
  double v = HighEdit.GetValue(oldHigh);
  if (!std::isfinite(v) || !HasValueChanged(Integer, v, oldHigh, Precision)) return;
  bool againstBound = false;
  if (KeepSpan && v < oldHigh && LowValue - (oldHigh - v) < Lowest) {
    v = Lowest + (oldHigh - oldLow);
    ShowInEdit(HighEdit, v);
    Send(Lowest, LowIndex, RangeChange::TypedAgainstBound);
    againstBound = true;
  } else if (v < LowValue) {
    v = LowValue;
    ShowInEdit(HighEdit, v);
  }
  if (v != oldHigh) Send(v, HighIndex, againstBound ? RangeChange::TypedAgainstBound : RangeChange::HighTyped);
}

// An input being disconnected keeps its end's value, for no frame in particular.
void RangeControl::OnDisconnect(Input* input) {
  const intptr_t end = EndOf(input);
  if (end == LowIndex) StoreNumber(input, LowKept ? KeptLow : LowValue, NoFrameTime);
  if (end == HighIndex) StoreNumber(input, HighKept ? KeptHigh : HighValue, NoFrameTime);
}

}  // namespace qzc
