// `qzhost run`: the sample tool of the gallery in a real SDL window. The
// platform's panel, viewer and a status strip are its top-level windows; the
// composited screen is shown as a texture, updated only where it changed.
// SDL's input goes in through the platform's driver, the virtual clock
// follows real time, dialogs are answered with SDL message boxes.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "afxwin.h"
#include "gallery.h"
#include "harness/damage.h"
#include "harness/formats.h"
#include "harness/module.h"
#include "harness/session.h"
#include "harness/viewer.h"
#include "qzplatform/dialogs.h"
#include "qzplatform/driver.h"
#include "qzplatform/shell.h"
#include "qzsystem/registry.h"
#include "run.h"
#include "run_keys.h"

namespace qzh {
namespace {

constexpr int ViewerGap = 20;
constexpr int PanelBottomMargin = 8;
constexpr int StatusLineCount = 3;
constexpr int StatusLineHeight = 15;
constexpr int StatusPadding = 4;
constexpr int StatusHeight = StatusLineCount * StatusLineHeight + 2 * StatusPadding;
constexpr COLORREF StatusBackground = RGB(40, 40, 40);
constexpr COLORREF StatusTextColour = RGB(225, 225, 225);
constexpr COLORREF DeskColour = RGB(24, 24, 24);
const HWND BottomOfZOrder = reinterpret_cast<HWND>(1);  // HWND_BOTTOM
// How long the loop waits for an event before it lets time pass.
constexpr int FrameMs = 10;
// A loop that fell behind (a dialog was open) does not replay every tick it
// missed: the clock moves at most this far per turn, as a message loop whose
// timers coalesce.
constexpr DWORD MaxClockStep = 250;
constexpr DWORD IdleCompareMs = 100;
constexpr size_t StatusWriteCount = 3;
constexpr size_t StatusStepCount = 3;
constexpr float WheelZoomStep = 1.25f;
constexpr float MinZoom = 0.125f;
constexpr float MaxZoom = 8.0f;
constexpr char WindowTitle[] = "qzhost - Sample";

// The only place that reads real time: milliseconds since the last call.
class RealClock {
 public:
  RealClock() : Last(SDL_GetTicks64()) {}
  DWORD Elapsed() {
    const Uint64 now = SDL_GetTicks64();
    const DWORD ms = static_cast<DWORD>(std::min<Uint64>(now - Last, MaxClockStep));
    Last = now;
    return ms;
  }

 private:
  Uint64 Last;
};

// A strip below the panel and viewer with a few lines of text, drawn by the
// platform like any other window.
class StatusWnd : public CWnd {
 public:
  void SetLines(std::vector<std::string> lines) {
    if (lines == Lines) return;
    Lines = std::move(lines);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
  }
  HFONT Font = nullptr;

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg != WM_PAINT) return CWnd::WindowProc(msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    HGDIOBJ oldFont = Font ? SelectObject(dc, Font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, StatusTextColour);
    for (size_t i = 0; i < Lines.size(); ++i)
      TextOutA(dc, StatusPadding, StatusPadding + static_cast<int>(i) * StatusLineHeight, Lines[i].c_str(),
               static_cast<int>(Lines[i].size()));
    if (oldFont) SelectObject(dc, oldFont);
    ::EndPaint(m_hWnd, &ps);
    return 0;
  }

 private:
  std::vector<std::string> Lines;
};

const char* RoleName(Role role) {
  static const char* const names[] = {"Label",   "PushButton", "CheckBox", "Choice",
                                      "ListBox", "Edit",       "RichEdit", "Slider"};
  return names[static_cast<int>(role)];
}

std::string Quoted(const std::vector<std::string>& names, size_t last) {
  std::string text;
  const size_t first = names.size() > last ? names.size() - last : 0;
  for (size_t i = first; i < names.size(); ++i) text += (text.empty() ? "\"" : ", \"") + names[i] + "\"";
  return text.empty() ? "none" : text;
}

class InteractiveHost {
 public:
  InteractiveHost(const RunOptions& options, std::ostream* log) : Options(options), Log(log) {}
  ~InteractiveHost();
  bool Open();
  void Loop();
  void SavePng();

