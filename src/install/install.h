// The installation the dialog's OK command runs, and its steps.
#pragma once
#include <windows.h>

// The uninstall command: a program path that fits MAX_PATH, in double
// quotes, then a blank and the switch.
#define UNINSTALL_COMMAND_SIZE (MAX_PATH + 8)
// The INF setup's parameters: the Setup library and entry around a source
// folder of up to MAX_PATH bytes and the INF's name.
#define INF_PARAMETERS_SIZE (MAX_PATH + 64)

INT_PTR RunInstallation(HWND hDlg);
int ShowMessage(HWND hDlg, LPCSTR pszText1, LPCSTR pszText2, LPCSTR pszText3, LPCSTR pszCaption,
                UINT uType);

int PrepareAndCopyFiles(HWND hDlg);
HRESULT CreateShortcut(LPCSTR pszTarget, LPCSTR pszLink, LPCSTR pszDescription);
int RegisterFileType(LPCSTR pszExtension, LPCSTR pszExecutable);
void RegisterShellExtension(void);
BOOL ComposeUninstallCommand(LPSTR pszCommand, LPCSTR pszFolder);
void RegisterUninstallInfo(HWND hDlg);
BOOL IsWindows95(void);
LPCSTR ComposeInfSetup(LPSTR pszParameters, BOOL bWindows95);
void RunInfSetup(HWND hDlg);

// Registry writes the steps share: keys are created or opened with full
// access, and text values are stored with their terminating zero.
BOOL CreateRegistryKey(HKEY hParent, LPCSTR pszKey, HKEY *phKey, DWORD *pdwDisposition);
LONG WriteRegistryText(HKEY hKey, LPCSTR pszValue, LPCSTR pszText);
BOOL WriteKeyText(HKEY hParent, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszText);
