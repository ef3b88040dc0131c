#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "afx.h"

BOOL CFile::GetStatus(LPCSTR path, CFileStatus& status) {
  status = CFileStatus{};
  if (!path || !*path) return FALSE;
  struct stat info;
  if (stat(path, &info) != 0) return FALSE;
  char full[PATH_MAX];
  if (!realpath(path, full)) return FALSE;
  size_t length = strlen(full);
  if (length >= sizeof status.m_szFullName) return FALSE;
  memcpy(status.m_szFullName, full, length + 1);
  bool isDirectory = S_ISDIR(info.st_mode);
  status.m_size = isDirectory ? 0 : static_cast<uint64_t>(info.st_size);
  status.m_ctime = info.st_ctime;
  status.m_mtime = info.st_mtime;
  status.m_atime = info.st_atime;
  if (isDirectory) status.m_attribute |= directory;
  if (!(info.st_mode & S_IWUSR)) status.m_attribute |= readOnly;
  return TRUE;
}
