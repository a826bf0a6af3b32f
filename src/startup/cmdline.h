// The command-line rule Windows programs start by: the tail after the
// program's own name; and the switches of the tail.
#pragma once
#include <windows.h>

LPSTR SkipBlanks(LPSTR p);
LPSTR SkipProgramName(LPSTR pszCommandLine);
// The tail after the switch at its start, in any case (the switch is
// spelt in lower case); NULL when it starts otherwise.
LPSTR SkipSwitch(LPSTR p, LPCSTR pszSwitch);
// The same for a whole word, which a blank or the end of the tail ends:
// the tail after it and the blanks that follow it.
LPSTR SkipWord(LPSTR p, LPCSTR pszWord);
