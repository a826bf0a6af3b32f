#include "platform.h"

// The longest key name the registry allows, 255 characters (in ANSI two
// bytes each in a double-byte code page), and the terminating zero.
#define KEY_NAME_LENGTH 256

BOOL CreateRegistryKey(HKEY hParent, LPCSTR pszKey, HKEY *phKey, DWORD *pdwDisposition) {
  return RegCreateKeyExA(hParent, pszKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                         phKey, pdwDisposition) == ERROR_SUCCESS;
}

LONG WriteRegistryText(HKEY hKey, LPCSTR pszValue, LPCSTR pszText) {
  return RegSetValueExA(hKey, pszValue, 0, REG_SZ, (const BYTE *)pszText, lstrlenA(pszText) + 1);
}

// Creates or opens the key and sets one text value in it; FALSE when the key
// could not be had. The value's own result is not examined.
BOOL WriteKeyText(HKEY hParent, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszText) {
  HKEY hKey;
  if (!CreateRegistryKey(hParent, pszKey, &hKey, NULL)) return FALSE;
  WriteRegistryText(hKey, pszValue, pszText);
  RegCloseKey(hKey);
  return TRUE;
}

// Reads a string value into a buffer of cbBuffer bytes, always terminated. A
// stored value may lack its terminating zero; one that does not fit with it
// is refused rather than cut short. On failure the buffer holds nothing to
// be used.
BOOL ReadRegistryText(HKEY hKey, LPCSTR pszValue, LPSTR pszBuffer, DWORD cbBuffer) {
  DWORD cbText = cbBuffer;
  if (RegQueryValueExA(hKey, pszValue, NULL, NULL, (LPBYTE)pszBuffer, &cbText) != ERROR_SUCCESS)
    return FALSE;
  if (cbText == 0 || pszBuffer[cbText - 1] != '\0') {
    if (cbText >= cbBuffer) return FALSE;
    pszBuffer[cbText] = '\0';
  }
  return TRUE;
}

BOOL ReadKeyText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue, LPSTR pszBuffer, DWORD cbBuffer) {
  HKEY hKey;
  if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return FALSE;
  BOOL bRead = ReadRegistryText(hKey, pszValue, pszBuffer, cbBuffer);
  RegCloseKey(hKey);
  return bRead;
}

// The number of subkeys and values the key holds; (DWORD)-1 when it cannot
// be read.
DWORD CountKeyEntries(HKEY hRoot, LPCSTR pszKey) {
  HKEY hKey;
  if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return (DWORD)-1;
  DWORD cSubKeys, cValues;
  LONG lResult = RegQueryInfoKeyA(hKey, NULL, NULL, NULL, &cSubKeys, NULL, NULL, &cValues, NULL,
                                  NULL, NULL, NULL);
  RegCloseKey(hKey);
  return lResult == ERROR_SUCCESS ? cSubKeys + cValues : (DWORD)-1;
}

// Deletes one key that has no subkeys (Windows NT refuses one that has; on
// Windows 95 RegDeleteKeyA takes the whole subtree). 1 when the root could
// be opened, whatever became of the key.
int DeleteKeyUnder(HKEY hRoot, LPCSTR pszPath) {
  HKEY hKey;
  if (RegOpenKeyExA(hRoot, NULL, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) return 0;
  RegDeleteKeyA(hKey, pszPath);
  RegCloseKey(hKey);
  return 1;
}

// The registry functions the tree deletion goes by, which take names in
// ANSI or in UTF-16 alike: their texts are passed through as they are.
typedef LONG(WINAPI *REGOPENKEYEX)(HKEY, LPCVOID, DWORD, REGSAM, PHKEY);
typedef LONG(WINAPI *REGENUMKEYEX)(HKEY, DWORD, LPVOID, LPDWORD, LPDWORD, LPVOID, LPDWORD,
                                   PFILETIME);
typedef LONG(NTAPI *NTDELETEKEY)(HANDLE);

// Deeper than any tree of ours: a deeper one stays, and the stack holds.
#define TREE_DEPTH 32

static REGOPENKEYEX s_pfnOpen;
static REGENUMKEYEX s_pfnEnum;
static NTDELETEKEY s_pfnDeleteOpenKey;  // Windows NT's, by the key's own handle
static DWORD s_dwOpenOptions;
static DWORD s_cchName;  // the room for a subkey's name, in the functions' characters

// Children first. A subkey that stays (access denied, too deep) is stepped
// over; the key itself then stays too. On Windows NT each key is opened as
// itself, a link not followed, and deleted through that handle: a link goes
// as the link, never the key it names. TRUE when the key is gone.
static BOOL DeleteTreeBy(HKEY hParent, LPCVOID pvKey, int nDepth) {
  HKEY hKey;
  if (s_pfnOpen(hParent, pvKey, s_dwOpenOptions, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
    return FALSE;
  DWORD dwIndex = 0;
  while (nDepth < TREE_DEPTH) {
    WCHAR szName[KEY_NAME_LENGTH];
    DWORD cchName = s_cchName;
    if (s_pfnEnum(hKey, dwIndex, szName, &cchName, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
    if (!DeleteTreeBy(hKey, szName, nDepth + 1)) ++dwIndex;
  }
  BOOL bGone = s_pfnDeleteOpenKey && s_pfnDeleteOpenKey(hKey) == 0;
  RegCloseKey(hKey);
  return s_pfnDeleteOpenKey ? bGone : RegDeleteKeyA(hParent, (LPCSTR)pvKey) == ERROR_SUCCESS;
}

// Deletes the key with everything below it, children first. On Windows NT
// the subkeys are found and deleted by their UTF-16 names: through the ANSI
// functions a name outside the code page (Hangul, say) comes back as
// question marks, which name no key, and the tree would stay. Windows 95's
// registry holds ANSI names only, and no links. TRUE when the key is gone.
BOOL DeleteKeyTree(HKEY hParent, LPCSTR pszKey) {
  WCHAR wszKey[MAX_PATH];
  s_pfnOpen = (REGOPENKEYEX)(void *)RegOpenKeyExA;
  s_pfnEnum = (REGENUMKEYEX)(void *)RegEnumKeyExA;
  s_pfnDeleteOpenKey = NULL;
  s_dwOpenOptions = 0;
  s_cchName = sizeof(WCHAR) * KEY_NAME_LENGTH;
  if (IsWindows95()) return DeleteTreeBy(hParent, pszKey, 0);
  s_pfnOpen = (REGOPENKEYEX)(void *)FindSystemFunction(g_szAdvapi32, "RegOpenKeyExW");
  s_pfnEnum = (REGENUMKEYEX)(void *)FindSystemFunction(g_szAdvapi32, "RegEnumKeyExW");
  s_pfnDeleteOpenKey = (NTDELETEKEY)(void *)FindSystemFunction("ntdll", "NtDeleteKey");
  s_dwOpenOptions = REG_OPTION_OPEN_LINK;
  s_cchName = KEY_NAME_LENGTH;
  return s_pfnOpen && s_pfnEnum && s_pfnDeleteOpenKey &&
         MultiByteToWideChar(CP_ACP, 0, pszKey, -1, wszKey, MAX_PATH) &&
         DeleteTreeBy(hParent, wszKey, 0);
}
