#include "panel/file_control.h"

#include "afxdlgs.h"
#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"

namespace qzc {
namespace {

constexpr UINT FieldId = 1000;
constexpr UINT BrowseId = 1001;
constexpr char DefaultFilter[] = "All Files (*.*)|*.*||";
constexpr DWORD OpenFlags =
    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_FILEMUSTEXIST | OFN_LONGNAMES;

// Geometry for a control window `width` wide: the field, then the button at
// the right end; the control is 24 pixels high.
CRect FieldRect(int width) {
  return CRect(5, 3, 5 + (width - 35), 3 + 18);
}
CRect ButtonRect(int width) {
  return CRect(width - 27, 3, width - 5, 21);
}

}  // namespace

constinit const Registration FileControlRegistration{"FileControl", CreatorAddress(&NewFileControl), MakeID("FilC"),
                                                     PanelControlType};

InputControl* NewFileControl() {
  return Create<FileControl, InputControl>();
}

FileControl::FileControl() : Filter(DefaultFilter), Icon(LoadBrowseIcon()) {
  ID = MakeID("FilC");
}

FileControl::~FileControl() {
  if (Icon) DeleteObject(Icon);
  BrowseButton.DestroyWindow();
  PathField.DestroyWindow();
}

uint32_t FileControl::SetAttrsTagList(TagList& tags) {
  if (const intptr_t* filter = tags.Find(tag::FileFilter)) {
    const char* text = reinterpret_cast<const char*>(*filter);
    Filter = text ? text : DefaultFilter;
  }
  const uint32_t hidden = static_cast<uint32_t>(tags.GetLong(tag::ReadOnly, NameHidden));
  if (hidden != NameHidden) {
    NameHidden = hidden;
    if (Wnd) Wnd->PostMessage(DisabledChangedMessage);
  }
  return InputControl::SetAttrsTagList(tags);
}

LRESULT FileControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == BrowseId) {
    Browse();
    return 0;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

uint32_t FileControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width();
  if (!InputControl::Open(parent, rect)) return 0;
  CreatePathField(PathField, FieldRect(width), Wnd, FieldId, Font);
  CreateIconButton(BrowseButton, ButtonRect(width), Wnd, BrowseId, Font, Icon);
  rect |= CRect(width - 27, 3, width, 24);
  rect |= CRect(5, 3, width - 30, 21);
  Wnd->DragAcceptFiles(TRUE);
  if (Input* input = FirstInput(*this)) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (value) NotifyChanged(input, value);
  }
  ShowPath(PathField, Path, NameHidden);
  return 1;
}

void FileControl::NotifyChanged(Input* input, Parameter* value) {
  if (!value) return;
  CopyPathCut(Path, value->ID == Text::ClassID ? static_cast<Text*>(value)->String : "");
  InputControl::NotifyChanged(input, value);
}

void FileControl::UpdateDisplay(Input* input) {
  ShowPath(PathField, Path, NameHidden);
  InputControl::UpdateDisplay(input);
}

// A typed name too long for a path is not taken; the field keeps it for the
// user to shorten.
void FileControl::OnOK() {
  PathBuffer typed;
  if (!NameHidden && TypedPath(PathField, typed) && !SameFileName(typed, Path)) {
    CopyPath(Path, typed);
    WriteText(*this, Path, CurrentTime(*this));
  }
  InputControl::ResetUndo();
}

uint32_t FileControl::OnDropFiles(HDROP drop) {
  PathBuffer name;
  if (FirstDroppedFile(drop, name) && Doc) {
    Doc->StartUndo("Drop Filename");
    WriteText(*this, name, CurrentTime(*this));
    Doc->EndUndo(1);
  }
  return 0;
}

void FileControl::Browse() {
  CFileDialog dialog(TRUE, nullptr, Path, OpenFlags, Filter.c_str(), Wnd);
  if (dialog.DoModal() == IDOK) {
    const CString chosen = dialog.GetPathName();
    if (CopyPath(Path, chosen)) WriteText(*this, Path, CurrentTime(*this));
  }
  ResetUndo();
}

}  // namespace qzc
