#include "harness/viewer.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <iterator>

#include "afxwin.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/menu.h"
#include "qzsystem/previewview.h"
#include "qzsystem/registry.h"

namespace qzh {

class ViewerWnd : public PreviewView {
 public:
  explicit ViewerWnd(Viewer* owner) : Owner(owner) {}

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (!Owner) return PreviewView::WindowProc(msg, wParam, lParam);
    return Owner->HandleMsg(msg, wParam, lParam);
  }
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam) { return PreviewView::WindowProc(msg, wParam, lParam); }

  Viewer* Owner;
};

PreviewControl* CreateViewerControl(const char* className) {
  Registry* reg = FindRegistryByName(className);
  if (!reg || reg->GetData(RegistryClassTypeTag) != ClassTypeViewerControl) return nullptr;
  auto creator = reinterpret_cast<PreviewControl* (*)()>(reg->GetData(RegistryCreatorTag));
  return creator ? creator() : nullptr;
}

Viewer::Viewer(CPipelineDoc& doc, int width, int height, POINT screen, uint32_t picture)
    : Doc(doc), Wnd(std::make_unique<ViewerWnd>(this)), Picture(picture, 0) {
  Wnd->Doc = &doc;
  Wnd->Frame = &ViewFrame;
  LPCSTR className = AfxRegisterWndClass(0, nullptr, nullptr);
  CWnd* main = AfxGetMainWnd();
  HWND owner = main ? main->m_hWnd : nullptr;
  Wnd->CreateEx(0, className, "Viewer", WS_POPUP | WS_VISIBLE, screen.x, screen.y, width, height, owner, nullptr);
  if (Picture.Load() && Picture.Dib && Picture.Dib->Bitmap) {
    PictureDC = CreateCompatibleDC(nullptr);
    if (PictureDC) PictureDCBitmap = SelectObject(PictureDC, Picture.Dib->Bitmap);
  }
  HandlePen = CreatePen(PS_SOLID, 1, HandleColour);
  ViewInfo.ControlPen = HandlePen;
  ViewInfo.ControlColour = HandleColour;
  Relayout();
}

Viewer::~Viewer() {
  EndPress(false);
  for (PreviewControl* control : Shown) delete control;
  Shown.clear();
  Wnd->Owner = nullptr;
  if (Wnd->m_hWnd) Wnd->DestroyWindow();
  if (PictureDC) {
    SelectObject(PictureDC, PictureDCBitmap);
    DeleteDC(PictureDC);
  }
  if (HandlePen) DeleteObject(HandlePen);
}

HWND Viewer::Window() const {
  return Wnd->m_hWnd;
}

PreviewControl* Viewer::AddViewerControl(const char* className, std::vector<Input*> inputs, const TagList& attributes) {
  PreviewControl* control = CreateViewerControl(className);
  if (!control) return nullptr;
  control->Doc = &Doc;
  control->SetView(Wnd.get());
  Shown.push_back(control);
  for (Input* input : inputs) control->AddInput(input);
  TagList tags{{ControlDocTag, static_cast<const void*>(&Doc)}};
  tags.Merge(attributes);
  control->SetAttrsTagList(tags);
  control->SetActive(1);
  return control;
}

void Viewer::ApplyAttributes(PreviewControl* control, const TagList& attributes) {
  TagList tags = attributes;
  control->SetAttrsTagList(tags);
}

void Viewer::RemoveViewerControl(PreviewControl* control) {
  auto found = std::find(Shown.begin(), Shown.end(), control);
  if (found == Shown.end()) return;
  if (control == PressedControl) EndPress(false);
  if (control == LastPressed) LastPressed = nullptr;
  Shown.erase(found);
  delete control;
  Wnd->RedrawControls();
}

bool Viewer::IsShown(const PreviewControl* control) const {
  return control && std::find(Shown.begin(), Shown.end(), control) != Shown.end();
}

void Viewer::Relayout() {
  RECT client{};
  if (Wnd->m_hWnd) ::GetClientRect(Wnd->m_hWnd, &client);
  const int pictureWidth = HasPicture() ? Picture.Dib->Width : client.right;
  const int pictureHeight = HasPicture() ? Picture.Dib->Height : client.bottom;
  ViewInfo.Layout(client.right, client.bottom, pictureWidth, pictureHeight, ZoomFactor, PanX, PanY);
}

void Viewer::SetZoom(float zoom, float panX, float panY) {
  RECT client{};
  if (Wnd->m_hWnd) ::GetClientRect(Wnd->m_hWnd, &client);
  const int width = HasPicture() ? Picture.Dib->Width : client.right;
  const int height = HasPicture() ? Picture.Dib->Height : client.bottom;
  const float side = static_cast<float>(std::max({width, height, 1}));
  ZoomFactor = zoom > 0.0f && !std::isnan(zoom) ? std::clamp(zoom, 1.0f / side, MaxShownExtent / side) : 1.0f;
  PanX = std::isnan(panX) ? 0.0f : std::clamp(panX, -MaxShownExtent, MaxShownExtent);
  PanY = std::isnan(panY) ? 0.0f : std::clamp(panY, -MaxShownExtent, MaxShownExtent);
  Relayout();
  Wnd->RedrawControls();
}

