#include "panel/custom_filter_control.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/creator.h"
#include "frame/panel_windows.h"
#include "frame/registrations.h"
#include "frame/startup.h"
#include "frame/values.h"
#include "qzsystem/autoparameter.h"
#include "qzsystem/parameter.h"

namespace qzc {
namespace {

constexpr UINT SizeListId = 10;
constexpr UINT LockBoxId = 1100;
constexpr UINT FirstCellId = 9101;
constexpr UINT CellRowIdStep = 20;
// Any ID in this span belongs to a cell field.
constexpr UINT LastCellId = 9248;
constexpr uint32_t CellTextColourId = 100112;

constexpr DWORD LockBoxStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD SizeListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_HASSTRINGS | CBS_DROPDOWNLIST;
constexpr DWORD SizeLabelStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD CellStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;

constexpr RECT LockBoxRect{160, 10, 270, 25};
// The list is no wider than its entries need, so that "Matrix Size" fits on
// one line before the lock box in the panel's font.
constexpr RECT SizeListRect{10, 4, 76, 104};
constexpr RECT SizeLabelRect{84, 10, 158, 25};
constexpr RECT UsedRect{0, 0, 276, 182};
constexpr int SizeListItemHeight = 15;
// The grid: cells 38 pixels apart across and 20 down.
constexpr int GridLeft = 9;
constexpr int GridTop = 36;
constexpr int CellPitchX = 38;
constexpr int CellPitchY = 20;
constexpr int CellWidth = 32;
constexpr int CellHeight = 19;

constexpr const char* SizeNames[] = {"3x3", "5x5", "7x7"};
constexpr long LargestSize = 2;
constexpr long NoSize = -1;  // the list without a selection

constexpr int Centre = CustomFilterControl::Side / 2;
constexpr long Lowest = -32768;
constexpr long Highest = 32767;

int RowOf(int cell) {
  return cell / CustomFilterControl::Side;
}
int ColumnOf(int cell) {
  return cell % CustomFilterControl::Side;
}
UINT CellId(int cell) {
  return FirstCellId + CellRowIdStep * static_cast<UINT>(RowOf(cell)) + static_cast<UINT>(ColumnOf(cell));
}

// The centre (size + 1) rings around the middle cell are in use; without a
// size only the middle cell is.
bool CellEnabled(int cell, long size) {
  const long reach = size + 1;
  return std::abs(RowOf(cell) - Centre) <= reach && std::abs(ColumnOf(cell) - Centre) <= reach;
}

long Clamped(long value) {
  return value < Lowest ? Lowest : value > Highest ? Highest : value;
}

// What a typed text stands for: its leading whole number as atoi reads it
// (0 when there is none), kept to the 16 bits the table holds.
long CoefficientOfText(const char* text) {
  return Clamped(std::strtol(text, nullptr, 10));
}

// Entries past the end of a short table count as 0.
double EntryOf(const LookUpTable& table, int index) {
  return table.Table && index < table.Size ? table.Table[index] : 0.0;
}

long CoefficientOfEntry(double entry) {
  if (std::isnan(entry)) return 0;
  if (entry <= Lowest) return Lowest;
  if (entry >= Highest) return Highest;
  return static_cast<long>(entry);
}

// A size the list does not offer shows the whole grid, so that no
// coefficient the table holds is hidden.
uint32_t SizeOfEntry(double entry) {
  const long size = CoefficientOfEntry(entry);
  return size >= 0 && size <= LargestSize ? static_cast<uint32_t>(size) : static_cast<uint32_t>(LargestSize);
}

void FormatCoefficient(char (&text)[CustomFilterControl::CellTextSize], long value) {
  std::snprintf(text, sizeof text, "%ld", value);
}

// A new table of all entries, or null when memory is exhausted.
LookUpTable* NewTable() {
  try {
    return new LookUpTable(CustomFilterControl::TableSize);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

constinit const Registration CustomFilterControlRegistration{
    "CustomFilterControl", CreatorAddress(&NewCustomFilterControl), MakeID("CFlC"), PanelControlType};

InputControl* NewCustomFilterControl() {
  return Create<CustomFilterControl, InputControl>();
}

CustomFilterControl::CustomFilterControl()
    : FaceColour(GetSysColor(COLOR_BTNFACE)), FaceBrush(CreateSolidBrush(FaceColour)) {
  ID = MakeID("CFlC");
  for (char(&text)[CellTextSize] : CellTexts) FormatCoefficient(text, 1);
}

// The window goes first, while every field still exists: a field losing the
// focus as it is destroyed would otherwise have the entry collected from
// fields already gone.
CustomFilterControl::~CustomFilterControl() {
  InputControl::Close();
  if (FaceBrush) DeleteObject(FaceBrush);
}

uint32_t CustomFilterControl::Open(CWnd* parent, CRect& rect) {
  if (!InputControl::Open(parent, rect)) return 0;
  if (LockBox.Create("Update lock", LockBoxStyle, LockBoxRect, Wnd, LockBoxId))
    LockBox.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), TRUE);
  rect |= UsedRect;
  if (SizeList.Create(SizeListStyle, SizeListRect, Wnd, SizeListId)) {
    SetControlFont(SizeList, Font);
    SizeList.SetItemHeight(0, SizeListItemHeight);
    for (const char* name : SizeNames) SizeList.AddString(name);
  }
  CreateLabel(SizeLabel, "Matrix Size", SizeLabelStyle, SizeLabelRect, Wnd, Font, "Matrix Size");
  for (int cell = 0; cell < CellCount; ++cell) {
    const int x = GridLeft + CellPitchX * ColumnOf(cell);
    const int y = GridTop + CellPitchY * RowOf(cell);
    TimeCodeEdit& field = Cells[cell];
    if (!field.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", CellStyle, CRect(x, y, x + CellWidth, y + CellHeight), Wnd,
                        CellId(cell)))
      continue;
    SetControlFont(field, Font);
    field.SendMessage(EM_LIMITTEXT, CellTextSize - 1);
  }
  UpdateDisplay(nullptr);
  return 1;
}

// A control that is not open yet takes the input's value now; an open one
// is handed it by the base.
uint32_t CustomFilterControl::AddInput(Input* input) {
  if (input && !Wnd) {
    AutoParameter value(input->GetValue(CurrentTime(*this)));
    if (value) NotifyChanged(input, value);
  }
  return InputControl::AddInput(input);
}

void CustomFilterControl::NotifyChanged(Input* input, Parameter* value) {
  const LookUpTable* table = value ? Parameter::As<LookUpTable>(*value) : nullptr;
  if (!table) return;
  SizeIndex = SizeOfEntry(EntryOf(*table, 0));
  for (int cell = 0; cell < CellCount; ++cell)
    FormatCoefficient(CellTexts[cell], CoefficientOfEntry(EntryOf(*table, FirstCoefficient + cell)));
  InputControl::NotifyChanged(input, value);
}

void CustomFilterControl::UpdateDisplay(Input*) {
  if (!Wnd) return;
  for (int cell = 0; cell < CellCount; ++cell) {
    if (!Cells[cell].m_hWnd) continue;
    char shown[CellTextSize];
    ::GetWindowTextA(Cells[cell].m_hWnd, shown, CellTextSize);
    if (std::strcmp(shown, CellTexts[cell]) != 0) Cells[cell].SetWindowText(CellTexts[cell]);
  }
  if (SizeList.m_hWnd && Selection() != static_cast<long>(SizeIndex)) {
    SizeList.SetCurSel(static_cast<int>(SizeIndex));
    EnableCells(static_cast<long>(SizeIndex));
  }
}

// Collects the fields into the cell texts; sends the whole table when
// anything changed since the last one went out and the lock is clear.
void CustomFilterControl::OnOK() {
  if (Wnd) {
    for (int cell = 0; cell < CellCount; ++cell) CollectCell(cell);
    const long size = Selection();
    if (size != static_cast<long>(SizeIndex)) Changed = 1;
    if (Changed && !Locked()) SendTable(size);
  }
  InputControl::OnOK();
}

LRESULT CustomFilterControl::HandleMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && LOWORD(wParam) == LockBoxId && HIWORD(wParam) == BN_CLICKED) {
    // The box has already toggled: collected changes go out when it is clear.
    OnOK();
    return 0;
  }
  if (msg == WM_COMMAND && LOWORD(wParam) == SizeListId && HIWORD(wParam) == CBN_SELENDOK) {
    EnableCells(Selection());
    OnOK();
  } else if (msg == WM_CTLCOLORSTATIC) {
    return StaticColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
  }
  return InputControl::HandleMsg(msg, wParam, lParam);
}

