#include <fstream>
#include <sstream>

#include "app_profile.h"

namespace {

bool ReadFile(const CString& path, std::string* text) {
  std::ifstream in(path.GetString(), std::ios::binary);
  if (!in) return false;
  std::ostringstream contents;
  contents << in.rdbuf();
  *text = contents.str();
  return true;
}

bool WriteFile(const CString& path, const std::string& text) {
  std::ofstream out(path.GetString(), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << text;
  out.flush();
  return static_cast<bool>(out);
}

// As the platform reads profile integers: optional sign, decimal or 0x hex,
// digits up to the first other character; no digits reads as 0.
int ParseProfileInt(const std::string& text) {
  const char* p = text.c_str();
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) base = 16, p += 2;
  unsigned long value = 0;
  for (;; ++p) {
    int digit;
    if (*p >= '0' && *p <= '9') {
      digit = *p - '0';
    } else if (base == 16 && *p >= 'a' && *p <= 'f') {
      digit = *p - 'a' + 10;
    } else if (base == 16 && *p >= 'A' && *p <= 'F') {
      digit = *p - 'A' + 10;
    } else {
      break;
    }
    value = (value * base + digit) & 0xffffffffUL;
  }
  auto result = static_cast<uint32_t>(value);
  return static_cast<int>(negative ? 0u - result : result);
}

}  // namespace

void CWinApp::SetProfilePath(LPCSTR path) {
  m_profilePath = path;
  m_pszProfileName = m_profilePath.IsEmpty() ? nullptr : m_profilePath.GetString();
  std::string text;
  if (!m_profilePath.IsEmpty() && ReadFile(m_profilePath, &text)) {
    m_profile->contents.Parse(text);
  } else {
    m_profile->contents.Clear();
  }
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue) {
  const std::string* value = section && key ? m_profile->contents.Find(section, key) : nullptr;
  if (value) return CString(*value);
  return CString(defaultValue);
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR key, LPCSTR value) {
  if (!section) return FALSE;
  afx::IniProfile changed = m_profile->contents;
  if (!key) {
    changed.RemoveSection(section);
  } else if (!value) {
    changed.RemoveKey(section, key);
  } else {
    changed.Set(section, key, value);
  }
  if (!m_profilePath.IsEmpty() && !WriteFile(m_profilePath, changed.Serialize())) return FALSE;
  m_profile->contents = std::move(changed);
  return TRUE;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR key, int defaultValue) {
  const std::string* value = section && key ? m_profile->contents.Find(section, key) : nullptr;
  if (!value || value->empty()) return static_cast<UINT>(defaultValue);
  return static_cast<UINT>(ParseProfileInt(*value));
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR key, int value) {
  CString text;
  text.Format("%d", value);
  return WriteProfileString(section, key, text);
}
