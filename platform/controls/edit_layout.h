// Lines of an edit control's text: split at line breaks ("\r\n" or "\n") and,
// when a wrap width is given, at word boundaries so that each line fits.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qz::controls {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual int Width(const char* text, size_t length) const = 0;
};

struct EditLine {
  size_t start;  // first character
  size_t end;    // one past the last shown character
  size_t next;   // start of the following line (past the line break)
};

class EditLayout {
 public:
  // wrapWidth <= 0: lines end only at line breaks; !multiline: one line.
  void Build(const std::string& text, bool multiline, int wrapWidth, const TextMeasure& measure);

  size_t LineCount() const { return lines_.size(); }
  const EditLine& Line(size_t index) const { return lines_[index]; }
  // A position at a wrap point belongs to the line it starts.
  size_t LineOf(size_t position) const;

  // Pixel offset of `position` from the start of its line.
  int XOf(const std::string& text, size_t position, const TextMeasure& measure) const;
  // The position of `line` nearest to pixel offset `x` from the line's start.
  size_t PositionAt(const std::string& text, size_t line, int x, const TextMeasure& measure) const;

 private:
  void WrapParagraph(const std::string& text, size_t start, size_t end, size_t next, int wrapWidth,
                     const TextMeasure& measure);

  std::vector<EditLine> lines_;
};

}  // namespace qz::controls
