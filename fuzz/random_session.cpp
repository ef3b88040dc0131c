#include "random_session.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include "gallery.h"
#include "harness/module.h"
#include "harness/session.h"
#include "harness/viewer.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/registry.h"

namespace qzh::fuzz {
namespace {

// ---- the attribute tags, read from frame/tags.h ----

enum class TagKind { Integer, Double, String };

struct TagInfo {
  uint32_t Tag;
  TagKind Kind;
};

// Every tag named in the module's tag header, typed by its names: top
// nibble 2 carries a double; a name about text (a label, an entry, a name, a
// filter...) carries a string; a name about another object (a reference, a
// creator, an output, a document...) carries a pointer the host guarantees,
// so it is left out. Control-specific tags take the kinds of all their
// aliases, so a new control's tags join by being named in the header.
std::vector<TagInfo> LoadTags() {
  std::ifstream header(QZ_TAGS_HEADER);
  const std::regex line(R"(constexpr\s+uint32_t\s+(\w+)\s*=\s*(\w+)\s*;)");
  const std::regex text("Name|Label|Entry|Filter|Description|Extension|Text|File|Path|Title|Caption");
  const std::regex pointer("Reference|Creator|Output|Operator|Doc|Entries|Connected|Picture|Font|Input$");
  std::vector<std::pair<std::string, uint32_t>> named;
  std::vector<std::pair<uint32_t, std::string>> names;
  std::string row;
  while (std::getline(header, row)) {
    std::smatch m;
    if (!std::regex_search(row, m, line)) continue;
    uint32_t value = 0;
    const std::string given = m[2];
    if (given.rfind("0x", 0) == 0) {
      value = static_cast<uint32_t>(std::stoul(given, nullptr, 16));
    } else {
      auto found = std::find_if(named.begin(), named.end(), [&](const auto& n) { return n.first == given; });
      if (found == named.end()) continue;
      value = found->second;
    }
    named.emplace_back(m[1], value);
    names.emplace_back(value, m[1]);
  }
  std::vector<TagInfo> tags;
  for (const auto& [name, value] : named) {
    if (std::any_of(tags.begin(), tags.end(), [&](const TagInfo& t) { return t.Tag == value; })) continue;
    bool isText = false, isPointer = false;
    for (const auto& [v, alias] : names) {
      if (v != value) continue;
      isText |= std::regex_search(alias, text);
      isPointer |= std::regex_search(alias, pointer);
    }
    if (isPointer) continue;
    const TagKind kind = (value >> 28) == 2 ? TagKind::Double : isText ? TagKind::String : TagKind::Integer;
    tags.push_back(TagInfo{value, kind});
  }
  return tags;
}

const std::vector<TagInfo>& Tags() {
  static const std::vector<TagInfo> tags = LoadTags();
  return tags;
}

// ---- value pools ----

constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

const double ExtremeDoubles[] = {
    0.0,   -0.0,   1.0,    -1.0, 0.5,   2.9,        3.0,  1e-300, 5e-324,       DBL_MAX,       -DBL_MAX,
    Inf,   -Inf,   NaN,    1e15, -1e15, 16777217.0, 1e39, -1e39,  2147483648.0, -2147483649.0, 4503599627370497.0,
    1e308, -1e308, 0.0001, 1e-5};
const intptr_t ExtremeIntegers[] = {
    0,          1,     -1,     2,         3,         7,          10,         11,
    1001,       65536, -65536, INT32_MAX, INT32_MIN, INTPTR_MAX, INTPTR_MIN, 1000000000000000LL,
    -2147483647};
const std::string LongText(300, 'W');
const char* const OddStrings[] = {nullptr,
                                  "",
                                  "A",
                                  "Blend",
                                  "%s%s%n%d",
                                  "tab\there\nnewline",
                                  "\xff\xfe\x80",
                                  "1e999",
                                  "nan",
                                  "-0",
                                  "\xce\xa9\xe2\x89\x88",
                                  "0x10",
                                  "  spaced  ",
                                  LongText.c_str()};
const char* const TypedTexts[] = {
    "0.3",     "1e999", "-1e400", "nan", "inf",    "abc",   "99999999999999999999",  "",
    "-",       "1,5",   "2",      "-7",  "1e-320", "0x1p3", "1.797693134862316e308", "00:00:01:00",
    "4.9e-324"};
const float ExtremeFloats[] = {0.0f, 0.5f, 1.0f, -1.0f, 1e30f, -1e30f, FLT_MAX, -FLT_MAX, INFINITY, NAN, 1e-40f};
const int Keys[] = {VK_LEFT,   VK_RIGHT,  VK_UP,  VK_DOWN,  VK_PRIOR,  VK_NEXT, VK_HOME, VK_END,
                    VK_RETURN, VK_ESCAPE, VK_TAB, VK_SPACE, VK_DELETE, VK_BACK, 'A',     '5'};
const double Times[] = {0.0, 5.0, -1e9, 1e9, 0.5, 100.0};
const float Zooms[] = {1.0f, 2.0f, 0.5f, 1e7f, 3e38f, 1e-30f, INFINITY, NAN, 0.0f, -1.0f, 1e4f};
const float Pans[] = {0.0f, 30.0f, -200.0f, 3e9f, -3e9f, NAN, INFINITY, 1e38f};
const unsigned ClockSteps[] = {1, 16, 70, 280, 1000, 5000};

// ---- reading values ----

bool NonFinite(const Parameter* value) {
  if (!value) return false;
  if (value->ID == Number::ClassID) return !std::isfinite(static_cast<const Number*>(value)->Value);
  if (value->ID == Point::ClassID) {
    auto* p = static_cast<const Point*>(value);
    return !std::isfinite(p->X) || !std::isfinite(p->Y);
  }
  return false;
}

// An exact description: numbers by their bits, so that NaN equals itself
// and -0 differs from 0.
std::string ExactText(const Parameter* value) {
  if (!value) return "none";
  char text[96];
  if (value->ID == Number::ClassID) {
    uint64_t bits;
    std::memcpy(&bits, &static_cast<const Number*>(value)->Value, sizeof bits);
    std::snprintf(text, sizeof text, "number %.17g [%016llx]", static_cast<const Number*>(value)->Value,
                  static_cast<unsigned long long>(bits));
    return text;
  }
  if (value->ID == Point::ClassID) {
    auto* p = static_cast<const Point*>(value);
    uint32_t x, y;
    std::memcpy(&x, &p->X, sizeof x);
    std::memcpy(&y, &p->Y, sizeof y);
    std::snprintf(text, sizeof text, "point (%.9g, %.9g) [%08x %08x]", p->X, p->Y, x, y);
    return text;
  }
  return Session::FormatValue(value);
}

std::vector<Input*> InputsOf(Operator* tool) {
  std::vector<Input*> inputs;
  for (ListNode* node = tool->Inputs.GetFirst(); node; node = tool->Inputs.GetNext(node))
    inputs.push_back(static_cast<Input*>(node->Obj()));
  return inputs;
}

bool Holds(List& list, Object* object) {
  list.ObtainReadLock();
  const bool found = list.Find(object) != nullptr;
  list.ReleaseReadLock();
  return found;
}

// ---- the world: a session, a viewer and one tool per control ----

struct PanelEntry {
  const Recipe* Made;
  Operator* Tool;
  InputControl* Control;
};

struct ViewerEntry {
  const ViewerRecipe* Made;
  Operator* Tool;
  PreviewControl* Control;
};

constexpr size_t MaxTools = 48;

class World : public WriteListener {
 public:
  explicit World(std::mt19937_64& random) : Random(random) {
    Shown = std::make_unique<Viewer>(Host.Doc, Viewer::DefaultWidth, Viewer::DefaultHeight,
                                     POINT{Session::DefaultPanelWidth + 20, 0});
    Host.Doc.SetWriteListener(this);
    for (const ClassInfo& info : ControlClasses()) {
      if (info.Type == ClassTypePanelControl) {
        for (const Recipe& recipe : PanelRecipes())
          if (info.Name == recipe.ClassName) BuildPanel(&recipe);
      } else if (info.Type == ClassTypeViewerControl) {
        for (const ViewerRecipe& recipe : ViewerControlRecipes())
          if (info.Name == recipe.ClassName) BuildViewer(&recipe);
      }
    }
    Host.Pump();
  }

