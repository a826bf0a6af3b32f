// Path composition in fixed buffers. A path that does not fit its buffer is
// refused, never cut short: a shortened path names another file.
#pragma once
#include <windows.h>

BOOL EndsWithBackslash(LPCSTR pszPath);
BOOL AppendText(LPSTR pszBuffer, int cbBuffer, LPCSTR pszText);
BOOL AppendBackslash(LPSTR pszBuffer, int cbBuffer);
void RemoveTrailingBackslash(LPSTR pszPath);
BOOL ComposePath(LPSTR pszBuffer, int cbBuffer, LPCSTR pszFolder, LPCSTR pszName);
BOOL ComposePlatformPath(LPSTR pszBuffer, UINT(WINAPI *pfnGetFolder)(LPSTR, UINT), LPCSTR pszName);
void ShortenPath(LPSTR pszPath);
BOOL IsAbsoluteFolder(LPCSTR pszFolder);
BOOL ShortenWidePath(LPWSTR pwszPath);
BOOL ConvertFaithfully(LPWSTR pwszPath, LPSTR pszPath, int cbPath);
