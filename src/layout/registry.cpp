#include "platform.h"

// The longest key name the registry allows, 255 characters (in ANSI two
// bytes each in a double-byte code page), and the terminating zero.
#define KEY_NAME_LENGTH 256

// The value in which a registry link names the key it stands for.
static const char s_szLinkValue[] PACKED_TEXT = "SymbolicLinkValue";

typedef LONG(NTAPI *NTDELETEKEY)(HANDLE);

// Windows NT's deletion of a key by its own handle, which takes a link as
// the link.
static NTDELETEKEY FindDeleteOpenKey(void) {
  return (NTDELETEKEY)(void *)FindSystemFunction(g_szNtdll, "NtDeleteKey");
}

BOOL DeleteOpenKey(HKEY hRoot, LPCSTR pszKey, HKEY hKey) {
  if (IsWindows95()) return RegDeleteKeyA(hRoot, pszKey) == ERROR_SUCCESS;
  NTDELETEKEY pfnDelete = FindDeleteOpenKey();
  return pfnDelete && pfnDelete(hKey) == 0;
}

// Windows 95's registry has no links, and its RegOpenKeyExA no options.
static DWORD OpenLinkOption(void) { return IsWindows95() ? 0 : REG_OPTION_OPEN_LINK; }

static BOOL IsLink(HKEY hKey) {
  DWORD dwType;
  return RegQueryValueExA(hKey, s_szLinkValue, NULL, &dwType, NULL, NULL) == ERROR_SUCCESS &&
         dwType == REG_LINK;
}

// One name under the key: a key others share as it comes, one of ours as
// itself, never as the key a link there names (where the platform refuses
// that, as it comes). A link at one of ours is deleted as the link; then,
// or where the name is missing, bCreate makes a real key. NULL when there is
// no key, or it could not be had.
static HKEY OpenKeyName(HKEY hParent, LPCSTR pszName, BOOL bOurs, BOOL bCreate,
                        DWORD *pdwDisposition) {
  HKEY hKey;
  REGSAM samDesired = bOurs ? KEY_ALL_ACCESS : KEY_READ | KEY_CREATE_SUB_KEY;
  LONG lResult = RegOpenKeyExA(hParent, pszName, bOurs ? OpenLinkOption() : 0, samDesired, &hKey);
  if (lResult == ERROR_INVALID_PARAMETER)
    lResult = RegOpenKeyExA(hParent, pszName, 0, samDesired, &hKey);
  if (lResult == ERROR_SUCCESS) {
    if (!bOurs || !IsLink(hKey)) {
      if (pdwDisposition) *pdwDisposition = REG_OPENED_EXISTING_KEY;
      return hKey;
    }
    BOOL bGone = DeleteOpenKey(hParent, pszName, hKey);
    RegCloseKey(hKey);
    if (!bGone) return NULL;
  }
  if (!bCreate || RegCreateKeyExA(hParent, pszName, 0, NULL, REG_OPTION_NON_VOLATILE, samDesired,
                                  NULL, &hKey, pdwDisposition) != ERROR_SUCCESS)
    return NULL;
  return hKey;
}

// The first name of the path into a buffer of KEY_NAME_LENGTH bytes; the
// rest of the path after it. The names of our tables are shorter, and
// hold no double-byte character whose second byte is a backslash.
static LPCSTR TakeKeyName(LPCSTR pszPath, LPSTR pszName) {
  int i = 0;
  while (*pszPath && *pszPath != '\\' && i < KEY_NAME_LENGTH - 1) pszName[i++] = *pszPath++;
  pszName[i] = '\0';
  return *pszPath == '\\' ? pszPath + 1 : pszPath;
}

HKEY OpenOwnKey(HKEY hRoot, LPCSTR pszKey, int cShared, BOOL bCreate, DWORD *pdwDisposition) {
  HKEY hKey = hRoot;
  for (LPCSTR p = pszKey; *p; --cShared) {
    char szName[KEY_NAME_LENGTH];
    p = TakeKeyName(p, szName);
    HKEY hNext = OpenKeyName(hKey, szName, cShared <= 0, bCreate, pdwDisposition);
    if (hKey != hRoot) RegCloseKey(hKey);
    if (!hNext) return NULL;
    hKey = hNext;
  }
  return hKey;
}

LONG WriteRegistryText(HKEY hKey, LPCSTR pszValue, LPCSTR pszText) {
  return RegSetValueExA(hKey, pszValue, 0, REG_SZ, (const BYTE *)pszText, lstrlenA(pszText) + 1);
}

// Creates or opens the key and sets one text value in it; FALSE when the key
// could not be had. The value's own result is not examined.
BOOL WriteKeyText(HKEY hRoot, LPCSTR pszKey, int cShared, LPCSTR pszValue, LPCSTR pszText) {
  HKEY hKey = OpenOwnKey(hRoot, pszKey, cShared, TRUE, NULL);
  if (!hKey) return FALSE;
  WriteRegistryText(hKey, pszValue, pszText);
  RegCloseKey(hKey);
  return TRUE;
}

