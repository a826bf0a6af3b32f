#include "platform.h"

// What the search finds under the path (ours hold no wildcards); FALSE when
// nothing is there.
BOOL FindFileData(LPCSTR pszPath, WIN32_FIND_DATAA *pfd) {
  HANDLE hFind = FindFirstFileA(pszPath, pfd);
  if (hFind == INVALID_HANDLE_VALUE) return FALSE;
  FindClose(hFind);
  return TRUE;
}

// 0: nothing there; 1: a folder; otherwise the low 32 bits of the file's
// last-write time, which the installer compares as a version stamp.
DWORD ProbeFile(LPCSTR pszPath) {
  WIN32_FIND_DATAA fd;
  if (!FindFileData(pszPath, &fd)) return 0;
  return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : fd.ftLastWriteTime.dwLowDateTime;
}

// Opened for its attributes only, so that no other program's sharing mode
// stands in the way.
static BOOL ReadFileIdentity(LPCSTR pszPath, BY_HANDLE_FILE_INFORMATION *pInfo) {
  HANDLE hFile =
      CreateFileA(pszPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  if (hFile == INVALID_HANDLE_VALUE) return FALSE;
  BOOL bRead = GetFileInformationByHandle(hFile, pInfo);
  CloseHandle(hFile);
  return bRead;
}

// Whether two paths name the same file, however each is spelt (a short form,
// another case, another route to the folder): the same volume and the same
// file index.
BOOL IsSameFile(LPCSTR pszPath1, LPCSTR pszPath2) {
  BY_HANDLE_FILE_INFORMATION info1, info2;
  return ReadFileIdentity(pszPath1, &info1) && ReadFileIdentity(pszPath2, &info2) &&
         info1.dwVolumeSerialNumber == info2.dwVolumeSerialNumber &&
         info1.nFileIndexHigh == info2.nFileIndexHigh && info1.nFileIndexLow == info2.nFileIndexLow;
}
