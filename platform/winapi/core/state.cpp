#include "platform/winapi/core/state.h"

#include "platform/winapi/session_parts.h"
#include "platform/winapi/system_classes.h"

namespace winapi::core {
namespace {

std::unique_ptr<State> g_state;

void EndSession();
const SessionEndHook kEndHook{SessionEndOrder::Windows, &EndSession};

}  // namespace

State& SessionState() {
    if (!g_state) {
        g_state = std::make_unique<State>();
        RegisterSystemClasses();
    }
    return *g_state;
}

Window& WindowTable::Add(WindowKind kind) {
    auto window = std::make_unique<Window>();
    // Handles look like Win32's: small, even, never null and never one of the HWND_* values.
    window->handle = reinterpret_cast<HWND>(0x10000 + m_nextId * 4);
    window->kind = kind;
    Window& ref = *window;
    m_windows.emplace(m_nextId++, std::move(window));
    return ref;
}

Window* WindowTable::Find(HWND hwnd) {
    const auto value = reinterpret_cast<std::uintptr_t>(hwnd);
    if (value < 0x10000 || (value & 3) != 0)
        return nullptr;
    const auto it = m_windows.find((value - 0x10000) / 4);
    return it == m_windows.end() ? nullptr : it->second.get();
}

void WindowTable::Remove(HWND hwnd) {
    const auto value = reinterpret_cast<std::uintptr_t>(hwnd);
    if (value < 0x10000)
        return;
    m_windows.erase((value - 0x10000) / 4);
}

void WindowTable::Clear() {
    m_windows.clear();
}

std::vector<HWND> WindowTable::Handles() const {
    std::vector<HWND> handles;
    handles.reserve(m_windows.size());
    for (const auto& [id, window] : m_windows)
        handles.push_back(window->handle);
    return handles;
}

Window* PeekWindowRecord(HWND hwnd) {
    if (!g_state)
        return nullptr;
    return g_state->windows.Find(hwnd);
}

Window* FindWindowRecord(HWND hwnd) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

void DestroyAllWindows();

namespace {

void EndSession() {
    if (!g_state)
        return;
    DestroyAllWindows();
    g_state.reset();
}

}  // namespace
}  // namespace winapi::core
