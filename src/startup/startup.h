// Start-up: the source folder, the mode choice and the message loop.
#pragma once
#include <windows.h>

#include "cmdline.h"

extern char g_szSourceDir[MAX_PATH];

void RestrictDllSearch(void);
void PreloadPlatformDlls(void);
void PreloadSystemDlls(LPCSTR pszNames);
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
