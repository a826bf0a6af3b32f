#include "session.h"

#include <winternl.h>

#include <algorithm>
#include <cstdlib>

namespace {

// The control identifiers of the installation dialog.
const int kFolderEdit = 1010;
const struct {
  bool Options::*option;
  int id;
} kCheckBoxes[] = {
    {&Options::shellExtension, 1000},
    {&Options::desktop, 1006},
    {&Options::sendTo, 1007},
    {&Options::lzh, 1008},
    {&Options::zip, 1011},
    {&Options::arj, 1012},
    {&Options::tar, 1001},
    {&Options::cab, 1002},
};

// The command line of another process, read from its process parameters;
// empty when they cannot be read or are not yet written.
std::string ReadCommandLine(HANDLE hProcess) {
  typedef NTSTATUS(NTAPI * QueryFn)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  static QueryFn query =
      (QueryFn)(void *)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
  PROCESS_BASIC_INFORMATION pbi = {};
  if (!query || query(hProcess, ProcessBasicInformation, &pbi, sizeof pbi, NULL) != 0 ||
      !pbi.PebBaseAddress)
    return "";
  PEB peb;
  RTL_USER_PROCESS_PARAMETERS params;
  if (!ReadProcessMemory(hProcess, pbi.PebBaseAddress, &peb, sizeof peb, NULL) ||
      !peb.ProcessParameters ||
      !ReadProcessMemory(hProcess, peb.ProcessParameters, &params, sizeof params, NULL) ||
      !params.CommandLine.Length)
    return "";
  std::wstring line(params.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!ReadProcessMemory(hProcess, params.CommandLine.Buffer, &line[0], params.CommandLine.Length,
                         NULL) ||
      line.find(L'\0') != std::wstring::npos)
    return "";
  int cb = WideCharToMultiByte(CP_ACP, 0, line.data(), (int)line.size(), NULL, 0, NULL, NULL);
  std::string ansi(cb, '\0');
  WideCharToMultiByte(CP_ACP, 0, line.data(), (int)line.size(), &ansi[0], cb, NULL, NULL);
  return ansi;
}

// Read again at every poll: Wine writes a new process's parameters in steps
// while it starts, and a read then can find the command line's length with
// NULs for its text, or no image yet. What the last read that succeeded
// found stands; once the process has ended its command line cannot be read.
void Identify(Process &p) {
  char sz[MAX_PATH] = "";
  DWORD cch = MAX_PATH;
  if (QueryFullProcessImageNameA(p.handle, 0, sz, &cch)) p.image = sz;
  std::string line = ReadCommandLine(p.handle);
  if (!line.empty()) p.commandLine = line;
}

std::string WindowClass(HWND hwnd) {
  char sz[64] = "";
  GetClassNameA(hwnd, sz, sizeof sz);
  return sz;
}

struct TopLevel {
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lParam) {
  ((TopLevel *)lParam)->windows.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  TopLevel all;
  EnumWindows(CollectTopLevel, (LPARAM)&all);
  return all.windows;
}

// The icon a message box shows, told apart by its pixels: the system's four
// message-box icons are drawn here over the box's background and compared
// with what the screen shows. Handles of icons cannot be compared across
// processes.
UINT IconShown(HWND hBox) {
  HWND hIcon = NULL;
  for (HWND h = GetWindow(hBox, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    if (WindowClass(h) == "Static" && (GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(h))
      hIcon = h;
  if (!hIcon || !SendMessageA(hIcon, STM_GETICON, 0, 0)) return 0;
  const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
  RECT rc;
  GetWindowRect(hIcon, &rc);
  UpdateWindow(hBox);
  Sleep(150);  // the box's process hands its painting to the display

  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  HDC hdcScreen = GetDC(NULL);
  HDC hdc = CreateCompatibleDC(hdcScreen);
  // From the screen, or an icon (if any) drawn over the background.
  auto capture = [&](std::vector<DWORD> &pixels, bool screen, HICON icon, COLORREF background) {
    DWORD *bits;
    HBITMAP hbm = CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, (void **)&bits, NULL, 0);
    HGDIOBJ old = SelectObject(hdc, hbm);
    if (screen) {
      BitBlt(hdc, 0, 0, cx, cy, hdcScreen, rc.left, rc.top, SRCCOPY);
    } else {
      HBRUSH brush = CreateSolidBrush(background);
      RECT all = {0, 0, cx, cy};
      FillRect(hdc, &all, brush);
      DeleteObject(brush);
      if (icon) DrawIconEx(hdc, 0, 0, icon, cx, cy, 0, NULL, DI_NORMAL);
    }
    GdiFlush();
    pixels.assign(bits, bits + cx * cy);
    SelectObject(hdc, old);
    DeleteObject(hbm);
  };
  std::vector<DWORD> shown;
  capture(shown, true, NULL, 0);
  DWORD corner = shown[0];
  COLORREF background = RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF);
  const struct {
    LPCSTR id;
    UINT style;
  } icons[] = {{NULL, 0},
               {IDI_HAND, MB_ICONERROR},
               {IDI_QUESTION, MB_ICONQUESTION},
               {IDI_EXCLAMATION, MB_ICONWARNING},
               {IDI_ASTERISK, MB_ICONINFORMATION}};
  UINT best = 0;
  long long bestDistance = -1;
  for (const auto &icon : icons) {
    std::vector<DWORD> drawn;
    capture(drawn, false, icon.id ? LoadIconA(NULL, icon.id) : NULL, background);
    long long distance = 0;
    for (size_t i = 0; i < drawn.size(); ++i)
      for (int shift : {0, 8, 16})
        distance += std::abs((int)((drawn[i] >> shift) & 0xFF) - (int)((shown[i] >> shift) & 0xFF));
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = icon.style;
    }
  }
  DeleteDC(hdc);
  ReleaseDC(NULL, hdcScreen);
  return best;
}

// A message box is a dialog with its text in the static -1 and a place for
// its icon (0x440 in Wine's template, 0x14 in Windows').
bool IsMessageBox(HWND hwnd) {
  return WindowClass(hwnd) == "#32770" && GetDlgItem(hwnd, 0xFFFF) &&
         (GetDlgItem(hwnd, 0x0440) || GetDlgItem(hwnd, 0x0014));
}

UINT ButtonsShown(HWND hBox) {
  auto has = [hBox](int id) { return GetDlgItem(hBox, id) != NULL; };
  if (has(IDYES) && has(IDNO)) return has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
  if (has(IDABORT)) return MB_ABORTRETRYIGNORE;
  if (has(IDRETRY)) return MB_RETRYCANCEL;
  if (has(IDOK) && has(IDCANCEL)) return MB_OKCANCEL;
  return MB_OK;
}

}  // namespace

