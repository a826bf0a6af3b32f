#include "uninstall.h"

#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"

// Deletes a file at the folder + name (which begins with a backslash). A
// path that does not fit is skipped: a shortened one would name another file.
static void DeleteFileIn(LPCSTR pszFolder, LPCSTR pszName, BOOL bMakeArchive) {
  char szPath[MAX_PATH];
  lstrcpyA(szPath, pszFolder);
  if (!AppendText(szPath, MAX_PATH, pszName)) return;
  if (bMakeArchive) SetFileAttributesA(szPath, FILE_ATTRIBUTE_ARCHIVE);
  DeleteFileA(szPath);
}

// The product files in the recorded install folder. Without a recorded
// folder nothing is deleted, nothing relative to the current directory.
static void DeleteProductFiles(void) {
  char szFolder[MAX_PATH];
  if (!ReadInstallFolder(szFolder)) return;
  for (int i = 0; i < g_cRemovedFiles; ++i)
    DeleteFileIn(szFolder, g_aRemovedFiles[i].pszName, g_aRemovedFiles[i].bMakeArchive);
}

// Send To first, then Desktop. A lookup whose value is missing leaves the
// folder empty, and the link at the root of the current drive goes, where
// the installation put it in that case.
static void DeleteShortcuts(void) {
  char szFolder[MAX_PATH];
  if (ReadShellFolder(g_szSendToValue, szFolder)) DeleteFileIn(szFolder, g_szLinkFile, FALSE);
  if (ReadShellFolder(g_szDesktopValue, szFolder)) DeleteFileIn(szFolder, g_szLinkFile, FALSE);
}

static void DeleteSystemLibrary(void) {
  char szPath[MAX_PATH];
  if (ComposeSystemLibraryPath(szPath)) DeleteFileA(szPath);
}

int DeleteKeyUnder(HKEY hRoot, LPCSTR pszPath) {
  HKEY hKey;
  if (RegOpenKeyExA(hRoot, NULL, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS) return 0;
  RegDeleteKeyA(hKey, pszPath);
  RegCloseKey(hKey);
  return 1;
}

// Deletes each direct subkey of the settings key once. A subkey that stays
// (one with subkeys of its own, on Windows NT) is stepped over; a name whose
// full path does not fit is skipped.
static void DeleteSettingsSubkeys(HKEY hSettings) {
  DWORD dwIndex = 0;
  for (;;) {
    char szName[256];
    DWORD cchName = sizeof szName;
    if (RegEnumKeyExA(hSettings, dwIndex, szName, &cchName, NULL, NULL, NULL, NULL) !=
        ERROR_SUCCESS)
      return;
    char szPath[256];
    lstrcpyA(szPath, g_szSettingsKey);
    if (!AppendText(szPath, sizeof szPath, "\\") || !AppendText(szPath, sizeof szPath, szName) ||
        RegDeleteKeyA(HKEY_CURRENT_USER, szPath) != ERROR_SUCCESS)
      ++dwIndex;
  }
}

// The maker key goes only when no other product's key is left in it. On
// Windows 95 RegDeleteKeyA would take the whole subtree with it.
static void DeleteMakerKeyIfEmpty(HKEY hUser) {
  HKEY hMaker;
  if (RegOpenKeyExA(hUser, g_szMakerKey, 0, KEY_READ, &hMaker) != ERROR_SUCCESS) return;
  DWORD cSubKeys = 1;
  LONG lResult = RegQueryInfoKeyA(hMaker, NULL, NULL, NULL, &cSubKeys, NULL, NULL, NULL, NULL, NULL,
                                  NULL, NULL);
  RegCloseKey(hMaker);
  if (lResult == ERROR_SUCCESS && cSubKeys == 0) RegDeleteKeyA(hUser, g_szMakerKey);
}

int DeleteSettingsKeys(void) {
  HKEY hSettings;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, g_szSettingsKey, 0, KEY_ALL_ACCESS, &hSettings) !=
      ERROR_SUCCESS)
    return 0;
  DeleteSettingsSubkeys(hSettings);
  RegCloseKey(hSettings);
  HKEY hUser;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, NULL, 0, KEY_ALL_ACCESS, &hUser) != ERROR_SUCCESS) return 0;
  RegDeleteKeyA(hUser, g_szSettingsKey);
  DeleteMakerKeyIfEmpty(hUser);
  RegCloseKey(hUser);
  return 1;
}

// The registration's keys in their order; the drop handler and new-file
// entry of ZIP archives stay, as do the associations.
void UnregisterShellExtension(void) {
  for (int i = 0; i < g_cShellExtValues; ++i)
    if (g_aShellExtValues[i].bRemoveKey)
      DeleteKeyUnder(HKEY_CLASSES_ROOT, g_aShellExtValues[i].pszKey);
}

void RunUninstall(void) {
  if (MessageBoxA(NULL, g_szMsgConfirmUninstall, g_szCaptionUninstall,
                  MB_YESNO | MB_ICONQUESTION) == IDNO)
    return;
  DeleteProductFiles();
  DeleteShortcuts();
  DeleteSystemLibrary();
  DeleteSettingsKeys();
  UnregisterShellExtension();
  DeleteKeyUnder(HKEY_LOCAL_MACHINE, g_szUninstallKey);
  MessageBoxA(NULL, g_szMsgUninstalled, g_szCaptionFinished, MB_OK);
}
