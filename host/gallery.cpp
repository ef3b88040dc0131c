#include "gallery.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "frame/tags.h"
#include "harness/formats.h"
#include "harness/module.h"
#include "harness/polyline_tool.h"
#include "harness/session.h"
#include "harness/viewer.h"
#include "qzplatform/dialogs.h"
#include "qzplatform/driver.h"
#include "qzplatform/menus.h"
#include "qzplatform/shell.h"
#include "qzsystem/registry.h"

namespace qzh {
namespace {

// Tall enough for every panel control of the sample tool, one below another.
constexpr int GalleryPanelHeight = 1200;

InputControl* BuildButton(Session& s, Operator* tool) {
  Input* pulse = s.AddNumberInput(tool, "Pulse", 0.0);
  return s.AddPanelControl("ButtonControl", TagList{{qzc::tag::ControlName, "Reset Pulse"}}, {pulse});
}

void UseButton(Session& s, InputControl* control) {
  HWND button = FindChild(control, Role::PushButton);
  RECT rc;
  GetClientRect(button, &rc);
  s.Click(button, rc.right / 2, rc.bottom / 2);
}

// The box starts ticked.
InputControl* BuildCheckBox(Session& s, Operator* tool) {
  Input* invert = s.AddNumberInput(tool, "Invert", 1.0);
  return s.AddPanelControl(
      "CheckBoxControl", TagList{{qzc::tag::ControlName, "Invert Mask"}, {qzc::tag::CheckBoxThreeState, 1}}, {invert});
}

// From ticked round the three states: indeterminate, then off.
void UseCheckBox(Session& s, InputControl* control) {
  HWND box = FindChild(control, Role::CheckBox);
  RECT rc;
  GetClientRect(box, &rc);
  s.Click(box, 6, rc.bottom / 2);
  s.Click(box, 6, rc.bottom / 2);
}

// The list starts on its third entry.
InputControl* BuildCombo(Session& s, Operator* tool) {
  Input* mode = s.AddNumberInput(tool, "Apply Mode", 2.0);
  return s.AddPanelControl("ComboControl",
                           TagList{{qzc::tag::ControlName, "Apply Mode"},
                                   {qzc::tag::ComboEntry, "Normal"},
                                   {qzc::tag::ComboEntry, "Screen"},
                                   {qzc::tag::ComboEntry, "Multiply"}},
                           {mode});
}

// Drops a combo box's list with a click on its field and clicks entry `index`.
void PickEntry(Session& s, HWND combo, int index) {
  RECT field;
  GetClientRect(combo, &field);
  s.Click(combo, field.right / 2, field.bottom / 2);
  const int row = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  s.Click(combo, field.right / 2, field.bottom + 1 + row * index + row / 2);
}

// Picks the second entry.
void UseCombo(Session& s, InputControl* control) {
  PickEntry(s, FindChild(control, Role::Choice), 1);
}

// The slider starts off its default.
InputControl* BuildSlider(Session& s, Operator* tool) {
  Input* blend = s.AddNumberInput(tool, "Blend", 0.25);
  return s.AddPanelControl(
      "SliderControl",
      TagList{{qzc::tag::SliderLeftLabel, "Blend"}, {qzc::tag::SliderRightLabel, "mix"}, {qzc::tag::DefaultValue, 0.5}},
      {blend});
}

// Drags the thumb from 0.25 (x 68 on the track from 24 to 201, the default
// 0.5 at its middle) to the right, past the default.
void UseSlider(Session& s, InputControl* control) {
  HWND slider = FindChild(control, Role::Slider);
  s.Drag(slider, POINT{68, 9}, POINT{160, 9}, 6);
}

// A point typed as X and Y: the x field, then the y field, each completed
// with Enter.
InputControl* BuildOffset(Session& s, Operator* tool) {
  Input* centre = s.AddInput(tool, "Center", new Point(0.5f, 0.5f));
  return s.AddPanelControl("OffsetControl", TagList{{qzc::tag::ControlName, "Center"}, {qzc::tag::Decimals, 3}},
                           {centre});
}

void TypeInto(Session& s, HWND edit, const char* text) {
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  qz::TypeText(text);
  qz::PressKey(VK_RETURN);
  s.Pump();
}

// A shot's frame range with fades: ends 20 and 60 of 0 to 100 in whole
// frames, fades of 8 frames at either end, the span and the fade ends shown.
InputControl* BuildRange(Session& s, Operator* tool) {
  Input* start = s.AddNumberInput(tool, "Start", 20.0, 0);
  Input* end = s.AddNumberInput(tool, "End", 60.0, 1);
  return s.AddPanelControl("RangeControl",
                           TagList{{qzc::tag::DisplayMin, 0.0},
                                   {qzc::tag::DisplayMax, 100.0},
                                   {qzc::tag::Integer, 1},
                                   {qzc::tag::RangeInnerLow, 8.0},
                                   {qzc::tag::RangeInnerHigh, 8.0},
                                   {qzc::tag::RangeTextFlags, 5}},
                           {start, end});
}

// On the bar from x 62 to 213 the ends sit at 92 and 152: drags the high
// end to the right, then the whole span to the left, then types a new start.
void UseRange(Session& s, InputControl* control) {
  HWND bar = GetDlgItem(control->Wnd->m_hWnd, 1001);
  s.Drag(bar, POINT{155, 9}, POINT{178, 9}, 4);
  s.Drag(bar, POINT{120, 9}, POINT{104, 9}, 4);
  HWND low = GetDlgItem(bar, 0x7595);
  SetFocus(low);
  SendMessageA(low, EM_SETSEL, 0, -1);
  qz::TypeText("12");
  qz::PressKey(VK_RETURN);
  s.Pump();
}

void UseOffset(Session& s, InputControl* control) {
  TypeInto(s, GetDlgItem(control->Wnd->m_hWnd, 1), "0.62");
  TypeInto(s, GetDlgItem(control->Wnd->m_hWnd, 2), "0.385");
}

// A texture path typed into the field and confirmed with Enter, then a
// choice in the open dialog.
InputControl* BuildFile(Session& s, Operator* tool) {
  Input* path = s.AddInput(tool, "Texture", new Text("/shots/plate/grain.tif"));
  return s.AddPanelControl("FileControl",
                           TagList{{qzc::tag::ControlName, "Texture"},
                                   {qzc::tag::FileFilter, "Textures (*.tif;*.exr)|*.tif;*.exr|All Files (*.*)|*.*||"}},
                           {path});
}

void UseFile(Session& s, InputControl* control) {
  qz::SetDialogResponder([](const qz::DialogRequest&) {
    qz::DialogAnswer answer;
    answer.ok = true;
    answer.path = "/shots/plate/grain_fine.exr";
    return answer;
  });
  HWND browse = GetDlgItem(control->Wnd->m_hWnd, 1001);
  s.Click(browse, 8, 8);
  qz::SetDialogResponder(nullptr);
}

// A render output saved as a Targa sequence: the save dialog opens on the
// Targa filter and the chosen "beauty" gets the format's extension.
InputControl* BuildClip(Session& s, Operator* tool) {
  Input* clip = s.AddInput(tool, "Output", new Clip("/renders/comp_v001.0001.png", 1));
  return s.AddPanelControl("ClipControl",
                           TagList{{qzc::tag::ControlName, "Output"},
                                   {qzc::tag::Specific0, 1},
                                   {qzc::tag::Specific4, static_cast<intptr_t>(MakeID("TGAf"))}},
                           {clip});
}

void UseClip(Session& s, InputControl* control) {
  qz::SetDialogResponder([](const qz::DialogRequest& request) {
    qz::DialogAnswer answer;
    answer.ok = true;
    answer.path = "/renders/beauty.0001";
    answer.filterIndex = request.filterIndex;
    return answer;
  });
  HWND browse = GetDlgItem(control->Wnd->m_hWnd, 1001);
  s.Click(browse, 8, 8);
  qz::SetDialogResponder(nullptr);
}

// A title font chosen in the font dialog: 14-point bold DejaVu Serif.
InputControl* BuildFont(Session& s, Operator* tool) {
  Input* face = s.AddInput(tool, "Title Font", new Text("DejaVu Sans"), 0);
  Input* style = s.AddNumberInput(tool, "Title Style", 120.0 * 65536, 1);
  return s.AddPanelControl("FontControl", TagList{{qzc::tag::ControlName, "Title"}}, {face, style});
}

void UseFont(Session& s, InputControl* control) {
  qz::SetDialogResponder([](const qz::DialogRequest&) {
    qz::DialogAnswer answer;
    answer.ok = true;
    std::strncpy(answer.font.lfFaceName, "DejaVu Serif", LF_FACESIZE - 1);
    answer.font.lfWeight = FW_BOLD;
    answer.pointSize = 140;
    return answer;
  });
  HWND select = GetDlgItem(control->Wnd->m_hWnd, 2020);
  s.Click(select, 10, 8);
  qz::SetDialogResponder(nullptr);
}

InputControl* BuildScrew(Session& s, Operator* tool) {
  Input* angle = s.AddNumberInput(tool, "Angle", 30.0);
  return s.AddPanelControl("ScrewControl",
                           TagList{{qzc::tag::ControlName, "Angle"},
                                   {qzc::tag::RangeMin, 0.0},
                                   {qzc::tag::RangeMax, 360.0},
                                   {qzc::tag::StepCount, 361},
                                   {qzc::tag::ScrewDivisions, 16},
                                   {qzc::tag::Decimals, 1}},
                           {angle});
}

// Turns the wheel by 60 pixels (a sixth of the 192-pixel wheel's 360
// degrees, and more), holds the right arrow for half a second on the virtual
// clock (a step at the press, then one every 70 ms from 280 ms on), then
// types a value past a full turn into the field.
void UseScrew(Session& s, InputControl* control) {
  HWND wheel = GetDlgItem(control->Wnd->m_hWnd, 1001);
  s.Drag(wheel, POINT{60, 8}, POINT{120, 8}, 6);
  qz::InjectMouseAt(wheel, WM_LBUTTONDOWN, 216, 8);
  s.Pump();
  s.AdvanceClock(500);
  qz::InjectMouseAt(wheel, WM_LBUTTONUP, 216, 8);
  s.Pump();
  HWND edit = GetDlgItem(wheel, 0x4E85);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  qz::TypeText("405");
  qz::PressKey(VK_RETURN);
}

// A tint in four inputs of one group, alpha among them, so the control
// opens with the alpha row.
InputControl* BuildColour(Session& s, Operator* tool) {
  const TagList group{{qzc::tag::ControlGroup, 1}};
  std::vector<Input*> channels;
  const char* names[] = {"Tint Red", "Tint Green", "Tint Blue", "Tint Alpha"};
  const double values[] = {0.2, 0.45, 0.8, 1.0};
  for (int c = 0; c < 4; ++c) channels.push_back(s.AddInput(tool, names[c], new Number(values[c]), c, group));
  return s.AddConnectedPanelControl("ColourControl", TagList{{qzc::tag::ControlName, "Tint"}}, channels);
}

// Drags the "Pick" button into a viewer beside the panel and lets go over
// the sun of the sample picture: the tint becomes the sun's orange. Then
// types a lighter alpha.
void UseColour(Session& s, InputControl* control) {
  Viewer viewer(s.Doc, Viewer::DefaultWidth, Viewer::DefaultHeight, POINT{Session::DefaultPanelWidth + 20, 0});
  s.Pump();
  HWND pick = GetDlgItem(control->Wnd->m_hWnd, 2021);
  RECT rc;
  GetClientRect(pick, &rc);
  POINT to = viewer.PixelOf(0.74, 0.26);
  ClientToScreen(viewer.Window(), &to);
  ScreenToClient(pick, &to);
  s.Drag(pick, POINT{rc.right / 2, rc.bottom / 2}, to, 6);
  HWND alpha = GetDlgItem(control->Wnd->m_hWnd, 30104);
  SetFocus(alpha);
  SendMessageA(alpha, EM_SETSEL, 0, -1);
  qz::TypeText("0.8");
  qz::PressKey(VK_RETURN);
  s.Pump();
}

// A caption of a few lines; the user adds a line at the end.
InputControl* BuildTextEdit(Session& s, Operator* tool) {
  Input* caption =
      s.AddInput(tool, "Caption", new Text("Shot 42, take 3\r\nGraded warm for the dusk plates\r\nReviewed 12/03, "));
  return s.AddPanelControl("TextEditControl", TagList{{qzc::tag::ControlName, "Caption"}, {qzc::tag::TextEditLines, 5}},
                           {caption});
}

void UseTextEdit(Session& s, InputControl* control) {
  HWND field = FindChild(control, Role::RichEdit);
  SetFocus(field);
  const int end = GetWindowTextLengthA(field);
  SendMessageA(field, EM_SETSEL, end, end);
  s.EnableShortcuts(true);
  qz::TypeText("v2");
  s.EnableShortcuts(false);
}

// The tool's clip list, empty at first: three clips are made from numbered
// files written to a temporary folder and dropped on the list at frame 10.
InputControl* BuildList(Session& s, Operator* tool) {
  Input* clips = s.AddClipListInput(tool, "Clips");
  return s.AddPanelControl("ListControl", TagList{{qzc::tag::ControlName, "Clips"}}, {clips});
}

void UseList(Session& s, InputControl* control) {
  // Short paths, so that the names fit their column.
  char pattern[] = "/tmp/qzXXXXXX";
  if (!mkdtemp(pattern)) return;
  const std::string folder = pattern;
  struct Shot {
    const char* Stem;
    int Frames;
  };
  const Shot shots[] = {{"bg", 24}, {"fg", 12}, {"fx", 36}};
  std::vector<std::string> dropped;
  for (const Shot& shot : shots) {
    for (int frame = 1; frame <= shot.Frames; ++frame) {
      char name[64];
      std::snprintf(name, sizeof name, "/%s.%04d.png", shot.Stem, frame);
      std::ofstream(folder + name) << "frame\n";
      if (frame == 1) dropped.push_back(folder + name);
    }
  }
  s.Doc.SetCurrentTime(10.0, 1);
  HWND list = FindChild(control, Role::ListBox);
  qz::DropFiles(list, POINT{40, 40}, dropped);
  s.Pump();
  s.Doc.SetCurrentTime(0.0, 1);
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

// A mask taken from a second tool: its name typed into the field (in lower
// case; names match ignoring case) and confirmed with Enter.
InputControl* BuildImage(Session& s, Operator* tool) {
  Operator* matte = s.AddTool("Matte1");
  matte->AddOutput("Output", 0x017475cf, MakeID("Imag"));
  Input* mask = s.AddInput(tool, "Effect Mask", nullptr);
  return s.AddPanelControl("ImageControl", TagList{{qzc::tag::ControlName, "Effect Mask"}}, {mask});
}

void UseImage(Session& s, InputControl* control) {
  TypeInto(s, FindChild(control, Role::Edit), "matte1");
}

// A 3x3 sharpening kernel to start from.
constexpr int FilterTableSize = 54;
constexpr int FilterFirstCoefficient = 5;
constexpr int FilterSide = 7;

InputControl* BuildCustomFilter(Session& s, Operator* tool) {
  auto* table = new LookUpTable(FilterTableSize);
  const int sharpen[3][3] = {{0, -1, 0}, {-1, 5, -1}, {0, -1, 0}};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      table->Table[FilterFirstCoefficient + FilterSide * (row + 2) + column + 2] =
          static_cast<float>(sharpen[row][column]);
  Input* matrix = s.AddInput(tool, "Filter Matrix", table);
  return s.AddPanelControl("CustomFilterControl", TagList{{qzc::tag::ControlName, "Filter Matrix"}}, {matrix});
}

// With the update lock ticked: chooses 5x5 and types a 5x5 edge kernel into
// the centre fields, then clears the lock, which sends it all as one matrix.
void UseCustomFilter(Session& s, InputControl* control) {
  HWND lock = FindChild(control, Role::CheckBox);
  s.Click(lock, 6, 7);
  PickEntry(s, FindChild(control, Role::Choice), 1);
  const int edges[5][5] = {
      {0, 0, -1, 0, 0}, {0, -1, -2, -1, 0}, {-1, -2, 16, -2, -1}, {0, -1, -2, -1, 0}, {0, 0, -1, 0, 0}};
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 5; ++c)
      TypeInto(s, FindChild(control, Role::Edit, FilterSide * (r + 1) + c + 1), std::to_string(edges[r][c]).c_str());
  s.Click(lock, 6, 7);
}

// The output each input of the tool is connected to, in the tool's order.
std::vector<Output*> ConnectionsOf(Operator* tool) {
  std::vector<Output*> outputs;
  for (ListNode* node = tool->Inputs.GetFirst(); node; node = tool->Inputs.GetNext(node))
    outputs.push_back(static_cast<Input*>(node->Obj())->ConnectedTo());
  return outputs;
}

// Prints the connections that differ from `before`.
void PrintConnections(std::ostream& out, Operator* tool, const std::vector<Output*>& before) {
  size_t i = 0;
  for (ListNode* node = tool->Inputs.GetFirst(); node; node = tool->Inputs.GetNext(node), ++i) {
    auto* input = static_cast<Input*>(node->Obj());
    Output* output = input->ConnectedTo();
    if (i < before.size() && before[i] == output) continue;
    if (output)
      out << "  connected " << input->GetName() << " to " << (output->Owner ? output->Owner->Name : "(no tool)")
          << "\n";
    else
      out << "  disconnected " << input->GetName() << "\n";
  }
}

const std::vector<Recipe>& Recipes() {
  // One recipe a line, so each control adds its own line.
  // clang-format off
  static const std::vector<Recipe> recipes = {
      {"ButtonControl", BuildButton, UseButton},
      {"CheckBoxControl", BuildCheckBox, UseCheckBox},
      {"ComboControl", BuildCombo, UseCombo},
      {"ColourControl", BuildColour, UseColour},
      {"OffsetControl", BuildOffset, UseOffset},
      {"SliderControl", BuildSlider, UseSlider},
      {"RangeControl", BuildRange, UseRange},
      {"FileControl", BuildFile, UseFile},
      {"ClipControl", BuildClip, UseClip},
      {"FontControl", BuildFont, UseFont},
      {"ScrewControl", BuildScrew, UseScrew},
      {"ImageControl", BuildImage, UseImage},
      {"CustomFilterControl", BuildCustomFilter, UseCustomFilter},
      {"TextEditControl", BuildTextEdit, UseTextEdit},
      {"ListControl", BuildList, UseList},
  };
  // clang-format on
  return recipes;
}

// ---- the viewer ----

// A centre handle tied to a pivot handle: the line runs from the centre to
// the pivot.
PreviewControl* BuildPoint(Session& s, Viewer& v, Operator* tool) {
  Input* pivot = s.AddInput(tool, "Pivot", new Point(0.3f, 0.65f));
  Input* centre = s.AddInput(tool, "Centre", new Point(0.5f, 0.4f));
  v.AddViewerControl("PointControl", {pivot});
  return v.AddViewerControl("PointControl", {centre},
                            TagList{{qzc::tag::ReferenceInput, static_cast<const void*>(pivot)}});
}

std::ostream& operator<<(std::ostream& out, POINT p) {
  return out << "(" << p.x << ", " << p.y << ")";
}

// What a dialog was asked to show, as the transcript tells it.
void PrintDialogRequest(std::ostream& out, const qz::DialogRequest& request) {
  static const char* const kinds[] = {"colour", "font", "open file", "save file"};
  out << "  " << kinds[static_cast<int>(request.kind)] << " dialog, flags 0x" << std::hex << request.flags << std::dec;
  if (request.kind == qz::DialogKind::FileOpen || request.kind == qz::DialogKind::FileSave) {
    out << ", initial name \"" << request.fileName << "\", filter " << request.filterIndex << " of "
        << request.filters.size() << ":\n";
    for (const auto& [description, pattern] : request.filters) out << "    " << description << " | " << pattern << "\n";
  } else if (request.kind == qz::DialogKind::Font) {
    out << ", face \"" << request.initialFont.lfFaceName << "\", height " << request.initialFont.lfHeight << " ("
        << request.initialPointSize / 10.0 << " points)\n";
  } else {
    out << "\n";
  }
}

// Prints the writes since the last call and forgets them.
void PrintWrites(std::ostream& out, Session& s) {
  for (const Write& write : s.Writes())
    out << "  wrote " << write.Input << " = " << write.Value << " at time " << Session::FormatTime(write.Time) << "\n";
  s.ClearWrites();
}

// Drags the centre handle up and to the right, then nudges it with Shift+Left.
void UsePoint(Session& s, Viewer& v, PreviewControl*, std::ostream& out) {
  const POINT from = v.PixelOf(0.5, 0.4);
  const POINT to = v.PixelOf(0.72, 0.3);
  out << "  drag from viewer pixel " << from << " to " << to << " in 5 moves:\n";
  s.Drag(v.Window(), from, to, 5);
  PrintWrites(out, s);
  out << "  Shift+Left:\n";
  qz::SetKeyDown(VK_SHIFT, true);
  qz::PressKey(VK_LEFT);
  qz::SetKeyDown(VK_SHIFT, false);
  PrintWrites(out, s);
}

// A drop shadow's offset from its origin, in two number inputs: the X mark
// sits at origin + offset with a dotted line back to the origin.
PreviewControl* BuildXYOffset(Session& s, Viewer& v, Operator* tool) {
  Input* origin = s.AddInput(tool, "Shadow Origin", new Point(0.2f, 0.3f));
  Input* x = s.AddInput(tool, "Shadow X", new Number(0.1), 0, TagList{{ViewerIndexTag, 0}});
  Input* y = s.AddInput(tool, "Shadow Y", new Number(0.12), 0, TagList{{ViewerIndexTag, 1}});
  return v.AddViewerControl("XYOffsetControl", {x, y},
                            TagList{{qzc::tag::ReferenceInput, static_cast<const void*>(origin)}});
}

// Drags the mark up and to the right, then nudges it down with Shift+Down.
void UseXYOffset(Session& s, Viewer& v, PreviewControl*, std::ostream& out) {
  const POINT from = v.PixelOf(0.3, 0.42);
  const POINT to = v.PixelOf(0.38, 0.3);
  out << "  drag from viewer pixel " << from << " to " << to << " in 4 moves:\n";
  s.Drag(v.Window(), from, to, 4);
  PrintWrites(out, s);
  out << "  Shift+Down:\n";
  qz::SetKeyDown(VK_SHIFT, true);
  qz::PressKey(VK_DOWN);
  qz::SetKeyDown(VK_SHIFT, false);
  PrintWrites(out, s);
}

// A plus-shaped marker on a light's position, dragged down and to the
// right, then nudged one pixel up with Shift+Ctrl+Up.
PreviewControl* BuildCrosshair(Session& s, Viewer& v, Operator* tool) {
  Input* light = s.AddInput(tool, "Light Position", new Point(0.14f, 0.2f));
  return v.AddViewerControl("CrosshairControl", {light}, TagList{{qzc::tag::MarkerShape, 0}});
}

void UseCrosshair(Session& s, Viewer& v, PreviewControl*, std::ostream& out) {
  const POINT from = v.PixelOf(0.14, 0.2);
  const POINT to = v.PixelOf(0.2, 0.26);
  out << "  drag from viewer pixel " << from << " to " << to << " in 3 moves:\n";
  s.Drag(v.Window(), from, to, 3);
  PrintWrites(out, s);
  out << "  Shift+Ctrl+Up:\n";
  qz::SetKeyDown(VK_SHIFT, true);
  qz::SetKeyDown(VK_CONTROL, true);
  qz::PressKey(VK_UP);
  qz::SetKeyDown(VK_CONTROL, false);
  qz::SetKeyDown(VK_SHIFT, false);
  PrintWrites(out, s);
}

// Light rays from a centre: the line's length is half the length input,
// and the handle at its end turns the angle.
constexpr double RaysCentreX = 0.7;
constexpr double RaysCentreY = 0.72;
constexpr double RaysLength = 0.18;  // the length input's 0.36 at the default scale of 0.5

PreviewControl* BuildAngle(Session& s, Viewer& v, Operator* tool) {
  Input* centre = s.AddInput(tool, "Rays Center", new Point(RaysCentreX, RaysCentreY));
  Input* length = s.AddInput(tool, "Rays Length", new Number(RaysLength * 2.0));
  Input* angle = s.AddInput(tool, "Rays Angle", new Number(350.0));
  return v.AddViewerControl("AngleControl", {angle},
                            TagList{{qzc::tag::AngleCentreInput, static_cast<const void*>(centre)},
                                    {qzc::tag::AngleLengthInput, static_cast<const void*>(length)}});
}

// The viewer pixel of the rays line's end at `degrees`.
POINT RaysEnd(Viewer& v, double degrees) {
  const double radians = degrees * 3.14159265358979323846 / 180.0;
  const PreviewInfo& info = v.Info();
  return v.PixelOf(RaysCentreX + info.AspectScaleXOut(static_cast<float>(RaysLength * std::cos(radians))),
                   RaysCentreY - info.AspectScaleYOut(static_cast<float>(RaysLength * std::sin(radians))));
}

// Turns the handle from 350 degrees anticlockwise across 0 to 40 (the angle
// counts on to 400), then steps it by a tenth of a degree with Ctrl+Left.
void UseAngle(Session& s, Viewer& v, PreviewControl*, std::ostream& out) {
  const POINT from = RaysEnd(v, 350.0);
  const POINT to = RaysEnd(v, 40.0);
  out << "  drag from viewer pixel " << from << " to " << to << " in 4 moves:\n";
  s.Drag(v.Window(), from, to, 4);
  PrintWrites(out, s);
  out << "  Ctrl+Left:\n";
  qz::SetKeyDown(VK_CONTROL, true);
  qz::PressKey(VK_LEFT);
  qz::SetKeyDown(VK_CONTROL, false);
  PrintWrites(out, s);
}

// A blur radius drawn as a circle around a fixed centre; its ring is dragged
// outwards.
PreviewControl* BuildCircle(Session& s, Viewer& v, Operator* tool) {
  Input* radius = s.AddInput(tool, "Blur Size", new Number(0.2));
  return v.AddViewerControl("CircleControl", {radius},
                            TagList{{qzc::tag::CircleCentreX, 0.76}, {qzc::tag::CircleCentreY, 0.66}});
}

void UseCircle(Session& s, Viewer& v, PreviewControl*, std::ostream& out) {
  const POINT centre = v.PixelOf(0.76, 0.66);
  const POINT from{centre.x + 32, centre.y};
  const POINT to{centre.x + 30, centre.y + 36};
  out << "  drag the ring from viewer pixel " << from << " to " << to << " in 3 moves:\n";
  s.Drag(v.Window(), from, to, 3);
}

// A crop box turned by 12 degrees with a dotted outline; its right edge is
// dragged outwards.
PreviewControl* BuildRectangle(Session& s, Viewer& v, Operator* tool) {
  Input* width = s.AddInput(tool, "Crop Width", new Number(0.3), 0, TagList{{ViewerIndexTag, 0}});
  Input* height = s.AddInput(tool, "Crop Height", new Number(0.4), 0, TagList{{ViewerIndexTag, 1}});
  return v.AddViewerControl("RectangleControl", {width, height},
                            TagList{{qzc::tag::RectangleCentreX, 0.3},
                                    {qzc::tag::RectangleCentreY, 0.6},
                                    {qzc::tag::RectangleAngle, 12.0},
                                    {qzc::tag::RectanglePenStyle, PS_DOT}});
}

void UseRectangle(Session& s, Viewer& v, PreviewControl*, std::ostream& out) {
  const POINT centre = v.PixelOf(0.3, 0.6);
  const double a = 12.0 * 3.14159265358979 / 180.0;
  // The right edge's middle: half the width (0.3 x 320 / 2 = 48 pixels) along
  // the turned width axis.
  const POINT edge{centre.x + static_cast<int>(48 * std::cos(a)), centre.y - static_cast<int>(48 * std::sin(a))};
  const POINT to{edge.x + 14, edge.y - 3};
  out << "  drag the right edge from viewer pixel " << edge << " to " << to << " in 3 moves:\n";
  s.Drag(v.Window(), edge, to, 3);
}

// A polygon mask tool that draws its own outline through an operator
// control; its points are its Point inputs.
constexpr const char* MaskToolName = "Polygon Mask";

PreviewControl* BuildOperator(Session& s, Viewer& v, Operator*) {
  PolylineTool* mask =
      PolylineTool::AddTo(s.Doc, MaskToolName, {{0.36f, 0.06f}, {0.62f, 0.05f}, {0.5f, 0.14f}, {0.42f, 0.24f}});
  return v.AddViewerControl("OperatorControl", {},
                            TagList{{qzc::tag::OverlayOperator, static_cast<const void*>(mask)}});
}

void PrintMenu(std::ostream& out, const std::vector<qz::MenuItem>& items, int depth) {
  for (const qz::MenuItem& item : items) {
    out << std::string(static_cast<size_t>(depth) * 2 + 4, ' ');
    if (item.kind == qz::MenuItem::Kind::Separator) {
      out << "----\n";
    } else if (item.kind == qz::MenuItem::Kind::Popup) {
      out << item.text << " >\n";
      PrintMenu(out, item.items, depth + 1);
    } else {
      out << item.text << " (command " << item.id << ")\n";
    }
  }
}

void PrintMaskPoints(std::ostream& out, const PolylineTool& mask) {
  out << "  points:";
  for (size_t i = 0; i < mask.Points.size(); ++i) {
    const auto [x, y] = mask.PointAt(i);
    out << " (" << x << ", " << y << ")";
  }
  out << (mask.Closed ? ", closed" : ", open") << "\n";
}

// Drags the mask's third point out to the right, then closes the shape
// from the viewer's context menu.
void UseOperator(Session& s, Viewer& v, PreviewControl* control, std::ostream& out) {
  auto* mask = static_cast<PolylineTool*>(control->GetOperator());
  if (!mask) return;
  const auto [x, y] = mask->PointAt(2);
  const POINT from = v.PixelOf(x, y);
  const POINT to = v.PixelOf(0.64, 0.24);
  out << "  drag point 3 from viewer pixel " << from << " to " << to << " in 4 moves:\n";
  s.Drag(v.Window(), from, to, 4);
  PrintWrites(out, s);
  out << "  right-click at " << to << ", choose " << MaskToolName << " > Close Shape:\n";
  qz::SetMenuResponder(qz::ChooseMenuItem({MaskToolName, "Close Shape"}));
  const size_t asked = qz::MenuRequests().size();
  qz::InjectMouseAt(v.Window(), WM_RBUTTONDOWN, to.x, to.y);
  qz::InjectMouseAt(v.Window(), WM_RBUTTONUP, to.x, to.y);
  s.Pump();
  qz::SetMenuResponder(nullptr);
  if (qz::MenuRequests().size() > asked) PrintMenu(out, qz::MenuRequests().back().items, 0);
  PrintMaskPoints(out, *mask);
}

const std::vector<ViewerRecipe>& ViewerRecipes() {
  // One recipe a line, so each control adds its own line.
  // clang-format off
  static const std::vector<ViewerRecipe> recipes = {
      {"PointControl", BuildPoint, UsePoint},
      {"XYOffsetControl", BuildXYOffset, UseXYOffset},
      {"AngleControl", BuildAngle, UseAngle},
      {"CrosshairControl", BuildCrosshair, UseCrosshair},
      {"CircleControl", BuildCircle, UseCircle},
      {"RectangleControl", BuildRectangle, UseRectangle},
      {"OperatorControl", BuildOperator, UseOperator},
  };
  // clang-format on
  return recipes;
}

// "gallery.png" -> "gallery-<suffix>.png".
std::string SiblingPngPath(const std::string& panelPath, const char* suffix) {
  const size_t dot = panelPath.rfind('.');
  const size_t slash = panelPath.find_last_of('/');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? panelPath.substr(0, dot) : panelPath) + "-" + suffix + ".png";
}

std::string ViewerPngPath(const std::string& panelPath) {
  return SiblingPngPath(panelPath, "viewer");
}

// Shows every viewer control with a recipe over the sample picture, uses
// them, prints what they wrote and saves the viewer beside the panel.
int ShowViewer(std::ostream& out, Session& session, Operator* tool, const std::string& pngPath) {
  int status = 0;
  Viewer viewer(session.Doc, Viewer::DefaultWidth, Viewer::DefaultHeight, POINT{Session::DefaultPanelWidth + 20, 0});
  std::vector<std::pair<const ViewerRecipe*, PreviewControl*>> shown;
  for (const ClassInfo& info : ControlClasses()) {
    if (info.Type != ClassTypeViewerControl) continue;
    for (const ViewerRecipe& recipe : ViewerRecipes()) {
      if (info.Name != recipe.ClassName) continue;
      PreviewControl* control = recipe.Build(session, viewer, tool);
      if (control)
        shown.emplace_back(&recipe, control);
      else
        out << "could not show " << info.Name << "\n";
    }
  }
  session.Pump();
  out << "\nviewer: " << viewer.Controls().size() << " controls over picture " << Viewer::SamplePicture
      << (viewer.HasPicture() ? "" : " (missing)") << "\n";
  for (auto& [recipe, control] : shown) {
    out << "\n" << recipe->ClassName << ":\n";
    session.ClearWrites();
    recipe->Use(session, viewer, control, out);
    PrintWrites(out, session);
  }
  if (!pngPath.empty()) {
    const std::string path = ViewerPngPath(pngPath);
    if (viewer.SavePng(path)) {
      out << "viewer written to " << path << "\n";
    } else {
      out << "could not write " << path << "\n";
      status = 1;
    }
  }
  return status;
}

}  // namespace

