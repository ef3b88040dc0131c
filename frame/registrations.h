// The units of the start-up table, in order, with what each builds.
#pragma once

#include <span>

#include "frame/startup.h"

namespace qzc {

struct UnitStartup {
  Unit Owner;
  const Registration* Registers;  // null for window units and units not built
  void (*Layout)();               // stores the unit's layout constants; may be null
  bool LayoutFirst;               // layout constants before the unit's resources
};

std::span<const UnitStartup> UnitTable();

// Registrations of the control units.
extern const Registration ButtonControlRegistration;
extern const Registration CheckBoxControlRegistration;
extern const Registration ClipControlRegistration;
extern const Registration ComboControlRegistration;
extern const Registration CustomFilterControlRegistration;
extern const Registration FileControlRegistration;
extern const Registration FontControlRegistration;
extern const Registration ColourControlRegistration;
void ColourControlLayout();
extern const Registration ImageControlRegistration;
extern const Registration PointControlRegistration;
extern const Registration RangeControlRegistration;
void RangeControlLayout();
void RangeBarLayout();
extern const Registration ScrewControlRegistration;
void ScrewControlLayout();
void ScrewWheelLayout();
extern const Registration CircleControlRegistration;
extern const Registration CrosshairControlRegistration;
extern const Registration RectangleControlRegistration;
extern const Registration SliderControlRegistration;
void SliderControlLayout();
extern const Registration XYOffsetControlRegistration;
extern const Registration OffsetControlRegistration;
extern const Registration AngleControlRegistration;
extern const Registration TextEditControlRegistration;
extern const Registration ListControlRegistration;
extern const Registration OperatorControlRegistration;

}  // namespace qzc
