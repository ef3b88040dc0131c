#include "frame/registrations.h"

namespace qzc {
namespace {

// One row per source unit, in start-up order; a control's registration is
// listed here once its unit is part of the module.
constexpr UnitStartup Units[] = {
    {Unit::ClipControl, &ClipControlRegistration, nullptr, false},
    {Unit::RectangleControl, &RectangleControlRegistration, nullptr, false},
    {Unit::XYOffsetControl, &XYOffsetControlRegistration, nullptr, false},
    {Unit::ScrewWheelWindow, nullptr, &ScrewWheelLayout, true},
    {Unit::OffsetControl, &OffsetControlRegistration, nullptr, false},
    {Unit::CheckBoxControl, &CheckBoxControlRegistration, nullptr, false},
    {Unit::ComboControl, &ComboControlRegistration, nullptr, false},
    {Unit::AngleControl, &AngleControlRegistration, nullptr, false},
    {Unit::TextEditControl, &TextEditControlRegistration, nullptr, false},
    {Unit::CustomFilterControl, &CustomFilterControlRegistration, nullptr, false},
    {Unit::FileControl, &FileControlRegistration, nullptr, false},
    {Unit::PointControl, &PointControlRegistration, nullptr, false},
    {Unit::CircleControl, &CircleControlRegistration, nullptr, false},
    {Unit::FontControl, &FontControlRegistration, nullptr, false},
    {Unit::ImageControl, &ImageControlRegistration, nullptr, false},
    {Unit::ListControl, &ListControlRegistration, nullptr, false},
    {Unit::RangeControl, &RangeControlRegistration, &RangeControlLayout, false},
    {Unit::SliderWindow, nullptr, nullptr, false},
    {Unit::OperatorControl, &OperatorControlRegistration, nullptr, false},
    {Unit::RangeBarWindow, nullptr, &RangeBarLayout, false},
    {Unit::ColourControl, &ColourControlRegistration, &ColourControlLayout, false},
    {Unit::ButtonControl, &ButtonControlRegistration, nullptr, false},
    {Unit::ScrewControl, &ScrewControlRegistration, &ScrewControlLayout, false},
    {Unit::SliderControl, &SliderControlRegistration, &SliderControlLayout, false},
    {Unit::CrosshairControl, &CrosshairControlRegistration, nullptr, false},
};

}  // namespace

std::span<const UnitStartup> UnitTable() {
  return Units;
}

}  // namespace qzc
