#include "platform/winapi/clipboard/clipboard.h"

#include "platform/winapi/clipboard/clipboard_text.h"
#include "platform/winapi/host.h"
#include "platform/winapi/kernel/global_memory.h"
#include "platform/winapi/session_parts.h"

namespace winapi::clipboard {
namespace {

const SessionEndHook kEndHook(SessionEndOrder::Resources, [] { Clipboard::Instance().Reset(); });

kernel::GlobalMemory& Memory() {
    return kernel::GlobalMemory::Instance();
}

}  // namespace

Clipboard& Clipboard::Instance() {
    static Clipboard clipboard;
    return clipboard;
}

bool Clipboard::CheckOpen() {
    // A window destroyed with the clipboard open leaves it open to nobody; let it go.
    if (m_open && m_openWindow != nullptr && !IsWindow(m_openWindow))
        Close();
    if (m_open)
        return true;
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return false;
}

bool Clipboard::StillOurs() {
    if (!m_owning)
        return false;
    if (!m_published || CurrentBackend().ClipboardText() == m_published)
        return true;
    m_owning = false;
    m_owner = nullptr;
    m_text.reset();
    m_formats.clear();
    m_published.reset();
    m_clearPending = false;
    return false;
}

std::optional<std::string> Clipboard::CurrentText() {
    if (StillOurs())
        return m_text;
    auto text = CurrentBackend().ClipboardText();
    // An empty display clipboard is the same as none: that is how an emptied one is left.
    if (text && text->empty())
        return std::nullopt;
    return text;
}

void Clipboard::Publish(const std::string& text) {
    m_clearPending = false;
    if (m_published == text && CurrentBackend().ClipboardText() == text)
        return;
    CurrentBackend().SetClipboardText(text);
    m_published = text;
}

void Clipboard::FreeHeldBlocks() {
    for (HGLOBAL block : m_takenBlocks)
        Memory().FreeSystemBlock(block);
    m_takenBlocks.clear();
    for (const auto& [format, block] : m_handedOut)
        Memory().FreeSystemBlock(block);
    m_handedOut.clear();
}

BOOL Clipboard::Open(HWND window) {
    if (window != nullptr && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (m_open && m_openWindow != nullptr && !IsWindow(m_openWindow))
        Close();
    if (m_open) {
        if (window == m_openWindow)
            return TRUE;
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    m_open = true;
    m_openWindow = window;
    m_emptiedWhileOpen = false;
    return TRUE;
}

BOOL Clipboard::Close() {
    if (!m_open) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    if (m_clearPending && m_owning && !m_text)
        Publish("");
    m_clearPending = false;
    FreeHeldBlocks();
    m_open = false;
    m_openWindow = nullptr;
    m_emptiedWhileOpen = false;
    return TRUE;
}

BOOL Clipboard::Empty() {
    if (!CheckOpen())
        return FALSE;
    for (const auto& [format, block] : m_handedOut)
        Memory().FreeSystemBlock(block);
    m_handedOut.clear();
    // Ownership passes to the window that opened the clipboard, even a null one.
    m_owning = true;
    m_owner = m_openWindow;
    m_text.reset();
    m_formats.clear();
    m_clearPending = true;
    m_emptiedWhileOpen = true;
    return TRUE;
}

HANDLE Clipboard::SetData(UINT format, HANDLE memory) {
    if (!CheckOpen())
        return nullptr;
    if (m_emptiedWhileOpen && m_openWindow == nullptr) {
        // Win32: emptied by a clipboard opened without a window, it has no owner to take data.
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (memory == nullptr) {
        // Delayed rendering (WM_RENDERFORMAT) is not offered.
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const auto bytes = Memory().ProgramBytes(memory);
    if (!bytes) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!StillOurs()) {
        m_owning = true;
        m_text.reset();
        m_formats.clear();
    }
    if (IsTextFormat(format)) {
        m_text = TextFromBytes(format, *bytes);
        Publish(*m_text);
    } else {
        m_formats[format].assign(bytes->begin(), bytes->end());
    }
    Memory().TakeOver(memory);
    m_takenBlocks.push_back(memory);
    return memory;
}

HANDLE Clipboard::GetData(UINT format) {
    if (!CheckOpen())
        return nullptr;
    if (const auto found = m_handedOut.find(format); found != m_handedOut.end())
        return found->second;
    std::vector<std::byte> bytes;
    if (IsTextFormat(format)) {
        const auto text = CurrentText();
        if (!text)
            return nullptr;
        bytes = BytesFromText(format, *text);
    } else {
        const auto found = StillOurs() ? m_formats.find(format) : m_formats.end();
        if (found == m_formats.end())
            return nullptr;
        bytes = found->second;
    }
    HGLOBAL block = Memory().AllocateForSystem(bytes);
    if (block != nullptr)
        m_handedOut[format] = block;
    return block;
}

BOOL Clipboard::IsFormatAvailable(UINT format) {
    if (IsTextFormat(format))
        return CurrentText().has_value();
    return StillOurs() && m_formats.contains(format);
}

HWND Clipboard::Owner() {
    if (!StillOurs() || m_owner == nullptr || !IsWindow(m_owner))
        return nullptr;
    return m_owner;
}

HWND Clipboard::OpenWindow() {
    if (m_open && m_openWindow != nullptr && !IsWindow(m_openWindow))
        Close();
    return m_open ? m_openWindow : nullptr;
}

void Clipboard::Reset() {
    *this = Clipboard();
}

}  // namespace winapi::clipboard

using winapi::clipboard::Clipboard;

BOOL WINAPI OpenClipboard(HWND hWndNewOwner) {
    return Clipboard::Instance().Open(hWndNewOwner);
}

BOOL WINAPI CloseClipboard(void) {
    return Clipboard::Instance().Close();
}

BOOL WINAPI EmptyClipboard(void) {
    return Clipboard::Instance().Empty();
}

HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem) {
    return Clipboard::Instance().SetData(uFormat, hMem);
}

HANDLE WINAPI GetClipboardData(UINT uFormat) {
    return Clipboard::Instance().GetData(uFormat);
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
    return Clipboard::Instance().IsFormatAvailable(format);
}

HWND WINAPI GetClipboardOwner(void) {
    return Clipboard::Instance().Owner();
}

HWND WINAPI GetOpenClipboardWindow(void) {
    return Clipboard::Instance().OpenWindow();
}
