#include "paths.h"
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
// stands in the way; the identity is read while the file is open.
static HANDLE OpenForIdentity(LPCSTR pszPath, BY_HANDLE_FILE_INFORMATION *pInfo) {
  HANDLE hFile =
      CreateFileA(pszPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
  if (hFile != INVALID_HANDLE_VALUE && !GetFileInformationByHandle(hFile, pInfo)) {
    CloseHandle(hFile);
    hFile = INVALID_HANDLE_VALUE;
  }
  return hFile;
}

// Whether two paths name the same file, however each is spelt (a short form,
// another case, another route to the folder): the same short path, or the
// same volume and file index while both are open. An index is only sure
// while its file is open, and Windows 95's FAT promises none.
// Both paths fit MAX_PATH.
BOOL IsSameFile(LPCSTR pszPath1, LPCSTR pszPath2) {
  char szShort1[MAX_PATH], szShort2[MAX_PATH];
  lstrcpyA(szShort1, pszPath1);
  lstrcpyA(szShort2, pszPath2);
  ShortenPath(szShort1);
  ShortenPath(szShort2);
  if (lstrcmpiA(szShort1, szShort2) == 0) return TRUE;
  BY_HANDLE_FILE_INFORMATION info1, info2;
  HANDLE hFile1 = OpenForIdentity(pszPath1, &info1), hFile2 = OpenForIdentity(pszPath2, &info2);
  BOOL bSame = hFile1 != INVALID_HANDLE_VALUE && hFile2 != INVALID_HANDLE_VALUE &&
               info1.dwVolumeSerialNumber == info2.dwVolumeSerialNumber &&
               info1.nFileIndexHigh == info2.nFileIndexHigh &&
               info1.nFileIndexLow == info2.nFileIndexLow;
  if (hFile1 != INVALID_HANDLE_VALUE) CloseHandle(hFile1);
  if (hFile2 != INVALID_HANDLE_VALUE) CloseHandle(hFile2);
  return bSame;
}