long CustomFilterControl::Selection() {
  return SizeList.m_hWnd ? SizeList.GetCurSel() : NoSize;
}

bool CustomFilterControl::Locked() {
  return LockBox.m_hWnd && LockBox.GetCheck() != BST_UNCHECKED;
}

void CustomFilterControl::EnableCells(long size) {
  for (int cell = 0; cell < CellCount; ++cell)
    if (Cells[cell].m_hWnd) Cells[cell].EnableWindow(CellEnabled(cell, size));
}

// The field's entry becomes the number it stands for; the field shows that
// number when it held anything else (a clamped or unreadable entry).
void CustomFilterControl::CollectCell(int cell) {
  TimeCodeEdit& field = Cells[cell];
  if (!field.m_hWnd) return;
  char typed[CellTextSize];
  ::GetWindowTextA(field.m_hWnd, typed, CellTextSize);
  char text[CellTextSize];
  FormatCoefficient(text, CoefficientOfText(typed));
  if (std::strcmp(text, CellTexts[cell]) != 0) {
    Changed = 1;
    std::memcpy(CellTexts[cell], text, CellTextSize);
  }
  if (std::strcmp(typed, text) != 0) field.SetWindowText(text);
}

// Without memory for the table nothing goes out and the changes stay
// collected for the next confirmation.
void CustomFilterControl::SendTable(long size) {
  AutoParameter value(NewTable());
  if (!value) return;
  auto* table = static_cast<LookUpTable*>(value.Get());
  table->Table[0] = static_cast<float>(size);
  for (int cell = 0; cell < CellCount; ++cell)
    table->Table[FirstCoefficient + cell] = static_cast<float>(CoefficientOfText(CellTexts[cell]));
  Changed = 0;
  SizeIndex = SizeOfEntry(static_cast<double>(size));
  SetInputs(table, CurrentTime(*this), 0);
}

// Disabled cell fields are drawn on the button face; labels and the lock
// box stand on the panel's own background.
LRESULT CustomFilterControl::StaticColours(HDC hdc, HWND hwnd) {
  const UINT id = static_cast<UINT>(::GetDlgCtrlID(hwnd));
  if (id >= FirstCellId && id <= LastCellId) {
    ResColour* colour = UnitColour(Unit::CustomFilterControl, CellTextColourId);
    SetBkColor(hdc, FaceColour);
    if (colour && colour->Load()) SetTextColor(hdc, colour->Colour);
    SetBkMode(hdc, OPAQUE);
    return reinterpret_cast<LRESULT>(FaceBrush ? FaceBrush : GetStockObject(NULL_BRUSH));
  }
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

}  // namespace qzc
