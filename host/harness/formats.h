// File-format registrations as the host makes them (class type 512): the
// clip chooser builds its dialog filter from them.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class Registry;

namespace qzh {

class FormatRegistrations {
 public:
  FormatRegistrations();
  ~FormatRegistrations();
  FormatRegistrations(const FormatRegistrations&) = delete;
  FormatRegistrations& operator=(const FormatRegistrations&) = delete;

  // Registers a format at the end of the class registry; each extension is
  // given with its dot (".tga").
  void Add(const char* name, uint32_t id, bool canLoad, bool canSave, const char* description,
           std::initializer_list<const char*> extensions);
  // The reference host's own formats: load only, save only and both, with
  // several extensions in mixed case.
  void AddSampleFormats();
  void Clear();

 private:
  std::vector<std::unique_ptr<Registry>> Records;
  std::deque<std::string> Texts;  // the strings the records point to
};

}  // namespace qzh
