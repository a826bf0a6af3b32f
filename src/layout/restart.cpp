// Files that cannot be deleted now, because a program still has them open
// (Explorer keeps the shell extension loaded, Tokavi.exe may run): Windows
// deletes them when it next starts.
#include "restart.h"

#include "layout.h"

typedef BOOL(WINAPI *MOVEFILEEXA)(LPCSTR, LPCSTR, DWORD);

// WININIT.INI's [rename] section, of 16 KiB at most: Windows 95 renames the
// file away each time it starts, so it holds a few lines. A larger one is
// left alone. Kept outside the stack, whose frames stay below a page.
static char s_szRenameLines[16384];

BOOL AddWininitDeletion(LPSTR pszLines, DWORD cchLines, DWORD cbLines, LPCSTR pszPath) {
  DWORD cchLine = lstrlenA(g_szDeleteLine) + lstrlenA(pszPath);
  if (cchLines + cchLine + 2 > cbLines) return FALSE;
  LPSTR pszLine = pszLines + cchLines;
  lstrcpyA(pszLine, g_szDeleteLine);
  lstrcatA(pszLine, pszPath);
  pszLine[cchLine + 1] = '\0';
  return TRUE;
}

// Windows 95 has no MoveFileEx: it deletes each file that a "NUL=" line of
// WININIT.INI's [rename] section names, by its short path, when it next
// starts. Written as a single value, a second "NUL=" would replace the
// first, so the section's lines are read whole, this one is added and the
// lines are written back as they were; the file's other sections stay.
static BOOL ScheduleWithWininit(LPCSTR pszPath) {
  char szShort[MAX_PATH];
  DWORD cch = GetShortPathNameA(pszPath, szShort, MAX_PATH);
  if (cch == 0 || cch >= MAX_PATH) return FALSE;
  DWORD cchLines = GetPrivateProfileSectionA(g_szRenameSection, s_szRenameLines,
                                             sizeof s_szRenameLines, g_szWininitFile);
  return cchLines < sizeof s_szRenameLines - 2 &&
         AddWininitDeletion(s_szRenameLines, cchLines, sizeof s_szRenameLines, szShort) &&
         WritePrivateProfileSectionA(g_szRenameSection, s_szRenameLines, g_szWininitFile);
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