const Options kEveryOption = {true, true, true, true, true, true, true, true};
const Options kNoOption = {};
const Options kStartOptions = {true, false, false, false, false, false, false, false};

bool operator==(const Options &a, const Options &b) {
  for (const auto &box : kCheckBoxes)
    if (a.*box.option != b.*box.option) return false;
  return true;
}

Session::Session(const std::string &commandLine, const std::string &folder) {
  job_ = CreateJobObjectA(NULL, NULL);
  port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, NULL, 0, 1);
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {job_, port_};
  SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &association,
                          sizeof association);
  // A test cut short leaves nothing running behind it.
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi;
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, CREATE_SUSPENDED, NULL,
                      folder.empty() ? NULL : folder.c_str(), &si, &pi))
    return;
  AssignProcessToJobObject(job_, pi.hProcess);
  Process first;
  first.pid = pi.dwProcessId;
  first.handle = pi.hProcess;
  processes_.push_back(first);
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
}

Session::~Session() {
  if (job_) TerminateJobObject(job_, 1);
  for (auto &p : processes_) {
    WaitForSingleObject(p.handle, 5000);
    CloseHandle(p.handle);
  }
  if (port_) CloseHandle(port_);
  if (job_) CloseHandle(job_);
}

void Session::Poll() {
  DWORD message;
  ULONG_PTR key;
  LPOVERLAPPED data;
  while (port_ && GetQueuedCompletionStatus(port_, &message, &key, &data, 0)) {
    if (message != JOB_OBJECT_MSG_NEW_PROCESS) continue;
    DWORD pid = (DWORD)(ULONG_PTR)data;
    bool known = false;
    for (const auto &p : processes_) known |= p.pid == pid;
    if (known) continue;
    Process p;
    p.pid = pid;
    p.handle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION |
                               PROCESS_VM_READ | SYNCHRONIZE | PROCESS_TERMINATE,
                           FALSE, pid);
    if (p.handle) processes_.push_back(p);
  }
  for (auto &p : processes_) Identify(p);
}

const std::vector<Process> &Session::processes() {
  Poll();
  return processes_;
}

std::vector<HWND> Session::VisibleWindows() {
  Poll();
  std::vector<HWND> ours;
  for (HWND hwnd : TopLevelWindows()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    for (const auto &p : processes_)
      if (p.pid == pid && IsWindowVisible(hwnd)) ours.push_back(hwnd);
  }
  return ours;
}