POINT Viewer::PixelOf(double x, double y) const {
  return POINT{ViewInfo.TransformXOut(static_cast<float>(x)), ViewInfo.TransformYOut(static_cast<float>(y))};
}

PreviewControl* Viewer::ControlAt(HDC hdc, Input** input) {
  for (PreviewControl* control : Shown) {
    if (!control->IsActive) continue;
    Input* found = nullptr;
    control->ControlCommand(hdc, &ViewInfo, PreviewCommandInputAt, &found);
    if (found) {
      if (input) *input = found;
      return control;
    }
  }
  return nullptr;
}

Input* Viewer::InputAt(POINT at) {
  ViewInfo.SetMouse(at.x, at.y);
  HDC hdc = PressDC ? PressDC : ::GetDC(Wnd->m_hWnd);
  Input* input = nullptr;
  ControlAt(hdc, &input);
  if (hdc != PressDC) ::ReleaseDC(Wnd->m_hWnd, hdc);
  return input;
}

PreviewControl* Viewer::KeyTarget() const {
  if (LastPressed && LastPressed->IsActive && IsShown(LastPressed)) return LastPressed;
  for (PreviewControl* control : Shown)
    if (control->IsActive) return control;
  return nullptr;
}

void Viewer::Focus() {
  ::SetFocus(Wnd->m_hWnd);
}

