// A colour held in three or four Number inputs (red, green, blue and, when
// the tool has one, alpha), each channel 0.0 (none) to 1.0 (full): a swatch
// that opens the colour dialog and can be dragged onto another colour
// control, a "Pick" button that picks from a viewer, and per channel a
// slider and a number field.
#pragma once

#include "afxdlgs.h"
#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"
#include "windows/pick_button.h"
#include "windows/slider_window.h"

class List;

namespace qzc {

// The platform's colour dialog under the colour control's own class name.
class CustomColour : public CColorDialog {
 public:
  CustomColour() : CColorDialog(0, 0, nullptr) {}
};

class ColourControl : public InputControl {
 public:
  static constexpr int Channels = 4;
  static constexpr int AlphaChannel = 3;

  ColourControl();
  ~ColourControl() override;

  uint32_t SetAttrsTagList(TagList& tags) override;
  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  Input* GetInputAt(int x, int y) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  uint32_t AddInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnDisconnect(Input* input) override;
  void OnOK() override;

  // Red, green, blue, alpha as last seen; never clamped.
  double Colour[Channels] = {0.5, 0.5, 0.5, 1.0};
  CustomColour Dialog;
  int32_t Precision = 4;
  TimeCodeEdit Fields[Channels];
  CStatic NameLabel;
  CStatic ChannelLabels[Channels];
  PickButton Swatch;
  PickButton Pick;
  SliderWindow Sliders[Channels];
  uint32_t AlphaShown = 0;
  uint32_t CaptionChanged = 0;

 private:
  // The channel an input is bound to, or -1 for one that is ignored.
  int ChannelOf(const Input* input) const;
  int RowCount() const { return AlphaRow ? Channels : AlphaChannel; }
  // What the field and slider show: a NaN shows as 0.
  double Shown(int channel) const;
  COLORREF SwatchColour() const;
  const char* Caption() const;

  void CreateSliders();
  void CreateButtons();
  void CreateFields();
  void CreateLabels();
  void ReadInputValues();

  LRESULT EraseBackground(HDC hdc);
  void DrawSwatch(const DRAWITEMSTRUCT* item);
  void ChooseColour();
  void CommitSlider(HWND slider, WORD beginChange);
  LRESULT LabelColours(HDC hdc);
  void SendInputList(UINT message, HWND target, LPARAM point);
  void CopyColourFrom(List* list);
  bool FieldUnchanged(int channel);

  void ShowInField(int channel, double scale);

  // The alpha row was built by the last Open.
  bool AlphaRow = false;
  // The scale each field was last shown at: what the user types is read in it.
  double FieldScale[Channels] = {1.0, 1.0, 1.0, 1.0};
};

InputControl* NewColourControl();

}  // namespace qzc
