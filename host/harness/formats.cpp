#include "harness/formats.h"

#include "qzsystem/object.h"
#include "qzsystem/registry.h"

namespace qzh {
namespace {

constexpr uint32_t CanLoadTag = 0x10000064;
constexpr uint32_t CanSaveTag = 0x10000065;
constexpr uint32_t DescriptionTag = 0x10000069;
constexpr uint32_t ExtensionTag = 0x18000064;

}  // namespace

FormatRegistrations::FormatRegistrations() = default;

FormatRegistrations::~FormatRegistrations() {
  Clear();
}

void FormatRegistrations::Add(const char* name, uint32_t id, bool canLoad, bool canSave, const char* description,
                              std::initializer_list<const char*> extensions) {
  auto record = std::make_unique<Registry>(
      &ClassRegistry, name, static_cast<uintptr_t>(RegistryClassTypeTag), static_cast<uintptr_t>(ClassTypeFileFormat),
      static_cast<uintptr_t>(RegistryClassIDTag), static_cast<uintptr_t>(id), static_cast<uintptr_t>(0));
  record->Tags.Add(CanLoadTag, canLoad ? 1 : 0);
  record->Tags.Add(CanSaveTag, canSave ? 1 : 0);
  record->Tags.Add(DescriptionTag, reinterpret_cast<intptr_t>(Texts.emplace_back(description).c_str()));
  for (const char* extension : extensions)
    record->Tags.Add(ExtensionTag, reinterpret_cast<intptr_t>(Texts.emplace_back(extension).c_str()));
  Records.push_back(std::move(record));
}

void FormatRegistrations::AddSampleFormats() {
  Add("TargaFormat", MakeID("TGAf"), true, true, "Targa", {".tga", ".Targa", ".VDA"});
  Add("PNGFormat", MakeID("PNGf"), true, true, "Portable Network Graphics", {".png"});
  Add("JPEGFormat", MakeID("JPGf"), true, false, "JPEG", {".jpg", ".JPEG", ".jpe"});
  Add("CineonFormat", MakeID("CINf"), false, true, "Cineon", {".cin", ".DPX"});
  Add("PreviewFormat", MakeID("PRVf"), false, false, "Preview cache", {".qzp"});
}

void FormatRegistrations::Clear() {
  while (!Records.empty()) Records.pop_back();
  Texts.clear();
}

}  // namespace qzh