 private:
  void Layout();
  void LogLayout();
  void Handle(const SDL_Event& e);
  void HandleKey(const SDL_KeyboardEvent& key, bool down);
  void HandleButton(const SDL_MouseButtonEvent& button, bool down);
  void HandleWheel(const SDL_MouseWheelEvent& wheel);
  void DeliverDrop();
  void ReleaseKeys();
  void UndoOrRedo(bool redo);
  qz::DialogAnswer AskDialog(const qz::DialogRequest& request);
  void ReportWrites();
  void UpdateStatus();
  void Present(bool force);
  void Say(const std::string& line);

  RunOptions Options;
  std::ostream* Log;
  FormatRegistrations Formats;
  std::unique_ptr<Session> S;
  std::unique_ptr<Viewer> View;
  std::unique_ptr<StatusWnd> Status;
  HBRUSH StatusBrush = nullptr;
  CWnd Desk;  // behind the other windows, filling the gaps between them
  HBRUSH DeskBrush = nullptr;
  std::vector<std::pair<const Recipe*, InputControl*>> Shown;
  int Width = 0;
  int Height = 0;
  SDL_Window* Window = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  std::vector<uint32_t> ShownPixels;
  std::vector<uint32_t> Frame;
  std::set<int> KeysDown;
  std::set<SDL_Keycode> HostKeys;  // keys the host took; their releases are its too
  bool TextWanted = false;         // the last key down had no virtual key: its text goes in as characters
  int ButtonsDown = 0;
  float Zoom = 1.0f;
  std::vector<std::string> DropPaths;
  bool Dropping = false;
  std::vector<std::string> LastWrites;
  std::string LastEvent = "Ctrl+Z undo, Ctrl+Shift+Z redo, Ctrl+Q quit";
  bool Running = true;
};

InteractiveHost::~InteractiveHost() {
  qz::SetDialogResponder(nullptr);
  View.reset();
  if (S)
    for (auto& entry : Shown) S->RemovePanelControl(entry.second);
  if (Status) Status->DestroyWindow();
  Status.reset();
  if (Desk.m_hWnd) Desk.DestroyWindow();
  S.reset();
  if (StatusBrush) DeleteObject(StatusBrush);
  if (DeskBrush) DeleteObject(DeskBrush);
  if (Texture) SDL_DestroyTexture(Texture);
  if (Renderer) SDL_DestroyRenderer(Renderer);
  if (Window) SDL_DestroyWindow(Window);
}

void InteractiveHost::Say(const std::string& line) {
  if (!Log) return;
  *Log << line << std::endl;
}

// The sample tool with every control of the gallery; the panel as tall as
// its controls, the viewer to its right, the status strip below both.
bool InteractiveHost::Open() {
  Formats.AddSampleFormats();
  S = std::make_unique<Session>();
  Operator* tool = S->AddTool("Sample");
  S->OpenPanel([&] {
    for (const ClassInfo& info : ControlClasses()) {
      if (info.Type != ClassTypePanelControl) continue;
      for (const Recipe& recipe : PanelRecipes())
        if (info.Name == recipe.ClassName)
          if (InputControl* control = recipe.Build(*S, tool)) Shown.emplace_back(&recipe, control);
    }
  });
  View = std::make_unique<Viewer>(S->Doc, Viewer::DefaultWidth, Viewer::DefaultHeight,
                                  POINT{Session::DefaultPanelWidth + ViewerGap, 0});
  for (const ClassInfo& info : ControlClasses()) {
    if (info.Type != ClassTypeViewerControl) continue;
    for (const ViewerRecipe& recipe : ViewerControlRecipes())
      if (info.Name == recipe.ClassName) recipe.Build(*S, *View, tool);
  }
  Layout();
  S->Pump();
  S->ClearWrites();

  Window = SDL_CreateWindow(WindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Width, Height, 0);
  if (!Window) {
    std::cerr << "qzhost run: cannot open a window: " << SDL_GetError() << "\n";
    return false;
  }
  Renderer = SDL_CreateRenderer(Window, -1, 0);
  if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
  if (Renderer)
    Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, Width, Height);
  if (!Texture) {
    std::cerr << "qzhost run: cannot draw into the window: " << SDL_GetError() << "\n";
    return false;
  }
  qz::SetDialogResponder([this](const qz::DialogRequest& request) { return AskDialog(request); });
  LogLayout();
  UpdateStatus();
  S->Pump();
  Present(true);
  Say("ready");
  return true;
}

