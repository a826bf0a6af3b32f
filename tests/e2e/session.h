// Programs started as a user starts them, followed with every process they
// start in turn (a job object collects them), and the windows they show:
// message boxes are found, read as the user sees them and answered by a
// click, the installation dialog is filled in through its controls.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct Process {
  DWORD pid = 0;
  HANDLE handle = NULL;
  std::string image;        // full path, as last read
  std::string commandLine;  // as last read while the process ran
};

// A message box as it appeared.
struct MessageBoxSeen {
  HWND hwnd = NULL;
  HWND owner = NULL;
  DWORD pid = 0;
  std::string text;
  std::string caption;
  UINT style = 0;  // the MB_ buttons and icon it shows
};

class Session {
 public:
  // Starts `commandLine` with `folder` as its current directory.
  Session(const std::string &commandLine, const std::string &folder);
  ~Session();  // ends whatever of the session still runs
  Session(const Session &) = delete;
  Session &operator=(const Session &) = delete;

  bool started() const { return !processes_.empty(); }
  const Process &first() const { return processes_.front(); }
  // Every process seen so far, the first one first.
  const std::vector<Process> &processes();

  // The first visible dialog of the session that has a control `id`; NULL
  // after `ms`, or as soon as the first process has ended.
  HWND WaitForDialogWith(int id, DWORD ms = 20000);
  // The next message box a process of the session shows, read; an empty
  // one (hwnd NULL) after `ms`.
  MessageBoxSeen WaitForBox(DWORD ms = 20000);
  // The same, unread.
  HWND WaitForBoxWindow(DWORD ms = 20000);
  // Clicks a button of the box and waits for the box to go.
  void Answer(HWND box, int id);
  // The first process's exit code, or STILL_ACTIVE after `ms`.
  DWORD WaitForExit(DWORD ms = 20000);
  // Whether every process of the session ended within `ms`.
  bool WaitForAll(DWORD ms = 20000);

 private:
  void Poll();
  // The visible top-level windows of the session's processes.
  std::vector<HWND> VisibleWindows();
  HANDLE job_ = NULL;
  HANDLE port_ = NULL;
  std::vector<Process> processes_;
  std::vector<HWND> answered_;
};

// A message box as the user sees it: text, caption, owner, buttons and icon.
MessageBoxSeen ReadMessageBox(HWND hwnd);

// The installation dialog's check boxes.
struct Options {
  bool shellExtension = false;
  bool desktop = false;
  bool sendTo = false;
  bool lzh = false;
  bool zip = false;
  bool arj = false;
  bool tar = false;
  bool cab = false;
};
extern const Options kEveryOption;
extern const Options kNoOption;
// As the dialog starts: only the shell extension checked.
extern const Options kStartOptions;
bool operator==(const Options &a, const Options &b);

// Types the folder (unless null) into the edit and sets each check box by
// clicking it where it differs, as a user does. False when a control did
// not take the change.
bool FillInstallDialog(HWND hDlg, const std::string *folder, const Options &options);
std::string DialogFolder(HWND hDlg);
Options DialogOptions(HWND hDlg);
// The control that has the keyboard focus in the dialog's thread.
HWND FocusOf(HWND hDlg);
// Presses a push button of the dialog (OK, Cancel), as a click does.
void PressButton(HWND hDlg, int id);

// The top-level windows of a class, and a window's title.
std::vector<HWND> WindowsOfClass(const char *className);
std::string WindowTitle(HWND hwnd);
