// A filter matrix of whole-number coefficients in one LookUpTable input: a
// size list (3x3, 5x5, 7x7), an update lock, and a 7 x 7 grid of fields of
// which those outside the chosen size are disabled.
#pragma once

#include <cstdint>

#include "afxwin.h"
#include "qzsystem/inputcontrol.h"
#include "qzsystem/timecodeedit.h"

namespace qzc {

class CustomFilterControl : public InputControl {
 public:
  static constexpr int Side = 7;
  static constexpr int CellCount = Side * Side;
  static constexpr int CellTextSize = 16;  // 15 characters and the terminator
  // The table: entry 0 the size index, 1 to 4 unused, then the coefficients
  // row by row.
  static constexpr int TableSize = 54;
  static constexpr int FirstCoefficient = 5;

  CustomFilterControl();
  ~CustomFilterControl() override;

  LRESULT HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) override;
  uint32_t Open(CWnd* parent, CRect& rect) override;
  uint32_t AddInput(Input* input) override;
  void NotifyChanged(Input* input, Parameter* value) override;
  void UpdateDisplay(Input* input) override;
  void OnOK() override;

  TimeCodeEdit Cells[CellCount];
  char CellTexts[CellCount][CellTextSize];
  CButton LockBox;
  CStatic SizeLabel;
  CComboBox SizeList;
  uint32_t SizeIndex = 0;  // 0 for 3 x 3, 1 for 5 x 5, 2 for 7 x 7
  COLORREF FaceColour;
  HBRUSH FaceBrush;
  uint32_t Changed = 0;  // confirmed entries not yet sent

 private:
  long Selection();
  bool Locked();
  void EnableCells(long size);
  void CollectCell(int cell);
  void SendTable(long size);
  LRESULT StaticColours(HDC hdc, HWND hwnd);
};

InputControl* NewCustomFilterControl();

}  // namespace qzc
