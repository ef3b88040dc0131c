#include "panel/colour_control.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/operator.h"
#include "qzsystem/prefs.h"

namespace qzc {
namespace {

constexpr uint32_t BackgroundWithAlphaId = 100019;
constexpr uint32_t BackgroundId = 100122;
constexpr uint32_t FillStripId = 100026;
constexpr uint32_t ThumbIds[ColourControl::Channels] = {100020, 100021, 100022, 100023};
constexpr uint32_t LabelColourId = 100025;
constexpr uint32_t LayoutId = 100024;

constexpr int ControlWidth = 276;
// Heights used when the background pictures cannot be loaded.
constexpr int FallbackHeightWithAlpha = 80;
constexpr int AlphaRowHeight = 16;
constexpr int FallbackThumbHeight = 12;
// Without background 100122 the fill strip covers the alpha row from here.
constexpr int FillTop = 50;

constexpr UINT SwatchId = 2020;
constexpr UINT PickId = 2021;
constexpr UINT FieldIds[ColourControl::Channels] = {30101, 30102, 30103, 30104};
constexpr UINT SliderIds[ColourControl::Channels] = {1001, 1002, 1003, 1004};
constexpr DWORD SwatchStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr DWORD PickStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD FieldStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD LabelStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD SliderStyle = WS_CHILD | WS_VISIBLE;
constexpr UINT FieldTextLimit = 25;
constexpr WORD SwatchCursorId = 382;
constexpr WORD PickCursorId = 335;
constexpr char PickCaption[] = "Pick";
constexpr char DefaultCaption[] = "Color";
constexpr char SwatchText[] = "Color...";
constexpr char ChannelNames[ColourControl::Channels][3] = {"R:", "G:", "B:", "A:"};
constexpr double SliderSteps = 33;
constexpr double SliderPages = 9;

constexpr char SliderUndoName[] = "Control Change";
constexpr char DialogUndoName[] = "Select Colour";
constexpr char CopyUndoName[] = "Copy Colour";

// Presses left of this belong to the swatch and pick buttons.
constexpr int ButtonsRight = 63;
// Bottom rows of the red, green and blue sliders for the host's question.
constexpr int RowBottoms[3] = {16, 32, 48};

// The sixteen layout rectangles, in control-window coordinates. Plain
// structs, set at start-up and then once from the layout resource by the
// first construction.
enum LayoutRect {
  RedRow,
  RedField,
  RedLabel,
  GreenRow,
  GreenField,
  GreenLabel,
  BlueRow,
  BlueField,
  BlueLabel,
  AlphaSliderRow,
  AlphaField,
  AlphaLabel,
  NameWithAlpha,
  SwatchRect,
  PickRect,
  NameWithoutAlpha,
  LayoutRects
};
constexpr RECT LayoutDefaults[LayoutRects] = {
    {87, 4, 207, 16},  {224, 2, 274, 18},  {66, 4, 82, 19},  {87, 20, 207, 32}, {224, 18, 274, 34}, {66, 20, 82, 35},
    {87, 36, 207, 48}, {224, 34, 274, 50}, {66, 36, 82, 51}, {87, 52, 207, 64}, {224, 50, 274, 66}, {66, 52, 82, 67},
    {7, 62, 200, 77},  {4, 4, 64, 23},     {4, 25, 64, 44},  {7, 46, 200, 61}};
RECT Layout[LayoutRects];

const RECT& RowRect(int channel) {
  return Layout[RedRow + 3 * channel];
}
const RECT& FieldRect(int channel) {
  return Layout[RedField + 3 * channel];
}
const RECT& LabelRect(int channel) {
  return Layout[RedLabel + 3 * channel];
}

void LoadClassLayout() {
  ResData* data = UnitData(Unit::ColourControl, LayoutId);
  if (!data || data->Tags) return;
  if (!data->Load() || !data->Tags) return;
  for (int k = 0; k < LayoutRects; ++k) {
    const uint32_t first = tag::ColourLayout + 4 * k;
    const RECT& built = LayoutDefaults[k];
    Layout[k] = RECT{static_cast<LONG>(data->Tags->GetLong(first, built.left)),
                     static_cast<LONG>(data->Tags->GetLong(first + 1, built.top)),
                     static_cast<LONG>(data->Tags->GetLong(first + 2, built.right)),
                     static_cast<LONG>(data->Tags->GetLong(first + 3, built.bottom))};
  }
}

// Number fields show channel x scale; the sliders always run 0..1.
double DisplayScale() {
  switch (GetPrefLong(tag::PrefColourDepth)) {
    case 1:
      return 255.0;
    case 2:
      return 65535.0;
    default:
      return 1.0;
  }
}

// One 8-bit channel of a colour value. Values beyond 0..1 show as none and
// full rather than wrapping round in the low byte.
BYTE ChannelByte(double channel) {
  if (!(channel > 0.0)) return 0;
  if (channel >= 1.0) return 255;
  return static_cast<BYTE>(channel * 255.0);
}

ResBitmap* LoadedBitmap(uint32_t id) {
  ResBitmap* bitmap = UnitBitmap(Unit::ColourControl, id);
  return bitmap && bitmap->Load() && bitmap->Bitmap ? bitmap : nullptr;
}

int ThumbHeight() {
  ResDIB* thumb = UnitDIB(Unit::ColourControl, ThumbIds[0]);
  return thumb && thumb->Load() && thumb->Dib && thumb->Dib->Height > 0 ? thumb->Dib->Height : FallbackThumbHeight;
}

void CopyBitmap(HDC hdc, const ResBitmap& bitmap, int x, int y, int srcY, int height) {
  HDC source = ::CreateCompatibleDC(hdc);
  if (!source) return;
  HGDIOBJ previous = ::SelectObject(source, bitmap.Bitmap);
  ::BitBlt(hdc, x, y, bitmap.Width, height, source, 0, srcY, SRCCOPY);
  ::SelectObject(source, previous);
  ::DeleteDC(source);
}

// Panel controls answer neither input-list request, and their windows'
// default answer 0 would read as "kept": the list would be lost. So a copy
// goes only to a colour control and a pick only to host windows, which
// answer by the convention.
bool AnswersRequest(HWND target, UINT request) {
  InputControl* control = InputControl::FromWindow(target);
  if (!control) return true;
  return request == CopyColourMessage && dynamic_cast<ColourControl*>(control) != nullptr;
}

}  // namespace

constinit const Registration ColourControlRegistration{"ColourControl", CreatorAddress(&NewColourControl),
                                                       MakeID("ColC"), PanelControlType};

InputControl* NewColourControl() {
  return Create<ColourControl, InputControl>();
}

void ColourControlLayout() {
  for (int k = 0; k < LayoutRects; ++k) Layout[k] = LayoutDefaults[k];
}

ColourControl::ColourControl() {
  ID = MakeID("ColC");
  LoadClassLayout();
}

// Edit fields and sliders go while every member is still whole.
ColourControl::~ColourControl() {
  for (int c = 0; c < Channels; ++c) {
    Fields[c].DestroyWindow();
    Sliders[c].DestroyWindow();
    ChannelLabels[c].DestroyWindow();
  }
  NameLabel.DestroyWindow();
  Pick.DestroyWindow();
  Swatch.DestroyWindow();
}

// The base reads the name and document first, so a new caption is shown by
// the display refresh that follows.
uint32_t ColourControl::SetAttrsTagList(TagList& tags) {
  const uint32_t result = InputControl::SetAttrsTagList(tags);
  intptr_t precision = Precision;
  if (tags.Get(tag::Decimals, &precision)) Precision = static_cast<int32_t>(precision);
  if (Wnd && tags.Find(tag::ControlName)) CaptionChanged = 1;
  for (int c = 0; c < Channels; ++c) Sliders[c].SetValue(Shown(c), FALSE);
  NotifyChanged(nullptr, nullptr);
  return result;
}

int ColourControl::ChannelOf(const Input* input) const {
  if (!input) return -1;
  const intptr_t channel = input->GetAttr(tag::PanelIndex);
  if (channel < 0 || channel >= Channels) return -1;
  if (channel == AlphaChannel && !AlphaShown) return -1;
  return static_cast<int>(channel);
}

double ColourControl::Shown(int channel) const {
  return std::isnan(Colour[channel]) ? 0.0 : Colour[channel];
}

COLORREF ColourControl::SwatchColour() const {
  return RGB(ChannelByte(Colour[0]), ChannelByte(Colour[1]), ChannelByte(Colour[2]));
}

const char* ColourControl::Caption() const {
  return Name && *Name ? Name : DefaultCaption;
}

uint32_t ColourControl::Open(CWnd* parent, CRect& rect) {
  if (!InputControl::Open(parent, rect)) return 0;
  AlphaRow = AlphaShown != 0;
  const ResBitmap* withAlpha = LoadedBitmap(BackgroundWithAlphaId);
  const int fullHeight = withAlpha ? withAlpha->Height : FallbackHeightWithAlpha;
  int height = fullHeight;
  if (!AlphaRow) {
    const ResBitmap* withoutAlpha = LoadedBitmap(BackgroundId);
    height = withoutAlpha ? withoutAlpha->Height : fullHeight - AlphaRowHeight;
  }
  rect |= CRect(0, 0, ControlWidth, height);

  // Earlier siblings lie on top for the mouse; the sliders span the whole
  // width, so they go last, under the buttons, fields and labels. The input
  // values are read first so the fields show them from the start.
  ReadInputValues();
  CreateButtons();
  CreateFields();
  CreateLabels();
  CreateSliders();
  return 1;
}

void ColourControl::ReadInputValues() {
  Inputs.ObtainReadLock();
  for (ListNode* node = Inputs.GetNext(nullptr); node; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    const int channel = ChannelOf(input);
    double value = 0.0;
    if (channel >= 0 && ReadNumber(*this, input, &value)) Colour[channel] = value;
  }
  Inputs.ReleaseReadLock();
}

// Every slider is as high as the red thumb, centred on its row; the track is
// the row in the slider's own coordinates.
void ColourControl::CreateSliders() {
  const int thumbHeight = ThumbHeight();
  for (int c = 0; c < RowCount(); ++c) {
    const RECT& row = RowRect(c);
    const int y = row.top + (row.bottom - row.top + 1 - thumbHeight) / 2;
    const RECT window{0, y, ControlWidth, y + thumbHeight};
    const RECT track{row.left, row.top - y, row.right, row.bottom - y};
    SliderWindow& slider = Sliders[c];
    slider.SetThumbImage(UnitDIB(Unit::ColourControl, ThumbIds[c]));
    slider.SetTrackRect(track);
    slider.SetRange(0.0, 1.0, FALSE);
    slider.SetSteps(SliderSteps);
    slider.SetPages(SliderPages);
    slider.SetValue(Shown(c), FALSE);
    if (slider.Create(SliderStyle, window, Wnd, SliderIds[c])) SetControlFont(slider, Font);
  }
}

void ColourControl::CreateButtons() {
  if (Swatch.Create("", SwatchStyle, Layout[SwatchRect], Wnd, SwatchId)) {
    SetControlFont(Swatch, Font);
    Swatch.Message = SwatchDropMessage;
    Swatch.Cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(SwatchCursorId));
    Swatch.Owner = this;
  }
  if (Pick.Create(PickCaption, PickStyle, Layout[PickRect], Wnd, PickId)) {
    SetControlFont(Pick, Font);
    Pick.Message = PickMessage;
    Pick.Cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(PickCursorId));
    Pick.Owner = this;
  }
}

