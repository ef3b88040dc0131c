#include "panel/list_control.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "frame/creator.h"
#include "frame/file_names.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/operator.h"
#include "qzsystem/parameter.h"
#include "qzsystem/timecodeedit.h"

namespace qzc {
namespace {

constexpr UINT ListId = 1000;
constexpr DWORD ListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_WANTKEYBOARDINPUT |
                            LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS | LBS_NOTIFY;
constexpr int Inset = 3;
constexpr int ListHeight = 214;
constexpr int UsedHeight = 220;  // the list grown by its inset on every side
// Column positions in dialog units are these over the average character width.
constexpr int StartColumnWidth = 880;
constexpr int EndColumnWidth = 1120;
constexpr size_t NameColumnSize = 80;
constexpr long TimeSize = 31;
constexpr double TimeLimit = 1000000000.0;
constexpr LRESULT DefaultKeyAction = -1;
constexpr UINT AllDroppedFiles = 0xFFFFFFFF;

// A time as the list shows it: a whole number of frames.
void FormatTime(double time, char (&out)[TimeSize + 1]) {
  TimeCodeEdit::FormatTimeCode(time, out, 1, 4, TimeSize, 0, 0, 0, 0, TimeLimit);
}

// The `index`th dropped path; false when it does not fit a path buffer (a
// longer path is skipped rather than cut into another file's name).
bool DroppedPath(HDROP drop, UINT index, PathBuffer& out) {
  const UINT length = DragQueryFileA(drop, index, nullptr, 0);
  if (length == 0 || length >= PathSize) return false;
  return DragQueryFileA(drop, index, out, PathSize) == length;
}

// For a folder, its first file by name; the folder itself when it holds no
// file (or none whose path fits).
void FirstFileOfFolder(PathBuffer& path) {
  std::error_code error;
  std::string first;
  for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
    if (entry.is_directory(error)) continue;
    const std::string name = entry.path().string();
    if (name.size() < PathSize && (first.empty() || name < first)) first = name;
  }
  if (!first.empty()) CopyPath(path, first.c_str());
}

}  // namespace

constinit const Registration ListControlRegistration{"ListControl", CreatorAddress(&NewListControl), MakeID("LstC"),
                                                     PanelControlType};

InputControl* NewListControl() {
  return Create<ListControl, InputControl>();
}

ListControl::ListControl() {
  ID = MakeID("LstC");
}

ListControl::~ListControl() = default;

uint32_t ListControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width();
  if (!InputControl::Open(parent, rect)) return 0;
  if (ClipList.CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", "", ListStyle,
                        CRect(Inset, Inset, width - Inset, Inset + ListHeight), Wnd, ListId)) {
    ClipList.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(Font), TRUE);
    const int baseWidth = std::max(1, static_cast<int>(LOWORD(GetDialogBaseUnits())));
    int stops[] = {0, StartColumnWidth / baseWidth, EndColumnWidth / baseWidth};
    ClipList.SetTabStops(3, stops);
  }
  Wnd->DragAcceptFiles(TRUE);
  rect |= CRect(0, 0, width, UsedHeight);
  // The host connects inputs after the first opening; the entries are then
  // found when the first input arrives. An input that has none cannot be shown.
  Input* input = FirstInput(*this);
  if (!input) return 1;
  Entries = FindEntries();
  if (!Entries) return 0;
  NotifyChanged(input, nullptr);
  return 1;
}

LRESULT ListControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_VKEYTOITEM) {
    if (LOWORD(wParam) == VK_DELETE || LOWORD(wParam) == VK_CLEAR) DeleteClip(HIWORD(wParam));
    InputControl::HandleMsg(msg, wParam, lParam);
    return DefaultKeyAction;
  }
  if (msg == WM_COMMAND && HIWORD(wParam) == LBN_DBLCLK && LOWORD(wParam) == ListId) {
    MoveToClip();
    return 0;
  }
  // Drops reach OnDropFiles through the base, once.
  return InputControl::HandleMsg(msg, wParam, lParam);
}

void ListControl::UpdateDisplay(Input*) {
  if (!Wnd || !ClipList.m_hWnd) return;
  ClipList.ResetContent();
  Entries = FindEntries();
  if (!Entries) return;
  Entries->ObtainReadLock();
  for (ListNode* node = Entries->GetFirst(); node; node = Entries->GetNext(node)) {
    const auto* entry = static_cast<const ClipEntry*>(node->Obj());
    const std::string_view name(entry->Name ? entry->Name : "");
    char start[TimeSize + 1];
    char end[TimeSize + 1];
    FormatTime(entry->Start, start);
    FormatTime(entry->End, end);
    std::string row(name.substr(0, NameColumnSize));
    row.append("\t").append(start).append("\t").append(end);
    const int index = ClipList.AddString(row.c_str());
    if (index >= 0) ClipList.SetItemData(index, reinterpret_cast<DWORD_PTR>(entry));
  }
  Entries->ReleaseReadLock();
}

uint32_t ListControl::OnDropFiles(HDROP drop) {
  Input* input = ClipListInput();
  if (!input || !drop) return 0;
  double time = CurrentTime(*this);
  const UINT count = DragQueryFileA(drop, AllDroppedFiles, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    PathBuffer path;
    CFileStatus status;
    if (!DroppedPath(drop, i, path) || !CFile::GetStatus(path, status)) continue;
    if (status.m_attribute & CFile::directory) FirstFileOfFolder(path);
    AutoClip clip(new (std::nothrow) Clip(path, 0));
    if (clip && input->SetValue(clip, time, 1)) time += clip->Length;
  }
  UpdateDisplay(nullptr);
  return 0;
}

// The list of the first connected input, the one the control shows.
::ClipList* ListControl::FindEntries() {
  Input* input = FirstInput(*this);
  return input ? reinterpret_cast<::ClipList*>(input->GetAttr(tag::ClipEntries)) : nullptr;
}

// The clip-list input of the tool that owns the first connected input.
Input* ListControl::ClipListInput() {
  Input* input = FirstInput(*this);
  return input && input->Owner ? input->Owner->FindInput(ClipListInputID) : nullptr;
}

// The entry a row stands for, while it is still one of the entries.
const ClipEntry* ListControl::EntryOfRow(int row) {
  if (!ClipList.m_hWnd || row < 0 || row >= ClipList.GetCount()) return nullptr;
  const auto* entry = reinterpret_cast<const ClipEntry*>(ClipList.GetItemData(row));
  Entries = FindEntries();
  return entry && Entries && Entries->Holds(entry) ? entry : nullptr;
}

void ListControl::DeleteClip(int row) {
  const ClipEntry* entry = EntryOfRow(row);
  Input* input = ClipListInput();
  if (!entry || !input || !Doc) return;
  Operator* tool = input->Owner;
  const double start = entry->Start;
  Doc->StartUndo("Delete Clip");
  tool->SaveState();
  Entries->ObtainLock();
  input->SetValue(nullptr, start, 1);
  Entries->ReleaseLock();
  Doc->EndUndo(1);
  UpdateDisplay(nullptr);
}

void ListControl::MoveToClip() {
  const ClipEntry* entry = EntryOfRow(ClipList.m_hWnd ? ClipList.GetCurSel() : -1);
  if (entry && Doc) Doc->SetCurrentTime(entry->Start, 1);
}

}  // namespace qzc
