// The end-to-end driver's own parts that could go wrong unseen, checked
// against the platform: the footprint reads every kind of value exactly as
// the registry holds it, and a message box's icon is told apart by its
// pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../harness.h"
#include "footprint.h"
#include "session.h"

namespace {

const char kKey[] = "Software\\TokaviDriverCheck";

std::string Bytes(const std::wstring &text) {
  return std::string((const char *)text.data(), text.size() * sizeof(wchar_t));
}

// A string with its terminator, as a REG_SZ holds it.
std::string Sz(const std::wstring &text) { return Bytes(text + L'\0'); }

// Values whose saved form needs escapes, continuation lines or a type of
// its own: each must come back byte for byte as the registry answers for it
// (Wine terminates a string value that was written without its zero).
TEST(Footprint, ReadsEveryValueAsTheRegistryHoldsIt) {
  std::string binary;
  for (int i = 0; i < 300; ++i) binary += (char)i;
  const struct {
    const wchar_t *name;
    DWORD type;
    std::string data;
  } cases[] = {
      {L"", REG_SZ, Sz(L"default")},
      {L"terminated", REG_SZ, Sz(L"C:\\a \"b\"\\")},
      {L"unterminated", REG_SZ, Bytes(L"no zero")},
      {L"odd size", REG_SZ, "abc"},
      {L"表ソ\\\"name\"", REG_SZ, Sz(L"ﾄｶｳﾞｨ 表 \u12345\n\t[]")},
      {L"embedded zero", REG_SZ, Sz(std::wstring{L'a', L'\0', L'7', L'b'})},
      {L"expand", REG_EXPAND_SZ, Sz(L"%SystemRoot%")},
      {L"multi", REG_MULTI_SZ, Sz(std::wstring(L"one\0two\0", 8))},
      {L"dword", REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
      {L"short dword", REG_DWORD, std::string("\x01", 1)},
      {L"binary", REG_BINARY, binary},
      {L"empty", REG_BINARY, ""},
      {L"other type", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
  };
  HKEY h;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL));
  std::vector<std::string> held;
  for (const auto &c : cases) {
    RegSetValueExW(h, c.name, 0, c.type, (const BYTE *)c.data.data(), (DWORD)c.data.size());
    BYTE buf[1024];
    DWORD cb = sizeof buf;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(h, c.name, NULL, NULL, buf, &cb));
    held.emplace_back((const char *)buf, cb);
  }
  RegCloseKey(h);

  Footprint fp;
  fp.TakeRegistry();
  RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
  for (size_t i = 0; i < held.size(); ++i) {
    const auto &c = cases[i];
    const Fact *found = NULL;
    for (const auto &[id, fact] : fp.facts)
      if (fact.kind == Fact::kValue && fact.root == HKEY_CURRENT_USER && fact.path == Wide(kKey) &&
          fact.name == c.name)
        found = &fact;
    ASSERT_TRUE(found) << Utf8(c.name);
    EXPECT_EQ(c.type, found->type) << Utf8(c.name);
    EXPECT_EQ(held[i], found->data) << Utf8(c.name);
  }
}

struct BoxThread {
  UINT style;
  const char *caption;
};

DWORD WINAPI ShowBox(LPVOID parameter) {
  auto *box = (BoxThread *)parameter;
  MessageBoxA(NULL, "text", box->caption, box->style);
  return 0;
}

TEST(ReadMessageBox, TellsTheIconsApart) {
  for (UINT style : {MB_OK, MB_OK | MB_ICONERROR, MB_YESNO | MB_ICONQUESTION,
                     MB_OKCANCEL | MB_ICONWARNING, MB_OK | MB_ICONINFORMATION}) {
    std::string caption = "icon check " + std::to_string(style);
    BoxThread box = {style, caption.c_str()};
    HANDLE hThread = CreateThread(NULL, 0, ShowBox, &box, 0, NULL);
    HWND hwnd = NULL;
    for (int i = 0; i < 500 && !(hwnd = FindWindowA("#32770", caption.c_str())); ++i) Sleep(10);
    ASSERT_TRUE(hwnd) << style;
    while (!IsWindowVisible(hwnd)) Sleep(10);
    EXPECT_EQ(style, ReadMessageBox(hwnd).style);
    PostMessageA(hwnd, WM_COMMAND, style & MB_YESNO ? IDNO : IDOK, 0);
    WaitForSingleObject(hThread, 10000);
    CloseHandle(hThread);
  }
}

}  // namespace
