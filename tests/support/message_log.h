// A window class that records the messages it receives, for tests of message order.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageLog {
public:
    static MessageLog& Instance() {
        static MessageLog log;
        return log;
    }

    // Registers the class "LogWindow" (once per session) and clears the log.
    static void Register(UINT classStyle = 0) {
        Instance().m_entries.clear();
        Instance().m_handlers.clear();
        WNDCLASSA wc{};
        wc.style = classStyle;
        wc.lpfnWndProc = &Proc;
        wc.lpszClassName = "LogWindow";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
    }

    // Runs handler for message instead of DefWindowProcA; its result is the message's result.
    void Handle(UINT message, std::function<LRESULT(HWND, WPARAM, LPARAM)> handler) {
        m_handlers.emplace_back(message, std::move(handler));
    }

    void Clear() { m_entries.clear(); }
    const std::vector<LoggedMessage>& Entries() const { return m_entries; }

    // The messages of interest received by hwnd (or by any window when hwnd is null), in order.
    std::vector<UINT> Messages(HWND hwnd, const std::vector<UINT>& interesting) const {
        std::vector<UINT> result;
        for (const LoggedMessage& e : m_entries)
            if ((hwnd == nullptr || e.hwnd == hwnd) &&
                std::find(interesting.begin(), interesting.end(), e.message) != interesting.end())
                result.push_back(e.message);
        return result;
    }

    std::vector<LoggedMessage> Of(UINT message) const {
        std::vector<LoggedMessage> result;
        for (const LoggedMessage& e : m_entries)
            if (e.message == message)
                result.push_back(e);
        return result;
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        MessageLog& log = Instance();
        log.m_entries.push_back({hwnd, message, wParam, lParam});
        for (auto& [handled, handler] : log.m_handlers)
            if (handled == message)
                return handler(hwnd, wParam, lParam);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }

    std::vector<LoggedMessage> m_entries;
    std::vector<std::pair<UINT, std::function<LRESULT(HWND, WPARAM, LPARAM)>>> m_handlers;
};