  ~World() {
    Host.Doc.SetWriteListener(nullptr);
    qz::SetKeyDown(VK_SHIFT, false);
    qz::SetKeyDown(VK_CONTROL, false);
    Shown.reset();
  }

  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Runs one random action; returns a failure message or "".
  std::string Act(std::ostream* trace);
  size_t ControlCount() const { return Panels.size() + Viewers.size(); }

  void InputWritten(Input* input, double time, Parameter* value) override {
    if (NonFinite(value) && !NonFiniteGiven.count(input) && Failure.empty())
      Failure = std::string("non-finite value written to \"") + input->GetName() + "\": " + ExactText(value) +
                " at time " + Session::FormatTime(time);
  }

 private:
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Random() % items.size()];
  }
  template <typename T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Random() % N];
  }
  bool Chance(unsigned percent) { return Random() % 100 < percent; }
  int Between(int low, int high) { return low + static_cast<int>(Random() % static_cast<uint64_t>(high - low + 1)); }

  void BuildPanel(const Recipe* recipe);
  void BuildViewer(const ViewerRecipe* recipe);
  std::vector<Input*> AllInputs();
  std::vector<HWND> Windows();
  POINT RandomScreenPoint();
  TagList RandomTags();
  Parameter* RandomValueLike(Input* input);

  std::string Mouse(std::ostream* trace);
  std::string Keyboard(std::ostream* trace);
  std::string Typing(std::ostream* trace);
  std::string UndoRedo(std::ostream* trace);
  std::string HostWrite(std::ostream* trace);
  std::string Attributes(std::ostream* trace);
  std::string Disconnect(std::ostream* trace);
  std::string Reconnect(std::ostream* trace);
  std::string DeleteControl(std::ostream* trace);
  std::string ViewerView(std::ostream* trace);
  std::string UseRecipe(std::ostream* trace);
  std::string Snapshot();

  std::mt19937_64& Random;
  Session Host;
  std::unique_ptr<Viewer> Shown;
  std::vector<PanelEntry> Panels;
  std::vector<ViewerEntry> Viewers;
  std::set<Input*> NonFiniteGiven;
  bool ButtonDown = false;
  std::string Failure;
  int ToolCount = 0;
};

