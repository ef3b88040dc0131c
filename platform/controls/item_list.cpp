#include "item_list.h"

#include <cctype>
#include <cstring>
#include <new>

namespace qz::controls {
namespace {

int Lower(char c) {
  return std::tolower(static_cast<unsigned char>(c));
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    int d = Lower(a[i]) - Lower(b[i]);
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

LRESULT CopyItemOut(const ListItem& item, bool keepsStrings, LPARAM buffer) {
  if (!keepsStrings) {
    std::memcpy(reinterpret_cast<void*>(buffer), &item.data, sizeof(item.data));
    return sizeof(item.data);
  }
  std::memcpy(reinterpret_cast<char*>(buffer), item.text.c_str(), item.text.size() + 1);
  return static_cast<LRESULT>(item.text.size());
}

LRESULT ItemLength(const ListItem& item, bool keepsStrings) {
  return keepsStrings ? static_cast<LRESULT>(item.text.size()) : static_cast<LRESULT>(sizeof(item.data));
}

int ItemList::Add(std::string_view text, ULONG_PTR data, bool sorted) {
  int index = Count();
  if (sorted) {
    int low = 0;
    int high = Count();
    while (low < high) {
      int mid = (low + high) / 2;
      if (CompareIgnoringCase(At(mid).text, text) <= 0) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
    index = low;
  }
  return Insert(index, text, data);
}

int ItemList::Insert(int index, std::string_view text, ULONG_PTR data) {
  if (index == -1) index = Count();
  if (index < 0 || index > Count()) return -1;
  try {
    items_.insert(items_.begin() + index, ListItem{std::string(text), data});
  } catch (const std::bad_alloc&) {
    return -2;
  }
  return index;
}

void ItemList::Remove(int index) {
  if (Valid(index)) items_.erase(items_.begin() + index);
}

template <class Match>
int ItemList::FindFrom(int after, Match match) const {
  int count = Count();
  if (count == 0) return -1;
  int start = (after < 0 || after >= count) ? 0 : after + 1;
  for (int k = 0; k < count; ++k) {
    int i = (start + k) % count;
    if (match(At(i).text)) return i;
  }
  return -1;
}

int ItemList::FindExact(int after, std::string_view text) const {
  return FindFrom(after, [&](const std::string& item) { return CompareIgnoringCase(item, text) == 0; });
}

int ItemList::FindInitial(int after, char c) const {
  return FindFrom(after, [&](const std::string& item) { return !item.empty() && Lower(item[0]) == Lower(c); });
}

}  // namespace qz::controls
