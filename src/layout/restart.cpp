// Files that cannot be deleted now, because a program still has them open
// (Explorer keeps the shell extension loaded, Tokavi.exe may run): Windows
// deletes them when it next starts.
#include "restart.h"

#include "layout.h"
#include "paths.h"

typedef BOOL(WINAPI *MOVEFILEEXA)(LPCSTR, LPCSTR, DWORD);

// WININIT.INI, of 16 KiB at most: Windows 95 renames the file away each
// time it starts, so it holds a few lines. A larger one is left alone. Kept
// outside the stack, whose frames stay below a page.
static char s_szWininit[16384];

// Where the line after the first [rename] header begins, in a text ended
// by a zero; (DWORD)-1 when there is none.
static DWORD FindRenameLines(LPCSTR pszText, DWORD cchText) {
  for (DWORD i = 0; i < cchText; ++i) {
    if (i > 0 && pszText[i - 1] != '\n') continue;
    char szHeader[sizeof g_szRenameHeader];
    DWORD cch = 0;
    for (; cch < sizeof szHeader - 1 && i + cch < cchText; ++cch) szHeader[cch] = pszText[i + cch];
    szHeader[cch] = '\0';
    if (lstrcmpiA(szHeader, g_szRenameHeader) != 0) continue;
    while (i < cchText && pszText[i++] != '\n') {
    }
    return i;
  }
  return (DWORD)-1;
}

DWORD InsertWininitDeletion(LPSTR pszText, DWORD cchText, DWORD cbText, LPCSTR pszPath) {
  char szInsert[MAX_PATH + 32];
  DWORD dwAt = FindRenameLines(pszText, cchText);
  BOOL bNewSection = dwAt > cchText;
  if (bNewSection) dwAt = cchText;
  szInsert[0] = '\0';
  if (dwAt > 0 && pszText[dwAt - 1] != '\n') lstrcatA(szInsert, g_szLineEnd);
  if (bNewSection) {
    lstrcatA(szInsert, g_szRenameHeader);
    lstrcatA(szInsert, g_szLineEnd);
  }
  lstrcatA(szInsert, g_szDeleteLine);
  lstrcatA(szInsert, pszPath);
  lstrcatA(szInsert, g_szLineEnd);
  DWORD cchInsert = lstrlenA(szInsert);
  if (cchText + cchInsert >= cbText) return 0;
  for (DWORD i = cchText; i > dwAt; --i) pszText[i - 1 + cchInsert] = pszText[i - 1];
  for (DWORD i = 0; i < cchInsert; ++i) pszText[dwAt + i] = szInsert[i];
  return cchText + cchInsert;
}

// A new empty file of a free name in the folder, made by this run: never
// one that was there.
static BOOL CreateFreeFile(LPCSTR pszFolder, LPSTR pszPath) {
  return (BOOL)GetTempFileNameA(pszFolder, g_szMainExe, 0, pszPath);
}

// The text written whole to a file of a free name in the file's folder;
// the old file then moves aside under another, the new one takes its
// place, and the old one goes last: at no moment is the file missing. A
// failure on the way leaves the file as it was.
static BOOL ReplaceFileText(LPCSTR pszFolder, LPCSTR pszFile, LPCVOID pvText, DWORD cbText) {
  char szNew[MAX_PATH], szOld[MAX_PATH];
  if (!CreateFreeFile(pszFolder, szNew)) return FALSE;
  HANDLE hFile = CreateFileA(szNew, GENERIC_WRITE, 0, NULL, TRUNCATE_EXISTING, 0, NULL);
  DWORD cbWritten;
  BOOL bWritten = hFile != INVALID_HANDLE_VALUE &&
                  WriteFile(hFile, pvText, cbText, &cbWritten, NULL) && cbWritten == cbText;
  if (hFile != INVALID_HANDLE_VALUE && !CloseHandle(hFile)) bWritten = FALSE;
  BOOL bOld = GetFileAttributesA(pszFile) != INVALID_FILE_ATTRIBUTES;
  BOOL bAside = bWritten && (!bOld || (CreateFreeFile(pszFolder, szOld) && DeleteFileA(szOld) &&
                                       MoveFileA(pszFile, szOld)));
  if (bAside && MoveFileA(szNew, pszFile)) {
    if (bOld) DeleteFileA(szOld);
    return TRUE;
  }
  if (bAside && bOld) MoveFileA(szOld, pszFile);
  DeleteFileA(szNew);
  return FALSE;
}

// Windows 95 has no MoveFileEx: it deletes each file that a "NUL=" line of
// WININIT.INI's [rename] section names, by its short path, when it next
// starts. The line goes into the file as text; every other byte of it, the
// lines of other programs, comments, other sections, stays as it was.
static BOOL ScheduleWithWininit(LPCSTR pszPath) {
  char szShort[MAX_PATH], szFolder[MAX_PATH], szFile[MAX_PATH];
  DWORD cch = GetShortPathNameA(pszPath, szShort, MAX_PATH);
  UINT cchFolder = GetWindowsDirectoryA(szFolder, MAX_PATH);
  if (cch == 0 || cch >= MAX_PATH || cchFolder == 0 || cchFolder >= MAX_PATH ||
      !ComposePath(szFile, MAX_PATH, szFolder, g_szWininitFile))
    return FALSE;
  DWORD cbText = 0;
  HANDLE hFile = CreateFileA(szFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (hFile != INVALID_HANDLE_VALUE) {
    BOOL bRead = ReadFile(hFile, s_szWininit, sizeof s_szWininit, &cbText, NULL);
    CloseHandle(hFile);
    if (!bRead) return FALSE;
  } else if (GetFileAttributesA(szFile) != INVALID_FILE_ATTRIBUTES) {
    return FALSE;
  }
  if (cbText >= sizeof s_szWininit) return FALSE;
  s_szWininit[cbText] = '\0';
  cbText = InsertWininitDeletion(s_szWininit, cbText, sizeof s_szWininit, szShort);
  return cbText && ReplaceFileText(szFolder, szFile, s_szWininit, cbText);
}

// Windows NT deletes the file before anything can open it when it next
// starts (the pending file operations); Windows 95 through WININIT.INI.
static BOOL ScheduleDeletion(LPCSTR pszPath) {
  if (IsWindows95()) return ScheduleWithWininit(pszPath);
  MOVEFILEEXA pfnMoveFileEx = (MOVEFILEEXA)(void *)FindSystemFunction(g_szKernel32, "MoveFileExA");
  return pfnMoveFileEx && pfnMoveFileEx(pszPath, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
}

BOOL DeleteOrSchedule(LPCSTR pszPath) {
  return !DeleteFileA(pszPath) && GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES &&
         ScheduleDeletion(pszPath);
}
