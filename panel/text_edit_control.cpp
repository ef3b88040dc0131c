#include "panel/text_edit_control.h"

#include <algorithm>
#include <cstdlib>

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/parameter.h"
#include "richedit.h"

namespace qzc {
namespace {

constexpr UINT EditorId = 4000;
constexpr DWORD EditorStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_WANTRETURN | ES_NOHIDESEL |
                              ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE;
constexpr int Margin = 6;
constexpr int FieldRight = 270;
constexpr int UsedRight = 276;
constexpr int UsedBelow = 12;  // the field's top margin and as much again below it
constexpr LPARAM AllEvents = -1;
// A field of at least one line and at most this many, so that any attribute
// gives a window the panel can hold.
constexpr long MaxLines = 500;
// The line height when the control's font cannot be read.
constexpr int FallbackLineHeight = 16;

// The height of one line of `font`: the magnitude of its LOGFONT height, as
// a negative height (the character height, the usual case) would otherwise
// turn the field upside down.
int LineHeight(HFONT font) {
  LOGFONTA lf{};
  if (!font || GetObjectA(font, sizeof lf, &lf) != sizeof lf || lf.lfHeight == 0) return FallbackLineHeight;
  return std::abs(static_cast<int>(lf.lfHeight));
}

// The field's text; empty when it has no window.
std::string FieldText(CWnd& field) {
  if (!field.m_hWnd) return {};
  const int length = field.GetWindowTextLength();
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = field.GetWindowText(text.data(), length + 1);
  text.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
  return text;
}

const char* TextOf(const Parameter* value) {
  const Text* text = value ? Parameter::As<Text>(*value) : nullptr;
  return text && text->String ? text->String : nullptr;
}

}  // namespace

constinit const Registration TextEditControlRegistration{"TextEditControl", CreatorAddress(&NewTextEditControl),
                                                         MakeID("TEdC"), PanelControlType};

InputControl* NewTextEditControl() {
  return Create<TextEditControl, InputControl>();
}

TextEditControl::TextEditControl() {
  ID = MakeID("TEdC");
}

TextEditControl::~TextEditControl() = default;

uint32_t TextEditControl::SetAttrsTagList(TagList& tags) {
  if (tags.Find(tag::TextEditLines))
    Lines = std::clamp(static_cast<long>(tags.GetLong(tag::TextEditLines, Lines)), 1L, MaxLines);
  return InputControl::SetAttrsTagList(tags);
}

uint32_t TextEditControl::Open(CWnd* parent, CRect& rect) {
  if (!InputControl::Open(parent, rect)) return 0;
  const int height = static_cast<int>(Lines) * LineHeight(Font);
  static const HMODULE richEdit = LoadLibraryA("RICHED32.DLL");  // kept for the process
  (void)richEdit;
  if (Editor.CreateEx(WS_EX_CLIENTEDGE, RICHEDIT_CLASSA, "", EditorStyle,
                      CRect(Margin, Margin, FieldRight, Margin + height), Wnd, EditorId)) {
    Editor.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(Font), TRUE);
    Editor.SendMessage(EM_SETEVENTMASK, 0, AllEvents);
  }
  if (Input* input = FirstInput(*this)) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (const char* text = TextOf(value)) {
      Content = text;
      UpdateDisplay(input);
    }
  }
  rect |= CRect(Margin, Margin, UsedRight, UsedBelow + height);
  return 1;
}

LRESULT TextEditControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == EditorId) {
    WriteTypedText();
    return 0;
  }
  if (msg == WM_PARENTNOTIFY && LOWORD(wParam) == WM_RBUTTONDOWN) PostContextMenu(lParam);
  return InputControl::HandleMsg(msg, wParam, lParam);
}

uint32_t TextEditControl::AddInput(Input* input) {
  if (input) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (value) NotifyChanged(input, value);
  }
  return InputControl::AddInput(input);
}

void TextEditControl::NotifyChanged(Input* input, Parameter* value) {
  const char* text = TextOf(value);
  if (!text || Content == text) return;
  Content = text;
  InputControl::NotifyChanged(input, value);
}

void TextEditControl::UpdateDisplay(Input* input) {
  if (Wnd && Editor.m_hWnd && !Updating) Editor.SetWindowText(Content.c_str());
  Updating = 0;
  InputControl::UpdateDisplay(input);
}

// The host echoes the write through NotifyChanged while SetInputs runs; the
// flag keeps that echo from rewriting the field under the caret. It is
// cleared afterwards too, so a write no input took (none connected, or the
// same value) cannot hold back the next change from the host.
void TextEditControl::WriteTypedText() {
  const std::string typed = FieldText(Editor);
  if (typed == Content) return;
  Updating = 1;
  WriteText(*this, typed.c_str(), CurrentTime(*this));
  Updating = 0;
}

void TextEditControl::PostContextMenu(LPARAM clientPoint) {
  if (!Wnd) return;
  POINT point{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
  ::ClientToScreen(Wnd->m_hWnd, &point);
  ::PostMessageA(Wnd->m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd->m_hWnd), MAKELPARAM(point.x, point.y));
}

}  // namespace qzc
