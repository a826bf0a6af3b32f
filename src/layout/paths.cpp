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

// Rewrites the path in its short form, in place; a path without a short form
// that fits stays as it is.
void ShortenPath(LPSTR pszPath) {
  char szShort[MAX_PATH];
  DWORD cch = GetShortPathNameA(pszPath, szShort, MAX_PATH);
  if (cch != 0 && cch < MAX_PATH) lstrcpyA(pszPath, szShort);
}

// Whether two paths are the same text, ASCII letters in either case, with no
// other normalisation. Decided by characters: the second byte of a Shift-JIS
// character is never folded, or ア and ヂ (0x83 0x41, 0x83 0x61) would match.
BOOL IsSamePathText(LPCSTR pszPath1, LPCSTR pszPath2) {
  BOOL bTrailByte = FALSE;
  for (;; ++pszPath1, ++pszPath2) {
    char c1 = *pszPath1, c2 = *pszPath2;
    if (!bTrailByte) {
      if (c1 >= 'a' && c1 <= 'z') c1 -= 'a' - 'A';
      if (c2 >= 'a' && c2 <= 'z') c2 -= 'a' - 'A';
    }
    if (c1 != c2) return FALSE;
    if (c1 == '\0') return TRUE;
    bTrailByte = !bTrailByte && IsDBCSLeadByte((BYTE)c1);
  }
}
