// A test fixture that runs the Win32 layer on a fresh headless display: every test starts with
// no windows, no timers and the virtual clock at its start, and drives time itself.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/display/headless/headless_backend.h"
#include "platform/winapi/host.h"

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest()
        : m_display(new display::HeadlessBackend()),
          m_session(std::unique_ptr<display::Backend>(m_display)) {}

    display::HeadlessBackend& Display() { return *m_display; }

    // Dispatches everything that is due now, as a message loop would, without waiting.
    void Pump() {
        MSG msg;
        for (int guard = 0; guard < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
             ++guard) {
            if (msg.message == WM_QUIT) {
                m_quitCode = static_cast<int>(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // Runs the message loop for ms of virtual time, a millisecond at a time, so every timer
    // fires when it comes due.
    void RunFor(std::uint64_t ms) {
        Pump();
        for (std::uint64_t i = 0; i < ms; ++i) {
            m_display->Advance(1);
            Pump();
        }
    }

    std::uint32_t ScreenPixel(int x, int y) { return m_display->PixelAt(x, y); }

    int m_quitCode = -1;

private:
    display::HeadlessBackend* m_display;
    winapi::Session m_session;
};