// Reads a REG_SZ value into a buffer of cbBuffer bytes, always terminated. A
// stored value may lack its terminating zero; one that does not fit with it,
// or of another type, is refused rather than cut short or misread. On
// failure the buffer holds nothing to be used.
BOOL ReadRegistryText(HKEY hKey, LPCSTR pszValue, LPSTR pszBuffer, DWORD cbBuffer) {
  DWORD cbText = cbBuffer, dwType;
  if (RegQueryValueExA(hKey, pszValue, NULL, &dwType, (LPBYTE)pszBuffer, &cbText) !=
          ERROR_SUCCESS ||
      dwType != REG_SZ)
    return FALSE;
  if (cbText == 0 || pszBuffer[cbText - 1] != '\0') {
    if (cbText >= cbBuffer) return FALSE;
    pszBuffer[cbText] = '\0';
  }
  return TRUE;
}

// The number of subkeys and values the key holds; (DWORD)-1 when it cannot
// be read.
DWORD CountKeyEntries(HKEY hKey) {
  DWORD cSubKeys, cValues;
  return RegQueryInfoKeyA(hKey, NULL, NULL, NULL, &cSubKeys, NULL, NULL, &cValues, NULL, NULL, NULL,
                          NULL) == ERROR_SUCCESS
             ? cSubKeys + cValues
             : (DWORD)-1;
}

// The registry functions the tree deletion goes by, which take names in
// ANSI or in UTF-16 alike: their texts are passed through as they are. On
// Windows NT the UTF-16 ones: through the ANSI functions a name outside the
// code page (Hangul, say) comes back as question marks, which name no key,
// and the tree would stay. Windows 95's registry holds ANSI names only.
typedef LONG(WINAPI *REGOPENKEYEX)(HKEY, LPCVOID, DWORD, REGSAM, PHKEY);
typedef LONG(WINAPI *REGENUMKEYEX)(HKEY, DWORD, LPVOID, LPDWORD, LPDWORD, LPVOID, LPDWORD,
                                   PFILETIME);
struct TREEFUNCTIONS {
  BOOL bAnsi;  // Windows 95's
  REGOPENKEYEX pfnOpen;
  REGENUMKEYEX pfnEnum;
  NTDELETEKEY pfnDelete;  // Windows NT's, by the key's own handle
};

// Deeper than any tree of ours: a deeper one stays, and the stack holds.
#define TREE_DEPTH 32

// Whether the tree goes by Windows 95's functions: never in the 64-bit
// program, which leaves that branch out.
static BOOL IsAnsiTree(const TREEFUNCTIONS *pFunctions) {
#ifdef _WIN64
  (void)pFunctions;
  return FALSE;
#else
  return pFunctions->bAnsi;
#endif
}

// The subkeys of the open key, children first, each opened as itself: on
// Windows NT deleted through its handle, so that a link goes as the link,
// never the key it names. One that stays (access denied, too deep) is
// stepped over.
static void DeleteSubkeys(HKEY hKey, int nDepth, const TREEFUNCTIONS *pFunctions) {
  DWORD dwIndex = 0;
  while (nDepth < TREE_DEPTH) {
    WCHAR wszName[KEY_NAME_LENGTH];
    DWORD cchName = IsAnsiTree(pFunctions) ? sizeof wszName : KEY_NAME_LENGTH;
    HKEY hSubkey;
    if (pFunctions->pfnEnum(hKey, dwIndex, wszName, &cchName, NULL, NULL, NULL, NULL) !=
        ERROR_SUCCESS)
      break;
    BOOL bGone =
        pFunctions->pfnOpen(hKey, wszName, IsAnsiTree(pFunctions) ? 0 : REG_OPTION_OPEN_LINK,
                            KEY_ALL_ACCESS, &hSubkey) == 0;
    if (bGone) {
      DeleteSubkeys(hSubkey, nDepth + 1, pFunctions);
      bGone = IsAnsiTree(pFunctions) ? RegDeleteKeyA(hKey, (LPCSTR)wszName) == ERROR_SUCCESS
                                     : pFunctions->pfnDelete(hSubkey) == 0;
      RegCloseKey(hSubkey);
    }
    if (!bGone) ++dwIndex;
  }
}

// Deletes the key of ours with everything below it, children first. TRUE
// when it is gone.
BOOL DeleteKeyTree(HKEY hRoot, LPCSTR pszKey, int cShared) {
  HKEY hKey = OpenOwnKey(hRoot, pszKey, cShared, FALSE, NULL);
  if (!hKey) return FALSE;
  TREEFUNCTIONS functions;
  functions.bAnsi = IsWindows95();
  functions.pfnOpen = (REGOPENKEYEX)(void *)RegOpenKeyExA;
  functions.pfnEnum = (REGENUMKEYEX)(void *)RegEnumKeyExA;
  functions.pfnDelete = NULL;
  if (!functions.bAnsi) {
    functions.pfnOpen = (REGOPENKEYEX)(void *)FindSystemFunction(g_szAdvapi32, "RegOpenKeyExW");
    functions.pfnEnum = (REGENUMKEYEX)(void *)FindSystemFunction(g_szAdvapi32, "RegEnumKeyExW");
    functions.pfnDelete = FindDeleteOpenKey();
  }
  if (functions.pfnOpen && functions.pfnEnum && (functions.bAnsi || functions.pfnDelete))
    DeleteSubkeys(hKey, 0, &functions);
  BOOL bGone = DeleteOpenKey(hRoot, pszKey, hKey);
  RegCloseKey(hKey);
  return bGone;
}
