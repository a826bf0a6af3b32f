#include "paths.h"

// Whether the last character is a backslash. Decided by characters, not
// bytes: the second byte of a Shift-JIS character such as 表 or ソ is 0x5C
// too, and such a folder still needs its separator.
BOOL EndsWithBackslash(LPCSTR pszPath) {
  LPCSTR pszEnd = pszPath + lstrlenA(pszPath);
  if (pszEnd == pszPath) return FALSE;
  LPCSTR pszLast = CharPrevA(pszPath, pszEnd);
  return pszLast + 1 == pszEnd && *pszLast == '\\';
}

// Appends the text when the result, with its terminating zero, fits.
BOOL AppendText(LPSTR pszBuffer, int cbBuffer, LPCSTR pszText) {
  if (lstrlenA(pszBuffer) + lstrlenA(pszText) >= cbBuffer) return FALSE;
  lstrcatA(pszBuffer, pszText);
  return TRUE;
}

// Makes the folder text end in a backslash; an empty text gets one too.
BOOL AppendBackslash(LPSTR pszBuffer, int cbBuffer) {
  if (EndsWithBackslash(pszBuffer)) return TRUE;
  return AppendText(pszBuffer, cbBuffer, "\\");
}

void RemoveTrailingBackslash(LPSTR pszPath) {
  if (EndsWithBackslash(pszPath)) pszPath[lstrlenA(pszPath) - 1] = '\0';
}

// Folder, a backslash where it lacks one, then the name.
BOOL ComposePath(LPSTR pszBuffer, int cbBuffer, LPCSTR pszFolder, LPCSTR pszName) {
  if (lstrlenA(pszFolder) >= cbBuffer) return FALSE;
  lstrcpyA(pszBuffer, pszFolder);
  return AppendBackslash(pszBuffer, cbBuffer) && AppendText(pszBuffer, cbBuffer, pszName);
}
