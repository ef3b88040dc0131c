#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "frame/tags.h"
#include "harness/module.h"
#include "harness/session.h"
#include "qzplatform/driver.h"
#include "qzsystem/autoparameter.h"

namespace {

// Array allocations fail while this is set, as when memory is exhausted; a
// table's entries are one such array. Every form of new and delete is
// replaced so that they stay paired.
std::atomic<bool> FailArrayNew{false};

}  // namespace

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (FailArrayNew) throw std::bad_alloc();
  return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return FailArrayNew ? nullptr : std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace qzh {
namespace {

constexpr int Side = 7;
constexpr int TableSize = 54;
constexpr int FirstCoefficient = 5;
constexpr UINT FirstCellId = 9101;
constexpr UINT CellRowIdStep = 20;
constexpr COLORREF FaceColour = RGB(192, 192, 192);

using Cell = std::pair<int, int>;  // row, column

// A table of `size` entries holding `entries` (index -> value), 0 elsewhere.
LookUpTable* Table(int size, const std::map<int, float>& entries) {
  auto* table = new LookUpTable(size);
  for (const auto& [index, value] : entries) table->Table[index] = value;
  return table;
}

int Entry(int row, int column) {
  return FirstCoefficient + Side * row + column;
}

class CustomFilterControlTest : public ::testing::Test {
 protected:
  void SetUp() override { tool = session.AddTool("Sharpen1"); }

  InputControl* AddFilter(LookUpTable* value) {
    matrix = session.AddInput(tool, "Filter Matrix", value);
    return session.AddPanelControl("CustomFilterControl", TagList{{qzc::tag::ControlName, "Filter Matrix"}}, {matrix});
  }
  static HWND CellOf(InputControl* control, int row, int column) {
    return GetDlgItem(control->Wnd->m_hWnd, static_cast<int>(FirstCellId + CellRowIdStep * row + column));
  }
  static std::string TextOf(HWND hwnd) {
    char text[64] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
  }
  static std::vector<Cell> EnabledCells(InputControl* control) {
    std::vector<Cell> cells;
    for (int row = 0; row < Side; ++row)
      for (int column = 0; column < Side; ++column)
        if (IsWindowEnabled(CellOf(control, row, column))) cells.emplace_back(row, column);
    return cells;
  }
  static std::vector<Cell> Square(int from, int to) {
    std::vector<Cell> cells;
    for (int row = from; row <= to; ++row)
      for (int column = from; column <= to; ++column) cells.emplace_back(row, column);
    return cells;
  }
  static std::string Choice(InputControl* control) {
    HWND list = FindChild(control, Role::Choice);
    char text[16] = "";
    SendMessageA(list, CB_GETLBTEXT, SendMessageA(list, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
    return text;
  }
  // Drops the size list and clicks its entry.
  void ChooseSize(InputControl* control, int index) {
    HWND list = FindChild(control, Role::Choice);
    RECT field;
    GetClientRect(list, &field);
    session.Click(list, field.right / 2, field.bottom / 2);
    const int row = static_cast<int>(SendMessageA(list, CB_GETITEMHEIGHT, 0, 0));
    session.Click(list, field.right / 2, field.bottom + 1 + row * index + row / 2);
  }
  void ClickLock(InputControl* control) { session.Click(FindChild(control, Role::CheckBox), 6, 7); }
  void Type(InputControl* control, int row, int column, const char* text) {
    HWND cell = CellOf(control, row, column);
    SetFocus(cell);
    SendMessageA(cell, EM_SETSEL, 0, -1);
    qz::TypeText(text);
    qz::PressKey(VK_RETURN);
    session.Pump();
  }
  // The input's table entry at the current time.
  float Stored(int index) {
    AutoParameter value(matrix->GetValue(session.Doc.CurrentTime));
    const LookUpTable* table = value ? Parameter::As<LookUpTable>(*value) : nullptr;
    return table && index < table->Size ? table->Table[index] : -99999.0f;
  }

  Session session;
  Operator* tool = nullptr;
  Input* matrix = nullptr;
};

TEST_F(CustomFilterControlTest, NewControlShowsOneEverywhereUntilAValueArrives) {
  InputControl* control = AddFilter(nullptr);
  for (int row = 0; row < Side; ++row)
    for (int column = 0; column < Side; ++column) EXPECT_EQ(TextOf(CellOf(control, row, column)), "1");
  EXPECT_EQ(Choice(control), "3x3");
  EXPECT_EQ(EnabledCells(control), Square(2, 4));

  session.SetValue(matrix, Table(TableSize, {{Entry(3, 3), 8.0f}, {Entry(0, 6), -3.0f}}));
  EXPECT_EQ(TextOf(CellOf(control, 3, 3)), "8");
  EXPECT_EQ(TextOf(CellOf(control, 0, 6)), "-3");
  EXPECT_EQ(TextOf(CellOf(control, 1, 1)), "0");
  EXPECT_TRUE(session.ControlWrites().empty());
}

TEST_F(CustomFilterControlTest, ChoosingFiveByFiveEnablesItsFieldsAndSendsAtOnce) {
  InputControl* control = AddFilter(Table(TableSize, {{Entry(3, 3), 5.0f}, {Entry(1, 5), 2.0f}}));
  ASSERT_EQ(EnabledCells(control), Square(2, 4));
  session.Doc.SetCurrentTime(12.0, 0);

  ChooseSize(control, 1);
  EXPECT_EQ(Choice(control), "5x5");
  EXPECT_EQ(EnabledCells(control), Square(1, 5));
  ASSERT_EQ(session.ControlWrites().size(), 1u);
  EXPECT_EQ(session.ControlWrites()[0].Time, 12.0);
  EXPECT_EQ(Stored(0), 1.0f);
  EXPECT_EQ(Stored(Entry(3, 3)), 5.0f);
  EXPECT_EQ(Stored(Entry(1, 5)), 2.0f);
}

TEST_F(CustomFilterControlTest, LockCollectsEditsAndSizesAndSendsOneTableWhenCleared) {
  InputControl* control = AddFilter(Table(TableSize, {}));
  ClickLock(control);
  Type(control, 3, 3, "9");
  ChooseSize(control, 2);
  Type(control, 0, 0, "-4");
  Type(control, 6, 2, "7");
  EXPECT_TRUE(session.ControlWrites().empty());
  EXPECT_EQ(EnabledCells(control), Square(0, 6));

  ClickLock(control);
  ASSERT_EQ(session.ControlWrites().size(), 1u);
  EXPECT_EQ(Stored(0), 2.0f);
  EXPECT_EQ(Stored(Entry(3, 3)), 9.0f);
  EXPECT_EQ(Stored(Entry(0, 0)), -4.0f);
  EXPECT_EQ(Stored(Entry(6, 2)), 7.0f);

  // Nothing left to send: confirming again writes nothing.
  Type(control, 3, 3, "9");
  EXPECT_EQ(session.ControlWrites().size(), 1u);
}

TEST_F(CustomFilterControlTest, TablesFromTheHostSetSizeAndFields) {
  struct Case {
    const char* Name;
    LookUpTable* Value;
    const char* Size;
    std::vector<Cell> Enabled;
    std::map<Cell, std::string> Shown;
  };
  const std::vector<Case> cases = {
      {"entry 0 of 2 selects 7x7, entries 1 to 4 unused",
       Table(TableSize, {{0, 2.0f}, {1, 1.0f}, {2, 7.0f}, {3, 3.0f}, {4, 4.0f}, {Entry(0, 0), 4.0f}}),
       "7x7",
       Square(0, 6),
       {{{0, 0}, "4"}, {{0, 1}, "0"}}},
      {"the lowest coefficient as it is",
       Table(TableSize, {{0, 1.0f}, {Entry(2, 2), -32768.0f}, {Entry(4, 4), 32767.0f}}),
       "5x5",
       Square(1, 5),
       {{{2, 2}, "-32768"}, {{4, 4}, "32767"}}},
      {"a short table counts its missing entries as 0",
       Table(8, {{0, 1.0f}, {Entry(0, 0), 6.0f}, {Entry(0, 2), -2.0f}}),
       "5x5",
       Square(1, 5),
       {{{0, 0}, "6"}, {{0, 2}, "-2"}, {{0, 3}, "0"}, {{6, 6}, "0"}}},
      {"an empty table", Table(0, {}), "3x3", Square(2, 4), {{{0, 0}, "0"}, {{3, 3}, "0"}}},
      {"entries that are no whole 16-bit numbers",
       Table(TableSize, {{0, std::nanf("")},
                         {Entry(3, 3), std::nanf("")},
                         {Entry(3, 4), std::numeric_limits<float>::infinity()},
                         {Entry(4, 3), -1e9f},
                         {Entry(4, 4), -2.7f}}),
       "3x3",
       Square(2, 4),
       {{{3, 3}, "0"}, {{3, 4}, "32767"}, {{4, 3}, "-32768"}, {{4, 4}, "-2"}}},
      {"a size the list does not offer shows every field",
       Table(TableSize, {{0, 5.0f}, {Entry(3, 3), 1.5f}}),
       "7x7",
       Square(0, 6),
       {{{3, 3}, "1"}}},
  };
  InputControl* control = AddFilter(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    session.SetValue(matrix, c.Value);
    EXPECT_EQ(Choice(control), c.Size);
    EXPECT_EQ(EnabledCells(control), c.Enabled);
    for (const auto& [cell, text] : c.Shown) EXPECT_EQ(TextOf(CellOf(control, cell.first, cell.second)), text);
  }
  // Showing the host's table sends nothing back, nor does confirming it.
  Type(control, 3, 3, "1");
  EXPECT_TRUE(session.ControlWrites().empty());
}

TEST_F(CustomFilterControlTest, TypedCoefficientsAreKeptToSixteenBitsAndShownSo) {
  InputControl* control = AddFilter(Table(TableSize, {}));
  const struct {
    const char* Typed;
    const char* Shown;
    float Sent;
  } cases[] = {
      {"40000", "32767", 32767.0f},           {"-40000", "-32768", -32768.0f}, {"-32768", "-32768", -32768.0f},
      {"999999999999999", "32767", 32767.0f}, {"12abc", "12", 12.0f},          {"abc", "0", 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Typed);
    Type(control, 2, 3, c.Typed);
    EXPECT_EQ(TextOf(CellOf(control, 2, 3)), c.Shown);
    EXPECT_EQ(Stored(Entry(2, 3)), c.Sent);
  }
}

// The host confirms the entry (OnOK) while no table can be made: nothing is
// sent, and the entry goes out with the next confirmation.
TEST_F(CustomFilterControlTest, EntryWaitsForMemoryToSendIt) {
  InputControl* control = AddFilter(Table(TableSize, {}));
  HWND cell = CellOf(control, 3, 3);
  SetFocus(cell);
  SendMessageA(cell, EM_SETSEL, 0, -1);
  qz::TypeText("6");
  FailArrayNew = true;
  control->OnOK();
  FailArrayNew = false;
  EXPECT_TRUE(session.ControlWrites().empty());
  control->OnOK();
  ASSERT_EQ(session.ControlWrites().size(), 1u);
  EXPECT_EQ(Stored(Entry(3, 3)), 6.0f);
}

// The panel closing with an entry typed but not confirmed sends nothing.
TEST_F(CustomFilterControlTest, DeletingTheControlLeavesAnUnconfirmedEntry) {
  InputControl* control = AddFilter(Table(TableSize, {}));
  SetFocus(CellOf(control, 6, 6));
  qz::TypeText("5");
  session.RemovePanelControl(control);
  EXPECT_TRUE(session.ControlWrites().empty());
}

TEST_F(CustomFilterControlTest, ValuesOfAnotherKindLeaveTheFieldsAlone) {
  InputControl* control = AddFilter(Table(TableSize, {{Entry(3, 3), 3.0f}}));
  session.SetNumber(matrix, 5.0);
  EXPECT_EQ(TextOf(CellOf(control, 3, 3)), "3");
  EXPECT_TRUE(session.ControlWrites().empty());
}

TEST_F(CustomFilterControlTest, GridOpensAtItsSizeAndShowsAgainAfterThePanelIsHidden) {
  InputControl* control = AddFilter(Table(TableSize, {{0, 1.0f}, {Entry(6, 6), 2.0f}}));
  EXPECT_EQ(session.OpenedRect(control).right, 276);
  EXPECT_EQ(session.OpenedRect(control).bottom, 182);
  RECT last;
  GetWindowRect(CellOf(control, 6, 6), &last);
  POINT origin{0, 0};
  ClientToScreen(control->Wnd->m_hWnd, &origin);
  EXPECT_EQ(last.left - origin.x, 9 + 38 * 6);
  EXPECT_EQ(last.top - origin.y, 36 + 20 * 6);

  session.HidePanel();
  session.ShowPanel();
  EXPECT_EQ(TextOf(CellOf(control, 6, 6)), "2");
  EXPECT_EQ(EnabledCells(control), Square(1, 5));
}

// Disabled fields stand on the button face; enabled ones on white.
TEST_F(CustomFilterControlTest, DisabledFieldsAreDrawnOnTheButtonFace) {
  InputControl* control = AddFilter(Table(TableSize, {}));
  session.Pump();
  int width = 0;
  int height = 0;
  std::vector<uint32_t> disabled;
  ASSERT_TRUE(qz::CaptureWindow(CellOf(control, 0, 0), &width, &height, &disabled));
  std::vector<uint32_t> enabled;
  ASSERT_TRUE(qz::CaptureWindow(CellOf(control, 3, 3), &width, &height, &enabled));
  const int inside = (height / 2) * width + width - 4;
  EXPECT_EQ(disabled[inside], (GetRValue(FaceColour) << 16) | (GetGValue(FaceColour) << 8) | GetBValue(FaceColour));
  EXPECT_EQ(enabled[inside], 0xFFFFFFu);
}

}  // namespace
}  // namespace qzh
