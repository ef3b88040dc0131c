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
extern const Registration CircleControlRegistration;
extern const Registration ComboControlRegistration;
extern const Registration CrosshairControlRegistration;
extern const Registration PointControlRegistration;
extern const Registration RectangleControlRegistration;
extern const Registration SliderControlRegistration;
void SliderControlLayout();

}  // namespace qzc
