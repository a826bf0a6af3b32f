#include "install.h"

// The installation sequence is not built yet: OK leaves everything as it is.
INT_PTR RunInstallation(HWND) { return TRUE; }
