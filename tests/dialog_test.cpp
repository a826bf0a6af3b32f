// The installation dialog: its template as built into Install.exe, its start
// state, and how it asks before quitting.
#include <gtest/gtest.h>
#include <objbase.h>

#include "harness.h"

namespace {

const char kAskCancel[] = "ｲﾝｽﾄｰﾙを中止しますか？";
const int kCheckBoxes[] = {1000, 1006, 1007, 1008, 1011, 1012, 1001, 1002};

// Reads a dialog template's word-aligned, UTF-16 strings as Shift-JIS.
std::string ReadTemplateText(const WORD *&p) {
  std::string text;
  if (*p == 0xFFFF) {
    text = "#" + std::to_string(p[1]);
    p += 2;
    return text;
  }
  char sz[512];
  WideCharToMultiByte(932, 0, (LPCWSTR)p, -1, sz, sizeof sz, NULL, NULL);
  p += lstrlenW((LPCWSTR)p) + 1;
  return sz;
}

// A resource of the built Install.exe in Japanese; the module stays loaded
// as data for the rest of the test program.
const void *LoadInstallResource(LPCSTR type, int id) {
  static HMODULE hExe =
      LoadLibraryExA((DistFolder() + "\\Install.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC hRes = hExe ? FindResourceExA(hExe, type, MAKEINTRESOURCEA(id),
                                      MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT))
                    : NULL;
  return hRes ? LockResource(LoadResource(hExe, hRes)) : NULL;
}

TEST(DialogTemplate, IsBuiltIntoInstallExeExactly) {
  const DLGTEMPLATE *dlg = (const DLGTEMPLATE *)LoadInstallResource(RT_DIALOG, 104);
  ASSERT_TRUE(dlg);
  EXPECT_EQ((DWORD)(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), dlg->style);
  EXPECT_EQ(0, dlg->x);
  EXPECT_EQ(0, dlg->y);
  EXPECT_EQ(231, dlg->cx);
  EXPECT_EQ(189, dlg->cy);
  ASSERT_EQ(13, dlg->cdit);
  const WORD *p = (const WORD *)(dlg + 1);
  EXPECT_EQ("", ReadTemplateText(p));  // menu
  EXPECT_EQ("", ReadTemplateText(p));  // class
  EXPECT_EQ("TOKAVIインストール", ReadTemplateText(p));
  EXPECT_EQ(9, *p++);
  EXPECT_EQ("ＭＳ Ｐゴシック", ReadTemplateText(p));

  const DWORD base = WS_CHILD | WS_VISIBLE;
  const struct {
    int id;
    const char *cls;
    const char *text;
    DWORD style;
    short x, y, cx, cy;
  } controls[] = {
      {-1, "#130", "インストール先(&I):", base | WS_GROUP | SS_LEFT, 19, 11, 61, 8},
      {1010, "#129", "", base | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 19, 24, 142, 14},
      {1009, "#128", "参照(&R)...", base | WS_TABSTOP | BS_PUSHBUTTON, 170, 24, 46, 14},
      {1000, "#128", "シェル拡張を使う(&E)", base | WS_TABSTOP | BS_AUTOCHECKBOX, 19, 45, 163, 10},
      {1006, "#128", "デスクトップにショートカットを作成(&D)", base | WS_TABSTOP | BS_AUTOCHECKBOX,
       19, 60, 158, 10},
      {1007, "#128", "エクスプローラのメニューの 「送る」 に入れる(&S)",
       base | WS_TABSTOP | BS_AUTOCHECKBOX, 19, 75, 158, 10},
      {1008, "#128", "LZHファイルに Tokaviを関連付け(&L)", base | WS_TABSTOP | BS_AUTOCHECKBOX, 19,
       90, 181, 10},
      {1011, "#128", "ＺＩＰファイルに Tokaviを関連付け(&Z)", base | WS_TABSTOP | BS_AUTOCHECKBOX,
       19, 105, 205, 10},
      {1012, "#128", "ARJファイルに Tokaviを関連付け(&A)", base | WS_TABSTOP | BS_AUTOCHECKBOX, 19,
       120, 205, 10},
      {1001, "#128", "TAR/TAZ/TGZ ファイルに Tokaviを関連付け(&T)",
       base | WS_TABSTOP | BS_AUTOCHECKBOX, 19, 135, 205, 10},
      {1002, "#128", "CAB ファイルに Tokaviを関連付け(&C)", base | WS_TABSTOP | BS_AUTOCHECKBOX, 19,
       150, 205, 10},
      {1, "#128", "&OK", base | WS_TABSTOP | BS_DEFPUSHBUTTON, 54, 168, 50, 14},
      {2, "#128", "ｷｬﾝｾﾙ(&C)", base | WS_TABSTOP | BS_PUSHBUTTON, 124, 168, 50, 14},
  };
  for (const auto &c : controls) {
    p = (const WORD *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
    const DLGITEMTEMPLATE *item = (const DLGITEMTEMPLATE *)p;
    EXPECT_EQ(c.style, item->style) << c.id;
    EXPECT_EQ(0u, item->dwExtendedStyle) << c.id;
    EXPECT_EQ(c.x, item->x) << c.id;
    EXPECT_EQ(c.y, item->y) << c.id;
    EXPECT_EQ(c.cx, item->cx) << c.id;
    EXPECT_EQ(c.cy, item->cy) << c.id;
    EXPECT_EQ((WORD)c.id, item->id);
    p = (const WORD *)(item + 1);
    EXPECT_EQ(c.cls, ReadTemplateText(p)) << c.id;
    EXPECT_EQ(c.text, ReadTemplateText(p)) << c.id;
    p += 1 + *p / sizeof(WORD);  // creation data
  }
}

// The icon group holds a 32x32 and a 16x16 image of 16 colours.
TEST(DialogTemplate, CarriesTheProgramIcon) {
  const BYTE *group = (const BYTE *)LoadInstallResource(RT_GROUP_ICON, 128);
  ASSERT_TRUE(group);
  const WORD count = *(const WORD *)(group + 4);
  ASSERT_EQ(2, count);
  std::vector<int> sizes;
  for (int i = 0; i < count; ++i) {
    const BYTE *entry = group + 6 + 14 * i;  // width, height, colours, ...
    sizes.push_back(entry[0]);
    EXPECT_EQ(16, entry[2]);
  }
  EXPECT_EQ((std::vector<int>{32, 16}), sizes);
}

struct StartState {
  std::string folder;
  std::vector<UINT> checks;
  POINT position;
  RECT rect;
  bool editHasFocus;
};

StartState ReadStartState(HWND hDlg) {
  StartState state;
  char sz[MAX_PATH];
  GetDlgItemTextA(hDlg, 1010, sz, MAX_PATH);
  state.folder = sz;
  for (int id : kCheckBoxes) state.checks.push_back(IsDlgButtonChecked(hDlg, id));
  GetWindowRect(hDlg, &state.rect);
  state.position = {state.rect.left, state.rect.top};
  state.editHasFocus = GetFocus() == GetDlgItem(hDlg, 1010);
  return state;
}

StartState OpenAndRead(const std::string &productFolder) {
  Responder responder;
  StartState state;
  RunInstallModeIn(productFolder, responder, [&](HWND h) {
    state = ReadStartState(h);
    Close(h);
  });
  EXPECT_TRUE(responder.boxes.empty());
  return state;
}

TEST(InstallDialog, OpensWithTheRecordedOrTheDefaultFolder) {
  TempFolder product;
  WriteFile(product / "Tokavi.exe", "stand-in");
  char szWindows[MAX_PATH];
  GetWindowsDirectoryA(szWindows, MAX_PATH);
  const struct {
    const char *recorded;
    std::string folder;
  } cases[] = {
      {NULL, std::string(1, szWindows[0]) + ":\\Program Files\\Tokavi"},
      {"", std::string(1, szWindows[0]) + ":\\Program Files\\Tokavi"},
      {"D:\\Tools\\表", "D:\\Tools\\表"},
  };
  for (const auto &c : cases) {
    RegistrySandbox sandbox;
    if (c.recorded)
      WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Folders", "TokAviDir",
                 std::string(c.recorded) + '\0');
    StartState state = OpenAndRead(product.path());
    EXPECT_EQ(c.folder, state.folder);
    EXPECT_EQ((std::vector<UINT>{1, 0, 0, 0, 0, 0, 0, 0}), state.checks);
    EXPECT_TRUE(state.editHasFocus);
    int cx = state.rect.right - state.rect.left, cy = state.rect.bottom - state.rect.top;
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - cx) / 2, state.position.x);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - cy) / 3, state.position.y);
  }
}

