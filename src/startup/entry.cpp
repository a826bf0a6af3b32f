// The program's own entry point: there is no C runtime. It derives WinMain's
// arguments from the process's command line and start-up information and
// ends the process with WinMain's result. Before anything can load a DLL by
// name, the search for DLLs is kept to the system folder.
#include "startup.h"

extern "C" void WinMainCRTStartup(void) {
  RestrictDllSearch();
  STARTUPINFOA si;
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  int nShowCmd = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWDEFAULT;
  LPSTR pszTail = SkipProgramName(GetCommandLineA());
  ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, pszTail, nShowCmd));
}

// The compiler may turn structure initialisation and copies into calls of
// these, which the C runtime would otherwise supply.
extern "C" void *memset(void *pvDest, int c, size_t cb) {
  unsigned char *pb = (unsigned char *)pvDest;
  while (cb--) *pb++ = (unsigned char)c;
  return pvDest;
}

extern "C" void *memcpy(void *pvDest, const void *pvSource, size_t cb) {
  unsigned char *pbDest = (unsigned char *)pvDest;
  const unsigned char *pbSource = (const unsigned char *)pvSource;
  while (cb--) *pbDest++ = *pbSource++;
  return pvDest;
}
