// The installation dialog and its folder picker.
#pragma once
#include <windows.h>

// Created with the product folder, with its backslash, as its parameter.
INT_PTR CALLBACK InstallDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);
// The folder picker. 0 when it was cancelled or could not run; otherwise the
// buffer, of MAX_PATH characters of UTF-16, holds the chosen path: in ANSI
// (1), or on Windows NT in UTF-16 (2), or, when the item has no file-system
// path, its ANSI text as it was (1).
int BrowseForInstallFolder(HWND hwndOwner, LPSTR pszBuffer);
// The folder edit's text, in ANSI or (bWide) in UTF-16.
void TypeFolderText(HWND hDlg, LPCVOID pvFolder, BOOL bWide);
