// The contents of an INI file: named sections of key=value lines. Section
// and key names compare case-insensitively and keep the case first written;
// lines that are neither (comments, junk) are kept in place.
#pragma once

#include <string>
#include <vector>

namespace afx {

class IniProfile {
 public:
  void Parse(const std::string& text);
  std::string Serialize() const;

  const std::string* Find(const std::string& section, const std::string& key) const;
  // A value is one line: it ends at the first line break.
  void Set(const std::string& section, const std::string& key, const std::string& value);
  bool RemoveKey(const std::string& section, const std::string& key);
  bool RemoveSection(const std::string& section);
  void Clear() { sections_.clear(); }

 private:
  struct Line {
    std::string key;  // empty: `text` is kept as it was read
    std::string text;
  };
  struct Section {
    std::string name;  // empty for lines before the first section
    std::vector<Line> lines;
  };

  Section* FindSection(const std::string& name);
  const Section* FindSection(const std::string& name) const;

  std::vector<Section> sections_;
};

}  // namespace afx
