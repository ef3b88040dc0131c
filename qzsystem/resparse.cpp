#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "qzsystem/resources.h"

namespace {

// The words of `text` outside '#' comments, line by line.
std::vector<std::vector<std::string>> Lines(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream input(text);
  std::string line;
  while (std::getline(input, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::vector<std::string> items;
    for (std::string word; words >> word;) items.push_back(word);
    if (!items.empty()) lines.push_back(std::move(items));
  }
  return lines;
}

bool ParseInteger(const std::string& word, int base, long long* out) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(word.c_str(), &end, base);
  if (errno != 0 || end == word.c_str() || *end != '\0') return false;
  *out = value;
  return true;
}

bool IsHex(const std::string& word) {
  return word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X');
}

}  // namespace

bool ParseColour(const std::string& text, COLORREF* colour, COLORREF* background) {
  const auto lines = Lines(text);
  std::vector<std::string> words;
  for (const auto& line : lines) words.insert(words.end(), line.begin(), line.end());
  if (words.size() != 3 && words.size() != 6) return false;
  long long channel[6];
  for (size_t i = 0; i < words.size(); ++i) {
    if (!ParseInteger(words[i], 10, &channel[i]) || channel[i] < 0 || channel[i] > 255) return false;
  }
  *colour = RGB(channel[0], channel[1], channel[2]);
  // Without a second line the background is the colour itself.
  const size_t b = words.size() == 6 ? 3 : 0;
  if (background) *background = RGB(channel[b], channel[b + 1], channel[b + 2]);
  return true;
}

bool ParseTagList(const std::string& text, TagList* tags) {
  TagList parsed;
  for (const auto& line : Lines(text)) {
    long long tag = 0;
    if (line.size() != 2 || !IsHex(line[0]) || !ParseInteger(line[0], 16, &tag) || tag <= 0 || tag > 0xffffffffLL) {
      return false;
    }
    const std::string& word = line[1];
    if (word.find('.') != std::string::npos) {
      errno = 0;
      char* end = nullptr;
      const double value = std::strtod(word.c_str(), &end);
      if (errno != 0 || *end != '\0') return false;
      parsed.AddDouble(static_cast<uint32_t>(tag), value);
    } else {
      long long value = 0;
      if (!ParseInteger(word, IsHex(word) ? 16 : 10, &value)) return false;
      parsed.Add(static_cast<uint32_t>(tag), static_cast<intptr_t>(value));
    }
  }
  *tags = std::move(parsed);
  return true;
}
