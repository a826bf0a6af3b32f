#include "cmdline.h"

LPSTR SkipBlanks(LPSTR p) {
  while (*p && (unsigned char)*p <= ' ') ++p;
  return p;
}

// The command-line tail: the program name is skipped (a quoted name ends at
// its closing quote, an unquoted one at the first blank or control
// character), then every blank or control character after it.
LPSTR SkipProgramName(LPSTR pszCommandLine) {
  LPSTR p = pszCommandLine;
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) {
    }
    if (*p == '"') ++p;
  } else {
    while ((unsigned char)*p > ' ') ++p;
  }
  return SkipBlanks(p);
}

LPSTR SkipSwitch(LPSTR p, LPCSTR pszSwitch) {
  for (; *pszSwitch; ++p, ++pszSwitch)
    if ((*p >= 'A' && *p <= 'Z' ? *p + ('a' - 'A') : *p) != *pszSwitch) return NULL;
  return p;
}

LPSTR SkipWord(LPSTR p, LPCSTR pszWord) {
  p = SkipSwitch(p, pszWord);
  return p && (unsigned char)*p <= ' ' ? SkipBlanks(p) : NULL;
}
