// The text of an edit control with its selection and limit, apart from any
// window: positions are byte offsets, a "\r\n" line break is one step.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qz::controls {

class EditModel {
 public:
  static constexpr size_t kDefaultLimit = 32767;

  const std::string& Text() const { return text_; }
  size_t Length() const { return text_.size(); }
  size_t Caret() const { return caret_; }
  size_t Anchor() const { return anchor_; }
  size_t SelectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool HasSelection() const { return anchor_ != caret_; }

  size_t Limit() const { return limit_; }
  void SetLimit(size_t limit) { limit_ = limit; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // Replaces the whole text, caret at the start; the limit does not apply.
  void SetText(std::string_view text);

  // Positions are clamped to the text and kept off the middle of a line break.
  void Select(size_t anchor, size_t caret);
  void MoveCaret(size_t position, bool extend);
  void SelectAll() { Select(0, text_.size()); }

  // Room left under the limit once the selection is replaced.
  size_t RoomForInsert() const;

  // Replaces the selection with `insert`; the caret ends after it. Returns
  // whether the text changed; marks the text modified when it did.
  bool ReplaceSelection(std::string_view insert);
  bool DeleteBackward();
  bool DeleteForward();

  // `text` with the selection replaced by `insert`, into `out` (reused storage).
  void PreviewReplace(std::string_view insert, std::string* out) const;

  size_t PreviousPosition(size_t position) const;
  size_t NextPosition(size_t position) const;
  size_t PreviousWord(size_t position) const;
  size_t NextWord(size_t position) const;
  void WordAround(size_t position, size_t* start, size_t* end) const;

 private:
  size_t Clamp(size_t position) const;

  std::string text_;
  size_t anchor_ = 0;
  size_t caret_ = 0;
  size_t limit_ = kDefaultLimit;
  bool modified_ = false;
};

}  // namespace qz::controls