// Escape and Cancel ask first; No keeps the dialog, Yes quits with code 0.
TEST(InstallDialog, AsksBeforeCancelling) {
  RegistrySandbox sandbox;
  TempFolder product;
  WriteFile(product / "Tokavi.exe", "stand-in");
  Responder responder({IDNO, IDNO, IDYES});
  HWND hDialog = NULL;
  int result = RunInstallModeIn(product.path(), responder, [&](HWND h) {
    hDialog = h;
    PostMessageA(GetDlgItem(h, 1010), WM_KEYDOWN, VK_ESCAPE, 0);
    RunFromLoop([h] {
      PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
      RunFromLoop([h] { PostMessageA(h, WM_COMMAND, IDCANCEL, 0); });
    });
  });
  EXPECT_EQ(0, result);
  ASSERT_EQ(3u, responder.boxes.size());
  for (const Box &box : responder.boxes) {
    EXPECT_EQ(kAskCancel, box.text);
    EXPECT_EQ("終了確認", box.caption);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), box.style);
    EXPECT_EQ(hDialog, box.owner);
  }
}

TEST(InstallDialog, CloseBoxQuitsWithoutAsking) {
  RegistrySandbox sandbox;
  TempFolder product;
  WriteFile(product / "Tokavi.exe", "stand-in");
  Responder responder;
  EXPECT_EQ(0, RunInstallModeIn(product.path(), responder,
                                [](HWND h) { PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }));
  EXPECT_TRUE(responder.boxes.empty());
}

