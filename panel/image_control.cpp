#include "panel/image_control.h"

#include <strings.h>

#include <cstring>

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/document.h"
#include "qzsystem/operator.h"

namespace qzc {
namespace {

constexpr UINT ToolEditId = 1000;
constexpr DWORD ToolEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
// The host hands a tool over with this message, the Operator* in lParam.
constexpr UINT ToolHandedMessage = 0x1418;
// A tool's main image output, and the type of an output that delivers images.
constexpr uint32_t MainOutputId = 0x017475cf;
constexpr uint32_t ImageType = MakeID("Imag");

constexpr char ConnectStep[] = "Connect Tool to BitmapMask";
constexpr char DisconnectStep[] = "Disconnect Tool from BitmapMask";

// The field runs from the left margin to the name label, which takes the
// last 85 pixels of the width.
constexpr int Margin = 5;
constexpr int NameLabelWidth = 85;
constexpr int FieldTop = 3;
constexpr int FieldBottom = 21;
constexpr int NameLabelTop = 7;
constexpr int NameLabelBottom = 21;
constexpr int UsedBottom = 24;

Output* ConnectedOutput(const Input* input) {
  return input ? reinterpret_cast<Output*>(input->GetAttr(tag::ConnectedOutput)) : nullptr;
}

Operator* ToolOf(const Output* output) {
  return output ? reinterpret_cast<Operator*>(output->GetAttr(tag::OutputOperator)) : nullptr;
}

// The tool's main output when it delivers images; null otherwise.
Output* ImageOutputOf(const Operator* tool) {
  Output* output = tool ? tool->FindOutput(MainOutputId) : nullptr;
  return output && output->HasType(ImageType) ? output : nullptr;
}

void CopyName(char (&to)[ImageControl::ToolNameSize], const char* from) {
  std::strncpy(to, from ? from : "", ImageControl::ToolNameSize - 1);
  to[ImageControl::ToolNameSize - 1] = '\0';
}

}  // namespace

constinit const Registration ImageControlRegistration{"ImageControl", CreatorAddress(&NewImageControl), MakeID("ImgC"),
                                                      PanelControlType};

InputControl* NewImageControl() {
  return Create<ImageControl, InputControl>();
}

ImageControl::ImageControl() {
  ID = MakeID("ImgC");
}

// The window goes first, while the field still exists: the field losing the
// focus as it is destroyed would otherwise confirm its entry half destroyed.
ImageControl::~ImageControl() {
  InputControl::Close();
}

uint32_t ImageControl::SetAttrsTagList(TagList& tags) {
  const uint32_t result = InputControl::SetAttrsTagList(tags);
  if (NameLabel.m_hWnd && tags.Find(tag::ControlName)) NameLabel.SetWindowText(Name);
  return result;
}

uint32_t ImageControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width();
  if (!InputControl::Open(parent, rect)) return 0;
  const int labelLeft = width - NameLabelWidth;
  if (ToolEdit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", ToolEditStyle, CRect(Margin, FieldTop, labelLeft, FieldBottom),
                        Wnd, ToolEditId)) {
    SetControlFont(ToolEdit, Font);
    ToolEdit.SendMessage(EM_LIMITTEXT, ToolNameSize - 1);
  }
  CreateLabel(NameLabel, Name, LeftLabelStyle, CRect(labelLeft, NameLabelTop, width - Margin, NameLabelBottom), Wnd,
              Font, Name);
  rect |= CRect(labelLeft, NameLabelTop, width, UsedBottom);
  rect |= CRect(Margin, FieldTop, labelLeft, FieldBottom);
  ShowConnection(FirstInput(*this));
  return 1;
}

// The host opens a control before it connects its inputs: the first input
// shows its connection as soon as it arrives.
uint32_t ImageControl::AddInput(Input* input) {
  const uint32_t result = InputControl::AddInput(input);
  if (result && input == FirstInput(*this)) ShowConnection(input);
  return result;
}

void ImageControl::OnConnect(Input* input) {
  if (input && input == FirstInput(*this)) ShowConnection(input);
}

LRESULT ImageControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != ToolHandedMessage) return InputControl::HandleMsg(msg, wParam, lParam);
  auto* tool = reinterpret_cast<Operator*>(lParam);
  Input* input = FirstInput(*this);
  Output* output = ImageOutputOf(tool);
  if (input && output) {
    // A step of its own: the connection joins no gesture made before it,
    // and nothing made after joins it.
    ResetUndo();
    input->ConnectTo(output, 1);
    ResetUndo();
  }
  return 1;
}

// The field then shows what the input is connected to, so a name that
// connected nothing does not stay there as if it had.
void ImageControl::OnOK() {
  if (!ToolEdit.m_hWnd || !Doc) return;
  ::GetWindowTextA(ToolEdit.m_hWnd, ToolName, ToolNameSize);
  Input* input = FirstInput(*this);
  if (input) {
    if (ToolName[0] == '\0') {
      if (input->IsConnected()) {
        Doc->StartUndo(DisconnectStep);
        input->ConnectTo(nullptr, 1);
        Doc->EndUndo(1);
      }
    } else {
      ConnectTyped(input);
    }
  }
  ShowConnection(input);
}

// The first tool in the document's order whose name matches ignoring case;
// the name of the tool already connected, as the field shows it, is no new
// entry (it may match an earlier tool that differs only in case).
void ImageControl::ConnectTyped(Input* input) {
  const Operator* connected = ToolOf(ConnectedOutput(input));
  if (connected && std::strcmp(connected->Name, ToolName) == 0) return;
  Doc->Tools.ObtainReadLock();
  for (ListNode* node = Doc->Tools.GetFirst(); node; node = Doc->Tools.GetNext(node)) {
    auto* tool = static_cast<Operator*>(node->Obj());
    if (strcasecmp(tool->Name, ToolName) != 0) continue;
    if (Output* output = ImageOutputOf(tool)) {
      Doc->StartUndo(ConnectStep);
      input->ConnectTo(output, 1);
      Doc->EndUndo(1);
    }
    break;
  }
  Doc->Tools.ReleaseReadLock();
}

// An output without a tool leaves the name as it was.
void ImageControl::ShowConnection(Input* input) {
  Output* output = ConnectedOutput(input);
  if (!output) {
    ToolName[0] = '\0';
  } else if (const Operator* tool = ToolOf(output)) {
    CopyName(ToolName, tool->Name);
  }
  ShowToolName();
}

void ImageControl::ShowToolName() {
  if (!ToolEdit.m_hWnd) return;
  char shown[ToolNameSize];
  ::GetWindowTextA(ToolEdit.m_hWnd, shown, ToolNameSize);
  if (std::strcmp(shown, ToolName) != 0) ToolEdit.SetWindowText(ToolName);
}

}  // namespace qzc
