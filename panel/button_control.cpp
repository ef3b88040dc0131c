#include "panel/button_control.h"

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"

namespace qzc {
namespace {

constexpr UINT ButtonId = 1000;
constexpr int Margin = 5;
constexpr int ButtonTop = 3;
constexpr int ButtonBottom = 23;
constexpr int UsedBottom = 26;  // the button and a 3-pixel margin below it
// Bit 1 of the control's flags: a click changes the inputs but asks for no render.
constexpr uint32_t NoRenderFlag = 2;
constexpr int InteractiveRenderMode = 3;

}  // namespace

constinit const Registration ButtonControlRegistration{"ButtonControl", CreatorAddress(&NewButtonControl),
                                                       MakeID("BtnC"), PanelControlType};

InputControl* NewButtonControl() {
  return Create<ButtonControl, InputControl>();
}

ButtonControl::ButtonControl() {
  ID = MakeID("BtnC");
}

ButtonControl::~ButtonControl() = default;

uint32_t ButtonControl::SetAttrsTagList(TagList& tags) {
  InputControl::SetAttrsTagList(tags);
  if (!Button.m_hWnd) return 1;
  if (tags.Find(tag::ControlName)) Button.SetWindowText(Name);
  FollowDisabled(Button, Disabled);
  if (Wnd) Wnd->InvalidateRect(nullptr, TRUE);
  return 1;
}

uint32_t ButtonControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width() / Columns;
  if (!InputControl::Open(parent, rect)) return 0;
  CreatePushButton(Button, Name, CRect(Margin, ButtonTop, width - Margin, ButtonBottom), Wnd, ButtonId, Font);
  rect |= CRect(Margin, ButtonTop, width, UsedBottom);
  FollowDisabled(Button, Disabled);
  return 1;
}

LRESULT ButtonControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == ButtonId) {
    WriteNumber(*this, 1.0, CurrentTime(*this));
    return 0;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

// Sets each selected input to the value and at once back to 0.0; only the
// second write decides whether a render is asked for.
void ButtonControl::SetInputs(Parameter* value, double time, uint32_t index) {
  Inputs.ObtainLock();
  for (ListNode* node = Inputs.GetNext(nullptr); node; node = Inputs.GetNext(node)) {
    auto* input = static_cast<Input*>(node->Obj());
    if (static_cast<uint32_t>(input->GetAttr(tag::PanelIndex)) != index) continue;
    input->SetValue(value, time, 1);
    uint32_t changed = 0;
    {
      AutoNumber zero(new (std::nothrow) Number(0.0));
      if (zero) changed = input->SetValue(zero, time, 1);
    }
    if (changed && !(Flags & NoRenderFlag) && Doc) Doc->RenderInteractive(input->Owner, nullptr, InteractiveRenderMode);
  }
  Inputs.ReleaseLock();
}

}  // namespace qzc