// Cancelling the folder picker leaves the edit as typed, without the
// backslash the browse command appends for the picker.
TEST(InstallDialog, CancelledFolderPickerLeavesTheEdit) {
  RegistrySandbox sandbox;
  TempFolder product;
  WriteFile(product / "Tokavi.exe", "stand-in");
  Responder responder({IDCANCEL});
  std::string after;
  RunInstallModeIn(product.path(), responder, [&](HWND h) {
    SetDlgItemTextA(h, 1010, "E:\\Typed\\表");
    SendMessageA(h, WM_COMMAND, 1009, 0);
    char sz[MAX_PATH];
    GetDlgItemTextA(h, 1010, sz, MAX_PATH);
    after = sz;
    Close(h);
  });
  ASSERT_EQ(1u, responder.boxes.size());
  EXPECT_FALSE(responder.boxes[0].isMessageBox);
  EXPECT_EQ("E:\\Typed\\表", after);
}

// The install mode sets COM up on its thread for the folder picker and
// undoes it when the dialog ends.
TEST(InstallDialog, HasCOMForTheFolderPicker) {
  RegistrySandbox sandbox;
  TempFolder product;
  WriteFile(product / "Tokavi.exe", "stand-in");
  Responder responder;
  HRESULT hrDuring = E_FAIL;
  RunInstallModeIn(product.path(), responder, [&](HWND h) {
    hrDuring = CoInitialize(NULL);
    CoUninitialize();
    Close(h);
  });
  EXPECT_EQ(S_FALSE, hrDuring);
  EXPECT_EQ(S_OK, CoInitialize(NULL));
  CoUninitialize();
}

}  // namespace
