#include "edit_model.h"

namespace qz::controls {
namespace {

bool IsWordChar(char c) {
  return c != ' ' && c != '\t' && c != '\r' && c != '\n';
}

}  // namespace

size_t EditModel::Clamp(size_t position) const {
  if (position > text_.size()) position = text_.size();
  if (position > 0 && position < text_.size() && text_[position - 1] == '\r' && text_[position] == '\n') --position;
  return position;
}

void EditModel::SetText(std::string_view text) {
  text_.assign(text.data(), text.size());
  anchor_ = caret_ = 0;
}

void EditModel::Select(size_t anchor, size_t caret) {
  anchor_ = Clamp(anchor);
  caret_ = Clamp(caret);
}

void EditModel::MoveCaret(size_t position, bool extend) {
  caret_ = Clamp(position);
  if (!extend) anchor_ = caret_;
}

size_t EditModel::RoomForInsert() const {
  size_t kept = text_.size() - (SelectionEnd() - SelectionStart());
  return kept >= limit_ ? 0 : limit_ - kept;
}

bool EditModel::ReplaceSelection(std::string_view insert) {
  size_t start = SelectionStart();
  size_t end = SelectionEnd();
  if (start == end && insert.empty()) return false;
  text_.replace(start, end - start, insert.data(), insert.size());
  anchor_ = caret_ = start + insert.size();
  modified_ = true;
  return true;
}

bool EditModel::DeleteBackward() {
  if (!HasSelection()) {
    if (caret_ == 0) return false;
    anchor_ = PreviousPosition(caret_);
  }
  return ReplaceSelection({});
}

bool EditModel::DeleteForward() {
  if (!HasSelection()) {
    if (caret_ >= text_.size()) return false;
    anchor_ = NextPosition(caret_);
  }
  return ReplaceSelection({});
}

void EditModel::PreviewReplace(std::string_view insert, std::string* out) const {
  size_t start = SelectionStart();
  size_t end = SelectionEnd();
  out->assign(text_, 0, start);
  out->append(insert.data(), insert.size());
  out->append(text_, end, std::string::npos);
}

size_t EditModel::PreviousPosition(size_t position) const {
  if (position == 0) return 0;
  if (position >= 2 && text_[position - 2] == '\r' && text_[position - 1] == '\n') return position - 2;
  return position - 1;
}

size_t EditModel::NextPosition(size_t position) const {
  if (position >= text_.size()) return text_.size();
  if (text_[position] == '\r' && position + 1 < text_.size() && text_[position + 1] == '\n') return position + 2;
  return position + 1;
}

size_t EditModel::PreviousWord(size_t position) const {
  while (position > 0 && !IsWordChar(text_[position - 1])) --position;
  while (position > 0 && IsWordChar(text_[position - 1])) --position;
  return position;
}

size_t EditModel::NextWord(size_t position) const {
  while (position < text_.size() && IsWordChar(text_[position])) ++position;
  while (position < text_.size() && !IsWordChar(text_[position])) ++position;
  return Clamp(position);
}

void EditModel::WordAround(size_t position, size_t* start, size_t* end) const {
  position = Clamp(position);
  size_t s = position;
  size_t e = position;
  while (s > 0 && IsWordChar(text_[s - 1])) --s;
  while (e < text_.size() && IsWordChar(text_[e])) ++e;
  *start = s;
  *end = e;
}

}  // namespace qz::controls
