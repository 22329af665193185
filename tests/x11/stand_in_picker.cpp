// A stand-in for the picker's main window, run as its own process on the X11 backend through
// the Win32 layer: a 202 x 200 window titled "Tintaro LE" whose client area is one known
// colour, with a 100 ms timer that reads one screen pixel through the desktop DC and repaints
// a 10 x 10 swatch of it, as the picker's loop does. Its second run (--raise) finds the first
// by title and brings it back, as the picker does when started twice.
//
// It reports on standard output, one line each: "painted L T R B" (the client area on screen)
// after its first paint, "minimized" and "restored" on WM_SIZE, "active" and "inactive" on
// WM_ACTIVATE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/display/x11/open_x11_display.h"
#include "platform/winapi/host.h"

namespace {

constexpr char kTitle[] = "Tintaro LE";
constexpr char kClassName[] = "TintaroStandIn";
constexpr COLORREF kClientColour = RGB(0x20, 0x80, 0xC0);
constexpr RECT kSwatch{8, 8, 18, 18};
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 100;

struct Options {
    bool raise = false;
    bool minimizeAfterPaint = false;
    POINT at{400, 300};
    POINT sample{0, 0};
};

struct WindowState {
    Options options;
    COLORREF swatch = RGB(0, 0, 0);
    bool painted = false;
    bool minimized = false;
};

WindowState g_state;

void Report(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void ReportPainted(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    Report("painted " + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " +
           std::to_string(origin.x + client.right) + " " +
           std::to_string(origin.y + client.bottom));
}

void OnTick(HWND hwnd) {
    HDC screen = GetDC(nullptr);
    g_state.swatch = GetPixel(screen, g_state.options.sample.x, g_state.options.sample.y);
    ReleaseDC(nullptr, screen);
    InvalidateRect(hwnd, &kSwatch, FALSE);
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HBRUSH brush = CreateSolidBrush(g_state.swatch);
    FillRect(dc, &kSwatch, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &paint);
    if (g_state.painted) {
        return;
    }
    g_state.painted = true;
    ReportPainted(hwnd);
    if (g_state.options.minimizeAfterPaint) {
        ShowWindow(hwnd, SW_MINIMIZE);
    }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            OnTick(hwnd);
            return 0;
        case WM_PAINT:
            OnPaint(hwnd);
            return 0;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED && !g_state.minimized) {
                g_state.minimized = true;
                Report("minimized");
            } else if (wParam == SIZE_RESTORED && g_state.minimized) {
                g_state.minimized = false;
                Report("restored");
            }
            return 0;
        case WM_ACTIVATE:
            Report(LOWORD(wParam) != WA_INACTIVE ? "active" : "inactive");
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool ParsePoint(const char* text, POINT* point) {
    int x = 0, y = 0;
    if (std::sscanf(text, "%d,%d", &x, &y) != 2) {
        return false;
    }
    *point = {x, y};
    return true;
}

bool ParseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--raise") {
            options->raise = true;
        } else if (arg == "--minimize") {
            options->minimizeAfterPaint = true;
        } else if (arg == "--at" && i + 1 < argc) {
            if (!ParsePoint(argv[++i], &options->at))
                return false;
        } else if (arg == "--sample" && i + 1 < argc) {
            if (!ParsePoint(argv[++i], &options->sample))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

// The second run: the first copy's window, restored if minimised and brought forward.
int RaiseFirstCopy() {
    HWND first = FindWindowA(nullptr, kTitle);
    if (first == nullptr) {
        std::fputs("no window titled Tintaro LE\n", stderr);
        return 1;
    }
    ShowWindow(first, SW_RESTORE);
    return SetForegroundWindow(first) ? 0 : 3;
}

int RunWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.lpszClassName = kClassName;
    windowClass.hbrBackground = CreateSolidBrush(kClientColour);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    if (RegisterClassA(&windowClass) == 0) {
        return 4;
    }
    HWND hwnd = CreateWindowExA(
        0, kClassName, kTitle, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
        g_state.options.at.x, g_state.options.at.y, 202, 200, nullptr, nullptr, nullptr, nullptr);
    if (hwnd == nullptr) {
        return 5;
    }
    SetTimer(hwnd, kTickTimer, kTickMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int main(int argc, char** argv) {
    if (!ParseOptions(argc, argv, &g_state.options)) {
        std::fputs("usage: stand_in_picker [--raise] [--minimize] [--at X,Y] [--sample X,Y]\n",
                   stderr);
        return 2;
    }
    std::string error;
    auto backend = display::OpenX11Display(&error);
    if (!backend) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    winapi::Session session(std::move(backend));
    winapi::SetProgramArguments(std::vector<std::string>(argv, argv + argc));
    return g_state.options.raise ? RaiseFirstCopy() : RunWindow();
}