void World::BuildPanel(const Recipe* recipe) {
  Operator* tool = Host.AddTool(("P" + std::to_string(ToolCount++)).c_str());
  if (InputControl* control = recipe->Build(Host, tool)) Panels.push_back({recipe, tool, control});
}

void World::BuildViewer(const ViewerRecipe* recipe) {
  Operator* tool = Host.AddTool(("V" + std::to_string(ToolCount++)).c_str());
  if (PreviewControl* control = recipe->Build(Host, *Shown, tool)) Viewers.push_back({recipe, tool, control});
}

std::vector<Input*> World::AllInputs() {
  std::vector<Input*> inputs;
  for (ListNode* node = Host.Doc.Tools.GetFirst(); node; node = Host.Doc.Tools.GetNext(node)) {
    std::vector<Input*> more = InputsOf(static_cast<Operator*>(node->Obj()));
    inputs.insert(inputs.end(), more.begin(), more.end());
  }
  return inputs;
}

// The panel, every window in it, the viewer and any visible pop-up (a
// dropped list) are where a user points.
std::vector<HWND> World::Windows() {
  std::vector<HWND> found;
  std::vector<HWND> pending{Host.PanelWindow(), Shown->Window()};
  while (!pending.empty()) {
    HWND hwnd = pending.back();
    pending.pop_back();
    if (!hwnd || !IsWindow(hwnd)) continue;
    found.push_back(hwnd);
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) pending.push_back(child);
  }
  return found;
}