void Viewer::Repaint() {
  ::RedrawWindow(Wnd->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

bool Viewer::SavePng(const std::string& path) {
  qz::Pump();
  return qz::SaveWindowPng(Wnd->m_hWnd, path);
}

LRESULT Viewer::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_SIZE:
      Relayout();
      break;
    case WM_LBUTTONDOWN:
      OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      if (!PressedControl) HidePickMark();
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (PressedControl && reinterpret_cast<HWND>(lParam) != Wnd->m_hWnd) EndPress(true);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_RBUTTONUP:
      ShowContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case PickShowMessage:
      ShowPickMark(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case PickRequestMessage:
      return OnPickRequest(reinterpret_cast<List*>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case CopyColourMessage:
      return 1;  // a colour dropped on the viewer has nowhere to go
    default:
      break;
  }
  return Wnd->Default(msg, wParam, lParam);
}

void Viewer::DrawPicture(HDC hdc) {
  RECT client;
  ::GetClientRect(Wnd->m_hWnd, &client);
  HBRUSH background = CreateSolidBrush(Background);
  FillRect(hdc, &client, background);
  DeleteObject(background);
  if (!HasPicture()) return;
  // The view is held to what can be shown (SetZoom); a layout set directly
  // beyond that is not drawn rather than converted out of the int range.
  const float limit = 2 * MaxShownExtent;
  const float sides[] = {ViewInfo.OriginX, ViewInfo.OriginY, ViewInfo.ImageWidth, ViewInfo.ImageHeight};
  if (std::any_of(std::begin(sides), std::end(sides), [&](float v) { return !(std::fabs(v) <= limit); })) return;
  const int left = static_cast<int>(ViewInfo.OriginX);
  const int top = static_cast<int>(ViewInfo.OriginY);
  const int width = static_cast<int>(std::lround(ViewInfo.ImageWidth));
  const int height = static_cast<int>(std::lround(ViewInfo.ImageHeight));
  StretchBlt(hdc, left, top, width, height, PictureDC, 0, 0, Picture.Dib->Width, Picture.Dib->Height, SRCCOPY);
}

void Viewer::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(Wnd->m_hWnd, &ps);
  if (!hdc) return;
  DrawPicture(hdc);
  for (PreviewControl* control : Shown)
    if (control->IsActive) control->DrawControls(hdc, &ViewInfo, 0);
  DrawPickMark(hdc);
  ::EndPaint(Wnd->m_hWnd, &ps);
}

void Viewer::OnButtonDown(int x, int y) {
  if (PressedControl) return;
  Focus();
  ViewInfo.SetMouse(x, y);
  HDC hdc = ::GetDC(Wnd->m_hWnd);
  PreviewControl* target = ControlAt(hdc, nullptr);
  if (!target) {
    ::ReleaseDC(Wnd->m_hWnd, hdc);
    return;
  }
  PressDC = hdc;
  PressedControl = target;
  LastPressed = target;
  ::SetCapture(Wnd->m_hWnd);
  target->ControlDown(hdc, &ViewInfo, CPoint(x, y));
  if (PressedControl == target && target->DragMode != 0) Repaint();
}

void Viewer::OnMouseMove(int x, int y) {
  if (!PressedControl) return;
  ViewInfo.SetMouse(x, y);
  PressedControl->ControlMove(PressDC, &ViewInfo, CPoint(x, y));
}

void Viewer::OnButtonUp(int x, int y) {
  if (!PressedControl) return;
  ViewInfo.SetMouse(x, y);
  EndPress(true);
}

// The press is forgotten before the capture is released, so the capture
// change it causes does not end it a second time.
void Viewer::EndPress(bool release) {
  PreviewControl* control = PressedControl;
  HDC hdc = PressDC;
  PressedControl = nullptr;
  PressDC = nullptr;
  if (!control) return;
  if (release) {
    const CPoint point(ViewInfo.TransformXOut(ViewInfo.MouseX), ViewInfo.TransformYOut(ViewInfo.MouseY));
    control->ControlUp(hdc, &ViewInfo, point);
  }
  if (::GetCapture() == Wnd->m_hWnd) ::ReleaseCapture();
  if (hdc) ::ReleaseDC(Wnd->m_hWnd, hdc);
}

void Viewer::OnKeyDown(WPARAM key) {
  if (key != VK_LEFT && key != VK_UP && key != VK_RIGHT && key != VK_DOWN) return;
  PreviewControl* target = KeyTarget();
  if (!target) return;
  HDC hdc = PressDC ? PressDC : ::GetDC(Wnd->m_hWnd);
  target->ControlCommand(hdc, &ViewInfo, PreviewCommandKey, reinterpret_cast<void*>(key));
  if (hdc != PressDC) ::ReleaseDC(Wnd->m_hWnd, hdc);
}

// ---- the host's side of a colour pick ----

bool Viewer::PixelAt(POINT at, uint32_t* pixel) const {
  if (!HasPicture() || !Picture.Dib->Bits) return false;
  const float x = ViewInfo.TransformXIn(at.x);
  const float y = ViewInfo.TransformYIn(at.y);
  if (!(x >= 0.0f && x < 1.0f && y >= 0.0f && y < 1.0f)) return false;
  const DIB& image = *Picture.Dib;
  const int column = std::min(static_cast<int>(x * image.Width), image.Width - 1);
  const int row = std::min(static_cast<int>(y * image.Height), image.Height - 1);
  *pixel = image.Bits[static_cast<size_t>(row) * image.Width + column];
  return true;
}

bool Viewer::PickMark(POINT* at) const {
  if (PickMarkShown && at) *at = PickPoint;
  return PickMarkShown;
}

void Viewer::ShowPickMark(POINT at) {
  if (PickMarkShown && at.x == PickPoint.x && at.y == PickPoint.y) return;
  PickMarkShown = true;
  PickPoint = at;
  Wnd->RedrawControls();
}

void Viewer::HidePickMark() {
  if (!PickMarkShown) return;
  PickMarkShown = false;
  Wnd->RedrawControls();
}

// A square around the pixel to be picked, in the handle colour, with a
// dark outline so it reads on any picture.
void Viewer::DrawPickMark(HDC hdc) {
  if (!PickMarkShown) return;
  constexpr int Inner = 3;
  const RECT outer{PickPoint.x - Inner - 1, PickPoint.y - Inner - 1, PickPoint.x + Inner + 2, PickPoint.y + Inner + 2};
  const RECT inner{PickPoint.x - Inner, PickPoint.y - Inner, PickPoint.x + Inner + 1, PickPoint.y + Inner + 1};
  HBRUSH dark = CreateSolidBrush(Background);
  HBRUSH light = CreateSolidBrush(HandleColour);
  if (dark) FrameRect(hdc, &outer, dark);
  if (light) FrameRect(hdc, &inner, light);
  if (dark) DeleteObject(dark);
  if (light) DeleteObject(light);
}

// Each input of the list takes its channel of the pixel; the list is the
// viewer's to delete once used.
LRESULT Viewer::OnPickRequest(List* inputs, POINT at) {
  if (!inputs) return 1;
  uint32_t pixel = 0;
  if (PixelAt(at, &pixel)) {
    const double channels[4] = {((pixel >> 16) & 0xff) / 255.0, ((pixel >> 8) & 0xff) / 255.0, (pixel & 0xff) / 255.0,
                                (pixel >> 24) / 255.0};
    inputs->ObtainReadLock();
    for (ListNode* node = inputs->GetNext(nullptr); node; node = inputs->GetNext(node)) {
      auto* input = static_cast<Input*>(node->Obj());
      const intptr_t channel = input ? input->GetAttr(PanelIndexTag) : -1;
      if (channel < 0 || channel > 3) continue;
      AutoNumber value(new (std::nothrow) Number(channels[channel]));
      if (value) input->SetValue(value, Doc.CurrentTime, 1);
    }
    inputs->ReleaseReadLock();
  }
  delete inputs;
  return 0;
}

// A press in progress keeps the pointer: no menu until it ends.
uint32_t Viewer::ShowContextMenu(POINT at) {
  if (PressedControl) return 0;
  ViewInfo.SetMouse(at.x, at.y);
  QZMenu menu;
  TagList context;
  for (PreviewControl* control : Shown)
    if (control->IsActive) control->AddToMenu(&menu, context);
  if (menu.GetLength() == 0) return 0;
  POINT screen = at;
  ::ClientToScreen(Wnd->m_hWnd, &screen);
  const uint32_t answer = menu.Track(Wnd->m_hWnd, screen);
  Wnd->RedrawControls();
  return answer;
}

}  // namespace qzh