void InteractiveHost::Layout() {
  int panelHeight = 0;
  for (auto& entry : Shown) {
    if (!entry.second->Wnd) continue;
    RECT rc;
    GetWindowRect(entry.second->Wnd->m_hWnd, &rc);
    panelHeight = std::max<int>(panelHeight, rc.bottom);
  }
  panelHeight += PanelBottomMargin;
  MoveWindow(S->PanelWindow(), 0, 0, Session::DefaultPanelWidth, panelHeight, TRUE);
  const int top = std::max(panelHeight, Viewer::DefaultHeight);
  Width = Session::DefaultPanelWidth + ViewerGap + Viewer::DefaultWidth;
  Height = top + StatusHeight;
  DeskBrush = CreateSolidBrush(DeskColour);
  Desk.CreateEx(0, AfxRegisterWndClass(0, nullptr, DeskBrush), "Desk", WS_POPUP | WS_VISIBLE, 0, 0, Width, Height,
                nullptr, nullptr);
  SetWindowPos(Desk.m_hWnd, BottomOfZOrder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  StatusBrush = CreateSolidBrush(StatusBackground);
  Status = std::make_unique<StatusWnd>();
  Status->Font = S->PanelFont();
  Status->CreateEx(0, AfxRegisterWndClass(0, nullptr, StatusBrush), "Status", WS_POPUP | WS_VISIBLE, 0, top, Width,
                   StatusHeight, nullptr, nullptr);
}

// Where everything is on the screen (window client coordinates), so a
// script can drive the window.
void InteractiveHost::LogLayout() {
  if (!Log) return;
  *Log << "window " << Width << " " << Height << "\n";
  *Log << "status " << StatusHeight << "\n";
  auto put = [this](const RECT& rc) {
    *Log << " " << rc.left << " " << rc.top << " " << rc.right - rc.left << " " << rc.bottom - rc.top << "\n";
  };
  for (auto& [recipe, control] : Shown) {
    if (!control->Wnd) continue;
    RECT rc;
    GetWindowRect(control->Wnd->m_hWnd, &rc);
    *Log << "control " << recipe->ClassName;
    put(rc);
    for (Role role : {Role::PushButton, Role::CheckBox, Role::Choice, Role::Edit, Role::Slider}) {
      for (int nth = 0; HWND part = FindChild(control, role, nth); ++nth) {
        GetWindowRect(part, &rc);
        *Log << "part " << recipe->ClassName << " " << RoleName(role) << " " << nth;
        put(rc);
      }
    }
  }
  RECT rc;
  GetWindowRect(View->Window(), &rc);
  *Log << "viewer";
  put(rc);
  const POINT from = View->PixelOf(0.0, 0.0);
  const POINT to = View->PixelOf(1.0, 1.0);
  *Log << "picture " << rc.left + from.x << " " << rc.top + from.y << " " << rc.left + to.x << " " << rc.top + to.y
       << std::endl;
}

// Each turn: the events that came, time moved on, the writes reported and
// the screen presented where it changed. A turn in which nothing came, was
// dispatched or drawn compares the screen only now and then, in case a timer
// changed what is shown without drawing.
void InteractiveHost::Loop() {
  RealClock clock;
  DWORD sinceCompare = 0;
  while (Running) {
    qz::StartRecordingDraws();
    bool busy = false;
    SDL_Event e;
    if (SDL_WaitEventTimeout(&e, FrameMs)) {
      do {
        Handle(e);
        qz::Pump();
      } while (Running && SDL_PollEvent(&e));
      busy = true;
    }
    const DWORD ms = clock.Elapsed();
    if (ms) S->AdvanceClock(ms);
    busy |= qz::Pump() > 0;
    ReportWrites();
    UpdateStatus();
    busy |= qz::Pump() > 0;
    busy |= !qz::StopRecordingDraws().empty();
    sinceCompare += ms;
    if (busy || sinceCompare >= IdleCompareMs) {
      sinceCompare = 0;
      Present(false);
    }
  }
}

void InteractiveHost::Handle(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      Running = false;
      break;
    case SDL_MOUSEMOTION:
      qz::InjectMouse(WM_MOUSEMOVE, POINT{e.motion.x, e.motion.y});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      HandleButton(e.button, e.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEWHEEL:
      HandleWheel(e.wheel);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      HandleKey(e.key, e.type == SDL_KEYDOWN);
      break;
    case SDL_TEXTINPUT:
      if (!TextWanted) break;
      // Only characters the platform's single-byte text can hold.
      for (const char* c = e.text.text; *c; ++c)
        if (*c >= ' ' && *c < 0x7f) qz::TypeText(std::string(1, *c));
      break;
    case SDL_DROPBEGIN:
      Dropping = true;
      DropPaths.clear();
      break;
    case SDL_DROPFILE:
      if (e.drop.file) DropPaths.emplace_back(e.drop.file);
      SDL_free(e.drop.file);
      if (!Dropping) DeliverDrop();
      break;
    case SDL_DROPCOMPLETE:
      Dropping = false;
      DeliverDrop();
      break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) ReleaseKeys();
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED) Present(true);
      break;
    default:
      break;
  }
}

