// Start-up: the program's two globals, the mode choice and the message loop.
#pragma once
#include <windows.h>

#include "cmdline.h"

extern char g_szSourceDir[MAX_PATH];
extern int g_bExtensionCopied;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
