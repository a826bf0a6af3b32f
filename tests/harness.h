// What every test of the installer shares: a registry sandbox, temporary
// folders, and a responder that answers the message boxes the code under
// test shows, recording each exactly as the user saw it.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Maps HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE of this
// process onto private keys while it lives, then removes them. It starts
// with the keys a Windows machine always has and the installer expects:
// "SOFTWARE\Microsoft\Windows\CurrentVersion" and the Shell Folders key.
class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox &) = delete;
  RegistrySandbox &operator=(const RegistrySandbox &) = delete;

 private:
  std::string path_;
  HKEY roots_[3] = {};
};

// A folder under %TEMP%, removed with all its contents afterwards. The name
// may carry a suffix, a Shift-JIS one included.
class TempFolder {
 public:
  explicit TempFolder(const std::string &suffix = "");
  ~TempFolder();
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;
  const std::string &path() const { return path_; }  // no trailing backslash
  std::string operator/(const std::string &name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// One message box (or other dialog) that appeared.
struct Box {
  HWND owner;
  std::string text;
  std::string caption;
  UINT style;  // the MB_ buttons and icon flags it showed
  bool isMessageBox;
};

// Answers every message box the thread shows with the next scripted button
// (IDYES, IDNO, IDOK, IDCANCEL...) and records it. Unscripted boxes are
// answered with No, else Cancel, else OK, and recorded all the same. Other
// dialogs (the folder picker) are answered and recorded too; the
// installation dialog itself is handed to `onInstallDialog`, which runs from
// the message loop once the dialog is shown.
class Responder {
 public:
  explicit Responder(std::deque<int> answers = {});
  ~Responder();
  Responder(const Responder &) = delete;
  Responder &operator=(const Responder &) = delete;

  std::vector<Box> boxes;
  std::function<void(HWND)> onInstallDialog;

  void Answer(HWND hwnd);
  std::deque<int> answers;

 private:
  HHOOK hook_;
  std::vector<HWND> seen_;
};

// Runs `fn` from the thread's message loop as soon as it is next idle.
void RunFromLoop(std::function<void()> fn);

// File helpers for the tests.
void WriteFile(const std::string &path, const std::string &contents);
bool FileExists(const std::string &path);
std::string ReadFileText(const std::string &path);  // the whole file, "" if unreadable
std::string ReadWholeFile(const std::wstring &path);
// Removes a folder with everything in it.
void RemoveTree(const std::wstring &path);
// A text in the ANSI code page (or the one given) as UTF-16.
std::wstring Wide(const std::string &text, UINT codePage = CP_ACP);
bool SetFileTime(const std::string &path, DWORD lowDateTime);

// Registry helpers: a value's type and data as stored, and whether a key exists.
bool ReadValue(HKEY root, const std::string &key, const char *value, DWORD *type,
               std::string *data);
bool KeyExists(HKEY root, const std::string &key);
void WriteValue(HKEY root, const std::string &key, const char *value, const std::string &data,
                DWORD type = REG_SZ);

// The shell extension library's place in the system folder, which is the
// machine's own (the prefix's C:\windows\system32): tests remove what they
// put there.
std::string SystemLibrary();
// Waits until no DLL runner (rundll32.exe, or Wine's 16-bit loader running
// rundll.exe), such as one launched by the INF setup, is left running.
void WaitForRunners();

// The distribution folder built beside the tests, as a Windows path.
std::string DistFolder();
// The product folder of a test: a temporary folder holding the product files.
void CopyProductFiles(const std::string &folder);

// Programs started as processes of their own, as a user starts them. Their
// message boxes are found by process, read through their windows and
// answered by a click.
struct Program {
  PROCESS_INFORMATION pi;
  bool started;
};
Program StartProgram(const std::string &commandLine, const std::string &folder);
// Waits for the next visible dialog of the program; false after `ms`.
bool WaitForDialog(const Program &program, HWND *hwnd, DWORD ms = 20000);
Box ReadBox(HWND hwnd);
void ClickButton(HWND hwnd, int id);
// The exit code, or STILL_ACTIVE if the program did not end within `ms`
// (it is then ended).
DWORD WaitForExit(Program &program, DWORD ms = 20000);

// Runs the install mode in this process, as Install.exe started without
// arguments from `folder`: `drive` works the dialog once it is shown and
// should end by closing it or by pressing OK. Returns WinMain's result.
int RunInstallModeIn(const std::string &folder, Responder &responder,
                     std::function<void(HWND)> drive);
// The close box of the dialog.
void Close(HWND hDlg);
