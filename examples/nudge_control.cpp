#include "nudge_control.h"

#include <cmath>
#include <new>

#include "qzcontrols_version.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/registry.h"

static_assert(QZCONTROLS_VERSION_MAJOR >= 1, "built against a package without a version");

namespace {

constexpr int Margin = 5;
constexpr int ButtonHeight = 20;

InputControl* NewNudgeControl() {
  return new (std::nothrow) NudgeControl();
}

// The class's record in the host's registry, for as long as the module is loaded.
Registry NudgeRegistration(&ClassRegistry, "NudgeControl", static_cast<uintptr_t>(RegistryCreatorTag),
                           reinterpret_cast<uintptr_t>(&NewNudgeControl), static_cast<uintptr_t>(RegistryClassIDTag),
                           static_cast<uintptr_t>(MakeID("Ndge")), static_cast<uintptr_t>(RegistryClassTypeTag),
                           static_cast<uintptr_t>(ClassTypePanelControl), static_cast<uintptr_t>(0));

}  // namespace

uint32_t NudgeControl::SetAttrsTagList(TagList& tags) {
  InputControl::SetAttrsTagList(tags);
  const double step = tags.GetDouble(StepTag, Step);
  if (std::isfinite(step)) Step = step;
  return 1;
}

uint32_t NudgeControl::Open(CWnd* parent, CRect& rect) {
  if (!InputControl::Open(parent, rect)) return 0;
  const CRect button(Margin, Margin, rect.Width() - Margin, Margin + ButtonHeight);
  if (!Button.Create(Name, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, button, Wnd, ButtonId)) return 0;
  Button.SetFont(Font);
  rect.bottom = button.bottom + Margin;
  return 1;
}

LRESULT NudgeControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_COMMAND || LOWORD(wParam) != ButtonId || HIWORD(wParam) != BN_CLICKED || !Doc)
    return InputControl::HandleMsg(msg, wParam, lParam);
  ListNode* first = Inputs.GetNext(nullptr);
  if (!first) return 0;
  auto* input = static_cast<Input*>(first->Obj());
  AutoParameter current(input->GetValue(Doc->CurrentTime));
  const double now = current && current->ID == Number::ClassID ? static_cast<Number*>(current.Get())->Value : 0.0;
  AutoNumber next(new (std::nothrow) Number(now + Step));
  if (!next) return 0;
  Doc->StartUndo("Nudge");
  SetInputs(next, Doc->CurrentTime, 0);
  Doc->EndUndo(1);
  return 0;
}
