// Core of the framework: the object root, strings, times and file status.
#pragma once

#include <cstdint>
#include <ctime>

#include "afxstr.h"
#include "atltypes.h"
#include "windows.h"

#ifndef _MAX_PATH
#define _MAX_PATH 260
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif

class CObject {
 public:
  virtual ~CObject() = default;

 protected:
  CObject() = default;
};

class CTime {
 public:
  CTime() = default;
  CTime(time_t t) : m_time(t) {}
  time_t GetTime() const { return m_time; }
  bool operator==(CTime t) const { return m_time == t.m_time; }
  bool operator!=(CTime t) const { return m_time != t.m_time; }
  bool operator<(CTime t) const { return m_time < t.m_time; }

 private:
  time_t m_time = 0;
};

struct CFileStatus {
  CTime m_ctime;
  CTime m_mtime;
  CTime m_atime;
  uint64_t m_size = 0;
  BYTE m_attribute = 0;  // CFile::Attribute bits
  BYTE m_padding = 0;
  char m_szFullName[_MAX_PATH] = {};
};

class CFile : public CObject {
 public:
  enum Attribute {
    normal = 0x00,
    readOnly = 0x01,
    hidden = 0x02,
    system = 0x04,
    volume = 0x08,
    directory = 0x10,
    archive = 0x20,
  };

  // Fills `status` for the file or directory at `path`. Fails (FALSE, empty
  // full name) when the path does not exist or its absolute form does not fit
  // m_szFullName.
  static BOOL GetStatus(LPCSTR path, CFileStatus& status);
};
