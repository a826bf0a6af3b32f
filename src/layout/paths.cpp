#include "paths.h"

#include "platform.h"

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

// A file in one of the platform's folders (GetSystemDirectoryA,
// GetWindowsDirectoryA) into a buffer of MAX_PATH bytes; the name comes
// with its leading backslash.
BOOL ComposePlatformPath(LPSTR pszBuffer, UINT(WINAPI *pfnGetFolder)(LPSTR, UINT), LPCSTR pszName) {
  UINT cch = pfnGetFolder(pszBuffer, MAX_PATH);
  return cch != 0 && cch < MAX_PATH && AppendText(pszBuffer, MAX_PATH, pszName);
}

// Rewrites the path in its short form, in place; a path without a short form
// that fits stays as it is.
void ShortenPath(LPSTR pszPath) {
  char szShort[MAX_PATH];
  DWORD cch = GetShortPathNameA(pszPath, szShort, MAX_PATH);
  if (cch != 0 && cch < MAX_PATH) lstrcpyA(pszPath, szShort);
}

// Characters Windows forbids in a name, besides control characters and the
// separators.
static const char s_szForbidden[] = "*?\"<>|:/";

// The names Windows keeps for its devices, whatever extension follows
// them, in slots of five bytes; '#' stands for a digit from 1 to 9.
#define DEVICE_SLOT 5
static const char s_szDevices[] PACKED_TEXT = "CON\0\0PRN\0\0AUX\0\0NUL\0\0COM#\0LPT#";

// Whether the name part at p is a device's name, in any case, with or
// without an extension.
static BOOL IsDeviceName(LPCSTR p) {
  char szBase[5];
  int cch = 0;
  for (; p[cch] && p[cch] != '\\' && p[cch] != '.'; ++cch) {
    if (cch == 4) return FALSE;
    szBase[cch] = p[cch];
  }
  szBase[cch] = '\0';
  if (cch == 4 && szBase[3] >= '1' && szBase[3] <= '9') szBase[3] = '#';
  for (int i = 0; i < (int)sizeof s_szDevices; i += DEVICE_SLOT)
    if (lstrcmpiA(szBase, s_szDevices + i) == 0) return TRUE;
  return FALSE;
}

// The end of the name part that starts at p (a backslash or the end of the
// text), or NULL when it holds a forbidden character, is empty, ends in a
// dot or a blank, or is a device's name. Second bytes of Shift-JIS
// characters are never looked at: 0x5C and 0x7C are among them (表, ポ).
static LPCSTR SkipName(LPCSTR p) {
  if (IsDeviceName(p)) return NULL;
  char cLast = '.';
  for (; *p && *p != '\\'; p = CharNextA(p)) {
    if ((BYTE)*p < ' ') return NULL;
    for (LPCSTR f = s_szForbidden; *f; ++f)
      if (*p == *f) return NULL;
    cLast = *p;
  }
  return cLast == '.' || cLast == ' ' ? NULL : p;
}

// Whether the text names a folder from the root of a drive ("C:\...") or of a
// share ("\\server\share\..."), every name part a valid one. One trailing
// backslash is allowed; a drive's root alone is a folder too.
BOOL IsAbsoluteFolder(LPCSTR pszFolder) {
  LPCSTR p = pszFolder;
  int cShareParts = 0;  // the server and share names a share's root still needs
  char cDrive = (char)(p[0] | 0x20);
  if (cDrive >= 'a' && cDrive <= 'z' && p[1] == ':' && p[2] == '\\') {
    p += 3;
  } else if (p[0] == '\\' && p[1] == '\\') {
    p += 2;
    cShareParts = 2;
  } else {
    return FALSE;
  }
  while (*p || cShareParts > 0) {
    p = SkipName(p);
    if (!p || (cShareParts > 0 && *p != '\\')) return FALSE;
    if (cShareParts > 0) --cShareParts;
    if (*p) ++p;
  }
  return TRUE;
}

typedef DWORD(WINAPI *GETSHORTPATHNAMEW)(LPCWSTR, LPWSTR, DWORD);

// Whether the ANSI form of the UTF-16 text, in a buffer of cbText bytes,
// converts back to the very same text: then the platform, converting it as
// it does every ANSI path, names what the UTF-16 one names. No flag of the
// conversion asks that: the one refusing look-alikes is newer than NT 4.
static BOOL ConvertsBack(LPCWSTR pwszText, LPSTR pszText, int cbText) {
  WCHAR wszBack[MAX_PATH];
  if (!WideCharToMultiByte(CP_ACP, 0, pwszText, -1, pszText, cbText, NULL, NULL) ||
      !MultiByteToWideChar(CP_ACP, 0, pszText, -1, wszBack, MAX_PATH))
    return FALSE;
  for (int i = 0; wszBack[i] == pwszText[i]; ++i)
    if (!wszBack[i]) return TRUE;
  return FALSE;
}

// Rewrites the UTF-16 path, in a buffer of MAX_PATH characters, in its
// short form, in place; FALSE, the path as it was, when it has none that
// fits.
BOOL ShortenWidePath(LPWSTR pwszPath) {
  GETSHORTPATHNAMEW pfnShorten =
      (GETSHORTPATHNAMEW)(void *)FindSystemFunction(g_szKernel32, "GetShortPathNameW");
  DWORD cch = pfnShorten ? pfnShorten(pwszPath, pwszPath, MAX_PATH) : 0;
  return cch != 0 && cch < MAX_PATH;
}

// A path Windows NT handed over in UTF-16 (of MAX_PATH characters at most)
// as an ANSI path that names the same file or folder: its own ANSI form, or
// else its short form's, which the UTF-16 buffer then holds. FALSE when
// neither converts back or fits: the path has no ANSI name.
BOOL ConvertFaithfully(LPWSTR pwszPath, LPSTR pszPath, int cbPath) {
  return ConvertsBack(pwszPath, pszPath, cbPath) ||
         (ShortenWidePath(pwszPath) && ConvertsBack(pwszPath, pszPath, cbPath));
}
