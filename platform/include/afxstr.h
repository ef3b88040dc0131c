// The framework's string: a value type over std::string with the familiar
// interface. Positions and lengths are in bytes; out-of-range arguments are
// clamped as the framework does rather than failing.
#pragma once

#include <string>

#include "windef.h"

class CString {
 public:
  CString() = default;
  CString(LPCSTR text) : m_str(text ? text : "") {}
  CString(LPCSTR text, int length);
  CString(char ch, int repeat = 1) : m_str(repeat > 0 ? repeat : 0, ch) {}
  CString(const std::string& text) : m_str(text) {}

  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  char GetAt(int index) const { return m_str[index]; }
  char operator[](int index) const { return m_str[index]; }
  void SetAt(int index, char ch) { m_str[index] = ch; }
  operator LPCSTR() const { return m_str.c_str(); }
  LPCSTR GetString() const { return m_str.c_str(); }
  const std::string& Std() const { return m_str; }

  // A writable buffer of at least `minLength` characters plus the NUL; the
  // length is fixed again by ReleaseBuffer (-1: up to the first NUL).
  LPSTR GetBuffer(int minLength = 0);
  LPSTR GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  CString& operator=(LPCSTR text) {
    m_str = text ? text : "";
    return *this;
  }
  CString& operator=(char ch) {
    m_str.assign(1, ch);
    return *this;
  }
  CString& operator+=(const CString& s) {
    m_str += s.m_str;
    return *this;
  }
  CString& operator+=(LPCSTR text) {
    if (text) m_str += text;
    return *this;
  }
  CString& operator+=(char ch) {
    m_str += ch;
    return *this;
  }

  int Compare(LPCSTR text) const;
  int CompareNoCase(LPCSTR text) const;

  void Format(LPCSTR format, ...) __attribute__((format(printf, 2, 3)));

  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;

  int Find(char ch, int start = 0) const;
  int Find(LPCSTR text, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR chars) const;

  void MakeLower();
  void MakeUpper();
  void TrimLeft();
  void TrimRight();
  int Replace(char from, char to);
  int Replace(LPCSTR from, LPCSTR to);

  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
  friend CString operator+(const CString& a, LPCSTR b) { return CString(a.m_str + (b ? b : "")); }
  friend CString operator+(LPCSTR a, const CString& b) { return CString((a ? a : "") + b.m_str); }
  friend CString operator+(const CString& a, char b) { return CString(a.m_str + b); }
  friend CString operator+(char a, const CString& b) { return CString(a + b.m_str); }

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
  friend bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
  friend bool operator!=(LPCSTR a, const CString& b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

 private:
  std::string m_str;
};
