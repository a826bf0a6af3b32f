// The uninstall run on Windows 95, where RegDeleteKeyA deletes a key with
// all its subkeys: the maker key must still survive while another product
// of the same maker keeps its settings there.
#include <gtest/gtest.h>

#include "harness.h"
#include "uninstall/uninstall.h"

namespace {

// Stand-ins for ntdll's RtlGetVersion: it tells Windows NT, or fails.
LONG NTAPI ReportNT(OSVERSIONINFOW *pvi) {
  pvi->dwPlatformId = VER_PLATFORM_WIN32_NT;
  return 0;
}
LONG NTAPI FailAsNT(OSVERSIONINFOW *pvi) { return ReportNT(pvi) - 1; }

// GetVersionExA reports Windows 95 here, as it does to a program in the
// "Windows 95" compatibility mode of Windows NT; ntdll, where it tells,
// decides. Wine's setting changes both.
TEST(Windows95, PlatformIsPresentedAsWindows95AndNtdllDecides) {
  OSVERSIONINFOA vi = {};
  vi.dwOSVersionInfoSize = sizeof vi;
  ASSERT_TRUE(GetVersionExA(&vi));
  EXPECT_EQ((DWORD)VER_PLATFORM_WIN32_WINDOWS, vi.dwPlatformId);
  EXPECT_TRUE(IsWindows95());
  EXPECT_FALSE(IsWindows95By(ReportNT));
  EXPECT_TRUE(IsWindows95By(FailAsNT));
  EXPECT_TRUE(IsWindows95By(NULL));
}

TEST(Windows95, SettingsGoButTheMakerKeyKeepsOtherProducts) {
  const struct {
    bool otherProduct;
    bool makerKeyStays;
  } cases[] = {{true, true}, {false, false}};
  for (const auto &c : cases) {
    RegistrySandbox sandbox;
    WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Folders\\Deeper", "x", "1");
    WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi\\Options", "y", "2");
    if (c.otherProduct) WriteValue(HKEY_CURRENT_USER, "Software\\Kel\\Other", "z", "3");
    EXPECT_EQ(1, DeleteSettingsKeys());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Kel\\TokAvi"));
    EXPECT_EQ(c.makerKeyStays, KeyExists(HKEY_CURRENT_USER, "Software\\Kel"));
    EXPECT_EQ(c.otherProduct, KeyExists(HKEY_CURRENT_USER, "Software\\Kel\\Other"));
  }
}

}  // namespace