int RunGallery(std::ostream& out, const std::string& pngPath) {
  Module module;
  if (!module.Load()) {
    out << "cannot load the controls module: " << module.Error() << "\n";
    return 1;
  }
  int status = 0;
  {
    FormatRegistrations formats;
    formats.AddSampleFormats();
    Session session(Session::DefaultPanelWidth, GalleryPanelHeight);
    Operator* tool = session.AddTool("Sample");
    std::vector<std::pair<const Recipe*, InputControl*>> shown;
    session.OpenPanel([&] {
      for (const ClassInfo& info : ControlClasses()) {
        if (info.Type != ClassTypePanelControl) continue;
        for (const Recipe& recipe : Recipes()) {
          if (info.Name != recipe.ClassName) continue;
          InputControl* control = recipe.Build(session, tool);
          if (control)
            shown.emplace_back(&recipe, control);
          else
            out << "could not open " << info.Name << "\n";
        }
      }
    });
    session.Pump();
    out << "panel: " << shown.size() << " controls on tool \"" << tool->Name << "\"\n";
    // The panel as opened on the tool's values, before anyone touches it.
    for (const Write& write : session.ControlWrites())
      out << "  opening wrote " << write.Input << " = " << write.Value << "\n";
    if (!pngPath.empty()) {
      const std::string path = SiblingPngPath(pngPath, "opened");
      if (session.SavePanelPng(path)) {
        out << "panel as opened written to " << path << "\n";
      } else {
        out << "could not write " << path << "\n";
        status = 1;
      }
    }
    for (auto& [recipe, control] : shown) {
      out << "\n" << recipe->ClassName << ":\n";
      session.ClearWrites();
      const size_t asked = qz::DialogRequests().size();
      const std::vector<Output*> connections = ConnectionsOf(tool);
      recipe->Use(session, control);
      PrintConnections(out, tool, connections);
      for (size_t i = asked; i < qz::DialogRequests().size(); ++i) PrintDialogRequest(out, qz::DialogRequests()[i]);
      for (const Write& write : session.Writes())
        out << "  wrote " << write.Input << " = " << write.Value << " at time " << Session::FormatTime(write.Time)
            << "\n";
    }
    out << "\nundo steps:";
    for (const std::string& step : session.Doc.UndoSteps()) out << " \"" << step << "\"";
    out << "\nrender requests: " << session.Doc.RenderRequests().size() << "\n";
    for (const RenderRequest& request : session.Doc.RenderRequests()) {
      const char* kind = request.Type == RenderRequest::Sync          ? "sync"
                         : request.Type == RenderRequest::Interactive ? "interactive"
                                                                      : "post";
      out << "  " << kind << (request.Tool ? std::string(" of ") + request.Tool->Name : std::string()) << "\n";
    }
    if (!pngPath.empty()) {
      if (session.SavePanelPng(pngPath)) {
        out << "panel written to " << pngPath << "\n";
      } else {
        out << "could not write " << pngPath << "\n";
        status = 1;
      }
    }
    if (ShowViewer(out, session, tool, pngPath) != 0) status = 1;
    for (auto& entry : shown) session.RemovePanelControl(entry.second);
  }
  if (!module.Unload()) out << "note: the module stayed loaded after unload\n";
  return status;
}

const std::vector<Recipe>& PanelRecipes() {
  return Recipes();
}

const std::vector<ViewerRecipe>& ViewerControlRecipes() {
  return ViewerRecipes();
}

}  // namespace qzh
