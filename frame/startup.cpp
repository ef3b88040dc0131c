#include "frame/startup.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <new>

#include "frame/registrations.h"
#include "frame/tags.h"
#include "qzsystem/registry.h"

namespace qzc {
namespace {

enum class ResKind : uint8_t { Dib, Bitmap, Colour, Data };

struct ResourceEntry {
  Unit Owner;
  ResKind Kind;
  uint32_t Id;
};

// Every shared resource, by owner, in build order.
constexpr ResourceEntry Resources[] = {
    {Unit::ScrewWheelWindow, ResKind::Dib, 100007},       {Unit::ScrewWheelWindow, ResKind::Dib, 100004},
    {Unit::ScrewWheelWindow, ResKind::Dib, 100005},       {Unit::ScrewWheelWindow, ResKind::Dib, 100006},
    {Unit::ScrewWheelWindow, ResKind::Colour, 100112},    {Unit::ScrewWheelWindow, ResKind::Colour, 100113},
    {Unit::ScrewWheelWindow, ResKind::Colour, 100009},    {Unit::ScrewWheelWindow, ResKind::Data, 100008},
    {Unit::CustomFilterControl, ResKind::Colour, 100112}, {Unit::RangeControl, ResKind::Dib, 100010},
    {Unit::RangeControl, ResKind::Data, 100017},          {Unit::SliderWindow, ResKind::Dib, 100000},
    {Unit::SliderWindow, ResKind::Colour, 100112},        {Unit::RangeBarWindow, ResKind::Dib, 100010},
    {Unit::RangeBarWindow, ResKind::Dib, 100011},         {Unit::RangeBarWindow, ResKind::Dib, 100012},
    {Unit::RangeBarWindow, ResKind::Dib, 100013},         {Unit::RangeBarWindow, ResKind::Dib, 100014},
    {Unit::RangeBarWindow, ResKind::Dib, 100015},         {Unit::RangeBarWindow, ResKind::Dib, 100016},
    {Unit::RangeBarWindow, ResKind::Colour, 100112},      {Unit::RangeBarWindow, ResKind::Colour, 100018},
    {Unit::RangeBarWindow, ResKind::Data, 100017},        {Unit::ColourControl, ResKind::Bitmap, 100019},
    {Unit::ColourControl, ResKind::Bitmap, 100122},       {Unit::ColourControl, ResKind::Bitmap, 100026},
    {Unit::ColourControl, ResKind::Dib, 100020},          {Unit::ColourControl, ResKind::Dib, 100021},
    {Unit::ColourControl, ResKind::Dib, 100022},          {Unit::ColourControl, ResKind::Dib, 100023},
    {Unit::ColourControl, ResKind::Colour, 100025},       {Unit::ColourControl, ResKind::Data, 100024},
    {Unit::ScrewControl, ResKind::Bitmap, 100007},        {Unit::ScrewControl, ResKind::Data, 100008},
    {Unit::SliderControl, ResKind::Bitmap, 100001},       {Unit::SliderControl, ResKind::Dib, 100000},
    {Unit::SliderControl, ResKind::Colour, 100003},       {Unit::SliderControl, ResKind::Data, 100002},
};
constexpr size_t ResourceCount = sizeof(Resources) / sizeof(Resources[0]);

// Where each unit's resources lie in the table (they are listed together),
// so that finding one looks at that unit's few entries only.
constexpr size_t UnitCount = static_cast<size_t>(Unit::CrosshairControl) + 1;
struct EntryRange {
  uint8_t First = 0;
  uint8_t End = 0;
};
constexpr std::array<EntryRange, UnitCount> UnitEntries = [] {
  std::array<EntryRange, UnitCount> ranges{};
  for (size_t i = ResourceCount; i-- > 0;) {
    EntryRange& range = ranges[static_cast<size_t>(Resources[i].Owner)];
    if (range.End == 0) range.End = static_cast<uint8_t>(i + 1);
    range.First = static_cast<uint8_t>(i);
  }
  return ranges;
}();
constexpr bool EntriesGroupedByUnit() {
  for (size_t i = 0; i < ResourceCount; ++i) {
    const EntryRange& range = UnitEntries[static_cast<size_t>(Resources[i].Owner)];
    if (i < range.First || i >= range.End) return false;
    for (size_t j = range.First; j < range.End; ++j)
      if (Resources[j].Owner != Resources[i].Owner) return false;
  }
  return ResourceCount <= UINT8_MAX;
}
static_assert(EntriesGroupedByUnit(), "a unit's resources must be listed together");

constexpr size_t MaxRegistrations = 22;
constexpr size_t ResourceSize = std::max({sizeof(ResDIB), sizeof(ResBitmap), sizeof(ResColour), sizeof(ResData)});

// Storage for one object built in place at start-up and destroyed at unload.
struct ObjectSlot {
  alignas(std::max_align_t) unsigned char Storage[std::max(ResourceSize, sizeof(Registry))];
  bool Built = false;