POINT World::RandomScreenPoint() {
  const unsigned where = static_cast<unsigned>(Random() % 100);
  if (where < 55) {
    std::vector<HWND> windows = Windows();
    RECT rc;
    GetWindowRect(Pick(windows), &rc);
    const int width = std::max(1, static_cast<int>(std::min<int64_t>(int64_t{rc.right} - rc.left, 2000)));
    const int height = std::max(1, static_cast<int>(std::min<int64_t>(int64_t{rc.bottom} - rc.top, 2000)));
    return POINT{rc.left + Between(-3, width + 2), rc.top + Between(-3, height + 2)};
  }
  if (where < 85 && !Viewers.empty()) {
    // Near a handle: the pixel of a point input of a viewer control.
    const ViewerEntry& entry = Pick(Viewers);
    for (Input* input : InputsOf(entry.Tool)) {
      AutoParameter value(input->GetValue(Host.Doc.CurrentTime));
      if (!value || value->ID != Point::ClassID) continue;
      auto* p = static_cast<Point*>(value.Get());
      POINT at = Shown->PixelOf(p->X, p->Y);
      if (Chance(50)) continue;
      POINT origin{0, 0};
      ClientToScreen(Shown->Window(), &origin);
      return POINT{at.x + origin.x + Between(-6, 6), at.y + origin.y + Between(-6, 6)};
    }
  }
  if (where < 97) return POINT{Between(-20, 760), Between(-20, 460)};
  return POINT{static_cast<LONG>(Pick(ExtremeIntegers) % 40000), Between(-40000, 40000)};
}

TagList World::RandomTags() {
  TagList tags;
  const int count = Between(0, 6);
  for (int i = 0; i < count; ++i) {
    const TagInfo& tag = Pick(Tags());
    const int repeats = Chance(15) ? Between(2, 4) : 1;
    for (int r = 0; r < repeats; ++r) {
      switch (tag.Kind) {
        case TagKind::Double:
          tags.AddDouble(tag.Tag, Chance(70)
                                      ? Pick(ExtremeDoubles)
                                      : std::ldexp(static_cast<double>(Random() % 2001) - 1000.0, Between(-20, 20)));
          break;
        case TagKind::String:
          tags.Add(tag.Tag, reinterpret_cast<intptr_t>(Pick(OddStrings)));
          break;
        case TagKind::Integer:
          tags.Add(tag.Tag, Chance(70) ? Pick(ExtremeIntegers) : Between(-5, 40));
          break;
      }
    }
  }
  return tags;
}

Parameter* World::RandomValueLike(Input* input) {
  AutoParameter value(input->GetValue(Host.Doc.CurrentTime));
  if (value && value->ID == Point::ClassID)
    return new Point(Pick(ExtremeFloats), Chance(50) ? Pick(ExtremeFloats) : 0.5f);
  if (value && value->ID != Number::ClassID) return nullptr;
  return new Number(Chance(60) ? Pick(ExtremeDoubles) : std::ldexp(static_cast<double>(Random() % 2001) - 1000.0, -10));
}

// Every input of every tool, exactly: animation, connection, stored values.
std::string World::Snapshot() {
  std::ostringstream out;
  for (Input* input : AllInputs()) {
    out << input->GetName() << (input->IsAnimated() ? " animated" : "") << " -> " << input->ConnectedTo();
    for (const auto& [time, value] : input->StoredValues()) out << " | " << time << ": " << ExactText(value);
    out << "\n";
  }
  return out.str();
}

std::string World::Mouse(std::ostream* trace) {
  static const UINT messages[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE,   WM_MOUSEMOVE, WM_MOUSEMOVE,
                                  WM_LBUTTONUP,   WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK};
  UINT msg = Pick(messages);
  if (ButtonDown && Chance(30)) msg = WM_LBUTTONUP;
  const POINT at = RandomScreenPoint();
  if (trace) *trace << "mouse " << msg << " at " << at.x << "," << at.y << "\n";
  qz::InjectMouse(msg, at);
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) ButtonDown = true;
  if (msg == WM_LBUTTONUP) ButtonDown = false;
  Host.Pump();
  return "";
}

