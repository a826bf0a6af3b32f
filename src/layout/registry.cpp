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
typedef LONG(WINAPI *REGDELETEKEY)(HKEY, LPCVOID);
enum { REG_OPEN, REG_ENUM, REG_DELETE, REG_FUNCTIONS };

// Their ANSI and their UTF-16 forms, in the order above. Windows 95 lacks
// the UTF-16 ones.
static const char s_szAnsiFunctions[] PACKED_TEXT = "RegOpenKeyExA\0RegEnumKeyExA\0RegDeleteKeyA\0";
static const char s_szWideFunctions[] PACKED_TEXT = "RegOpenKeyExW\0RegEnumKeyExW\0RegDeleteKeyW\0";

static FARPROC s_apfnTree[REG_FUNCTIONS];
static DWORD s_cchName;  // the room for a subkey's name, in the functions' characters

// Children first. A subkey that stays (access denied) is stepped over; the
// key itself then stays too. TRUE when the key is gone.
static BOOL DeleteTreeBy(HKEY hParent, LPCVOID pvKey) {
  HKEY hKey;
  if (((REGOPENKEYEX)(void *)s_apfnTree[REG_OPEN])(hParent, pvKey, 0, KEY_ALL_ACCESS, &hKey) !=
      ERROR_SUCCESS)
    return FALSE;
  DWORD dwIndex = 0;
  for (;;) {
    WCHAR szName[KEY_NAME_LENGTH];
    DWORD cchName = s_cchName;
    if (((REGENUMKEYEX)(void *)s_apfnTree[REG_ENUM])(hKey, dwIndex, szName, &cchName, NULL, NULL,
                                                     NULL, NULL) != ERROR_SUCCESS)
      break;
    if (!DeleteTreeBy(hKey, szName)) ++dwIndex;
  }
  RegCloseKey(hKey);
  return ((REGDELETEKEY)(void *)s_apfnTree[REG_DELETE])(hParent, pvKey) == ERROR_SUCCESS;
}

// Deletes the key with everything below it, children first. On Windows NT
// the subkeys are found and deleted by their UTF-16 names: through the ANSI
// functions a name outside the code page (Hangul, say) comes back as
// question marks, which name no key, and the tree would stay. Windows 95's
// registry holds ANSI names only. TRUE when the key is gone.
BOOL DeleteKeyTree(HKEY hParent, LPCSTR pszKey) {
  WCHAR wszKey[MAX_PATH];
  LPCVOID pvKey = pszKey;
  LPCSTR pszFunction = s_szAnsiFunctions;
  s_cchName = sizeof(WCHAR) * KEY_NAME_LENGTH;
  if (!IsWindows95() && MultiByteToWideChar(CP_ACP, 0, pszKey, -1, wszKey, MAX_PATH)) {
    pvKey = wszKey;
    pszFunction = s_szWideFunctions;
    s_cchName = KEY_NAME_LENGTH;
  }
  for (int i = 0; i < REG_FUNCTIONS; ++i, pszFunction += lstrlenA(pszFunction) + 1)
    if (!(s_apfnTree[i] = FindSystemFunction(g_szAdvapi32, pszFunction))) return FALSE;
  return DeleteTreeBy(hParent, pvKey);
}