HWND Session::WaitForDialogWith(int id, DWORD ms) {
  if (!started()) return NULL;
  for (DWORD start = GetTickCount(); GetTickCount() - start <= ms;) {
    for (HWND hwnd : VisibleWindows())
      if (WindowClass(hwnd) == "#32770" && GetDlgItem(hwnd, id)) return hwnd;
    if (WaitForSingleObject(first().handle, 10) == WAIT_OBJECT_0) return NULL;
  }
  return NULL;
}

HWND Session::WaitForBoxWindow(DWORD ms) {
  for (DWORD start = GetTickCount(); started() && GetTickCount() - start <= ms; Sleep(10)) {
    for (HWND hwnd : VisibleWindows())
      if (IsMessageBox(hwnd) &&
          std::find(answered_.begin(), answered_.end(), hwnd) == answered_.end())
        return hwnd;
  }
  return NULL;
}

MessageBoxSeen Session::WaitForBox(DWORD ms) {
  HWND hwnd = WaitForBoxWindow(ms);
  return hwnd ? ReadMessageBox(hwnd) : MessageBoxSeen();
}

void Session::Answer(HWND box, int id) {
  answered_.push_back(box);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(box, id));
  for (int i = 0; i < 1000 && IsWindow(box); ++i) Sleep(10);
}

DWORD Session::WaitForExit(DWORD ms) {
  if (!started()) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  // Polled meanwhile: a program it starts is identified while it runs.
  for (DWORD start = GetTickCount(); GetTickCount() - start <= ms; Poll()) {
    if (WaitForSingleObject(first().handle, 10) != WAIT_OBJECT_0) continue;
    GetExitCodeProcess(first().handle, &code);
    break;
  }
  Poll();
  return code;
}

bool Session::WaitForAll(DWORD ms) {
  for (DWORD waited = 0; waited <= ms; waited += 20) {
    Poll();
    bool running = false;
    for (const auto &p : processes_) running |= WaitForSingleObject(p.handle, 0) != WAIT_OBJECT_0;
    if (!running) return true;
    Sleep(20);
  }
  return false;
}

MessageBoxSeen ReadMessageBox(HWND hwnd) {
  MessageBoxSeen box;
  box.hwnd = hwnd;
  box.owner = GetWindow(hwnd, GW_OWNER);
  GetWindowThreadProcessId(hwnd, &box.pid);
  char sz[2048] = "";
  GetDlgItemTextA(hwnd, 0xFFFF, sz, sizeof sz);
  box.text = sz;
  box.caption = WindowTitle(hwnd);
  box.style = ButtonsShown(hwnd) | IconShown(hwnd);
  return box;
}

bool FillInstallDialog(HWND hDlg, const std::string *folder, const Options &options) {
  bool ok = true;
  if (folder) {
    SendDlgItemMessageA(hDlg, kFolderEdit, WM_SETTEXT, 0, (LPARAM)folder->c_str());
    ok &= DialogFolder(hDlg) == *folder;
  }
  for (const auto &box : kCheckBoxes) {
    HWND hButton = GetDlgItem(hDlg, box.id);
    bool wanted = options.*box.option;
    if ((SendMessageA(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED) != wanted)
      SendMessageA(hButton, BM_CLICK, 0, 0);
    ok &= (SendMessageA(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED) == wanted;
  }
  return ok;
}

std::string DialogFolder(HWND hDlg) {
  char sz[MAX_PATH] = "";
  GetDlgItemTextA(hDlg, kFolderEdit, sz, sizeof sz);
  return sz;
}

Options DialogOptions(HWND hDlg) {
  Options options;
  for (const auto &box : kCheckBoxes)
    options.*box.option = IsDlgButtonChecked(hDlg, box.id) == BST_CHECKED;
  return options;
}

HWND FocusOf(HWND hDlg) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, NULL), &info) ? info.hwndFocus : NULL;
}

// Posted, not sent: the button's command runs the dialog's modal message
// boxes, which the caller answers meanwhile.
void PressButton(HWND hDlg, int id) { PostMessageA(GetDlgItem(hDlg, id), BM_CLICK, 0, 0); }

std::vector<HWND> WindowsOfClass(const char *className) {
  std::vector<HWND> found;
  for (HWND hwnd : TopLevelWindows())
    if (WindowClass(hwnd) == className) found.push_back(hwnd);
  return found;
}

std::string WindowTitle(HWND hwnd) {
  char sz[1024] = "";
  GetWindowTextA(hwnd, sz, sizeof sz);
  return sz;
}
