// The platform's floor for the benchmark: a Win32 program that opens a window,
// closes it and ends, and does nothing else.
#include <windows.h>

static LRESULT CALLBACK TrivialWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

extern "C" void WinMainCRTStartup(void) {
  WNDCLASSA wc;
  wc.style = 0;
  wc.lpfnWndProc = TrivialWndProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.hIcon = NULL;
  wc.hCursor = NULL;
  wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
  wc.lpszMenuName = NULL;
  wc.lpszClassName = "TrivialWClass";
  RegisterClassA(&wc);
  HWND hWnd = CreateWindowA("TrivialWClass", "Trivial", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                            CW_USEDEFAULT, 200, 100, NULL, NULL, wc.hInstance, NULL);
  ShowWindow(hWnd, SW_SHOW);
  UpdateWindow(hWnd);
  DestroyWindow(hWnd);
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
  ExitProcess(0);
}
