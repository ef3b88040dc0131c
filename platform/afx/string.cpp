#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "afxstr.h"

namespace {

int Clamp(int value, int low, int high) {
  return std::min(std::max(value, low), high);
}

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

CString::CString(LPCSTR text, int length) {
  if (text && length > 0) m_str.assign(text, strnlen(text, static_cast<size_t>(length)));
}

LPSTR CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_str.resize(static_cast<size_t>(minLength));
  return m_str.data();
}

LPSTR CString::GetBufferSetLength(int length) {
  m_str.resize(static_cast<size_t>(std::max(length, 0)));
  return m_str.data();
}

void CString::ReleaseBuffer(int newLength) {
  // std::string keeps a NUL after its last character, so strlen stays inside.
  size_t length = newLength < 0 ? strlen(m_str.c_str()) : static_cast<size_t>(newLength);
  m_str.resize(std::min(length, m_str.size()));
}

int CString::Compare(LPCSTR text) const {
  return strcmp(m_str.c_str(), text ? text : "");
}

int CString::CompareNoCase(LPCSTR text) const {
  return strcasecmp(m_str.c_str(), text ? text : "");
}

void CString::Format(LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) {
    m_str.clear();
  } else {
    m_str.resize(static_cast<size_t>(length));
    vsnprintf(m_str.data(), static_cast<size_t>(length) + 1, format, args);
  }
  va_end(args);
}

CString CString::Left(int count) const {
  return CString(m_str.substr(0, Clamp(count, 0, GetLength())));
}

CString CString::Mid(int first) const {
  return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
  first = Clamp(first, 0, GetLength());
  count = Clamp(count, 0, GetLength() - first);
  return CString(m_str.substr(first, count));
}

CString CString::Right(int count) const {
  count = Clamp(count, 0, GetLength());
  return CString(m_str.substr(m_str.size() - count));
}

int CString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  size_t at = m_str.find(ch, start);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(LPCSTR text, int start) const {
  if (!text || start < 0 || start > GetLength()) return -1;
  size_t at = m_str.find(text, start);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
  size_t at = m_str.rfind(ch);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::FindOneOf(LPCSTR chars) const {
  if (!chars) return -1;
  size_t at = m_str.find_first_of(chars);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

void CString::MakeLower() {
  std::transform(m_str.begin(), m_str.end(), m_str.begin(), Lower);
}

void CString::MakeUpper() {
  std::transform(m_str.begin(), m_str.end(), m_str.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
}

void CString::TrimLeft() {
  size_t first = 0;
  while (first < m_str.size() && std::isspace(static_cast<unsigned char>(m_str[first]))) ++first;
  m_str.erase(0, first);
}

void CString::TrimRight() {
  size_t end = m_str.size();
  while (end > 0 && std::isspace(static_cast<unsigned char>(m_str[end - 1]))) --end;
  m_str.resize(end);
}

int CString::Replace(char from, char to) {
  int count = 0;
  for (char& c : m_str) {
    if (c == from) c = to, ++count;
  }
  return count;
}

int CString::Replace(LPCSTR from, LPCSTR to) {
  if (!from || !*from) return 0;
  std::string replacement = to ? to : "";
  size_t fromLength = strlen(from);
  int count = 0;
  for (size_t at = m_str.find(from); at != std::string::npos; at = m_str.find(from, at + replacement.size())) {
    m_str.replace(at, fromLength, replacement);
    ++count;
  }
  return count;
}
