// The installation the dialog's OK command runs.
#pragma once
#include <windows.h>

INT_PTR RunInstallation(HWND hDlg);
