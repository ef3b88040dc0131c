// The module's start-up table: registrations, shared resources and layout
// constants, built in one fixed order when the library is loaded and torn
// down in exactly the reverse order when it is unloaded.
#pragma once

#include <cstdint>

#include "qzsystem/resources.h"

class InputControl;
class PreviewControl;

namespace qzc {

// The module's source units, in start-up order.
enum class Unit : uint8_t {
  ClipControl,
  RectangleControl,
  XYOffsetControl,
  ScrewWheelWindow,
  OffsetControl,
  CheckBoxControl,
  ComboControl,
  AngleControl,
  TextEditControl,
  CustomFilterControl,
  FileControl,
  PointControl,
  CircleControl,
  FontControl,
  ImageControl,
  ListControl,
  RangeControl,
  SliderWindow,
  OperatorControl,
  RangeBarWindow,
  ColourControl,
  ButtonControl,
  ScrewControl,
  SliderControl,
  CrosshairControl,
};

constexpr uintptr_t PanelControlType = 2048;
constexpr uintptr_t ViewerControlType = 4096;

// A creator: `New<Class>` of a panel control (returning InputControl*) or
// of a viewer control (returning PreviewControl*). Built from a function
// pointer in a constant expression, so registrations need no start-up code
// of their own and are ready whichever unit the loader initialises first.
class CreatorRef {
 public:
  constexpr CreatorRef(InputControl* (*creator)()) : Panel(creator) {}
  constexpr CreatorRef(PreviewControl* (*creator)()) : Viewer(creator) {}
  uintptr_t Address() const { return Panel ? reinterpret_cast<uintptr_t>(Panel) : reinterpret_cast<uintptr_t>(Viewer); }

 private:
  InputControl* (*Panel)() = nullptr;
  PreviewControl* (*Viewer)() = nullptr;
};

template <typename Control>
constexpr CreatorRef CreatorAddress(Control* (*creator)()) {
  return CreatorRef(creator);
}

// What a control unit registers: its class name, creator, ID and type.
struct Registration {
  const char* Name;
  CreatorRef Creator;
  uint32_t Id;
  uintptr_t Type;
};

// A unit's shared resource objects, built at start-up; null when the unit
// has no such resource (or the module is not started).
ResDIB* UnitDIB(Unit unit, uint32_t id);
ResBitmap* UnitBitmap(Unit unit, uint32_t id);
ResColour* UnitColour(Unit unit, uint32_t id);
ResData* UnitData(Unit unit, uint32_t id);

// Runs the table / the clean-ups in reverse; called from the library's
// load and unload. Exposed for the module's own tests.
void StartModule();
void StopModule();

}  // namespace qzc