std::string World::Keyboard(std::ostream* trace) {
  std::vector<HWND> windows = Windows();
  if (Chance(40)) SetFocus(Pick(windows));
  qz::SetKeyDown(VK_SHIFT, Chance(15));
  qz::SetKeyDown(VK_CONTROL, Chance(10));
  const int key = Pick(Keys);
  if (trace) *trace << "key " << key << " to " << GetFocus() << "\n";
  if (Chance(20)) {
    qz::InjectKey(WM_KEYDOWN, key, Chance(50));
  } else {
    qz::PressKey(key);
  }
  qz::SetKeyDown(VK_SHIFT, false);
  qz::SetKeyDown(VK_CONTROL, false);
  Host.Pump();
  return "";
}

std::string World::Typing(std::ostream* trace) {
  std::vector<HWND> windows = Windows();
  if (Chance(70)) SetFocus(Pick(windows));
  const char* text = Pick(TypedTexts);
  if (trace) *trace << "type \"" << text << "\" into " << GetFocus() << "\n";
  qz::TypeText(text);
  if (Chance(60)) qz::PressKey(Chance(80) ? VK_RETURN : VK_TAB);
  Host.Pump();
  return "";
}

std::string World::UndoRedo(std::ostream* trace) {
  if (Chance(30)) {
    // Plain undo or redo, to reach other states.
    const bool undo = Chance(60);
    if (trace) *trace << (undo ? "undo\n" : "redo\n");
    if (undo)
      Host.Doc.Undo();
    else
      Host.Doc.Redo();
    Host.Pump();
    return "";
  }
  if (trace) *trace << "undo then redo\n";
  const std::string before = Snapshot();
  if (!Host.Doc.Undo()) return "";
  if (!Host.Doc.Redo()) return "redo refused right after an undo";
  const std::string after = Snapshot();
  if (after != before) return "undo then redo changed the state:\nbefore:\n" + before + "after:\n" + after;
  Host.Pump();
  return "";
}

std::string World::HostWrite(std::ostream* trace) {
  std::vector<Input*> inputs = AllInputs();
  if (inputs.empty()) return "";
  Input* input = Pick(inputs);
  if (Chance(15)) {
    const double time = Pick(Times);
    if (trace) *trace << "time " << time << "\n";
    Host.Doc.SetCurrentTime(time, 0);
    return "";
  }
  if (Chance(10)) {
    if (trace) *trace << "animate " << input->GetName() << "\n";
    input->Animate(Chance(50));
    return "";
  }
  AutoParameter value(RandomValueLike(input));
  if (!value) return "";
  if (NonFinite(value)) NonFiniteGiven.insert(input);
  if (trace) *trace << "host writes " << ExactText(value) << " to " << input->GetName() << "\n";
  input->SetValue(value, Host.Doc.CurrentTime, 1);
  Host.Pump();
  return "";
}

std::string World::Attributes(std::ostream* trace) {
  TagList tags = RandomTags();
  if (!Viewers.empty() && Chance(30)) {
    const ViewerEntry& entry = Pick(Viewers);
    if (trace) *trace << "attributes (" << tags.Count() << ") to " << entry.Made->ClassName << "\n";
    Shown->ApplyAttributes(entry.Control, tags);
  } else if (!Panels.empty()) {
    const PanelEntry& entry = Pick(Panels);
    if (trace) *trace << "attributes (" << tags.Count() << ") to " << entry.Made->ClassName << "\n";
    Host.ApplyAttributes(entry.Control, tags);
  }
  Host.Pump();
  return "";
}

