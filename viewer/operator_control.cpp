#include "viewer/operator_control.h"

#include <cstdlib>

#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/document.h"
#include "qzsystem/menu.h"
#include "qzsystem/previewview.h"
#include "qzsystem/registry.h"

namespace qzc {
namespace {

// A command that belongs to the viewer alone and never reaches the tool.
constexpr uint32_t ViewerOnlyCommand = 3;
// A tool whose class type has both of these bits set is not announced to
// the flow view when its overlay is shown.
constexpr intptr_t UnannouncedTypeBits = 3;

bool AnnouncesOverlay(const Operator& tool) {
  const intptr_t type = tool.Registration ? tool.Registration->GetData(RegistryClassTypeTag) : 0;
  return (type & UnannouncedTypeBits) != UnannouncedTypeBits;
}

}  // namespace

const Registration OperatorControlRegistration{"OperatorControl", CreatorAddress(&NewOperatorControl), MakeID("OpCo"),
                                               ViewerControlType};

PreviewControl* NewOperatorControl() {
  return Create<OperatorControl, PreviewControl>();
}

OperatorControl::OperatorControl() {
  ID = MakeID("OpCo");
}

OperatorControl::~OperatorControl() {
  Detach();
}

// Every list naming a tool attaches it again, even the same tool; a tool
// replaced by another is detached first, so it keeps no pointer to a
// control that has left it.
uint32_t OperatorControl::SetAttrsTagList(TagList& tags) {
  auto* named = reinterpret_cast<Operator*>(tags.GetLong(tag::OverlayOperator, reinterpret_cast<intptr_t>(Tool)));
  if (named != Tool) Detach();
  Tool = named;
  if (Tool) Attach(Tool);
  return PreviewControl::SetAttrsTagList(tags);
}

void OperatorControl::Attach(Operator* tool) {
  tool->PreviewCommand(this, nullptr, nullptr, PreviewCommandAttach, nullptr);
  FetchName();
}

// One owned name, replaced each time: the previous buffer is freed rather
// than left behind. Without memory for a new one the control has no name
// (an old tool's name would be wrong).
void OperatorControl::FetchName() {
  auto* buffer = static_cast<char*>(std::malloc(NameBufferSize));
  std::free(Name);
  Name = buffer;
  if (!Name) return;
  Name[0] = '\0';
  Tool->GetName(Name);
  Name[NameBufferSize - 1] = '\0';
}

void OperatorControl::Detach() {
  if (!Tool) return;
  Operator* tool = Tool;
  Tool = nullptr;
  if (!tool->SuppressNotify && Doc) Doc->PostToAll(OverlayClosedMessage, 0, reinterpret_cast<intptr_t>(tool));
  tool->PreviewControls.Remove(this);
  tool->PreviewCommand(this, nullptr, nullptr, PreviewCommandDetach, nullptr);
}

Operator* OperatorControl::GetOperator() {
  return Tool;
}

void OperatorControl::SetView(PreviewView* view) {
  PreviewControl::SetView(view);
  if (!Tool || !AnnouncesOverlay(*Tool) || !View || !View->Frame) return;
  CWnd* flow = View->Frame->GetView(CChildFrame::FlowView);
  if (flow && flow->m_hWnd) ::PostMessageA(flow->m_hWnd, OverlayShownMessage, 0, reinterpret_cast<LPARAM>(Tool));
}

// The tool's overlay stays drawn as the tool decides; the base would ask
// the viewer to redraw.
void OperatorControl::SetInactive() {
  IsActive = 0;
}

void OperatorControl::DrawControls(HDC hdc, PreviewInfo* info, uint32_t erase) {
  if (Tool) Tool->PreviewDraw(this, hdc, info, erase);
}

uint32_t OperatorControl::ControlDown(HDC hdc, PreviewInfo* info, CPoint point) {
  DragMode = 0;
  if (Tool) DragMode = Tool->PreviewDown(this, hdc, info, point);
  return PreviewControl::ControlDown(hdc, info, point);
}

void OperatorControl::ControlMove(HDC hdc, PreviewInfo* info, CPoint point) {
  if (Tool) Tool->PreviewMove(this, hdc, info, point);
  PreviewControl::ControlMove(hdc, info, point);
}

void OperatorControl::ControlUp(HDC hdc, PreviewInfo* info, CPoint point) {
  if (Tool) {
    Tool->PreviewUp(this, hdc, info, point);
    if (DragMode != 0) Tool->PreviewDragDone();
  }
  PreviewControl::ControlUp(hdc, info, point);
}

void OperatorControl::ControlCommand(HDC hdc, PreviewInfo* info, uint32_t command, void* data) {
  if (Tool && command != ViewerOnlyCommand) Tool->PreviewCommand(this, hdc, info, command, data);
  PreviewControl::ControlCommand(hdc, info, command, data);
}

uint32_t OperatorControl::ControlGetTip(HDC hdc, PreviewInfo* info, char* text) {
  if (Tool) return Tool->PreviewGetTip(this, hdc, info, text);
  return PreviewControl::ControlGetTip(hdc, info, text);
}

// The tool's entries go in a submenu named after it; the top menu records
// this control. A tool without entries leaves no empty submenu behind.
void OperatorControl::AddToMenu(QZMenu* menu, TagList& tags) {
  PreviewControl::AddToMenu(menu, tags);
  if (!Tool || !menu) return;
  QZMenu* top = menu;
  while (top->Parent) top = top->Parent;
  top->Tags.Set(MenuOverlayControlTag, reinterpret_cast<intptr_t>(this), 1);
  char name[NameBufferSize] = {};
  Tool->GetName(name);
  name[NameBufferSize - 1] = '\0';
  QZMenu* sub = menu->AddSubMenu(name, 0);
  sub->AddObj(Tool);
  if (sub->GetLength() == 0) sub->Remove();
}

}  // namespace qzc
