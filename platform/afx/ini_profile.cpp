#include "ini_profile.h"

#include <algorithm>
#include <sstream>
#include <strings.h>

namespace afx {

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string Trim(const std::string& text) {
  const char* space = " \t\r";
  size_t first = text.find_first_not_of(space);
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(space);
  return text.substr(first, last - first + 1);
}

std::string FirstLine(const std::string& text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

void IniProfile::Parse(const std::string& text) {
  sections_.clear();
  sections_.push_back(Section{});
  std::istringstream in(text);
  std::string raw;
  while (std::getline(in, raw)) {
    std::string line = Trim(raw);
    if (line.size() >= 2 && line.front() == '[' && line.find(']') != std::string::npos) {
      sections_.push_back(Section{Trim(line.substr(1, line.find(']') - 1)), {}});
      continue;
    }
    size_t equals = line.find('=');
    bool comment = line.empty() || line.front() == ';' || line.front() == '#';
    if (comment || equals == std::string::npos || equals == 0) {
      if (!line.empty()) sections_.back().lines.push_back(Line{std::string(), line});
      continue;
    }
    sections_.back().lines.push_back(Line{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
  }
  if (sections_.front().lines.empty()) sections_.erase(sections_.begin());
}

std::string IniProfile::Serialize() const {
  std::string out;
  for (const Section& section : sections_) {
    if (!section.name.empty()) out += "[" + section.name + "]\n";
    for (const Line& line : section.lines)
      out += line.key.empty() ? line.text + "\n" : line.key + "=" + line.text + "\n";
  }
  return out;
}

IniProfile::Section* IniProfile::FindSection(const std::string& name) {
  auto it = std::find_if(sections_.begin(), sections_.end(),
                         [&](const Section& s) { return !s.name.empty() && SameName(s.name, name); });
  return it == sections_.end() ? nullptr : &*it;
}

const IniProfile::Section* IniProfile::FindSection(const std::string& name) const {
  return const_cast<IniProfile*>(this)->FindSection(name);
}

const std::string* IniProfile::Find(const std::string& section, const std::string& key) const {
  const Section* found = FindSection(section);
  if (!found) return nullptr;
  for (const Line& line : found->lines) {
    if (!line.key.empty() && SameName(line.key, key)) return &line.text;
  }
  return nullptr;
}

void IniProfile::Set(const std::string& section, const std::string& key, const std::string& value) {
  Section* found = FindSection(section);
  if (!found) {
    sections_.push_back(Section{section, {}});
    found = &sections_.back();
  }
  std::string line = Trim(FirstLine(value));
  for (Line& existing : found->lines) {
    if (!existing.key.empty() && SameName(existing.key, key)) {
      existing.text = line;
      return;
    }
  }
  found->lines.push_back(Line{key, line});
}

bool IniProfile::RemoveKey(const std::string& section, const std::string& key) {
  Section* found = FindSection(section);
  if (!found) return false;
  auto& lines = found->lines;
  auto it = std::find_if(lines.begin(), lines.end(),
                         [&](const Line& line) { return !line.key.empty() && SameName(line.key, key); });
  if (it == lines.end()) return false;
  lines.erase(it);
  return true;
}

bool IniProfile::RemoveSection(const std::string& section) {
  Section* found = FindSection(section);
  if (!found) return false;
  sections_.erase(sections_.begin() + (found - sections_.data()));
  return true;
}

}  // namespace afx
