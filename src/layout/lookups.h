// The folder lookups that the installer and the uninstall run share, over
// the file and registry helpers.
#pragma once
#include <windows.h>

#include "platform.h"

// What a folder lookup found: nothing; the folder, in ANSI; a folder that
// has no ANSI name, neither its own nor a short one, to be used by.
enum { FOLDER_NONE, FOLDER_FOUND, FOLDER_UNNAMED };

BOOL ReadWideText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValue, LPWSTR pwszText, DWORD cchText);
int ReadInstallFolder(LPSTR pszBuffer);
#include "layout.h"

int ComposeLinkPath(const SHORTCUTPLACE *pPlace, LPSTR pszLink);
BOOL ComposeSystemLibraryPath(LPSTR pszBuffer);

// Whether the paths of the first cFiles product files in the folder each
// fit a buffer of cbPath bytes (at most MAX_PATH).
BOOL FitsProductFiles(LPCSTR pszFolder, int cbPath, int cFiles);
// The name a copy, or the file it replaces, has beside its destination (a
// path of MAX_PATH bytes) while the copy step runs: the destination's with
// an ending of ours, which no user's file has, so that a later run knows
// what an interrupted one left. FALSE when it does not fit.
BOOL ComposeBeside(LPSTR pszPath, LPCSTR pszDest, LPCSTR pszEnding);
// A file of ours, whatever its attributes.
void DeleteOwnFile(LPCSTR pszPath);
// What an interrupted copy step left beside the file under our names; TRUE
// when one stays.
BOOL DeleteLeftovers(LPCSTR pszPath);
