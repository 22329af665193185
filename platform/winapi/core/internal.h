// Functions the parts of the window system share among themselves.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <windows.h>

#include "platform/winapi/core/state.h"

namespace winapi::core {

// Classes
const WindowClass* FindClass(LPCSTR nameOrAtom);
// Registers one of the window system's own classes (controls, dialogs) under a fixed atom.
ATOM RegisterSystemClass(const WNDCLASSA& wc, ATOM atom);
std::string LowerAscii(std::string_view text);

// Geometry
struct Insets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
// The classic frame, caption and edges that a window of these styles has around its client area.
Insets NonClientInsets(DWORD style, DWORD exStyle);
bool IsTopLevel(const Window& window);
HWND TopLevelOf(HWND hwnd);
// Window and client rectangles in screen coordinates.
RECT ScreenWindowRect(const Window& window);
RECT ScreenClientRect(const Window& window);
// Sends WM_NCCALCSIZE and stores the client rectangle it gives.
void RecalcClientRect(Window& window);
bool IsReallyVisible(const Window& window);  // it and all its ancestors are visible

// Stacking of top-level windows
void RaiseTopLevel(HWND hwnd);
void SyncSurfaceStacking();

// Activation and focus
void ActivateWindow(HWND hwnd, WORD how);
void DropActivation(HWND hwnd);  // hwnd is going away or being hidden: pass activation on
void ClearFocusWithin(HWND hwnd);

// Painting
void InvalidateWindow(HWND hwnd, const RECT* clientRect, bool erase, bool children, bool frame);
HWND FindWindowToPaint(HWND filter);
void ResizeSurface(Window& window);
void MarkWholeSurfaceDirty(Window& window);
void ForgetSurface(display::SurfaceId id);
// BeginPaint takes the caret off a window it is about to paint (true when it did), EndPaint
// puts it back.
bool SuspendCaretForPaint(HWND hwnd);
void ResumeCaretAfterPaint();
// Whether a caret exists (it goes with its window).
bool CaretExists();

// Messages
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
bool PostTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PumpBackendEvents();
// Settles the window of keyboard input for the focus as it is now; false when no window of
// ours can take it (nothing is active).
bool SettleKeyboardTarget(InputMessage& input);
void RemoveMessagesFor(HWND hwnd);
void KillTimersOf(HWND hwnd);
std::uint64_t Now();

// Input
LPARAM KeyLParam(int vk, bool up, bool repeat, bool alt);
void NoteKeyRetrieved(const MSG& msg);

// Icons and titles reach the display
void UpdateSurfaceIcon(Window& window);

// Windows of other processes
HWND ForeignWindowHandle(display::ForeignWindowId id, std::string_view title);

}  // namespace winapi::core
