// Device contexts of windows and of the screen.
#include "platform/winapi/gdi/window_dc.h"

#include <memory>

#include "platform/winapi/gdi/device_context.h"
#include "platform/winapi/gdi/object_table.h"

namespace winapi::gdi {

HDC OpenWindowDc(HWND hwnd, CanvasArea area, std::optional<RECT> paintClip) {
    if (!GetWindowCanvas(hwnd, area)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return static_cast<HDC>(
        ObjectTable::Instance().Add(std::make_unique<DeviceContext>(hwnd, area, paintClip)));
}

bool CloseWindowDc(HDC hdc) {
    DeviceContext* dc = ObjectTable::Instance().Find<DeviceContext>(hdc);
    if (dc == nullptr || dc->IsMemory())
        return false;
    dc->ReleaseSelections();
    return ObjectTable::Instance().Remove(hdc);
}

}  // namespace winapi::gdi

// GetDC(NULL) is the screen's DC: the desktop window's, which covers the whole screen. It reads
// the screen; what is drawn on it is clipped away (the desktop has no pixels of ours), and the
// drawing calls still succeed.
HDC WINAPI GetDC(HWND hWnd) {
    return winapi::gdi::OpenWindowDc(hWnd != nullptr ? hWnd : GetDesktopWindow(),
                                     winapi::CanvasArea::Client, std::nullopt);
}

HDC WINAPI GetWindowDC(HWND hWnd) {
    return winapi::gdi::OpenWindowDc(hWnd != nullptr ? hWnd : GetDesktopWindow(),
                                     winapi::CanvasArea::Window, std::nullopt);
}

// The window handle is not checked: the DC knows its window, as Win32's DC cache does.
int WINAPI ReleaseDC(HWND, HDC hDC) {
    return winapi::gdi::CloseWindowDc(hDC) ? 1 : 0;
}
