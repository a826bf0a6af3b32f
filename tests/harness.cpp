#include "harness.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include "startup/startup.h"

namespace {

const HKEY kPredefined[3] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
const char *const kRootNames[3] = {"HKCR", "HKCU", "HKLM"};
int g_sandboxCount;
int g_tempCount;

HKEY CreateKey(HKEY root, const std::string &key) {
  HKEY h = NULL;
  EXPECT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL))
      << key;
  return h;
}

Responder *g_responder;

std::string WindowText(HWND hwnd) {
  char sz[2048] = "";
  GetWindowTextA(hwnd, sz, sizeof sz);
  return sz;
}

// The buttons and icon a message box shows, as the MB_ flags that made it.
UINT MessageBoxStyle(HWND hwnd) {
  auto has = [hwnd](int id) { return GetDlgItem(hwnd, id) != NULL; };
  UINT style = MB_OK;
  if (has(IDYES) && has(IDNO))
    style = has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
  else if (has(IDABORT))
    style = MB_ABORTRETRYIGNORE;
  else if (has(IDRETRY))
    style = MB_RETRYCANCEL;
  else if (has(IDOK) && has(IDCANCEL))
    style = MB_OKCANCEL;
  const struct {
    LPCSTR id;
    UINT flag;
  } icons[] = {{IDI_HAND, MB_ICONERROR},
               {IDI_QUESTION, MB_ICONQUESTION},
               {IDI_EXCLAMATION, MB_ICONWARNING},
               {IDI_ASTERISK, MB_ICONINFORMATION}};
  for (int idIcon : {0x0440, 0x0014}) {
    HICON hIcon = (HICON)SendDlgItemMessageA(hwnd, idIcon, STM_GETICON, 0, 0);
    if (!hIcon) continue;
    for (const auto &icon : icons)
      if (LoadIconA(NULL, icon.id) == hIcon) style |= icon.flag;
  }
  return style;
}

int DefaultAnswer(HWND hwnd) {
  if (GetDlgItem(hwnd, IDNO)) return IDNO;
  if (GetDlgItem(hwnd, IDCANCEL)) return IDCANCEL;
  return IDOK;
}

LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HCBT_ACTIVATE && g_responder) g_responder->Answer((HWND)wParam);
  return CallNextHookEx(NULL, nCode, wParam, lParam);
}

std::vector<std::function<void()>> g_pending;

void CALLBACK RunPending(HWND, UINT, UINT_PTR idTimer, DWORD) {
  KillTimer(NULL, idTimer);
  std::vector<std::function<void()>> pending;
  pending.swap(g_pending);
  for (auto &fn : pending) fn();
}

}  // namespace

