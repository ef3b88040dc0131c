#include "panel/clip_control.h"

#include <cctype>
#include <cstring>

#include "afxdlgs.h"
#include "frame/creator.h"
#include "frame/registrations.h"
#include "frame/tags.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/document.h"
#include "qzsystem/registry.h"

namespace qzc {
namespace {

constexpr UINT NameId = 1000;
constexpr UINT BrowseId = 1001;
constexpr uint32_t SaveModeTag = tag::Specific0;  // non-zero: the clip is written
constexpr uint32_t NameTag = tag::Specific2;
constexpr uint32_t InitialFormatTag = tag::Specific4;
constexpr DWORD DialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | OFN_LONGNAMES;
constexpr char ProfileSection[] = "Defaults";
constexpr char ProfileKey[] = "Last File";
// The filter's first entry lists every format's files; formats follow it.
constexpr uint32_t FirstFormatIndex = 2;

CRect NameRect(int width) {
  return CRect(5, 3, 5 + (width - 35), 3 + 20);
}
CRect BrowseRect(int width) {
  return CRect(width - 27, 3, width - 5, 23);
}

const char* DataText(const Registry* reg, uint32_t tag) {
  const char* text = reinterpret_cast<const char*>(reg->GetData(tag));
  return text ? text : "";
}

// "*.tga;*.targa" for a format registered with ".TGA" and ".Targa".
std::string PatternList(const Registry* reg) {
  std::string patterns;
  for (const intptr_t* ext = reg->Tags.Find(tag::FormatExtension); ext;
       ext = reg->Tags.FindNext(tag::FormatExtension, ext)) {
    const char* text = reinterpret_cast<const char*>(*ext);
    if (!text) continue;
    if (!patterns.empty()) patterns += ';';
    patterns += '*';
    for (const char* c = text; *c; ++c) patterns += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  }
  return patterns;
}

// A frame number is not an extension: "shot" and "shot.0001" have none.
bool HasExtension(const char* path) {
  const char* name = std::strrchr(path, '/');
  name = name ? name + 1 : path;
  const char* dot = std::strrchr(name, '.');
  if (!dot || !dot[1]) return false;
  for (const char* c = dot + 1; *c; ++c)
    if (!std::isdigit(static_cast<unsigned char>(*c))) return true;
  return false;
}

}  // namespace

constinit const Registration ClipControlRegistration{"ClipControl", CreatorAddress(&NewClipControl), MakeID("ClpC"),
                                                     PanelControlType};

InputControl* NewClipControl() {
  return Create<ClipControl, InputControl>();
}

ClipControl::ClipControl() : BrowseIcon(LoadBrowseIcon()) {
  ID = MakeID("ClpC");
}

ClipControl::~ClipControl() {
  if (BrowseIcon) DeleteObject(BrowseIcon);
  Browse.DestroyWindow();
  NameEdit.DestroyWindow();
}

uint32_t ClipControl::SetAttrsTagList(TagList& tags) {
  if (const intptr_t* name = tags.Find(NameTag); name && *name) {
    // A name the host gives is its own, so it is shown cut rather than refused.
    CopyPathCut(FileName, reinterpret_cast<const char*>(*name));
    WriteClip(NoFrameTime);
  }
  LoadMode = !tags.GetLong(SaveModeTag, 0);
  const long hide = static_cast<long>(tags.GetLong(tag::ReadOnly, HideName));
  if (hide != HideName) {
    HideName = hide;
    if (Wnd) Wnd->PostMessage(DisabledChangedMessage);
  }
  if (tags.Find(InitialFormatTag)) InitialFormat = static_cast<uint32_t>(tags.GetLong(InitialFormatTag, 0));
  return InputControl::SetAttrsTagList(tags);
}

// Drops reach OnDropFiles through the base, once.
LRESULT ClipControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == BrowseId) {
    RunBrowse();
    return 0;
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

uint32_t ClipControl::Open(CWnd* parent, CRect& rect) {
  const int width = rect.Width();
  if (!InputControl::Open(parent, rect)) return 0;
  CreatePathField(NameEdit, NameRect(width), Wnd, NameId, Font);
  CreateIconButton(Browse, BrowseRect(width), Wnd, BrowseId, Font, BrowseIcon);
  rect |= CRect(width - 27, 3, width, 26);
  rect |= CRect(5, 3, width - 30, 23);
  Wnd->DragAcceptFiles(TRUE);
  if (Input* input = FirstInput(*this)) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (value && value->ID == Clip::ClassID) CopyPathCut(FileName, static_cast<Clip*>(value.Get())->Name);
  }
  ShowPath(NameEdit, FileName, HideName);
  return 1;
}

