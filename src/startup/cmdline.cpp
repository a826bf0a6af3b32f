#include "cmdline.h"

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
  while (*p && (unsigned char)*p <= ' ') ++p;
  return p;
}
