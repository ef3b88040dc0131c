#include "harness/module.h"

#include <dlfcn.h>

#include <sys/stat.h>

#include <cstdlib>

#include "qzsystem/inputcontrol.h"
#include "qzsystem/registry.h"
#include "qzsystem/resources.h"

namespace qzh {

// The module is installed beside the host library; in the build tree both
// are in the same folder too, so the built-in path is only the last resort.
std::string Module::DefaultPath() {
  if (const char* env = std::getenv("QZ_MODULE")) return env;
  const std::string folder = LibraryFolder();
  if (!folder.empty()) {
    const std::string beside = folder + "/libqzcontrols.so";
    struct stat st;
    if (stat(beside.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return beside;
  }
  return QZ_DEFAULT_MODULE;
}

bool Module::Load(const std::string& path) {
  if (Handle) return true;
  Handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!Handle) {
    const char* error = dlerror();
    LastError = error ? error : "cannot load " + path;
    return false;
  }
  LoadedPath = path;
  return true;
}

bool Module::Unload() {
  if (!Handle) return true;
  dlclose(Handle);
  Handle = nullptr;
  // RTLD_NOLOAD finds the library only if it is still in the process.
  void* still = dlopen(LoadedPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (still) {
    dlclose(still);
    return false;
  }
  return true;
}

std::vector<ClassInfo> ControlClasses() {
  std::vector<ClassInfo> classes;
  if (!ClassRegistry) return classes;
  ClassRegistry->ObtainReadLock();
  for (Registry* reg = ClassRegistry->GetFirst(); reg; reg = ClassRegistry->GetNext(reg)) {
    intptr_t type = reg->GetData(RegistryClassTypeTag);
    if (type != ClassTypePanelControl && type != ClassTypeViewerControl) continue;
    classes.push_back({reg->Name, static_cast<uint32_t>(reg->GetData(RegistryClassIDTag)), type, reg});
  }
  ClassRegistry->ReleaseReadLock();
  return classes;
}

std::string IdText(uint32_t id) {
  std::string text;
  for (int i = 0; i < 4; ++i) text += static_cast<char>((id >> (8 * i)) & 0xff);
  return text;
}

InputControl* CreatePanelControl(const char* className) {
  Registry* reg = FindRegistryByName(className);
  if (!reg || reg->GetData(RegistryClassTypeTag) != ClassTypePanelControl) return nullptr;
  auto creator = reinterpret_cast<InputControl* (*)()>(reg->GetData(RegistryCreatorTag));
  return creator ? creator() : nullptr;
}

}  // namespace qzh