RegistrySandbox::RegistrySandbox() {
  path_ = "Software\\TokaviTestSandbox\\" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++g_sandboxCount);
  for (int i = 0; i < 3; ++i) {
    roots_[i] = CreateKey(HKEY_CURRENT_USER, path_ + "\\" + kRootNames[i]);
    EXPECT_EQ(ERROR_SUCCESS, RegOverridePredefKey(kPredefined[i], roots_[i]));
  }
  RegCloseKey(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"));
  RegCloseKey(CreateKey(HKEY_CURRENT_USER,
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"));
}

RegistrySandbox::~RegistrySandbox() {
  for (int i = 0; i < 3; ++i) {
    RegOverridePredefKey(kPredefined[i], NULL);
    RegCloseKey(roots_[i]);
  }
  RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TokaviTestSandbox");
}

TempFolder::TempFolder(const std::string &suffix) {
  char szTemp[MAX_PATH];
  GetTempPathA(MAX_PATH, szTemp);
  path_ = std::string(szTemp) + "tokavi-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++g_tempCount) + suffix;
  EXPECT_TRUE(CreateDirectoryA(path_.c_str(), NULL)) << path_;
}

TempFolder::~TempFolder() { RemoveTree(Wide(path_)); }

Responder::Responder(std::deque<int> scripted) : answers(std::move(scripted)) {
  g_responder = this;
  hook_ = SetWindowsHookExA(WH_CBT, CbtProc, NULL, GetCurrentThreadId());
}

Responder::~Responder() {
  UnhookWindowsHookEx(hook_);
  g_responder = NULL;
}

void Responder::Answer(HWND hwnd) {
  char szClass[64] = "";
  GetClassNameA(hwnd, szClass, sizeof szClass);
  if (lstrcmpA(szClass, "#32770") != 0) return;
  for (HWND h : seen_)
    if (h == hwnd) return;
  seen_.push_back(hwnd);
  if (GetDlgItem(hwnd, 1010) && onInstallDialog) {
    auto fn = onInstallDialog;
    RunFromLoop([fn, hwnd] { fn(hwnd); });
    return;
  }
  if (GetDlgItem(hwnd, 1010)) return;
  bool isMessageBox = GetDlgItem(hwnd, 0xFFFF) != NULL;
  char szText[2048] = "";
  GetDlgItemTextA(hwnd, 0xFFFF, szText, sizeof szText);
  boxes.push_back({GetWindow(hwnd, GW_OWNER), szText, WindowText(hwnd),
                   isMessageBox ? MessageBoxStyle(hwnd) : 0, isMessageBox});
  int answer = DefaultAnswer(hwnd);
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)GetDlgItem(hwnd, answer));
}

void RunFromLoop(std::function<void()> fn) {
  g_pending.push_back(std::move(fn));
  SetTimer(NULL, 0, 0, RunPending);
}

void WriteFile(const std::string &path, const std::string &contents) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
  DWORD cb;
  ::WriteFile(h, contents.data(), (DWORD)contents.size(), &cb, NULL);
  CloseHandle(h);
}

bool FileExists(const std::string &path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileText(const std::string &path) { return ReadWholeFile(Wide(path)); }

bool SetFileTime(const std::string &path, DWORD lowDateTime) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME ft;
  GetFileTime(h, NULL, NULL, &ft);
  ft.dwLowDateTime = lowDateTime;
  BOOL ok = ::SetFileTime(h, NULL, NULL, &ft);
  CloseHandle(h);
  return ok;
}

bool ReadValue(HKEY root, const std::string &key, const char *value, DWORD *type,
               std::string *data) {
  HKEY h;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  char buf[4096];
  DWORD cb = sizeof buf;
  LONG rc = RegQueryValueExA(h, value, NULL, type, (LPBYTE)buf, &cb);
  RegCloseKey(h);
  if (rc != ERROR_SUCCESS) return false;
  data->assign(buf, cb);
  return true;
}

bool KeyExists(HKEY root, const std::string &key) {
  HKEY h;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void WriteValue(HKEY root, const std::string &key, const char *value, const std::string &data,
                DWORD type) {
  HKEY h = CreateKey(root, key);
  EXPECT_EQ(ERROR_SUCCESS,
            RegSetValueExA(h, value, 0, type, (const BYTE *)data.data(), (DWORD)data.size()));
  RegCloseKey(h);
}

std::string SystemLibrary() {
  char sz[MAX_PATH];
  GetSystemDirectoryA(sz, MAX_PATH);
  return std::string(sz) + "\\ShTokavi.dll";
}

void WaitForRunners() {
  for (int round = 0; round < 300; ++round) {
    HANDLE hSnap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    bool running = false;
    for (BOOL ok = Process32First(hSnap, &pe); ok; ok = Process32Next(hSnap, &pe))
      // Wine runs the 16-bit rundll.exe in its 16-bit loader.
      if (lstrcmpiA(pe.szExeFile, "rundll32.exe") == 0 ||
          lstrcmpiA(pe.szExeFile, "winevdm.exe") == 0)
        running = true;
    CloseHandle(hSnap);
    if (!running) return;
    Sleep(100);
  }
  ADD_FAILURE() << "rundll32.exe is still running";
}

std::string DistFolder() {
  std::string path = "Z:" TOKAVI_DIST_DIR;
  for (char &c : path)
    if (c == '/') c = '\\';
  return path;
}

void CopyProductFiles(const std::string &folder) {
  for (const char *name : {"Tokavi.exe", "Tokavi.txt", "Tokavi.hlp", "Tokavi.cnt", "Install.exe",
                           "history.txt", "Tokavi.inf", "ShTokavi.dll"}) {
    std::string source = DistFolder() + "\\" + name;
    EXPECT_TRUE(CopyFileA(source.c_str(), (folder + "\\" + name).c_str(), FALSE)) << source;
  }
}

Program StartProgram(const std::string &commandLine, const std::string &folder) {
  Program program = {};
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  program.started = CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL,
                                   folder.empty() ? NULL : folder.c_str(), &si, &program.pi);
  EXPECT_TRUE(program.started) << commandLine << " error " << GetLastError();
  return program;
}

