// The clipboard as this process sees it. Text travels through the display's clipboard, so a
// copy here is at once what other programs paste and another program's copy is what
// GetClipboardData gives; other formats stay within this process while it owns the clipboard.
// One window at a time has it open; the blocks it hands out live until CloseClipboard.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace winapi::clipboard {

class Clipboard {
public:
    static Clipboard& Instance();

    BOOL Open(HWND window);
    BOOL Close();
    BOOL Empty();
    HANDLE SetData(UINT format, HANDLE memory);
    HANDLE GetData(UINT format);
    BOOL IsFormatAvailable(UINT format);
    HWND Owner();
    HWND OpenWindow();
    void Reset();

private:
    bool CheckOpen();
    // Whether what this process put on the clipboard is still there; another program's copy
    // ends the ownership.
    bool StillOurs();
    std::optional<std::string> CurrentText();
    void Publish(const std::string& text);
    void FreeHeldBlocks();

    bool m_open = false;
    HWND m_openWindow = nullptr;
    bool m_emptiedWhileOpen = false;

    bool m_owning = false;  // since EmptyClipboard or SetClipboardData, until another copy
    HWND m_owner = nullptr;
    std::optional<std::string> m_text;                 // our text, in whatever format it came
    std::map<UINT, std::vector<std::byte>> m_formats;  // our other formats
    std::optional<std::string> m_published;            // what we last gave the display
    bool m_clearPending =
        false;  // emptied: the display's text goes at CloseClipboard unless replaced

    std::vector<HGLOBAL> m_takenBlocks;   // the program's blocks given to SetClipboardData
    std::map<UINT, HGLOBAL> m_handedOut;  // GetClipboardData's blocks, one per format
};

}  // namespace winapi::clipboard
