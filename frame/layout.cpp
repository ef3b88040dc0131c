#include "frame/layout.h"

namespace qzc {

const TagList* NewlyLoadedLayout(Unit unit, uint32_t id) {
  ResData* data = UnitData(unit, id);
  if (!data || data->Tags) return nullptr;
  return data->Load() ? data->Tags : nullptr;
}

RECT LayoutRect(const TagList& layout, uint32_t first, const RECT& defaults) {
  return RECT{static_cast<LONG>(layout.GetLong(first, defaults.left)),
              static_cast<LONG>(layout.GetLong(first + 1, defaults.top)),
              static_cast<LONG>(layout.GetLong(first + 2, defaults.right)),
              static_cast<LONG>(layout.GetLong(first + 3, defaults.bottom))};
}

}  // namespace qzc
