#include "edit_layout.h"

#include <cstdlib>

namespace qz::controls {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

void EditLayout::Build(const std::string& text, bool multiline, int wrapWidth, const TextMeasure& measure) {
  lines_.clear();
  if (!multiline) {
    lines_.push_back({0, text.size(), text.size()});
    return;
  }
  size_t start = 0;
  for (;;) {
    size_t end = start;
    while (end < text.size() && text[end] != '\n' &&
           !(text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n'))
      ++end;
    bool lastParagraph = end >= text.size();
    size_t next = lastParagraph ? end : end + (text[end] == '\r' ? 2 : 1);
    WrapParagraph(text, start, end, next, wrapWidth, measure);
    if (lastParagraph) break;
    start = next;
  }
}

void EditLayout::WrapParagraph(const std::string& text, size_t start, size_t end, size_t next, int wrapWidth,
                               const TextMeasure& measure) {
  const char* base = text.data();
  size_t lineStart = start;
  while (wrapWidth > 0 && lineStart < end && measure.Width(base + lineStart, end - lineStart) > wrapWidth) {
    size_t fit = lineStart;
    size_t i = lineStart;
    while (i < end) {
      size_t wordEnd = i;
      while (wordEnd < end && !IsBlank(text[wordEnd])) ++wordEnd;
      if (measure.Width(base + lineStart, wordEnd - lineStart) > wrapWidth) break;
      while (wordEnd < end && IsBlank(text[wordEnd])) ++wordEnd;
      fit = wordEnd;
      i = wordEnd;
    }
    if (fit == lineStart) {
      // A word wider than the line is broken between characters; at least one goes on each line.
      fit = lineStart + 1;
      while (fit < end && measure.Width(base + lineStart, fit + 1 - lineStart) <= wrapWidth) ++fit;
    }
    if (fit >= end) break;
    lines_.push_back({lineStart, fit, fit});
    lineStart = fit;
  }
  lines_.push_back({lineStart, end, next});
}

size_t EditLayout::LineOf(size_t position) const {
  size_t low = 0;
  size_t high = lines_.size();
  while (high - low > 1) {
    size_t mid = (low + high) / 2;
    if (lines_[mid].start <= position) {
      low = mid;
    } else {
      high = mid;
    }
  }
  return low;
}

int EditLayout::XOf(const std::string& text, size_t position, const TextMeasure& measure) const {
  const EditLine& line = lines_[LineOf(position)];
  if (position > line.end) position = line.end;
  return measure.Width(text.data() + line.start, position - line.start);
}

size_t EditLayout::PositionAt(const std::string& text, size_t lineIndex, int x, const TextMeasure& measure) const {
  const EditLine& line = lines_[lineIndex];
  // The end of a wrapped line is the start of the next one, where the caret would show.
  size_t last = (line.end == line.next && line.end < text.size() && line.end > line.start) ? line.end - 1 : line.end;
  size_t best = line.start;
  int bestDistance = std::abs(x);
  for (size_t p = line.start + 1; p <= last; ++p) {
    int distance = std::abs(measure.Width(text.data() + line.start, p - line.start) - x);
    if (distance < bestDistance) {
      best = p;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace qz::controls
