// Loading the controls module the way the host does: dlopen, then find its
// classes in the class registry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Registry;
class InputControl;

namespace qzh {

struct ClassInfo {
  std::string Name;
  uint32_t Id;
  intptr_t Type;
  Registry* Record;
};

class Module {
 public:
  Module() = default;
  ~Module() { Unload(); }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Loads the library (by default the one built beside the host); false with
  // Error() set when it cannot be loaded.
  bool Load(const std::string& path = DefaultPath());
  // Unloads it; true when the library really left the process.
  bool Unload();
  bool Loaded() const { return Handle != nullptr; }
  const std::string& Error() const { return LastError; }

  static std::string DefaultPath();

 private:
  void* Handle = nullptr;
  std::string LoadedPath;
  std::string LastError;
};

// The control classes in the registry, in registration order.
std::vector<ClassInfo> ControlClasses();
// The four characters of a class ID, in memory order.
std::string IdText(uint32_t id);
// A new panel control through its registration; null when the class is not
// registered, is not a panel control, or its creator fails.
InputControl* CreatePanelControl(const char* className);

}  // namespace qzh