// A value of another kind is not a name and leaves the field as it is.
void ClipControl::NotifyChanged(Input* input, Parameter* value) {
  if (value && value->ID != Clip::ClassID) return;
  PathBuffer previous;
  std::memcpy(previous, FileName, PathSize);
  CopyPathCut(FileName, value ? static_cast<Clip*>(value)->Name : "");
  if (SameFileName(previous, FileName)) return;
  HostChanged = 1;
  InputControl::NotifyChanged(input, value);
}

void ClipControl::UpdateDisplay(Input* input) {
  ShowPath(NameEdit, FileName, HideName);
  HostChanged = 0;
  InputControl::UpdateDisplay(input);
}

// A hidden name shows an empty field, which is not the user's entry.
void ClipControl::OnOK() {
  if (HostChanged) return;
  PathBuffer typed;
  if (!HideName && TypedPath(NameEdit, typed)) {
    const bool changed = !SameFileName(typed, FileName);
    std::memcpy(FileName, typed, PathSize);
    if (changed) WriteClip(CurrentTime(*this));
  }
  InputControl::ResetUndo();
}

uint32_t ClipControl::OnDropFiles(HDROP drop) {
  PathBuffer name;
  if (!FirstDroppedFile(drop, name) || !Doc) return 0;
  std::memcpy(FileName, name, PathSize);
  Doc->StartUndo("Drop Filename");
  WriteClip(CurrentTime(*this));
  Doc->EndUndo(1);
  return 0;
}

std::string ClipControl::BuildFilter(uint32_t initialFormat, std::vector<std::string>* extensions,
                                     uint32_t* initialIndex) {
  std::string formatFilters;
  std::string allPatterns;
  *initialIndex = 0;
  extensions->clear();
  if (ClassRegistry) {
    ClassRegistry->ObtainLock();
    for (const Registry* reg = ClassRegistry->GetFirst(); reg; reg = ClassRegistry->GetNext(reg)) {
      if (reg->GetData(RegistryClassTypeTag) != ClassTypeFileFormat) continue;
      if (!reg->GetData(tag::FormatCanLoad) && !reg->GetData(tag::FormatCanSave)) continue;
      const std::string patterns = PatternList(reg);
      formatFilters.append(DataText(reg, tag::FormatDescription)).append(" (").append(patterns).append(")|");
      formatFilters.append(patterns).append("|");
      allPatterns.append(patterns).append(";");
      if (static_cast<uint32_t>(reg->GetData(RegistryClassIDTag)) == initialFormat)
        *initialIndex = static_cast<uint32_t>(extensions->size()) + FirstFormatIndex;
      extensions->push_back(DataText(reg, tag::FormatExtension));
    }
    ClassRegistry->ReleaseLock();
  }
  if (!allPatterns.empty()) allPatterns.pop_back();
  return "All Image Files (" + allPatterns + ")|" + allPatterns + "|" + formatFilters + "All Files (*.*)|*.*||";
}

void ClipControl::RunBrowse() {
  std::vector<std::string> extensions;
  uint32_t initialIndex = 0;
  const std::string filter = BuildFilter(InitialFormat, &extensions, &initialIndex);
  if (!FileName[0]) {
    if (CWinApp* app = AfxGetApp()) CopyPathCut(FileName, app->GetProfileString(ProfileSection, ProfileKey, ""));
  }
  const DWORD flags = DialogFlags | (LoadMode ? OFN_FILEMUSTEXIST : 0);
  CFileDialog dialog(LoadMode ? TRUE : FALSE, nullptr, FileName, flags, filter.c_str(), Wnd);
  dialog.m_ofn.nFilterIndex = initialIndex;
  if (dialog.DoModal() == IDOK) {
    std::string chosen(static_cast<LPCSTR>(dialog.GetPathName()));
    const uint32_t index = dialog.m_ofn.nFilterIndex;
    if (!LoadMode && !HasExtension(chosen.c_str()) && index >= FirstFormatIndex &&
        index - FirstFormatIndex < extensions.size())
      chosen += extensions[index - FirstFormatIndex];
    if (CopyPath(FileName, chosen.c_str())) {
      ShowPath(NameEdit, FileName, HideName);
      if (CWinApp* app = AfxGetApp()) app->WriteProfileString(ProfileSection, ProfileKey, FileName);
      WriteClip(CurrentTime(*this));
    }
  }
  ResetUndo();
}

void ClipControl::WriteClip(double time) {
  AutoClip clip(new (std::nothrow) Clip(FileName, LoadMode ? 0 : 1));
  if (clip) SetInputs(clip, time, 0);
}

}  // namespace qzc
