// Programs nobody on this project wrote, using what the installer wrote:
// the shell opening a file, an independent reader of shortcut files, COM
// creating the shell extension's object, and Wine's Add/Remove Programs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The main application's window as it shows a file: its title and the
// program file of its process.
struct ApplicationWindow {
  HWND hwnd = NULL;
  std::string title;
  std::string image;
};

// Opens `file` the way the shell does (ShellExecuteA with "open") and waits
// for the main application's window that shows it.
ApplicationWindow OpenAsTheShellDoes(const std::string &file);
// Starts the main application as a user does, without a file.
ApplicationWindow StartApplication(const std::string &program);
// Asks the application to close (WM_CLOSE) and waits for its process.
bool CloseApplication(const ApplicationWindow &window);

// The output of a Unix program (standard output and error), run from this
// Windows process; its arguments in UTF-8.
std::string RunUnixProgram(const std::vector<std::string> &argv);
// The Unix path of a Windows path, in UTF-8.
std::string UnixPath(const std::string &path);
// What Debian's lnkinfo reads in a shortcut file, in UTF-8, its ANSI texts
// taken as Shift-JIS.
std::string LnkInfo(const std::string &link);

// Creates an object of the class through COM, in-process, on a thread of
// its own that is done with COM afterwards. `module` is the library that
// served it; `unloaded` says whether COM let go of the library again.
struct ComCreation {
  HRESULT result = E_FAIL;
  std::string module;
  bool unloaded = false;
};
ComCreation CreateThroughCom(const wchar_t *clsid);

// The output of a Windows program run to its end (at most `ms`).
std::string RunForOutput(const std::string &commandLine, DWORD ms = 20000);