// The host disconnects an input from its control (also in the middle of a
// drag): the control writes back what it shows, which must be the value
// the input holds.
std::string World::Disconnect(std::ostream* trace) {
  const bool panel = Viewers.empty() || (!Panels.empty() && Chance(60));
  Operator* tool = nullptr;
  List* connected = nullptr;
  InputControl* panelControl = nullptr;
  PreviewControl* viewerControl = nullptr;
  const char* name = nullptr;
  if (panel) {
    if (Panels.empty()) return "";
    const PanelEntry& entry = Pick(Panels);
    tool = entry.Tool;
    panelControl = entry.Control;
    connected = &panelControl->Inputs;
    name = entry.Made->ClassName;
  } else {
    const ViewerEntry& entry = Pick(Viewers);
    tool = entry.Tool;
    viewerControl = entry.Control;
    connected = &viewerControl->Inputs;
    name = entry.Made->ClassName;
  }
  std::vector<Input*> inputs;
  for (Input* input : InputsOf(tool))
    if (Holds(*connected, input)) inputs.push_back(input);
  if (inputs.empty()) return "";
  Input* input = Pick(inputs);
  if (trace)
    *trace << "disconnect " << input->GetName() << " from " << name << (ButtonDown ? " mid-press" : "") << "\n";
  std::string before;
  {
    AutoParameter value(input->GetValue(Host.Doc.CurrentTime));
    before = ExactText(value);
  }
  if (panelControl) {
    panelControl->OnDisconnect(input);
    panelControl->RemoveInput(input);
  } else {
    viewerControl->OnDisconnect(input);
    viewerControl->RemoveInput(input);
  }
  AutoParameter after(input->GetValue(Host.Doc.CurrentTime));
  // An input left without a value (an animated one whose keys were all
  // undone) may be given the value the control showed: nothing is lost.
  if (ExactText(after) != before && before != ExactText(nullptr))
    return std::string("disconnecting \"") + input->GetName() + "\" from " + name + " changed its value from " +
           before + " to " + ExactText(after);
  Host.Pump();
  return "";
}

std::string World::Reconnect(std::ostream* trace) {
  if (!Panels.empty() && (Viewers.empty() || Chance(60))) {
    const PanelEntry& entry = Pick(Panels);
    for (Input* input : InputsOf(entry.Tool)) {
      if (Holds(entry.Control->Inputs, input)) continue;
      if (trace) *trace << "reconnect " << input->GetName() << " to " << entry.Made->ClassName << "\n";
      // The base hands the newly connected input's value to an open control.
      entry.Control->AddInput(input);
      break;
    }
  } else if (!Viewers.empty()) {
    const ViewerEntry& entry = Pick(Viewers);
    for (Input* input : InputsOf(entry.Tool)) {
      if (Holds(entry.Control->Inputs, input)) continue;
      if (trace) *trace << "reconnect " << input->GetName() << " to " << entry.Made->ClassName << "\n";
      entry.Control->AddInput(input);
      break;
    }
  }
  Host.Pump();
  return "";
}

// Deletes a control as the host does when a panel or viewer closes, checks
// that no input still refers to it, and builds its recipe again.
std::string World::DeleteControl(std::ostream* trace) {
  Object* gone = nullptr;
  const InputObserver* goneObserver = nullptr;
  const Recipe* panelRecipe = nullptr;
  const ViewerRecipe* viewerRecipe = nullptr;
  std::string name;
  if (!Panels.empty() && (Viewers.empty() || Chance(60))) {
    const size_t index = Random() % Panels.size();
    const PanelEntry entry = Panels[index];
    Panels.erase(Panels.begin() + static_cast<ptrdiff_t>(index));
    name = entry.Made->ClassName;
    if (trace) *trace << "delete " << name << (ButtonDown ? " mid-press" : "") << "\n";
    gone = entry.Control;
    goneObserver = entry.Control;
    panelRecipe = entry.Made;
    Host.RemovePanelControl(entry.Control);
  } else if (!Viewers.empty()) {
    const size_t index = Random() % Viewers.size();
    const ViewerEntry entry = Viewers[index];
    Viewers.erase(Viewers.begin() + static_cast<ptrdiff_t>(index));
    name = entry.Made->ClassName;
    if (trace) *trace << "delete " << name << (ButtonDown ? " mid-press" : "") << "\n";
    gone = entry.Control;
    goneObserver = entry.Control;
    viewerRecipe = entry.Made;
    Shown->RemoveViewerControl(entry.Control);
  }
  if (!gone) return "";
  for (Input* input : AllInputs()) {
    if (input->HasObserver(goneObserver) || Holds(input->Controls, gone))
      return std::string("input \"") + input->GetName() + "\" still refers to a deleted " + name;
  }
  // A new control may take the deleted one's address, so it is built after the check.
  if (ToolCount < static_cast<int>(MaxTools)) {
    if (panelRecipe) BuildPanel(panelRecipe);
    if (viewerRecipe) BuildViewer(viewerRecipe);
  }
  Host.Pump();
  return "";
}

