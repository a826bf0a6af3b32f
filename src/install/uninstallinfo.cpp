// The entry in the list of installed programs: the display name and the
// command that starts this program's uninstall mode.
#include "../layout/layout.h"
#include "../layout/paths.h"
#include "../layout/texts.h"
#include "install.h"

// "<folder>\install.exe" /d, in a buffer of UNINSTALL_COMMAND_SIZE bytes. The
// program path is quoted, or the platform would end it at its first blank.
BOOL ComposeUninstallCommand(LPSTR pszCommand, LPCSTR pszFolder) {
  char szProgram[MAX_PATH];
  if (!ComposePath(szProgram, MAX_PATH, pszFolder, g_szUninstallProgram)) return FALSE;
  lstrcpyA(pszCommand, "\"");
  return AppendText(pszCommand, UNINSTALL_COMMAND_SIZE, szProgram) &&
         AppendText(pszCommand, UNINSTALL_COMMAND_SIZE, "\" ") &&
         AppendText(pszCommand, UNINSTALL_COMMAND_SIZE, g_szUninstallSwitch);
}

// The entry's key, always a fresh one: an existing entry is deleted first
// with everything in it. One that cannot be created, or that stays all the
// same, is reported: its old command would go on naming another folder.
static BOOL CreateFreshEntry(HWND hDlg, HKEY hWindows, HKEY *phEntry) {
  for (int nTry = 0; nTry < 2; ++nTry) {
    DWORD dwDisposition;
    if (!CreateRegistryKey(hWindows, g_szUninstallSubkey, phEntry, &dwDisposition)) break;
    if (dwDisposition == REG_CREATED_NEW_KEY) return TRUE;
    RegCloseKey(*phEntry);
    if (nTry == 0) DeleteKeyTree(hWindows, g_szUninstallSubkey);
  }
  MessageBoxA(hDlg, g_szMsgUninstallInfoFailed, NULL, MB_ICONERROR);
  return FALSE;
}

void RegisterUninstallInfo(HWND hDlg, LPCSTR pszFolder) {
  char szCommand[UNINSTALL_COMMAND_SIZE];
  if (!ComposeUninstallCommand(szCommand, pszFolder)) return;
  HKEY hWindows, hEntry;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, g_szWindowsKey, 0,
                    KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, &hWindows) != ERROR_SUCCESS)
    return;
  if (CreateFreshEntry(hDlg, hWindows, &hEntry)) {
    WriteRegistryText(hEntry, g_szDisplayNameValue, g_szDisplayName);
    WriteRegistryText(hEntry, g_szUninstallStringValue, szCommand);
    RegCloseKey(hEntry);
  }
  RegCloseKey(hWindows);
}
