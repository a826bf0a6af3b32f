// The installation dialog and its folder picker.
#pragma once
#include <windows.h>

INT_PTR CALLBACK InstallDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
int BrowseForInstallFolder(HWND hwndOwner, LPSTR pszBuffer);
