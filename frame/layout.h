// Layout resources: tag lists of panel coordinates that a unit reads once
// per process, each coordinate with its built-in value as the default.
#pragma once

#include <cstdint>

#include "frame/startup.h"
#include "windef.h"

namespace qzc {

// The unit's layout list, loaded by this call; null when an earlier call
// loaded it already (the layout has been read) or it cannot be loaded.
const TagList* NewlyLoadedLayout(Unit unit, uint32_t id);

// Left, top, right and bottom from the four tags starting at `first`.
RECT LayoutRect(const TagList& layout, uint32_t first, const RECT& defaults);

}  // namespace qzc
