// The installation's steps where the whole run cannot reach their cases:
// an uninstall entry that cannot be made afresh.
#include <gtest/gtest.h>

#include "harness.h"
#include "install/install.h"

namespace {

// A stand-in for the dialog: a window with the folder edit.
struct FolderWindow {
  explicit FolderWindow(const char *folder)
      : hwnd(CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 9, 9, NULL, NULL, NULL, NULL)) {
    CreateWindowA("EDIT", folder, WS_CHILD, 0, 0, 9, 9, hwnd, (HMENU)1010, NULL, NULL);
  }
  ~FolderWindow() { DestroyWindow(hwnd); }
  HWND hwnd;
};

// An entry that cannot be deleted (it has a subkey) stays as it was,
// silently; one that cannot be created is reported, with the platform's own
// caption.
TEST(RegisterUninstallInfo, KeepsOrReportsWhatItCannotReplace) {
  const std::string windows = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  for (bool volatileParent : {false, true}) {
    RegistrySandbox sandbox;
    HKEY h;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, (windows + "\\Uninstall").c_str(), 0, NULL,
                    volatileParent ? REG_OPTION_VOLATILE : 0, KEY_ALL_ACCESS, NULL, &h, NULL);
    RegCloseKey(h);
    if (!volatileParent)
      WriteValue(HKEY_LOCAL_MACHINE, windows + "\\Uninstall\\Tokavi\\Sub", "x", "1");
    FolderWindow window("D:\\Tools");
    Responder responder;
    MessageBoxA(NULL, "", NULL, MB_OK);  // shows the platform's default caption
    RegisterUninstallInfo(window.hwnd);
    DWORD type;
    std::string data;
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, windows + "\\Uninstall\\Tokavi", "UninstallString",
                           &type, &data));
    ASSERT_EQ(volatileParent ? 2u : 1u, responder.boxes.size());
    if (!volatileParent) continue;
    const Box &box = responder.boxes[1];
    EXPECT_EQ("ｱﾝｲﾝｽﾄｰﾙ情報が登録できませんでした。", box.text);
    EXPECT_EQ(responder.boxes[0].caption, box.caption);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONERROR), box.style);
    EXPECT_EQ(window.hwnd, box.owner);
  }
}

}  // namespace
