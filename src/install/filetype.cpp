// File-type associations: an archive extension opens with the main
// application. Written over whatever was there, never removed, and silent.
#include "../layout/layout.h"
#include "../layout/paths.h"
#include "install.h"

static LPCSTR FindFileType(LPCSTR pszExtension) {
  for (int i = 0; i < g_cArchiveTypes; ++i)
    if (lstrcmpiA(pszExtension, g_aArchiveTypes[i].pszExtension) == 0)
      return g_aArchiveTypes[i].pszFileType;
  return NULL;
}

// A subkey of the file type whose default value is the executable's path
// with a tail, the path in double quotes when asked. A path too long for
// the tail is not written.
static void WriteExecutableKey(HKEY hType, LPCSTR pszSubkey, LPCSTR pszExecutable, BOOL bQuoted,
                               LPCSTR pszTail) {
  char szText[MAX_PATH + 16] = "";
  LPCSTR pszQuote = bQuoted ? "\"" : "";
  lstrcatA(szText, pszQuote);
  lstrcatA(szText, pszExecutable);
  lstrcatA(szText, pszQuote);
  if (AppendText(szText, sizeof szText, pszTail)) WriteKeyText(hType, pszSubkey, 0, NULL, szText);
}

// Whether the path has a blank. A path without a short form (a volume
// without 8.3 names) keeps its blanks, and Windows would take the open
// command's first word for the program.
static BOOL HasBlank(LPCSTR pszPath) {
  for (; *pszPath; ++pszPath)
    if (*pszPath == ' ') return TRUE;
  return FALSE;
}

// 1 once the extension's key could be had, whatever came after; 0 when it
// could not, or for an extension that is none of the archive types.
int RegisterFileType(LPCSTR pszExtension, LPCSTR pszExecutable) {
  LPCSTR pszType = FindFileType(pszExtension);
  if (!pszType || !WriteKeyText(HKEY_CLASSES_ROOT, pszExtension, 0, NULL, pszType)) return 0;
  HKEY hType = OpenOwnKey(HKEY_CLASSES_ROOT, pszType, 0, TRUE, NULL);
  if (!hType) return 1;
  WriteRegistryText(hType, NULL, pszType);
  WriteExecutableKey(hType, g_szDefaultIconSubkey, pszExecutable, FALSE, g_szIconIndex);
  WriteExecutableKey(hType, g_szOpenCommandSubkey, pszExecutable, HasBlank(pszExecutable),
                     g_szOpenArgument);
  RegCloseKey(hType);
  return 1;
}
