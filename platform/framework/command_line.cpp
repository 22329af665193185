#include "platform/framework/command_line.h"

namespace framework {
namespace {

// Control characters count as blanks, as in the C runtime's start-up code; bytes of UTF-8
// sequences are above 0x7F and so are never blanks.
bool IsBlank(char c) {
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

LPSTR SkipProgramName(LPSTR commandLine) {
    static char empty[1] = {'\0'};
    if (commandLine == nullptr) {
        return empty;
    }
    char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            ++p;
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (*p != '\0' && !IsBlank(*p)) {
            ++p;
        }
    }
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

}  // namespace framework