void InteractiveHost::HandleButton(const SDL_MouseButtonEvent& button, bool down) {
  UINT msg;
  switch (button.button) {
    case SDL_BUTTON_LEFT:
      msg = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
      break;
    case SDL_BUTTON_RIGHT:
      msg = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
      break;
    case SDL_BUTTON_MIDDLE:
      msg = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
      break;
    default:
      return;
  }
  // While a button is held the pointer is followed outside the window, so a
  // control holding the capture sees the whole drag.
  ButtonsDown = std::max(0, ButtonsDown + (down ? 1 : -1));
  SDL_CaptureMouse(ButtonsDown > 0 ? SDL_TRUE : SDL_FALSE);
  qz::InjectMouse(msg, POINT{button.x, button.y});
}

// The platform has no wheel message and no control reads one; the wheel
// zooms the viewer about its centre, as the application's viewer does.
void InteractiveHost::HandleWheel(const SDL_MouseWheelEvent& wheel) {
  int x, y;
  SDL_GetMouseState(&x, &y);
  RECT rc;
  GetWindowRect(View->Window(), &rc);
  if (wheel.y == 0 || x < rc.left || x >= rc.right || y < rc.top || y >= rc.bottom) return;
  Zoom = std::clamp(wheel.y > 0 ? Zoom * WheelZoomStep : Zoom / WheelZoomStep, MinZoom, MaxZoom);
  View->SetZoom(Zoom);
  LastEvent = "viewer zoom " + std::to_string(static_cast<int>(Zoom * 100.0f + 0.5f)) + "%";
}

void InteractiveHost::HandleKey(const SDL_KeyboardEvent& key, bool down) {
  const SDL_Keycode sym = key.keysym.sym;
  const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
  if (down && ctrl && (sym == SDLK_z || sym == SDLK_q)) {
    HostKeys.insert(sym);
    if (sym == SDLK_q)
      Running = false;
    else
      UndoOrRedo((key.keysym.mod & KMOD_SHIFT) != 0);
    return;
  }
  if (!down && HostKeys.erase(sym)) return;
  const int vk = VirtualKeyOf(sym);
  if (down) TextWanted = vk == 0;
  if (!vk) return;
  if (down)
    KeysDown.insert(vk);
  else
    KeysDown.erase(vk);
  qz::InjectKey(down ? WM_KEYDOWN : WM_KEYUP, vk, down && key.repeat != 0);
}

// Keys held when the window loses the keyboard would otherwise stay down.
void InteractiveHost::ReleaseKeys() {
  for (int vk : KeysDown) qz::InjectKey(WM_KEYUP, vk);
  KeysDown.clear();
  HostKeys.clear();
}

void InteractiveHost::UndoOrRedo(bool redo) {
  const std::vector<std::string> names = redo ? S->Doc.RedoSteps() : S->Doc.UndoSteps();
  const bool done = redo ? S->Doc.Redo() != 0 : S->Doc.Undo() != 0;
  if (!done || names.empty()) {
    LastEvent = redo ? "nothing to redo" : "nothing to undo";
    Say(LastEvent);
    return;
  }
  const std::string& name = redo ? names.front() : names.back();
  LastEvent = (redo ? "redo \"" : "undo \"") + name + "\"";
  Say(LastEvent);
  S->Pump();
}