void ColourControl::CreateFields() {
  const double scale = DisplayScale();
  for (int c = 0; c < RowCount(); ++c) {
    TimeCodeEdit& field = Fields[c];
    if (!field.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", FieldStyle, FieldRect(c), Wnd, FieldIds[c])) continue;
    SetControlFont(field, Font);
    field.SendMessage(EM_LIMITTEXT, FieldTextLimit);
    ShowInField(c, scale);
  }
}

void ColourControl::CreateLabels() {
  CreateLabel(NameLabel, Caption(), LabelStyle, Layout[AlphaRow ? NameWithAlpha : NameWithoutAlpha], Wnd, Font,
              Caption());
  for (int c = 0; c < RowCount(); ++c)
    CreateLabel(ChannelLabels[c], ChannelNames[c], LabelStyle, LabelRect(c), Wnd, Font, ChannelNames[c]);
}

LRESULT ColourControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_DRAWITEM:
      if (wParam == SwatchId && lParam) DrawSwatch(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && LOWORD(wParam) == SwatchId) {
        ChooseColour();
        return 0;
      }
      break;
    case WM_HSCROLL:
      CommitSlider(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      break;
    case WM_CTLCOLORSTATIC:
      return LabelColours(reinterpret_cast<HDC>(wParam));
    case SwatchDropMessage:
    case PickMessage:
      SendInputList(msg, reinterpret_cast<HWND>(wParam), lParam);
      return 0;
    case CopyColourMessage:
      CopyColourFrom(reinterpret_cast<List*>(wParam));
      return 0;
    default:
      break;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

// Without background 100122 the full background stands in, its alpha row
// covered by the fill strip, inside the base's bevel.
LRESULT ColourControl::EraseBackground(HDC hdc) {
  if (!hdc) return 1;
  const ResBitmap* withoutAlpha = AlphaRow ? nullptr : LoadedBitmap(BackgroundId);
  const ResBitmap* background = withoutAlpha ? withoutAlpha : LoadedBitmap(BackgroundWithAlphaId);
  if (background) CopyBitmap(hdc, *background, 0, 0, 0, background->Height);
  if (withoutAlpha) return 1;
  CRect client;
  if (Wnd) Wnd->GetClientRect(&client);
  const ResBitmap* strip = AlphaRow ? nullptr : LoadedBitmap(FillStripId);
  if (strip && strip->Height > 0) {
    int srcY = FillTop % strip->Height;
    for (int y = FillTop; y < client.bottom; srcY = 0) {
      const int rows = strip->Height - srcY;
      CopyBitmap(hdc, *strip, 0, y, srcY, rows);
      y += rows;
    }
  }
  DrawBevel(hdc, client);
  return 1;
}

// Black text on light colours, white on dark ones; mid grey counts as dark.
void ColourControl::DrawSwatch(const DRAWITEMSTRUCT* item) {
  HDC hdc = item->hDC;
  if (!hdc) return;
  const float red = static_cast<float>(Shown(0));
  const float green = static_cast<float>(Shown(1));
  const float blue = static_cast<float>(Shown(2));
  HGDIOBJ oldFont = Font ? ::SelectObject(hdc, Font) : nullptr;
  ::SetTextColor(hdc, red + 2 * green + blue > 2.0f ? RGB(0, 0, 0) : RGB(255, 255, 255));
  RECT rc = item->rcItem;
  HBRUSH fill = ::CreateSolidBrush(SwatchColour());
  if (fill) {
    ::FillRect(hdc, &rc, fill);
    ::DeleteObject(fill);
  }
  // The text sits straight on the colour.
  ::SetBkMode(hdc, TRANSPARENT);
  const bool pressed = (item->itemState & ODS_FOCUS) && (item->itemState & ODS_SELECTED);
  const int shift = pressed ? 1 : 0;
  ::TextOutA(hdc, 13 + shift, 2 + shift, SwatchText, static_cast<int>(std::strlen(SwatchText)));
  ::DrawEdge(hdc, &rc, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
  if (oldFont) ::SelectObject(hdc, oldFont);
}

// The dialog speaks 8 bits a channel, so OK writes all three channels at
// that resolution, changed or not; alpha stays.
void ColourControl::ChooseColour() {
  Dialog.m_cc.Flags |= CC_RGBINIT | CC_FULLOPEN;
  Dialog.m_cc.rgbResult = SwatchColour();
  if (Dialog.DoModal() == IDOK) {
    const COLORREF result = Dialog.GetColor();
    const double chosen[3] = {GetRValue(result) * (1.0 / 255), GetGValue(result) * (1.0 / 255),
                              GetBValue(result) * (1.0 / 255)};
    if (Doc) Doc->StartUndo(DialogUndoName);
    const double time = CurrentTime(*this);
    for (uint32_t c = 0; c < 3; ++c) WriteNumber(*this, chosen[c], time, c);
    if (Doc) Doc->EndUndo(1);
  }
  if (Swatch.m_hWnd) Swatch.InvalidateRect(nullptr, TRUE);
}

// The stored channel changes only when the host reports the write back.
void ColourControl::CommitSlider(HWND sender, WORD beginChange) {
  int channel = -1;
  for (int c = 0; c < RowCount(); ++c)
    if (sender && Sliders[c].m_hWnd == sender) channel = c;
  if (channel < 0) return;
  const double value = Sliders[channel].Value;
  if (beginChange && Doc) Doc->StartUndo(SliderUndoName);
  if (value != Colour[channel]) WriteNumber(*this, value, CurrentTime(*this), static_cast<uint32_t>(channel));
  if (beginChange && Doc) Doc->EndUndo(1);
  UpdateDisplay(nullptr);
  Sliders[channel].UpdateWindow();
}

LRESULT ColourControl::LabelColours(HDC hdc) {
  ::SetBkMode(hdc, TRANSPARENT);
  ResColour* colour = UnitColour(Unit::ColourControl, LabelColourId);
  if (colour && colour->Load()) ::SetTextColor(hdc, colour->Colour);
  return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

// The receiver's answer 0 means it kept the list and deletes it; any other
// answer leaves the list to be deleted here.
void ColourControl::SendInputList(UINT message, HWND target, LPARAM point) {
  if (!target || !::IsWindow(target)) return;
  const UINT request = message == PickMessage ? PickRequestMessage : CopyColourMessage;
  if (!AnswersRequest(target, request)) return;
  List* list = new (std::nothrow) List();
  if (!list) return;
  bool complete = true;
  list->ObtainLock();
  Inputs.ObtainReadLock();
  try {
    for (ListNode* node = Inputs.GetNext(nullptr); node; node = Inputs.GetNext(node)) list->Add(node->Obj(), 0, 0);
  } catch (const std::bad_alloc&) {
    complete = false;
  }
  Inputs.ReleaseReadLock();
  list->ReleaseLock();
  if (!complete || list->Count() == 0) {
    delete list;
    return;
  }
  if (::SendMessageA(target, request, reinterpret_cast<WPARAM>(list), point) != 0) delete list;
}

// Each channel of the other control's inputs sets this control's inputs of
// the same channel, as one undo step. The list is this control's to delete.
void ColourControl::CopyColourFrom(List* list) {
  if (Doc) Doc->StartUndo(CopyUndoName);
  if (list) {
    const double time = CurrentTime(*this);
    list->ObtainReadLock();
    for (ListNode* node = list->GetNext(nullptr); node; node = list->GetNext(node)) {
      auto* source = static_cast<Input*>(node->Obj());
      if (!source) continue;
      const intptr_t channel = source->GetAttr(tag::PanelIndex);
      bool bound = false;
      Inputs.ObtainReadLock();
      for (ListNode* own = Inputs.GetNext(nullptr); own && !bound; own = Inputs.GetNext(own))
        bound = static_cast<Input*>(own->Obj())->GetAttr(tag::PanelIndex) == channel;
      Inputs.ReleaseReadLock();
      double value = 0.0;
      if (bound && ReadNumber(*this, source, &value)) WriteNumber(*this, value, time, static_cast<uint32_t>(channel));
    }
    list->ReleaseReadLock();
    delete list;
  }
  if (Doc) Doc->EndUndo(1);
}

Input* ColourControl::GetInputAt(int x, int y) {
  if (x < ButtonsRight) return nullptr;
  int row = 0;
  while (row < 3 && y > RowBottoms[row]) ++row;
  if (row == 3) row = AlphaRow ? AlphaChannel : 2;
  Input* found = nullptr;
  Inputs.ObtainLock();
  for (ListNode* node = Inputs.GetNext(nullptr); node && !found; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (input->GetAttr(tag::PanelIndex) == row) found = input;
  }
  Inputs.ReleaseLock();
  return found;
}

// Alpha is shown when the tool has an alpha input in this control's group;
// it takes effect at the next Open.
uint32_t ColourControl::AddInput(Input* input) {
  if (!InputControl::AddInput(input)) return 0;
  if (Operator* tool = input->Owner) {
    const intptr_t group = input->GetAttr(tag::ControlGroup);
    tool->Inputs.ObtainReadLock();
    for (ListNode* node = tool->Inputs.GetNext(nullptr); node; node = tool->Inputs.GetNext(node)) {
      auto* other = static_cast<Input*>(node->Obj());
      if (other->GetAttr(tag::ControlGroup) == group && other->GetAttr(tag::PanelIndex) == AlphaChannel) AlphaShown = 1;
    }
    tool->Inputs.ReleaseReadLock();
  }
  AutoParameter value(input->GetValue(CurrentTime(*this)));
  if (value) NotifyChanged(input, value);
  return 1;
}

// A repeated value is shown once: only a different one is stored and
// passed on. Two NaNs count as the same.
void ColourControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value) {
    InputControl::NotifyChanged(input, nullptr);
    return;
  }
  double number = 0.0;
  const int channel = ChannelOf(input);
  if (channel < 0 || !NumberOf(value, &number)) return;
  const double stored = Colour[channel];
  if (number == stored || (std::isnan(number) && std::isnan(stored))) return;
  Colour[channel] = number;
  InputControl::NotifyChanged(input, value);
}

void ColourControl::UpdateDisplay(Input* input) {
  if (!Wnd) return;
  const int only = input ? ChannelOf(input) : -1;
  const double scale = DisplayScale();
  for (int c = 0; c < RowCount(); ++c) {
    if (!Fields[c].m_hWnd || (input && c != only)) continue;
    ShowInField(c, scale);
    Sliders[c].SetValue(Shown(c), TRUE);
  }
  if (CaptionChanged && NameLabel.m_hWnd) {
    CaptionChanged = 0;
    NameLabel.SetWindowText(Caption());
    NameLabel.UpdateWindow();
  }
  if (Swatch.m_hWnd) Swatch.InvalidateRect(nullptr, TRUE);
}

// An input being disconnected keeps the colour shown, for no frame in
// particular; a NaN is not written back.
void ColourControl::OnDisconnect(Input* input) {
  const int channel = ChannelOf(input);
  if (channel < 0 || std::isnan(Colour[channel])) return;
  StoreNumber(input, Colour[channel], NoFrameTime);
}

void ColourControl::ShowInField(int channel, double scale) {
  FieldScale[channel] = scale;
  Fields[channel].SetValue(Shown(channel) * scale, Precision);
}

// A field still showing what the control put there was not edited, even
// though its text holds fewer decimals than the channel.
bool ColourControl::FieldUnchanged(int channel) {
  char shown[64];
  TimeCodeEdit::FormatTimeCode(Shown(channel) * FieldScale[channel], shown, Fields[channel].Integer(), Precision,
                               sizeof shown, Fields[channel].TimeType(), 0, 0, 0, 1e15);
  char typed[64] = "";
  Fields[channel].GetWindowText(typed, sizeof typed);
  return std::strcmp(shown, typed) == 0;
}

// What was typed is read at the scale the field showed, whatever the depth
// preference says now. Text that is no number writes nothing.
void ColourControl::OnOK() {
  const double time = CurrentTime(*this);
  for (int c = 0; c < RowCount(); ++c) {
    if (!Fields[c].m_hWnd || FieldUnchanged(c)) continue;
    const double typed = Fields[c].GetValue(std::numeric_limits<double>::quiet_NaN()) / FieldScale[c];
    if (!std::isnan(typed) && typed != Colour[c]) WriteNumber(*this, typed, time, static_cast<uint32_t>(c));
  }
  UpdateDisplay(nullptr);
  InputControl::OnOK();
}

}  // namespace qzc
