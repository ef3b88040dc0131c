#include "frame/registrations.h"

namespace qzc {
namespace {

// One row per source unit, in start-up order; a control's registration is
// listed here once its unit is part of the module.
constexpr UnitStartup Units[] = {
    {Unit::ClipControl, &ClipControlRegistration, nullptr, false},
    {Unit::RectangleControl, nullptr, nullptr, false},
    {Unit::XYOffsetControl, &XYOffsetControlRegistration, nullptr, false},
    {Unit::ScrewWheelWindow, nullptr, &ScrewWheelLayout, true},
    {Unit::OffsetControl, &OffsetControlRegistration, nullptr, false},
    {Unit::CheckBoxControl, &CheckBoxControlRegistration, nullptr, false},
    {Unit::ComboControl, &ComboControlRegistration, nullptr, false},
    {Unit::AngleControl, &AngleControlRegistration, nullptr, false},
    {Unit::TextEditControl, nullptr, nullptr, false},
    {Unit::CustomFilterControl, nullptr, nullptr, false},
    {Unit::FileControl, &FileControlRegistration, nullptr, false},
    {Unit::PointControl, &PointControlRegistration, nullptr, false},
    {Unit::CircleControl, nullptr, nullptr, false},
    {Unit::FontControl, &FontControlRegistration, nullptr, false},
    {Unit::ImageControl, nullptr, nullptr, false},
    {Unit::ListControl, nullptr, nullptr, false},
    {Unit::RangeControl, &RangeControlRegistration, &RangeControlLayout, false},
    {Unit::SliderWindow, nullptr, nullptr, false},
    {Unit::OperatorControl, &OperatorControlRegistration, nullptr, false},
    {Unit::RangeBarWindow, nullptr, &RangeBarLayout, false},
    {Unit::ColourControl, nullptr, nullptr, false},
    {Unit::ButtonControl, &ButtonControlRegistration, nullptr, false},
    {Unit::ScrewControl, &ScrewControlRegistration, &ScrewControlLayout, false},
    {Unit::SliderControl, &SliderControlRegistration, &SliderControlLayout, false},
    {Unit::CrosshairControl, nullptr, nullptr, false},
};

}  // namespace

std::span<const UnitStartup> UnitTable() {
  return Units;
}

}  // namespace qzc