// Drops land on the window under the pointer.
void InteractiveHost::DeliverDrop() {
  if (DropPaths.empty()) return;
  int gx, gy, wx, wy;
  SDL_GetGlobalMouseState(&gx, &gy);
  SDL_GetWindowPosition(Window, &wx, &wy);
  const POINT screen{gx - wx, gy - wy};
  HWND target = WindowFromPoint(screen);
  POINT client = screen;
  bool taken = false;
  if (target) {
    ScreenToClient(target, &client);
    taken = qz::DropFiles(target, client, DropPaths);
  }
  LastEvent = (taken ? "dropped " : "no window here takes files: ") + DropPaths.front() +
              (DropPaths.size() > 1 ? " and " + std::to_string(DropPaths.size() - 1) + " more" : "");
  Say(LastEvent);
  DropPaths.clear();
}

// A message box stands in for each dialog: a few plain choices and Cancel,
// Enter picking the choice that keeps what the control showed.
qz::DialogAnswer InteractiveHost::AskDialog(const qz::DialogRequest& request) {
  struct Choice {
    std::string Label;
    COLORREF Colour;
    const char* Face;
  };
  std::vector<Choice> choices;
  std::string text;
  switch (request.kind) {
    case qz::DialogKind::Colour: {
      char hex[8];
      std::snprintf(hex, sizeof hex, "#%02X%02X%02X", GetRValue(request.initialColour),
                    GetGValue(request.initialColour), GetBValue(request.initialColour));
      text = std::string("Colour now ") + hex + ".";
      choices = {{"Keep", request.initialColour, nullptr}, {"White", RGB(255, 255, 255), nullptr},
                 {"Black", RGB(0, 0, 0), nullptr},         {"Red", RGB(255, 0, 0), nullptr},
                 {"Green", RGB(0, 255, 0), nullptr},       {"Blue", RGB(0, 0, 255), nullptr}};
      break;
    }
    case qz::DialogKind::Font:
      text = std::string("Font now \"") + request.initialFont.lfFaceName + "\", " +
             std::to_string(request.initialPointSize / 10) + " points.";
      choices = {{"Keep", 0, request.initialFont.lfFaceName},
                 {"DejaVu Sans", 0, "DejaVu Sans"},
                 {"DejaVu Serif", 0, "DejaVu Serif"},
                 {"DejaVu Sans Mono", 0, "DejaVu Sans Mono"}};
      break;
    case qz::DialogKind::FileOpen:
    case qz::DialogKind::FileSave:
      text = (request.kind == qz::DialogKind::FileOpen ? "Open \"" : "Save as \"") + request.fileName +
             "\"?\n(Drop a file on the control to choose another.)";
      if (!request.fileName.empty()) choices = {{"OK", 0, nullptr}};
      break;
  }
  std::vector<SDL_MessageBoxButtonData> buttons;
  for (size_t i = 0; i < choices.size(); ++i)
    buttons.push_back(
        SDL_MessageBoxButtonData{i == 0 ? static_cast<Uint32>(SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT) : 0u,
                                 static_cast<int>(i), choices[i].Label.c_str()});
  buttons.push_back(SDL_MessageBoxButtonData{SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, -1, "Cancel"});
  static const char* const titles[] = {"Colour", "Font", "Open File", "Save File"};
  const SDL_MessageBoxData box{SDL_MESSAGEBOX_INFORMATION,
                               Window,
                               titles[static_cast<int>(request.kind)],
                               text.c_str(),
                               static_cast<int>(buttons.size()),
                               buttons.data(),
                               nullptr};
  // Keys and buttons held when the box opened are released inside it.
  ReleaseKeys();
  int picked = -1;
  if (SDL_ShowMessageBox(&box, &picked) != 0) {
    std::cerr << "qzhost run: cannot ask in a message box, so the dialog is cancelled: " << SDL_GetError() << "\n";
    picked = -1;
  }
  qz::DialogAnswer answer;
  answer.ok = picked >= 0 && picked < static_cast<int>(choices.size());
  if (answer.ok) {
    const Choice& choice = choices[static_cast<size_t>(picked)];
    answer.colour = choice.Colour;
    answer.path = request.fileName;
    if (choice.Face) {
      answer.font = request.initialFont;
      std::strncpy(answer.font.lfFaceName, choice.Face, LF_FACESIZE - 1);
      answer.pointSize = request.initialPointSize;
      answer.fontColour = request.initialFontColour;
    }
  }
  LastEvent = std::string(titles[static_cast<int>(request.kind)]) +
              " dialog: " + (answer.ok ? choices[static_cast<size_t>(picked)].Label : std::string("Cancel"));
  Say(LastEvent);
  return answer;
}

