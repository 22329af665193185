#include "platform/display/x11/error_trap.h"

#include <unistd.h>

namespace display::x11 {

namespace {

unsigned long g_errorCount = 0;
int g_lastErrorCode = 0;
LostDisplayAction g_onLost = LostDisplayAction::ReportAndExit;

int RecordError(Display*, XErrorEvent* error) {
    ++g_errorCount;
    g_lastErrorCode = error->error_code;
    return 0;
}

// Xlib cannot go on once the connection is gone, and must not run exit handlers that would
// talk to it again: write one line and leave with _exit.
int LoseDisplay(Display*) {
    if (g_onLost == LostDisplayAction::ReportAndExit) {
        static const char kMessage[] = "tintaro: lost the X display\n";
        [[maybe_unused]] const ssize_t written = write(2, kMessage, sizeof kMessage - 1);
        _exit(1);
    }
    _exit(0);
}

}  // namespace

void InstallErrorHandlers(LostDisplayAction onLost) {
    g_onLost = onLost;
    XSetErrorHandler(RecordError);
    XSetIOErrorHandler(LoseDisplay);
}

ErrorTrap::ErrorTrap(Display* display) : m_display(display), m_countAtStart(g_errorCount) {}

bool ErrorTrap::Caught() {
    XSync(m_display, False);
    return g_errorCount != m_countAtStart;
}

int ErrorTrap::LastCode() const {
    return g_errorCount != m_countAtStart ? g_lastErrorCode : 0;
}

}  // namespace display::x11
