// Attribute tags: the 32-bit identifiers of the values in the host's tag
// lists. Integer and string tags are read with TagList::GetLong, double tags
// (top nibble 2) with TagList::GetDouble.
#pragma once

#include <cstdint>

namespace qzc::tag {

// Registration records.
constexpr uint32_t Creator = 0x10000000;
constexpr uint32_t ClassId = 0x10000005;
constexpr uint32_t ClassType = 0x10000003;

// Input attributes (Object::GetAttr on an Input).
constexpr uint32_t InputName = 0x10020001;
constexpr uint32_t ControlGroup = 0x10030009;
constexpr uint32_t PanelIndex = 0x1003000a;
constexpr uint32_t ViewerIndex = 0x1003000c;
constexpr uint32_t ClipEntries = 0x1000012c;
constexpr uint32_t ConnectedOutput = 0x10030000;
constexpr uint32_t OutputOperator = 0x10020002;

// Panel control attributes.
constexpr uint32_t ControlName = 0x10040001;
constexpr uint32_t StepCount = 0x10040005;
constexpr uint32_t Decimals = 0x10040007;
constexpr uint32_t TimeType = 0x10040009;
constexpr uint32_t Snap = 0x1004000a;
constexpr uint32_t UseAttributes = 0x1004000b;
constexpr uint32_t ReadOnly = 0x10030008;
constexpr uint32_t Integer = 0x10030010;
constexpr uint32_t RangeMin = 0x20030000;
constexpr uint32_t RangeMax = 0x20030001;
constexpr uint32_t DisplayMin = 0x20030002;
constexpr uint32_t DisplayMax = 0x20030003;
constexpr uint32_t LowEnd = 0x20040004;
constexpr uint32_t HighEnd = 0x20040005;
constexpr uint32_t DefaultValue = 0x20040006;
constexpr uint32_t FileFilter = 0x50000;
constexpr uint32_t ComboEntry = 0x18050000;

// Control-specific tags: their meaning depends on the control.
constexpr uint32_t Specific0 = 0x10050000;
constexpr uint32_t Specific1 = 0x10050001;
constexpr uint32_t Specific2 = 0x10050002;
constexpr uint32_t Specific3 = 0x10050003;
constexpr uint32_t Specific4 = 0x10050004;
constexpr uint32_t Specific5 = 0x10050005;
constexpr uint32_t Specific6 = 0x10050006;
constexpr uint32_t Specific7 = 0x10050007;
constexpr uint32_t SpecificDouble0 = 0x20050000;
constexpr uint32_t SpecificDouble1 = 0x20050001;
constexpr uint32_t SpecificDouble2 = 0x20050002;

// The slider's uses of the control-specific tags.
constexpr uint32_t SliderPages = Specific0;
constexpr uint32_t SliderLeftLabel = Specific1;
constexpr uint32_t SliderRightLabel = Specific2;
// The check box's.
constexpr uint32_t CheckBoxThreeState = Specific0;
// The range control's.
constexpr uint32_t RangeTextFlags = Specific1;
constexpr uint32_t RangeLowLabel = Specific2;
constexpr uint32_t RangeSpanText = Specific3;
constexpr uint32_t RangeHighLabel = Specific4;
constexpr uint32_t RangeShowHandles = Specific5;
constexpr uint32_t RangeKeepSpan = Specific6;
constexpr uint32_t RangeRepeatMarks = Specific7;
constexpr uint32_t RangeInnerLow = SpecificDouble0;
constexpr uint32_t RangeInnerHigh = SpecificDouble1;
constexpr uint32_t RangeRepeatLimit = SpecificDouble2;
// The screw control's: page divisions, 0 chosen from the steps.
constexpr uint32_t ScrewDivisions = Specific0;
// The text edit control's: the field's height in lines.
constexpr uint32_t TextEditLines = Specific0;
// The operator control's: the tool (Operator*) whose overlay it shows.
constexpr uint32_t OverlayOperator = Specific0;

// Viewer control attributes.
constexpr uint32_t Viewer0 = 0x10058000;
constexpr uint32_t Viewer1 = 0x10058001;
constexpr uint32_t Viewer3 = 0x10058003;
constexpr uint32_t ViewerDouble0 = 0x20058000;
constexpr uint32_t ViewerDouble1 = 0x20058001;
constexpr uint32_t ViewerDouble2 = 0x20058002;
constexpr uint32_t ViewerDouble3 = 0x20058003;
constexpr uint32_t ReferenceInput = Viewer0;
// The angle control's: its centre and length inputs, the shortest line and
// the scale from the length input's value to the line's length.
constexpr uint32_t AngleCentreInput = Viewer0;
constexpr uint32_t AngleLengthInput = Viewer1;
constexpr uint32_t AngleMinimumLength = ViewerDouble0;
constexpr uint32_t AngleLengthScale = ViewerDouble1;
// The crosshair's, the rectangle's and the circle's uses of them.
constexpr uint32_t MarkerShape = Viewer0;
constexpr uint32_t RectangleCentreInput = Viewer0;
constexpr uint32_t RectangleAngleInput = Viewer1;
constexpr uint32_t RectanglePenStyle = Viewer3;
constexpr uint32_t RectangleCentreX = ViewerDouble0;
constexpr uint32_t RectangleCentreY = ViewerDouble1;
constexpr uint32_t RectangleAngle = ViewerDouble2;
constexpr uint32_t RectangleAspectRatio = ViewerDouble3;
constexpr uint32_t CircleCentreInput = Viewer0;
constexpr uint32_t CircleCentreX = ViewerDouble0;
constexpr uint32_t CircleCentreY = ViewerDouble1;

// Attached to a sent value: the range control's change kind.
constexpr uint32_t ChangeKind = 0x100003e8;

// Format registrations.
constexpr uint32_t FormatCanLoad = 0x10000064;
constexpr uint32_t FormatCanSave = 0x10000065;
constexpr uint32_t FormatDescription = 0x10000069;
constexpr uint32_t FormatExtension = 0x18000064;

// Preferences (GetPrefLong).
constexpr uint32_t PrefGrabTolerance = 0x10000000;
constexpr uint32_t PrefColourDepth = 0x10000028;

// Layout resources: the first of the slider control's sixteen coordinates
// (left, top, right, bottom of the track, edit field, name and side label).
constexpr uint32_t SliderLayout = 0x100002bc;
// The range bar's and range control's rectangles (resource 100017), four
// coordinates each: the bar, the low and high edit fields, the low and high
// labels, the number texts.
constexpr uint32_t RangeBarLayout = 0x10000384;
constexpr uint32_t RangeLowEditLayout = 0x10000388;
constexpr uint32_t RangeHighEditLayout = 0x1000038c;
constexpr uint32_t RangeLowLabelLayout = 0x10000390;
constexpr uint32_t RangeHighLabelLayout = 0x10000394;
constexpr uint32_t RangeNumberLayout = 0x10000398;
// The screw wheel window's and the screw control's coordinates: the wheel
// (left, top, right, bottom), the edit field (left, top, right, bottom), the
// caption (left, top, right, bottom), then the left and right arrow buttons
// (x, y each).
constexpr uint32_t ScrewLayout = 0x10000320;
// The first of the colour control's sixty-four: sixteen rectangles.
constexpr uint32_t ColourLayout = 0x100003e8;

}  // namespace qzc::tag
