// How many objects of each kind the session holds: GetGuiResources as Win32 totals them, and
// the census by kind that tests and benches use to prove nothing leaks. It lives with the menus,
// the highest of the three tables it counts (windows and GDI objects lie below).
#include <windows.h>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/core/state.h"
#include "platform/winapi/gdi/object_table.h"
#include "platform/winapi/host.h"
#include "platform/winapi/menu/menu_table.h"

namespace winapi {

ObjectCensus TakeObjectCensus() {
    ObjectCensus census;
    core::State& state = core::SessionState();
    for (const HWND hwnd : state.windows.Handles()) {
        const core::Window* window = core::PeekWindowRecord(hwnd);
        if (window != nullptr && window->kind == core::WindowKind::Normal)
            ++census.windows;
    }
    const gdi::ObjectTable& objects = gdi::ObjectTable::Instance();
    census.deviceContexts = objects.CountedObjects(gdi::ObjectKind::Dc);
    census.gdiObjects = objects.CountedObjects();
    census.icons = objects.CountedObjects(gdi::ObjectKind::Icon);
    census.menus = menu::MenuTable::Instance().Count();
    // Win32's USER objects of a process: its windows, menus, icons and cursors, the caret,
    // accelerator tables, hooks and pending window positions; this layer has the first four.
    census.userObjects =
        census.windows + census.menus + census.icons + (core::CaretExists() ? 1 : 0);
    return census;
}

}  // namespace winapi

// Every process handle counts this process: there is no other one to ask about. Icons count in
// both, as in Win32, where an icon is a USER object that holds GDI bitmaps.
DWORD WINAPI GetGuiResources(HANDLE, DWORD uiFlags) {
    const winapi::ObjectCensus census = winapi::TakeObjectCensus();
    switch (uiFlags) {
        case GR_GDIOBJECTS:
            return static_cast<DWORD>(census.gdiObjects);
        case GR_USEROBJECTS:
            return static_cast<DWORD>(census.userObjects);
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
    }
}
