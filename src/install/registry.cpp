#include "install.h"

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