namespace {
struct DialogSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindProgramDialog(HWND hwnd, LPARAM lParam) {
  auto *search = (DialogSearch *)lParam;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char szClass[64] = "";
  GetClassNameA(hwnd, szClass, sizeof szClass);
  if (pid != search->pid || lstrcmpA(szClass, "#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
  search->found = hwnd;
  return FALSE;
}
}  // namespace

bool WaitForDialog(const Program &program, HWND *hwnd, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    DialogSearch search = {program.pi.dwProcessId, NULL};
    EnumWindows(FindProgramDialog, (LPARAM)&search);
    if (search.found) {
      *hwnd = search.found;
      return true;
    }
    if (WaitForSingleObject(program.pi.hProcess, 50) == WAIT_OBJECT_0) return false;
  }
  return false;
}

Box ReadBox(HWND hwnd) {
  char szText[2048] = "";
  GetDlgItemTextA(hwnd, 0xFFFF, szText, sizeof szText);
  bool isMessageBox = GetDlgItem(hwnd, 0xFFFF) != NULL;
  return {GetWindow(hwnd, GW_OWNER), szText, WindowText(hwnd),
          isMessageBox ? MessageBoxStyle(hwnd) & MB_TYPEMASK : 0, isMessageBox};
}

void ClickButton(HWND hwnd, int id) {
  PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(hwnd, id));
}

DWORD WaitForExit(Program &program, DWORD ms) {
  if (!program.started) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(program.pi.hProcess, ms) != WAIT_OBJECT_0)
    TerminateProcess(program.pi.hProcess, 1);
  else
    GetExitCodeProcess(program.pi.hProcess, &code);
  CloseHandle(program.pi.hProcess);
  CloseHandle(program.pi.hThread);
  program.started = false;
  return code;
}

int RunInstallModeIn(const std::string &folder, Responder &responder,
                     std::function<void(HWND)> drive) {
  char szOld[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, szOld);
  SetCurrentDirectoryA(folder.c_str());
  HWND hDlg = NULL;
  responder.onInstallDialog = [&hDlg, drive](HWND h) {
    hDlg = h;
    drive(h);
  };
  char tail[] = "";
  int result = WinMain(GetModuleHandleA(NULL), NULL, tail, SW_SHOW);
  SetCurrentDirectoryA(szOld);
  if (hDlg) DestroyWindow(hDlg);
  return result;
}

void Close(HWND hDlg) { SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::wstring Wide(const std::string &text, UINT codePage) {
  if (text.empty()) return L"";
  int cch = MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), NULL, 0);
  std::wstring wide(cch, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), &wide[0], cch);
  return wide;
}

std::string ReadWholeFile(const std::wstring &path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                         OPEN_EXISTING, 0, NULL);
  std::string contents;
  if (h == INVALID_HANDLE_VALUE) return contents;
  char buf[65536];
  DWORD cb;
  while (ReadFile(h, buf, sizeof buf, &cb, NULL) && cb) contents.append(buf, cb);
  CloseHandle(h);
  return contents;
}

void RemoveTree(const std::wstring &path) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(path.c_str());
}
