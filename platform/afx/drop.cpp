#include <cstring>
#include <map>

#include "qzplatform/shell.h"

namespace {

struct Drop {
  std::vector<std::string> files;
  POINT point;
  HWND window;
};

// Handles are numbers that are never reused, so a finished handle stays invalid.
struct DropState {
  std::map<uintptr_t, Drop> drops;
  uintptr_t lastHandle = 0;
};

DropState& Drops() {
  static DropState state;
  return state;
}

Drop* Find(HDROP handle) {
  auto& drops = Drops().drops;
  auto it = drops.find(reinterpret_cast<uintptr_t>(handle));
  return it == drops.end() ? nullptr : &it->second;
}

HWND AcceptingWindow(HWND hwnd) {
  for (; hwnd; hwnd = ::GetParent(hwnd)) {
    if (::GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return hwnd;
  }
  return nullptr;
}

}  // namespace

namespace qz {

bool DropFiles(HWND target, POINT clientPoint, const std::vector<std::string>& files) {
  HWND window = AcceptingWindow(target);
  if (!window) return false;
  POINT point = clientPoint;
  ::MapWindowPoints(target, window, &point, 1);
  DropState& state = Drops();
  uintptr_t handle = ++state.lastHandle;
  state.drops.emplace(handle, Drop{files, point, window});
  if (!::PostMessageA(window, WM_DROPFILES, static_cast<WPARAM>(handle), 0)) {
    state.drops.erase(handle);
    return false;
  }
  return true;
}

void ResetDrops() {
  Drops().drops.clear();
}

}  // namespace qz

UINT DragQueryFileA(HDROP handle, UINT index, LPSTR buffer, UINT size) {
  Drop* drop = Find(handle);
  if (!drop) return 0;
  if (index == 0xFFFFFFFF) return static_cast<UINT>(drop->files.size());
  if (index >= drop->files.size()) return 0;
  const std::string& file = drop->files[index];
  if (!buffer) return static_cast<UINT>(file.size());
  if (size == 0) return 0;
  size_t copied = std::min<size_t>(file.size(), size - 1);
  memcpy(buffer, file.data(), copied);
  buffer[copied] = '\0';
  return static_cast<UINT>(copied);
}

BOOL DragQueryPoint(HDROP handle, LPPOINT point) {
  Drop* drop = Find(handle);
  if (!drop || !point) return FALSE;
  *point = drop->point;
  RECT client{};
  ::GetClientRect(drop->window, &client);
  return point->x >= client.left && point->x < client.right && point->y >= client.top && point->y < client.bottom;
}

void DragFinish(HDROP handle) {
  Drops().drops.erase(reinterpret_cast<uintptr_t>(handle));
}

void DragAcceptFiles(HWND hwnd, BOOL accept) {
  if (!::IsWindow(hwnd)) return;
  LONG_PTR style = ::GetWindowLongA(hwnd, GWL_EXSTYLE);
  LONG_PTR changed = accept ? style | WS_EX_ACCEPTFILES : style & ~LONG_PTR(WS_EX_ACCEPTFILES);
  if (changed != style) ::SetWindowLongA(hwnd, GWL_EXSTYLE, changed);
}
