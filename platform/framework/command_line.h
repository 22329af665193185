// The argument part of a Win32 command line, as WinMain's lpCmdLine has it.
#pragma once

#include <windows.h>

namespace framework {

// What follows the program name and the blanks after it. A quoted name ends at its closing
// quote (arguments may follow it directly); an unquoted one at the first blank. A null line
// gives an empty one.
LPSTR SkipProgramName(LPSTR commandLine);

}  // namespace framework