  template <typename T>
  T* As() {
    return Built ? std::launder(reinterpret_cast<T*>(Storage)) : nullptr;
  }
};

struct ModuleState {
  ObjectSlot Registrations[MaxRegistrations];
  ObjectSlot ResourceObjects[ResourceCount];

  // Clean-ups in the order they were registered; run backwards.
  struct CleanUp {
    bool IsRegistration;
    size_t Index;
  };
  CleanUp CleanUps[MaxRegistrations + ResourceCount];
  size_t CleanUpCount = 0;
  bool Started = false;
};

ModuleState& State() {
  static ModuleState state;
  return state;
}

void BuildRegistration(ModuleState& state, const Registration& reg, size_t index) {
  ObjectSlot& slot = state.Registrations[index];
  new (slot.Storage) Registry(&ClassRegistry, reg.Name, static_cast<uintptr_t>(tag::Creator), reg.Creator.Address(),
                              static_cast<uintptr_t>(tag::ClassId), static_cast<uintptr_t>(reg.Id),
                              static_cast<uintptr_t>(tag::ClassType), reg.Type, static_cast<uintptr_t>(0));
  slot.Built = true;
  state.CleanUps[state.CleanUpCount++] = {true, index};
}

void BuildResource(ModuleState& state, size_t index) {
  const ResourceEntry& entry = Resources[index];
  ObjectSlot& slot = state.ResourceObjects[index];
  switch (entry.Kind) {
    case ResKind::Dib:
      new (slot.Storage) ResDIB(entry.Id, 0);
      break;
    case ResKind::Bitmap:
      new (slot.Storage) ResBitmap(entry.Id, 0);
      break;
    case ResKind::Colour:
      new (slot.Storage) ResColour(entry.Id);
      break;
    case ResKind::Data:
      new (slot.Storage) ResData(entry.Id);
      break;
  }
  slot.Built = true;
  state.CleanUps[state.CleanUpCount++] = {false, index};
}

void DestroyRegistration(ModuleState& state, size_t index) {
  ObjectSlot& slot = state.Registrations[index];
  if (Registry* reg = slot.As<Registry>()) reg->~Registry();
  slot.Built = false;
}

void DestroyResource(ModuleState& state, size_t index) {
  ObjectSlot& slot = state.ResourceObjects[index];
  switch (Resources[index].Kind) {
    case ResKind::Dib:
      if (auto* res = slot.As<ResDIB>()) res->~ResDIB();
      break;
    case ResKind::Bitmap:
      if (auto* res = slot.As<ResBitmap>()) res->~ResBitmap();
      break;
    case ResKind::Colour:
      if (auto* res = slot.As<ResColour>()) res->~ResColour();
      break;
    case ResKind::Data:
      if (auto* res = slot.As<ResData>()) res->~ResData();
      break;
  }
  slot.Built = false;
}

template <typename T>
T* FindResource(Unit unit, uint32_t id, ResKind kind) {
  const size_t owner = static_cast<size_t>(unit);
  if (owner >= UnitCount) return nullptr;
  const EntryRange range = UnitEntries[owner];
  for (size_t i = range.First; i < range.End; ++i) {
    const ResourceEntry& entry = Resources[i];
    if (entry.Kind == kind && entry.Id == id) return State().ResourceObjects[i].As<T>();
  }
  return nullptr;
}

// The library's load and unload run the table and its clean-ups.
struct ModuleLifetime {
  ModuleLifetime() { StartModule(); }
  ~ModuleLifetime() { StopModule(); }
} Lifetime;

}  // namespace

void StartModule() {
  ModuleState& state = State();
  if (state.Started) return;
  state.Started = true;
  size_t registered = 0;
  for (const UnitStartup& unit : UnitTable()) {
    if (unit.Registers && registered < MaxRegistrations) BuildRegistration(state, *unit.Registers, registered++);
    if (unit.LayoutFirst && unit.Layout) unit.Layout();
    for (size_t i = 0; i < ResourceCount; ++i)
      if (Resources[i].Owner == unit.Owner) BuildResource(state, i);
    if (!unit.LayoutFirst && unit.Layout) unit.Layout();
  }
}

void StopModule() {
  ModuleState& state = State();
  if (!state.Started) return;
  while (state.CleanUpCount > 0) {
    const ModuleState::CleanUp& cleanUp = state.CleanUps[--state.CleanUpCount];
    if (cleanUp.IsRegistration)
      DestroyRegistration(state, cleanUp.Index);
    else
      DestroyResource(state, cleanUp.Index);
  }
  state.Started = false;
}

ResDIB* UnitDIB(Unit unit, uint32_t id) {
  return FindResource<ResDIB>(unit, id, ResKind::Dib);
}
ResBitmap* UnitBitmap(Unit unit, uint32_t id) {
  return FindResource<ResBitmap>(unit, id, ResKind::Bitmap);
}
ResColour* UnitColour(Unit unit, uint32_t id) {
  return FindResource<ResColour>(unit, id, ResKind::Colour);
}
ResData* UnitData(Unit unit, uint32_t id) {
  return FindResource<ResData>(unit, id, ResKind::Data);
}

}  // namespace qzc
