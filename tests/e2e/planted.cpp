// A DLL planted beside Install.exe under the name of one that the platform
// loads by name. Once loaded, it leaves a file named after itself and
// ".loaded" beside itself, which the footprint of its folder shows.
#include <windows.h>

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
  char szPath[MAX_PATH + 8];
  DWORD cch = GetModuleFileNameA(hInstance, szPath, MAX_PATH);
  if (dwReason == DLL_PROCESS_ATTACH && cch && cch < MAX_PATH) {
    lstrcatA(szPath, ".loaded");
    CloseHandle(CreateFileA(szPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  }
  return TRUE;
}
