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
static int RemoveFile(LPCSTR pszPath) {
  SetFileAttributesA(pszPath, FILE_ATTRIBUTE_ARCHIVE);
  if (DeleteOrSchedule(pszPath)) return FILES_SCHEDULED;
  return GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES ? FILES_LEFT : 0;
}

// A file in the folder. A path that does not fit is skipped: a shortened
// one would name another file.
static int RemoveFileIn(LPCSTR pszFolder, LPCSTR pszName) {
  char szPath[MAX_PATH];
  return ComposePath(szPath, MAX_PATH, pszFolder, pszName) ? RemoveFile(szPath) : 0;
}

// The install folder an uninstall command names, with its trailing
// backslash, into a buffer of MAX_PATH bytes: the program's path between the
// quotes of "<folder>\install.exe" /d, or, in the unquoted command earlier
// versions wrote, the text before the final " /d"; the folder is that path
// without its last name part. FALSE when the command has neither form or
// names no absolute folder.
BOOL ParseUninstallCommand(LPCSTR pszCommand, LPSTR pszFolder) {
  char szPath[UNINSTALL_COMMAND_SIZE];
  int cch = lstrlenA(pszCommand);
  if (cch >= (int)sizeof szPath) return FALSE;
  lstrcpyA(szPath, pszCommand);
  LPSTR pszPath = szPath, pszEnd;
  if (*pszPath == '"') {
    for (pszEnd = ++pszPath; *pszEnd != '"'; ++pszEnd)
      if (!*pszEnd) return FALSE;
  } else {
    if (cch < 3) return FALSE;
    pszEnd = szPath + cch - 3;
    if (*pszEnd != ' ' || lstrcmpiA(pszEnd + 1, g_szUninstallSwitch) != 0) return FALSE;
  }
  *pszEnd = '\0';
  LPSTR pszName = FindLastName(pszPath);
  if (!pszName) return FALSE;
  *pszName = '\0';
  if (lstrlenA(pszPath) >= MAX_PATH || !IsAbsoluteFolder(pszPath)) return FALSE;
  lstrcpyA(pszFolder, pszPath);
  return TRUE;
}

// The folder the uninstall entry names. Without an entry, or with one that
// names no absolute folder, the folder the main application recorded when
// it last ran, if that is an absolute one. The entry's first value name is
// UninstallString.
static BOOL ReadUninstallFolder(LPSTR pszFolder) {
  char szCommand[UNINSTALL_COMMAND_SIZE];
  if (ReadKeyText(HKEY_LOCAL_MACHINE, g_szUninstallKey, g_szUninstallValues, szCommand,
                  sizeof szCommand) &&
      ParseUninstallCommand(szCommand, pszFolder))
    return TRUE;
  return ReadInstallFolder(pszFolder) && IsAbsoluteFolder(pszFolder);
}

// The product files. Without a folder nothing is deleted, nothing relative
// to the current drive or directory.
static int DeleteProductFiles(void) {
  char szFolder[MAX_PATH];
  int nFiles = 0;
  if (!ReadUninstallFolder(szFolder)) return 0;
  for (int i = 0; i < g_cRemovedFiles; ++i) nFiles |= RemoveFileIn(szFolder, g_aszRemovedFiles[i]);
  return nFiles;
}

// Send To first, then Desktop; only from a folder that could be found.
static int DeleteShortcuts(void) {
  int nFiles = 0;
  for (int i = g_cShortcutPlaces - 1; i >= 0; --i) {
    char szFolder[MAX_PATH];
    if (ReadShellFolder(g_aShortcutPlaces[i].pszShellFolder, g_aShortcutPlaces[i].nFolder,
                        szFolder))
      nFiles |= RemoveFileIn(szFolder, g_szLinkFile);
  }
  return nFiles;
}

static int DeleteSystemLibrary(void) {
  char szPath[MAX_PATH];
  return ComposeSystemLibraryPath(szPath) ? RemoveFile(szPath) : 0;
}

// The settings key goes with its whole subtree; the maker key only when
// nothing else, no other product's key and no value of its own, is left in
// it. 0 when the settings key could not be deleted.
int DeleteSettingsKeys(void) {
  if (!DeleteKeyTree(HKEY_CURRENT_USER, g_szSettingsKey)) return 0;
  if (CountKeyEntries(HKEY_CURRENT_USER, g_szMakerKey) == 0)
    RegDeleteKeyA(HKEY_CURRENT_USER, g_szMakerKey);
  return 1;
}

// Whether the key still holds only the one value the registration wrote.
static BOOL IsStillOurs(const SHELLEXTVALUE *pEntry) {
  char szData[MAX_PATH];
  return CountKeyEntries(HKEY_CLASSES_ROOT, pEntry->pszKey) == 1 &&
         ReadKeyText(HKEY_CLASSES_ROOT, pEntry->pszKey, pEntry->pszValue, szData, MAX_PATH) &&
         lstrcmpiA(szData, pEntry->pszData) == 0;
}

// The registration's keys in their order; the drop handler and new-file
// entry of ZIP archives stay, as do the associations.
void UnregisterShellExtension(void) {
  for (int i = 0; i < g_cShellExtValues; ++i) {
    const SHELLEXTVALUE *pEntry = &g_aShellExtValues[i];
    if (pEntry->nRemoval == KEY_REMOVED ||
        (pEntry->nRemoval == KEY_REMOVED_WHILE_OURS && IsStillOurs(pEntry)))
      DeleteKeyUnder(HKEY_CLASSES_ROOT, pEntry->pszKey);
  }
}

// The completion message says so when a file in use goes only at the next
// restart, and when one stays.
void RunUninstall(void) {
  // Only Yes goes on: a box that could not be shown (0), or one ended by
  // the quit message, removes nothing.
  if (MessageBoxA(NULL, g_szMsgConfirmUninstall, g_szCaptionUninstall,
                  MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  int nFiles = DeleteProductFiles();
  nFiles |= DeleteShortcuts();
  nFiles |= DeleteSystemLibrary();
  DeleteSettingsKeys();
  UnregisterShellExtension();
  DeleteKeyTree(HKEY_LOCAL_MACHINE, g_szUninstallKey);
  char szText[128];
  lstrcpyA(szText, g_szMsgUninstalled);
  if (nFiles & FILES_SCHEDULED) lstrcatA(szText, g_szMsgDeletedAtRestart);
  if (nFiles & FILES_LEFT) lstrcatA(szText, g_szMsgFilesLeft);
  MessageBoxA(NULL, szText, g_szCaptionFinished, MB_OK);
}
