#include "qzsystem/prefs.h"

#include <mutex>

#include "qzsystem/taglist.h"

namespace {

struct Preferences {
  std::mutex Mutex;
  TagList Values;
};

Preferences& Prefs() {
  static Preferences prefs;
  return prefs;
}

intptr_t DefaultPref(uint32_t tag) {
  switch (tag) {
    case PrefGrabTolerance:
      return 5;
    case PrefColourDepth:
      return 0;
    default:
      return 0;
  }
}

}  // namespace

intptr_t GetPrefLong(uint32_t tag) {
  Preferences& prefs = Prefs();
  std::lock_guard<std::mutex> guard(prefs.Mutex);
  return prefs.Values.GetLong(tag, DefaultPref(tag));
}

void SetPrefLong(uint32_t tag, intptr_t value) {
  Preferences& prefs = Prefs();
  std::lock_guard<std::mutex> guard(prefs.Mutex);
  prefs.Values.Set(tag, value);
}

void ResetPrefs() {
  Preferences& prefs = Prefs();
  std::lock_guard<std::mutex> guard(prefs.Mutex);
  prefs.Values.Clear();
}
