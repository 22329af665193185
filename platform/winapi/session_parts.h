// What each part of the Win32 layer does when a session ends. A part that keeps state
// registers its hook from the file that holds the state (a namespace-scope SessionEndHook);
// Session's destructor runs the hooks in their order: windows first (their destruction still
// draws and frees objects), then the objects, fonts, resources and kernel state they used.
#pragma once

namespace winapi {

enum class SessionEndOrder { Windows = 0, Gdi = 10, Fonts = 20, Resources = 30, Kernel = 40 };

struct SessionEndHook {
    SessionEndHook(SessionEndOrder order, void (*end)());
};

}  // namespace winapi
