// The program's entry on systems without Win32: opens the X display, starts the Win32 layer
// over it with the program's embedded resources and its arguments, and calls WinMain as
// Windows would. The program's own code begins at WinMain.
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/x11/open_x11_display.h"
#include "platform/framework/command_line.h"
#include "platform/winapi/host.h"
#include "tintaro_module_resources.h"

int main(int argc, char** argv) {
    // A write to a connection or pipe whose other end has gone returns an error, as it does for
    // a Win32 program, instead of ending the process silently: a write to an X server that
    // died between our last read and this write then reaches Xlib, whose I/O error handler
    // reports the lost display in one line.
    std::signal(SIGPIPE, SIG_IGN);
    std::string error;
    std::unique_ptr<display::Backend> backend = display::OpenX11Display(&error);
    if (!backend) {
        std::fprintf(stderr, "tintaro: %s; to run without a screen, try: xvfb-run %s\n",
                     error.c_str(), argc > 0 ? argv[0] : "tintaro");
        return 1;
    }
    winapi::SetModuleResources(TintaroModuleResources());
    winapi::SetProgramArguments(std::vector<std::string>(argv, argv + argc));
    winapi::Session session(std::move(backend));
    return WinMain(GetModuleHandleA(nullptr), nullptr,
                   framework::SkipProgramName(GetCommandLineA()), SW_SHOWDEFAULT);
}
