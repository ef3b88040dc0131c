#include <strings.h>

#include <algorithm>
#include <cstring>

#include "framework_state.h"
#include "qzplatform/dialogs.h"

namespace {

// The platform's logical inch for font sizes.
constexpr int kPixelsPerInch = 96;

struct DialogState {
  qz::DialogResponder responder;
  std::vector<qz::DialogRequest> requests;
  DWORD lastError = 0;
};

DialogState& Dialogs() {
  static DialogState state;
  return state;
}

qz::DialogAnswer Ask(const qz::DialogRequest& request) {
  DialogState& state = Dialogs();
  state.requests.push_back(request);
  // A copy: the responder may replace itself while it runs.
  qz::DialogResponder responder = state.responder;
  return responder ? responder(request) : qz::DialogAnswer{};
}

BOOL Fail(DWORD error) {
  Dialogs().lastError = error;
  return FALSE;
}

int TenthsFromHeight(LONG height) {
  LONG pixels = height < 0 ? -height : height;
  return static_cast<int>((pixels * 720 + kPixelsPerInch / 2) / kPixelsPerInch);
}

LONG HeightFromTenths(int tenths) {
  return -static_cast<LONG>((tenths * kPixelsPerInch + 360) / 720);
}

std::string BoundedString(const char* text, size_t size) {
  return text ? std::string(text, strnlen(text, size)) : std::string();
}

std::vector<std::pair<std::string, std::string>> ParseFilter(LPCSTR filter) {
  std::vector<std::pair<std::string, std::string>> filters;
  for (const char* p = filter; p && *p;) {
    std::string description = p;
    p += description.size() + 1;
    std::string pattern = *p ? p : "";
    filters.emplace_back(description, pattern);
    if (!*p) break;
    p += pattern.size() + 1;
  }
  return filters;
}

size_t FileNameOffset(const std::string& path) {
  size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? 0 : separator + 1;
}

// Offset of the extension, or npos when the file name has none.
size_t ExtensionOffset(const std::string& path) {
  size_t dot = path.rfind('.');
  return dot == std::string::npos || dot < FileNameOffset(path) ? std::string::npos : dot + 1;
}

BOOL RunFileDialog(LPOPENFILENAMEA ofn, qz::DialogKind kind) {
  Dialogs().lastError = 0;
  if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEA)) return Fail(CDERR_STRUCTSIZE);
  qz::DialogRequest request;
  request.kind = kind;
  request.flags = ofn->Flags;
  request.owner = ofn->hwndOwner;
  request.filters = ParseFilter(ofn->lpstrFilter);
  bool custom = ofn->lpstrCustomFilter && *ofn->lpstrCustomFilter;
  DWORD count = static_cast<DWORD>(request.filters.size());
  request.filterIndex = ofn->nFilterIndex;
  if ((request.filterIndex == 0 && !custom) || request.filterIndex > count) request.filterIndex = count ? 1 : 0;
  request.fileName = BoundedString(ofn->lpstrFile, ofn->nMaxFile);
  request.defaultExtension = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
  request.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
  request.title = ofn->lpstrTitle ? ofn->lpstrTitle : "";

  qz::DialogAnswer answer = Ask(request);
  if (!answer.ok || answer.path.empty()) return FALSE;
  std::string path = answer.path;
  if (!request.defaultExtension.empty() && ExtensionOffset(path) == std::string::npos)
    path += "." + request.defaultExtension;
  if (!ofn->lpstrFile || path.size() + 1 > ofn->nMaxFile) {
    // As the platform does, the first two bytes report the size needed.
    if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
      auto needed = static_cast<WORD>(path.size() + 1);
      memcpy(ofn->lpstrFile, &needed, sizeof needed);
    }
    return Fail(FNERR_BUFFERTOOSMALL);
  }
  memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
  size_t nameOffset = FileNameOffset(path);
  size_t extensionOffset = ExtensionOffset(path);
  ofn->nFileOffset = static_cast<WORD>(nameOffset);
  ofn->nFileExtension = static_cast<WORD>(extensionOffset == std::string::npos ? path.size() : extensionOffset);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    size_t length = std::min<size_t>(path.size() - nameOffset, ofn->nMaxFileTitle - 1);
    memcpy(ofn->lpstrFileTitle, path.c_str() + nameOffset, length);
    ofn->lpstrFileTitle[length] = '\0';
  }
  if (answer.filterIndex >= 1 && answer.filterIndex <= count) {
    ofn->nFilterIndex = answer.filterIndex;
  } else {
    ofn->nFilterIndex = request.filterIndex;
  }
  bool different = !request.defaultExtension.empty() && extensionOffset != std::string::npos &&
                   strcasecmp(path.c_str() + extensionOffset, request.defaultExtension.c_str()) != 0;
  ofn->Flags = different ? ofn->Flags | OFN_EXTENSIONDIFFERENT : ofn->Flags & ~DWORD(OFN_EXTENSIONDIFFERENT);
  return TRUE;
}

}  // namespace

