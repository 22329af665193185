// A fixture that runs the picker's main window modally on the headless display and acts on it
// as a user would, at given moments of virtual time.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/framework_test.h"
#include "resource.h"

class PickerTest : public FrameworkTest {
protected:
    ~PickerTest() override { Display().SetIdleHandler(nullptr); }

    // Each step runs at the first moment the window's loop is idle with the virtual clock at or
    // past its time (ms since the window first waited). The loop waits from tick to tick (every
    // 100 ms) and after each input, so a step at 100 runs right after the first tick, and a
    // step that only looks is followed by the next tick.
    struct Step {
        std::uint64_t atMs;
        std::function<void()> run;
    };
    void Script(std::vector<Step> steps) {
        m_steps = std::move(steps);
        m_next = 0;
        m_startMs.reset();
        Display().SetIdleHandler([this] {
            const std::uint64_t now = Display().Clock();
            if (!m_startMs)
                m_startMs = now;
            if (m_next < m_steps.size() && now - *m_startMs >= m_steps[m_next].atMs) {
                m_steps[m_next++].run();
                return;
            }
            Display().Advance(1);
        });
    }

    // Where a control of a window is on the screen.
    static RECT ScreenRectOf(HWND window, int id) {
        RECT rect{};
        GetWindowRect(GetDlgItem(window, id), &rect);
        return rect;
    }
    static POINT CentreOf(const RECT& rect) {
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    static std::string TextOf(HWND window, int id) {
        char text[256] = {};
        GetDlgItemTextA(window, id, text, sizeof text);
        return text;
    }
    // A press and release of the left button on a control.
    void ClickOn(HWND window, int id) {
        const POINT at = CentreOf(ScreenRectOf(window, id));
        Display().Click(display::MouseButton::Left, {at.x, at.y});
    }
    // The colour a user sees in the middle of a control, as a COLORREF.
    COLORREF SeenInside(HWND window, int id) {
        const POINT at = CentreOf(ScreenRectOf(window, id));
        const std::uint32_t pixel = ScreenPixel(at.x, at.y);
        return RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
    }

private:
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    std::optional<std::uint64_t> m_startMs;
};
