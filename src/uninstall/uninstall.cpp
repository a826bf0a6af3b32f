#include "uninstall.h"

#include "../layout/layout.h"
#include "../layout/lookups.h"
#include "../layout/paths.h"
#include "../layout/texts.h"

// What became of the files the run removes, as flags: one had to be
// scheduled for the next restart; one stays, neither deleted nor scheduled.
enum { FILES_SCHEDULED = 1, FILES_LEFT = 2 };

// Deletes the file, or schedules it when it is in use; a read-only, hidden
// or system one too, which neither the deletion nor the restart would take.
// A folder of that name is no file of ours: it stays, and is not reported.
static int RemoveFile(LPCSTR pszPath) {
  DWORD dwAttributes = GetFileAttributesA(pszPath);
  if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  SetFileAttributesA(pszPath, FILE_ATTRIBUTE_ARCHIVE);
  if (DeleteOrSchedule(pszPath)) return FILES_SCHEDULED;
  return GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES ? FILES_LEFT : 0;
}

// A file in the folder, or (bLeftovers) what an interrupted installation
// left beside it. A path that does not fit is skipped: a shortened one
// would name another file.
static int RemoveFileIn(LPCSTR pszFolder, LPCSTR pszName, BOOL bLeftovers) {
  char szPath[MAX_PATH];
  if (!ComposePath(szPath, MAX_PATH, pszFolder, pszName)) return 0;
  if (bLeftovers) return DeleteLeftovers(szPath) ? FILES_LEFT : 0;
  return RemoveFile(szPath);
}

// The install folder an uninstall command names, with its trailing
// backslash, into a buffer of MAX_PATH bytes: the program's path between
// the quotes of "<folder>\install.exe" /d, or, in the unquoted command
// earlier versions wrote, the text before the final " /d"; the folder is
// that path without its last name part. The command is UTF-16, in a buffer
// of UNINSTALL_COMMAND_SIZE characters, and the folder is taken by a name
// that converts back to it. FOLDER_NONE when the command has neither form
// or names no absolute folder; FOLDER_UNNAMED when the folder has no ANSI
// name.
int ParseUninstallCommand(LPWSTR pwszCommand, LPSTR pszFolder) {
  LPWSTR pwszPath = pwszCommand, pwszEnd = pwszCommand;
  if (*pwszPath == '"') {
    for (pwszEnd = ++pwszPath; *pwszEnd != '"'; ++pwszEnd)
      if (!*pwszEnd) return FOLDER_NONE;
  } else {
    while (*pwszEnd) ++pwszEnd;
    if (pwszEnd - pwszCommand < 3 || *(pwszEnd -= 3) != ' ' || pwszEnd[1] != '/' ||
        (pwszEnd[2] | 0x20) != 'd')
      return FOLDER_NONE;
  }
  LPWSTR pwszName = NULL;
  for (LPWSTR p = pwszPath; p < pwszEnd; ++p)
    if (*p == '\\') pwszName = p + 1;
  if (!pwszName) return FOLDER_NONE;
  *pwszName = '\0';
  char szFolder[MAX_PATH];
  if (!ConvertFaithfully(pwszPath, szFolder, MAX_PATH)) return FOLDER_UNNAMED;
  if (!IsAbsoluteFolder(szFolder)) return FOLDER_NONE;
  lstrcpyA(pszFolder, szFolder);
  return FOLDER_FOUND;
}

// The folder the uninstall entry names. Without an entry, or with one that
// names no absolute folder, the folder the main application recorded when
// it last ran, if that is an absolute one. The entry's first value name is
// UninstallString.
static int ReadUninstallFolder(LPSTR pszFolder) {
  WCHAR wszCommand[UNINSTALL_COMMAND_SIZE];
  int nFound = FOLDER_NONE;
  if (ReadWideText(HKEY_LOCAL_MACHINE, g_szUninstallKey, g_szUninstallValues, wszCommand,
                   UNINSTALL_COMMAND_SIZE))
    nFound = ParseUninstallCommand(wszCommand, pszFolder);
  if (nFound == FOLDER_NONE) nFound = ReadInstallFolder(pszFolder);
  return nFound == FOLDER_FOUND && !IsAbsoluteFolder(pszFolder) ? FOLDER_NONE : nFound;
}

