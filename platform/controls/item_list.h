// The items of a list box or combo box: text and a pointer-sized value each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "windows.h"

namespace qz::controls {

struct ListItem {
  std::string text;
  ULONG_PTR data = 0;
};

// LB_GETTEXT / CB_GETLBTEXT: the text and its NUL into a buffer the caller
// sized with ItemLength, or for items kept without strings their data.
LRESULT CopyItemOut(const ListItem& item, bool keepsStrings, LPARAM buffer);
LRESULT ItemLength(const ListItem& item, bool keepsStrings);

class ItemList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  const ListItem& At(int index) const { return items_[static_cast<size_t>(index)]; }
  ListItem& At(int index) { return items_[static_cast<size_t>(index)]; }

  // Appends, or inserts in case-insensitive order when `sorted` (after equal
  // texts). Returns the index, or -2 when out of memory.
  int Add(std::string_view text, ULONG_PTR data, bool sorted);
  // Inserts at `index` (-1 = at the end). Returns the index, -1 for a bad
  // index, -2 when out of memory.
  int Insert(int index, std::string_view text, ULONG_PTR data);
  void Remove(int index);
  void Clear() { items_.clear(); }

  // The next item after `after` (-1 = from the first) whose text equals
  // `text` ignoring case, wrapping around; -1 when there is none.
  int FindExact(int after, std::string_view text) const;
  // The same for the first item whose text starts with `c` ignoring case.
  int FindInitial(int after, char c) const;

 private:
  template <class Match>
  int FindFrom(int after, Match match) const;

  std::vector<ListItem> items_;
};

}  // namespace qz::controls
