// Window classes: registered by name or atom, looked up without regard to ASCII case, as
// Win32 does.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

#include "platform/winapi/core/internal.h"

namespace winapi::core {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

namespace {

std::string AtomKey(ATOM atom) {
    return "#" + std::to_string(atom);
}

WindowClass* FindClassMutable(LPCSTR nameOrAtom) {
    if (nameOrAtom == nullptr)
        return nullptr;
    State& state = SessionState();
    if (IS_INTRESOURCE(nameOrAtom)) {
        const ATOM atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(nameOrAtom));
        for (auto& [key, wc] : state.classes)
            if (wc->atom == atom)
                return wc.get();
        return nullptr;
    }
    const auto it = state.classes.find(LowerAscii(nameOrAtom));
    return it == state.classes.end() ? nullptr : it->second.get();
}

ATOM Register(const WNDCLASSA& wc, std::optional<ATOM> fixedAtom) {
    if (wc.lpszClassName == nullptr || wc.lpfnWndProc == nullptr || wc.cbWndExtra < 0 ||
        wc.cbClsExtra < 0 || wc.cbWndExtra > 40000 || wc.cbClsExtra > 40000) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClassMutable(wc.lpszClassName) != nullptr) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    State& state = SessionState();
    auto record = std::make_unique<WindowClass>();
    record->name =
        IS_INTRESOURCE(wc.lpszClassName)
            ? AtomKey(static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(wc.lpszClassName)))
            : std::string(wc.lpszClassName);
    record->atom = fixedAtom ? *fixedAtom : state.nextAtom++;
    record->style = wc.style;
    record->proc = wc.lpfnWndProc;
    record->classExtra = wc.cbClsExtra;
    record->windowExtra = wc.cbWndExtra;
    record->instance = wc.hInstance;
    record->icon = wc.hIcon;
    record->cursor = wc.hCursor;
    record->background = wc.hbrBackground;
    const ATOM atom = record->atom;
    state.classes.emplace(LowerAscii(record->name), std::move(record));
    return atom;
}

}  // namespace

const WindowClass* FindClass(LPCSTR nameOrAtom) {
    return FindClassMutable(nameOrAtom);
}

ATOM RegisterSystemClass(const WNDCLASSA& wc, ATOM atom) {
    return Register(wc, atom);
}

}  // namespace winapi::core

using namespace winapi::core;

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (lpWndClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Register(*lpWndClass, std::nullopt);
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    const WindowClass* wc = FindClass(lpClassName);
    if (wc == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    State& state = SessionState();
    for (HWND hwnd : state.windows.Handles()) {
        const Window* window = PeekWindowRecord(hwnd);
        if (window != nullptr && window->windowClass == wc) {
            SetLastError(ERROR_INVALID_PARAMETER);  // Win32: the class still has windows
            return FALSE;
        }
    }
    state.classes.erase(LowerAscii(wc->name));
    return TRUE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR lpClassName, LPWNDCLASSA lpWndClass) {
    const WindowClass* wc = FindClass(lpClassName);
    if (wc == nullptr || lpWndClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    lpWndClass->style = wc->style;
    lpWndClass->lpfnWndProc = wc->proc;
    lpWndClass->cbClsExtra = wc->classExtra;
    lpWndClass->cbWndExtra = wc->windowExtra;
    lpWndClass->hInstance = wc->instance;
    lpWndClass->hIcon = wc->icon;
    lpWndClass->hCursor = wc->cursor;
    lpWndClass->hbrBackground = wc->background;
    lpWndClass->lpszMenuName = nullptr;
    lpWndClass->lpszClassName = lpClassName;
    return TRUE;
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || lpClassName == nullptr || nMaxCount <= 0)
        return 0;
    std::string name = window->kind == WindowKind::Desktop ? "#32769"
                       : window->windowClass != nullptr    ? window->windowClass->name
                                                           : "";
    const int count = static_cast<int>(std::min<std::size_t>(name.size(), nMaxCount - 1));
    name.copy(lpClassName, count);
    lpClassName[count] = '\0';
    return count;
}