void InteractiveHost::ReportWrites() {
  for (const Write& write : S->Writes()) {
    const std::string line = write.Input + " = " + write.Value;
    Say("wrote " + line);
    LastWrites.push_back(line);
  }
  S->ClearWrites();
  if (LastWrites.size() > StatusWriteCount)
    LastWrites.erase(LastWrites.begin(), LastWrites.end() - static_cast<long>(StatusWriteCount));
}

void InteractiveHost::UpdateStatus() {
  std::string writes;
  for (const std::string& line : LastWrites) writes += (writes.empty() ? "" : "; ") + line;
  Status->SetLines({"Wrote: " + (writes.empty() ? std::string("nothing yet") : writes),
                    "Undo: " + Quoted(S->Doc.UndoSteps(), StatusStepCount) +
                        "   Redo: " + Quoted(S->Doc.RedoSteps(), StatusStepCount),
                    LastEvent});
}

// Uploads only the changed areas of the screen into the texture, and shows
// the window again only when something changed (or it was uncovered).
void InteractiveHost::Present(bool force) {
  int width = 0, height = 0;
  if (!qz::CaptureScreen(RECT{0, 0, Width, Height}, &width, &height, &Frame)) return;
  const std::vector<RECT> rects = ChangedRects(ShownPixels, Frame, width, height);
  if (rects.empty() && !force) return;
  long pixels = 0;
  for (const RECT& r : rects) {
    const SDL_Rect area{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_UpdateTexture(Texture, &area, Frame.data() + static_cast<size_t>(r.top) * width + r.left,
                      width * static_cast<int>(sizeof(uint32_t)));
    pixels += static_cast<long>(area.w) * area.h;
  }
  ShownPixels.swap(Frame);
  SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
  SDL_RenderPresent(Renderer);
  if (Log && !rects.empty()) *Log << "present " << rects.size() << " " << pixels << std::endl;
}

void InteractiveHost::SavePng() {
  if (Options.PngPath.empty()) return;
  if (qz::SaveScreenPng(RECT{0, 0, Width, Height}, Options.PngPath))
    Say("screen written to " + Options.PngPath);
  else
    std::cerr << "qzhost run: could not write " << Options.PngPath << "\n";
}

}  // namespace

int RunInteractive(const RunOptions& options) {
  std::ofstream logFile;
  std::ostream* log = nullptr;
  if (options.LogPath == "-") {
    log = &std::cout;
  } else if (!options.LogPath.empty()) {
    logFile.open(options.LogPath);
    if (!logFile) {
      std::cerr << "qzhost run: cannot write " << options.LogPath << "\n";
      return 1;
    }
    log = &logFile;
  }
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::cerr << "qzhost run: cannot open the display: " << SDL_GetError() << "\n";
    return 1;
  }
  // Without a display SDL falls back to a driver that shows nothing, and a
  // window no one can see would wait for ever; asked for by name it is used.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (driver && (!asked || std::strcmp(asked, driver) != 0) &&
      (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
    std::cerr << "qzhost run: no display to open a window on (is DISPLAY or WAYLAND_DISPLAY set?)\n";
    SDL_Quit();
    return 1;
  }
  SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
  Module module;
  int status = 0;
  if (!module.Load()) {
    std::cerr << "qzhost run: cannot load the controls module: " << module.Error() << "\n";
    status = 1;
  } else {
    InteractiveHost host(options, log);
    if (host.Open()) {
      host.Loop();
      host.SavePng();
    } else {
      status = 1;
    }
  }
  if (status == 0 && !module.Unload() && log) *log << "note: the module stayed loaded after unload" << std::endl;
  SDL_Quit();
  return status;
}

}  // namespace qzh