// The product files. Without a folder nothing is deleted, nothing relative
// to the current drive or directory; a folder that has no ANSI name keeps
// its files, which are reported as left.
static int DeleteProductFiles(void) {
  char szFolder[MAX_PATH];
  int nFiles = 0, nFound = ReadUninstallFolder(szFolder);
  if (nFound == FOLDER_UNNAMED) return FILES_LEFT;
  if (nFound == FOLDER_NONE) return 0;
  for (int i = 0; i < g_cRemovedFiles; ++i)
    nFiles |= RemoveFileIn(szFolder, g_aszRemovedFiles[i], FALSE);
  for (int i = 0; i < g_cCopiedFiles; ++i)
    nFiles |= RemoveFileIn(szFolder, g_aszCopiedFiles[i], TRUE);
  return nFiles;
}

// Send To first, then Desktop; only from a folder that could be found.
static int DeleteShortcuts(void) {
  int nFiles = 0;
  for (int i = g_cShortcutPlaces - 1; i >= 0; --i) {
    char szLink[MAX_PATH];
    if (ComposeLinkPath(&g_aShortcutPlaces[i], szLink)) nFiles |= RemoveFile(szLink);
  }
  return nFiles;
}

static int DeleteSystemLibrary(void) {
  char szPath[MAX_PATH];
  if (!ComposeSystemLibraryPath(szPath)) return 0;
  return RemoveFile(szPath) | (DeleteLeftovers(szPath) ? FILES_LEFT : 0);
}

// The settings key goes with its whole subtree; the maker key only when
// nothing else, no other product's key and no value of its own, is left in
// it. 0 when the settings key could not be deleted.
int DeleteSettingsKeys(void) {
  if (!DeleteKeyTree(HKEY_CURRENT_USER, g_szSettingsKey, SHARED_SETTINGS_NAMES)) return 0;
  HKEY hMaker = OpenOwnKey(HKEY_CURRENT_USER, g_szMakerKey, SHARED_SETTINGS_NAMES, FALSE, NULL);
  if (hMaker) {
    if (CountKeyEntries(hMaker) == 0) DeleteOpenKey(HKEY_CURRENT_USER, g_szMakerKey, hMaker);
    RegCloseKey(hMaker);
  }
  return 1;
}

// Whether the key still holds only the one value the registration wrote.
static BOOL IsStillOurs(HKEY hKey, const SHELLEXTVALUE *pEntry) {
  char szData[MAX_PATH];
  return CountKeyEntries(hKey) == 1 && ReadRegistryText(hKey, pEntry->pszValue, szData, MAX_PATH) &&
         lstrcmpiA(szData, pEntry->pszData) == 0;
}

// The registration's keys in their order; the drop handler and new-file
// entry of ZIP archives stay, as do the associations. A key goes only while
// it has no subkeys; a link at one of our names goes as the link.
void UnregisterShellExtension(void) {
  for (int i = 0; i < g_cShellExtValues; ++i) {
    const SHELLEXTVALUE *pEntry = &g_aShellExtValues[i];
    if (pEntry->nRemoval == KEY_STAYS) continue;
    HKEY hKey = OpenOwnKey(HKEY_CLASSES_ROOT, pEntry->pszKey, pEntry->cShared, FALSE, NULL);
    if (!hKey) continue;
    if (pEntry->nRemoval == KEY_REMOVED || IsStillOurs(hKey, pEntry))
      DeleteOpenKey(HKEY_CLASSES_ROOT, pEntry->pszKey, hKey);
    RegCloseKey(hKey);
  }
}

// The completion message says so when a file in use goes only at the next
// restart, and when one stays; so does the exit code of the unattended run.
UINT RunUninstall(void) {
  // Only Yes goes on: a box that could not be shown (0), or one ended by
  // the quit message, removes nothing.
  if (ShowMessageBox(NULL, g_szMsgConfirmUninstall, g_szCaptionUninstall,
                     MB_YESNO | MB_ICONQUESTION) != IDYES)
    return 0;
  int nFiles = DeleteProductFiles();
  nFiles |= DeleteShortcuts();
  nFiles |= DeleteSystemLibrary();
  DeleteSettingsKeys();
  UnregisterShellExtension();
  DeleteKeyTree(HKEY_LOCAL_MACHINE, g_szUninstallKey, SHARED_ENTRY_NAMES);
  char szText[128];
  UINT uCode = 0;
  lstrcpyA(szText, g_szMsgUninstalled);
  if (nFiles & FILES_SCHEDULED) {
    lstrcatA(szText, g_szMsgDeletedAtRestart);
    uCode = ERROR_SUCCESS_REBOOT_REQUIRED;
  }
  if (nFiles & FILES_LEFT) {
    lstrcatA(szText, g_szMsgFilesLeft);
    uCode = ERROR_INSTALL_FAILURE;
  }
  ShowMessageBox(NULL, szText, g_szCaptionFinished, MB_OK);
  return uCode;
}
