#include "clients.h"

#include <objbase.h>
#include <shellapi.h>

#include "footprint.h"
#include "session.h"

namespace {

const char kApplicationClass[] = "TokaviWClass";

// One argument quoted for a command line as the C runtime (and Wine, for
// Unix programs) split it.
std::wstring QuoteArgument(const std::wstring &argument) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

ApplicationWindow WaitForApplication(const std::string &title, DWORD ms) {
  ApplicationWindow window;
  for (DWORD waited = 0; waited <= ms && !window.hwnd; waited += 50) {
    for (HWND hwnd : WindowsOfClass(kApplicationClass))
      if (IsWindowVisible(hwnd) && WindowTitle(hwnd) == title) window.hwnd = hwnd;
    if (!window.hwnd) Sleep(50);
  }
  if (!window.hwnd) return window;
  window.title = title;
  DWORD pid = 0;
  GetWindowThreadProcessId(window.hwnd, &pid);
  HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  char sz[MAX_PATH] = "";
  DWORD cch = MAX_PATH;
  if (h && QueryFullProcessImageNameA(h, 0, sz, &cch)) window.image = sz;
  if (h) CloseHandle(h);
  return window;
}

struct ComThread {
  const wchar_t *clsid;
  ComCreation *result;
};

DWORD WINAPI CreateOnThread(LPVOID parameter) {
  auto *job = (ComThread *)parameter;
  CLSID clsid;
  if (FAILED(CoInitialize(NULL))) return 0;
  if (SUCCEEDED(CLSIDFromString(job->clsid, &clsid))) {
    IUnknown *object = NULL;
    job->result->result =
        CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER, IID_IUnknown, (void **)&object);
    if (SUCCEEDED(job->result->result) && object) {
      // The object's table of methods lies in the library that serves it.
      HMODULE hModule = NULL;
      char sz[MAX_PATH] = "";
      if (GetModuleHandleExA(
              GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
              *(LPCSTR *)object, &hModule))
        GetModuleFileNameA(hModule, sz, MAX_PATH);
      job->result->module = sz;
      object->Release();
    }
  }
  CoFreeUnusedLibrariesEx(0, 0);
  CoUninitialize();
  return 0;
}

}  // namespace

ApplicationWindow OpenAsTheShellDoes(const std::string &file) {
  HINSTANCE h = ShellExecuteA(NULL, "open", file.c_str(), NULL, NULL, SW_SHOWNORMAL);
  if ((INT_PTR)h <= 32) return ApplicationWindow();
  return WaitForApplication("Tokavi - " + file, 20000);
}

ApplicationWindow StartApplication(const std::string &program) {
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  std::string line = "\"" + program + "\"";
  if (!CreateProcessA(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
    return ApplicationWindow();
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return WaitForApplication("Tokavi", 20000);
}

bool CloseApplication(const ApplicationWindow &window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window.hwnd, &pid);
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  PostMessageA(window.hwnd, WM_CLOSE, 0, 0);
  bool ended = h && WaitForSingleObject(h, 10000) == WAIT_OBJECT_0;
  if (h && !ended) TerminateProcess(h, 1);
  if (h) CloseHandle(h);
  return ended;
}

std::string UnixPath(const std::string &path) {
  typedef char *(CDECL * ToUnix)(LPCWSTR);
  auto toUnix =
      (ToUnix)(void *)GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
  if (!toUnix) return "";
  char *unix = toUnix(Wide(path).c_str());
  std::string result = unix ? unix : "";
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

// Wine starts a Unix program given by its Unix path, but hands it neither a
// process handle to wait for nor a pipe: the program writes into a file
// through the shell, which renames the file when the program has ended.
std::string RunUnixProgram(const std::vector<std::string> &argv) {
  char szTemp[MAX_PATH], szFile[MAX_PATH];
  GetTempPathA(MAX_PATH, szTemp);
  GetTempFileNameA(szTemp, "unx", 0, szFile);
  DeleteFileA(szFile);
  std::string out = UnixPath(szFile);
  std::vector<std::string> args = {
      "/bin/sh", "-c",
      "out=$0; \"$@\" >\"$out.part\" 2>&1; echo \"exit $?\" >>\"$out.part\"; "
      "/bin/mv \"$out.part\" \"$out\"",
      out};
  args.insert(args.end(), argv.begin(), argv.end());
  std::wstring line;
  for (const auto &arg : args)
    line += (line.empty() ? L"" : L" ") + QuoteArgument(Wide(arg, CP_UTF8));
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(NULL, &line[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return "";
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  for (int i = 0; i < 400 && GetFileAttributesA(szFile) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  std::string output = ReadWholeFile(Wide(szFile));
  DeleteFileA(szFile);
  return output;
}

std::string LnkInfo(const std::string &link) {
  return RunUnixProgram({"/usr/bin/lnkinfo", "-c", "windows-932", UnixPath(link)});
}

ComCreation CreateThroughCom(const wchar_t *clsid) {
  ComCreation result;
  ComThread job = {clsid, &result};
  HANDLE h = CreateThread(NULL, 0, CreateOnThread, &job, 0, NULL);
  WaitForSingleObject(h, INFINITE);
  CloseHandle(h);
  result.unloaded = result.module.empty() || !GetModuleHandleA(result.module.c_str());
  return result;
}

std::string RunForOutput(const std::string &commandLine, DWORD ms) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
  HANDLE hRead, hWrite;
  if (!CreatePipe(&hRead, &hWrite, &sa, 0)) return "";
  SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = hWrite;
  si.hStdError = hWrite;
  PROCESS_INFORMATION pi;
  std::string line = commandLine;
  BOOL started = CreateProcessA(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &pi);
  CloseHandle(hWrite);
  // Read while it runs, not to the pipe's end: a console host that Wine
  // starts for the program inherits the pipe and may hold it open longer.
  std::string output;
  auto drain = [&] {
    DWORD available = 0, cb;
    char buf[4096];
    while (PeekNamedPipe(hRead, NULL, 0, NULL, &available, NULL) && available &&
           ReadFile(hRead, buf, sizeof buf, &cb, NULL) && cb)
      output.append(buf, cb);
  };
  if (started) {
    for (DWORD waited = 0; WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT; waited += 20) {
      drain();
      if (waited > ms) TerminateProcess(pi.hProcess, 1);
    }
    drain();
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  CloseHandle(hRead);
  return output;
}
