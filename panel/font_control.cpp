#include "panel/font_control.h"

#include <cmath>
#include <cstring>

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"

namespace qzc {
namespace {

constexpr UINT SelectId = 2020;
constexpr UINT FaceId = 111;
constexpr uint32_t PointSizeTag = tag::Specific0;
constexpr uint32_t FaceIndex = 0;
constexpr uint32_t StyleIndex = 1;
constexpr DWORD FaceFieldStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr RECT UsedRect{0, 0, 276, 38};
constexpr RECT SelectRect{201, 6, 274, 24};
constexpr RECT FaceRect{6, 6, 6 + 190, 6 + 18};
constexpr RECT LabelRect{10, 25, 100, 40};
constexpr int BoldWeight = 700;
constexpr int32_t StrikeOutBit = 1;
constexpr int32_t UnderlineBit = 2;
constexpr int32_t BoldBit = 4;
constexpr int32_t ItalicBit = 8;
constexpr int SizeShift = 16;
// Only TrueType screen fonts, chosen by face, without the effects section.
constexpr DWORD AddedDialogFlags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_TTONLY;
constexpr DWORD RemovedDialogFlags = CF_NOFACESEL | CF_SCALABLEONLY | CF_ANSIONLY | CF_EFFECTS;

uint32_t IndexOf(Input* input) {
  return static_cast<uint32_t>(input->GetAttr(tag::PanelIndex));
}

}  // namespace

constinit const Registration FontControlRegistration{"FontControl", CreatorAddress(&NewFontControl), MakeID("FonC"),
                                                     PanelControlType};

InputControl* NewFontControl() {
  return Create<FontControl, InputControl>();
}

FontControl::FontControl() : Dialog(nullptr, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr) {
  ID = MakeID("FonC");
}

FontControl::~FontControl() {
  SelectButton.DestroyWindow();
  Label.DestroyWindow();
  FaceField.DestroyWindow();
}

uint32_t FontControl::SetAttrsTagList(TagList& tags) {
  intptr_t size;
  if (tags.Get(PointSizeTag, &size)) PointSize = static_cast<int>(size);
  return InputControl::SetAttrsTagList(tags);
}

LRESULT FontControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == SelectId) {
    ChooseFont();
    return 0;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

uint32_t FontControl::Open(CWnd* parent, CRect& rect) {
  if (!InputControl::Open(parent, rect)) return 0;
  rect |= CRect(UsedRect);
  CreatePushButton(SelectButton, "Select...", SelectRect, Wnd, SelectId, Font);
  if (FaceField.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", FaceFieldStyle, FaceRect, Wnd, FaceId))
    SetControlFont(FaceField, Font);
  CreateLabel(Label, "", LeftLabelStyle, LabelRect, Wnd, Font, "Font");
  if (FaceField.m_hWnd) FaceField.SetWindowText(FaceName.c_str());
  return 1;
}

// The label names the input added last while the control is open.
uint32_t FontControl::AddInput(Input* input) {
  if (!InputControl::AddInput(input)) return 0;
  AutoParameter value(input->GetValue(CurrentTime(*this)));
  if (value) NotifyChanged(input, value);
  if (Wnd && Label.m_hWnd) {
    const char* name = reinterpret_cast<const char*>(input->GetAttr(tag::InputName));
    if (name) Label.SetWindowText(name);
  }
  return 1;
}

// Style bits are only ever written, never read back.
void FontControl::NotifyChanged(Input* input, Parameter* value) {
  if (value && input) {
    if (IndexOf(input) == FaceIndex) {
      if (value->ID == Text::ClassID) FaceName = static_cast<Text*>(value)->String;
    } else {
      double code;
      int size;
      if (NumberOf(value, &code) && SizeOfStyleCode(code, &size)) PointSize = size;
    }
  }
  InputControl::NotifyChanged(input, value);
}

void FontControl::UpdateDisplay(Input* input) {
  if (Wnd && FaceField.m_hWnd) FaceField.SetWindowText(FaceName.c_str());
  InputControl::UpdateDisplay(input);
}

// The face is sent even when unchanged; an empty field sends nothing.
void FontControl::OnOK() {
  if (FaceField.m_hWnd) {
    const int length = FaceField.GetWindowTextLength();
    if (length > 0) {
      std::string typed(static_cast<size_t>(length) + 1, '\0');
      FaceField.GetWindowText(typed.data(), length + 1);
      typed.resize(std::strlen(typed.c_str()));
      FaceName = typed;
      WriteText(*this, FaceName.c_str(), CurrentTime(*this), FaceIndex);
    }
  }
  InputControl::OnOK();
}

int32_t FontControl::StyleCode(int pointSize, const LOGFONTA& font) {
  uint32_t code = static_cast<uint32_t>(pointSize) << SizeShift;
  if (font.lfStrikeOut) code |= StrikeOutBit;
  if (font.lfUnderline) code |= UnderlineBit;
  if (font.lfWeight == BoldWeight) code |= BoldBit;
  if (font.lfItalic) code |= ItalicBit;
  return static_cast<int32_t>(code);
}

bool FontControl::SizeOfStyleCode(double code, int* pointSize) {
  if (!std::isfinite(code) || std::fabs(code) >= 9.2e18) return false;
  *pointSize = static_cast<int>((static_cast<int64_t>(code) >> SizeShift) & 0xFFFF);
  return true;
}

void FontControl::ChooseFont() {
  LOGFONTA& record = *Dialog.m_cf.lpLogFont;
  std::strncpy(record.lfFaceName, FaceName.c_str(), LF_FACESIZE - 1);
  record.lfFaceName[LF_FACESIZE - 1] = '\0';
  HDC dc = Wnd ? ::GetDC(Wnd->m_hWnd) : nullptr;
  const int resolution = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ::ReleaseDC(Wnd->m_hWnd, dc);
  record.lfHeight = static_cast<LONG>(-MulDiv(PointSize, resolution, 72) * 0.1);
  record.lfWidth = -1;
  Dialog.m_cf.Flags = (Dialog.m_cf.Flags | AddedDialogFlags) & ~RemovedDialogFlags;
  if (Dialog.DoModal() != IDOK) return;
  FaceName = static_cast<LPCSTR>(Dialog.GetFaceName());
  PointSize = Dialog.GetSize();
  const int32_t style = StyleCode(PointSize, record);
  if (Doc) Doc->StartUndo("Select Font");
  WriteText(*this, FaceName.c_str(), CurrentTime(*this), FaceIndex);
  WriteNumber(*this, static_cast<double>(style), CurrentTime(*this), StyleIndex);
  if (Doc) Doc->EndUndo(1);
  if (FaceField.m_hWnd) FaceField.SetWindowText(FaceName.c_str());
  ResetUndo();
}

}  // namespace qzc
