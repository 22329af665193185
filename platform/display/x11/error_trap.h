// Protocol errors never end the program: a window of ours or of another client may vanish
// between a request and its processing, and a read across the screen edge fails. The handler
// installed here records each error; an ErrorTrap tells whether one happened in a stretch of
// requests. A lost connection is different: it ends the process at once.
#pragma once

#include "platform/display/x11/xlib.h"

namespace display::x11 {

enum class LostDisplayAction {
    ReportAndExit,  // the program: one line on stderr, exit status 1
    ExitQuietly,    // the background clipboard server: nothing left to serve
};

// Installs the process's Xlib error and I/O error handlers (Xlib keeps one of each).
void InstallErrorHandlers(LostDisplayAction onLost);

// Counts the errors of requests made while it lives.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to process every request so far; true when one of them failed.
    bool Caught();
    // The error code of the last failed request, 0 for none.
    int LastCode() const;

private:
    Display* m_display;
    unsigned long m_countAtStart;
};

}  // namespace display::x11