std::string World::ViewerView(std::ostream* trace) {
  const float zoom = Chance(50) ? 1.0f : Pick(Zooms);
  const float panX = Chance(50) ? 0.0f : Pick(Pans), panY = Chance(50) ? 0.0f : Pick(Pans);
  if (trace) *trace << "zoom " << zoom << " pan " << panX << "," << panY << "\n";
  Shown->SetZoom(zoom, panX, panY);
  Host.Pump();
  return "";
}

std::string World::UseRecipe(std::ostream* trace) {
  std::ostream silent(nullptr);
  if (!Viewers.empty() && Chance(40)) {
    const ViewerEntry& entry = Pick(Viewers);
    if (trace) *trace << "use " << entry.Made->ClassName << "\n";
    if (Shown->Pressed()) return "";
    entry.Made->Use(Host, *Shown, entry.Control, silent);
  } else if (!Panels.empty()) {
    const PanelEntry& entry = Pick(Panels);
    if (trace) *trace << "use " << entry.Made->ClassName << "\n";
    if (ButtonDown) return "";
    entry.Made->Use(Host, entry.Control);
  }
  Host.Pump();
  return "";
}

std::string World::Act(std::ostream* trace) {
  const unsigned kind = static_cast<unsigned>(Random() % 100);
  std::string failure;
  if (kind < 34)
    failure = Mouse(trace);
  else if (kind < 44)
    failure = Keyboard(trace);
  else if (kind < 50)
    failure = Typing(trace);
  else if (kind < 54) {
    const unsigned ms = Pick(ClockSteps);
    if (trace) *trace << "clock " << ms << "\n";
    Host.AdvanceClock(ms);
    Host.Pump();
  } else if (kind < 66)
    failure = UndoRedo(trace);
  else if (kind < 74)
    failure = HostWrite(trace);
  else if (kind < 81)
    failure = Attributes(trace);
  else if (kind < 85)
    failure = Disconnect(trace);
  else if (kind < 88)
    failure = Reconnect(trace);
  else if (kind < 90)
    failure = DeleteControl(trace);
  else if (kind < 94)
    failure = ViewerView(trace);
  else
    failure = UseRecipe(trace);
  if (failure.empty()) failure = Failure;
  Failure.clear();
  return failure;
}

}  // namespace

Outcome RunSeed(uint64_t seed, uint64_t actions, std::ostream* trace) {
  Outcome outcome;
  std::mt19937_64 random(seed);
  Module module;
  if (!module.Load()) {
    outcome.Failed = true;
    outcome.Message = "cannot load the controls module: " + module.Error();
    return outcome;
  }
  // Module reloads come at random points; the world goes before each.
  auto world = std::make_unique<World>(random);
  if (world->ControlCount() == 0) {
    outcome.Failed = true;
    outcome.Message = "no registered control has a recipe";
  }
  for (uint64_t i = 0; i < actions && !outcome.Failed; ++i) {
    outcome.Done = i + 1;
    if (random() % 2000 == 0) {
      if (trace) *trace << "reload the module\n";
      world.reset();
      if (!module.Unload()) {
        outcome.Failed = true;
        outcome.Action = i;
        outcome.Message = "the module stayed loaded after unload";
        break;
      }
      if (!module.Load()) {
        outcome.Failed = true;
        outcome.Action = i;
        outcome.Message = "cannot load the controls module again: " + module.Error();
        break;
      }
      world = std::make_unique<World>(random);
      continue;
    }
    std::string failure = world->Act(trace);
    if (!failure.empty()) {
      outcome.Failed = true;
      outcome.Action = i;
      outcome.Message = failure;
    }
  }
  world.reset();
  if (!module.Unload() && !outcome.Failed) {
    outcome.Failed = true;
    outcome.Action = outcome.Done;
    outcome.Message = "the module stayed loaded after the session";
  }
  return outcome;
}

}  // namespace qzh::fuzz