namespace qz {

void SetDialogResponder(DialogResponder responder) {
  Dialogs().responder = std::move(responder);
}

void ResetDialogResponder() {
  DialogState& state = Dialogs();
  state.responder = nullptr;
  state.requests.clear();
  state.lastError = 0;
}

const std::vector<DialogRequest>& DialogRequests() {
  return Dialogs().requests;
}

}  // namespace qz

BOOL ChooseColorA(LPCHOOSECOLORA cc) {
  Dialogs().lastError = 0;
  if (!cc || cc->lStructSize != sizeof(CHOOSECOLORA)) return Fail(CDERR_STRUCTSIZE);
  qz::DialogRequest request;
  request.kind = qz::DialogKind::Colour;
  request.flags = cc->Flags;
  request.owner = cc->hwndOwner;
  request.initialColour = (cc->Flags & CC_RGBINIT) ? cc->rgbResult : RGB(0, 0, 0);
  if (cc->lpCustColors) request.customColours.assign(cc->lpCustColors, cc->lpCustColors + 16);
  qz::DialogAnswer answer = Ask(request);
  if (!answer.ok) return FALSE;
  cc->rgbResult = answer.colour & 0x00FFFFFF;
  return TRUE;
}

BOOL ChooseFontA(LPCHOOSEFONTA cf) {
  Dialogs().lastError = 0;
  if (!cf || cf->lStructSize != sizeof(CHOOSEFONTA)) return Fail(CDERR_STRUCTSIZE);
  qz::DialogRequest request;
  request.kind = qz::DialogKind::Font;
  request.flags = cf->Flags;
  request.owner = cf->hwndOwner;
  if ((cf->Flags & CF_INITTOLOGFONTSTRUCT) && cf->lpLogFont) {
    request.initialFont = *cf->lpLogFont;
    request.initialFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    request.initialPointSize = TenthsFromHeight(cf->lpLogFont->lfHeight);
  }
  request.initialFontColour = cf->rgbColors;
  qz::DialogAnswer answer = Ask(request);
  if (!answer.ok) return FALSE;
  LOGFONTA font = answer.font;
  font.lfFaceName[LF_FACESIZE - 1] = '\0';
  int tenths = answer.pointSize > 0 ? answer.pointSize : TenthsFromHeight(font.lfHeight);
  if (font.lfHeight == 0 && tenths > 0) font.lfHeight = HeightFromTenths(tenths);
  if (cf->lpLogFont) *cf->lpLogFont = font;
  cf->iPointSize = tenths;
  if (cf->Flags & CF_EFFECTS) cf->rgbColors = answer.fontColour & 0x00FFFFFF;
  return TRUE;
}

BOOL GetOpenFileNameA(LPOPENFILENAMEA ofn) {
  return RunFileDialog(ofn, qz::DialogKind::FileOpen);
}

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) {
  return RunFileDialog(ofn, qz::DialogKind::FileSave);
}

DWORD CommDlgExtendedError() {
  return Dialogs().lastError;
}
