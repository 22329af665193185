// The fixture of the X11 backend's tests: a private Xvfb, the backend under test on it, and an
// observer connection that plays the other clients (reads our properties, owns selections,
// moves our windows, injects input through XTest).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/x11/window_property.h"
#include "platform/display/x11/x11_backend.h"
#include "platform/display/x11/xlib.h"
#include "tests/x11/x_server.h"

namespace x11test {

using display::Event;
using display::EventType;
using display::Rect;
using display::SurfaceId;

constexpr std::uint64_t kTimeoutMs = 5000;

class X11Fixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Overridden by the fixture that runs a window manager.
    virtual bool WantsWindowManager() const { return false; }
    virtual display::X11Options BackendOptions() const;

    display::X11Backend& Backend() { return *m_backend; }
    Display* Observer() const { return m_observer; }
    const std::string& DisplayName() const { return m_server->Name(); }
    XServer& Server() { return *m_server; }
    void ResetBackend() { m_backend.reset(); }
    // Ends the X server under whatever else runs on it. The fixture's own connections close
    // first: Xlib ends a process whose connection breaks.
    void LoseServer();

    // Handles what both connections receive until cond() holds; false on time-out.
    bool WaitUntil(const std::function<bool()>& cond, std::uint64_t timeoutMs = kTimeoutMs);
    // The same for a state that brings neither connection an event (pixels another process
    // draws, the input focus): cond() is checked again every kPollStepMs as well.
    static constexpr std::uint64_t kPollStepMs = 10;
    bool PollUntil(const std::function<bool()>& cond, std::uint64_t timeoutMs = kTimeoutMs);
    // The first backend event that match accepts, after the ones before it (kept in Seen()).
    std::optional<Event> WaitForEvent(const std::function<bool(const Event&)>& match,
                                      std::uint64_t timeoutMs = kTimeoutMs);
    std::optional<Event> WaitForEvent(EventType type, std::uint64_t timeoutMs = kTimeoutMs);
    // Every backend event taken so far.
    const std::vector<Event>& Seen() const { return m_seen; }
    // Observer events received while waiting, oldest first.
    std::vector<XEvent>& ObserverEvents() { return m_observerEvents; }

    // A surface of one colour, shown and viewable.
    SurfaceId ShowSolid(const Rect& bounds, std::uint32_t colour,
                        display::SurfaceKind kind = display::SurfaceKind::Normal,
                        bool topmost = false);
    void PresentSolid(SurfaceId id, const Rect& bounds, std::uint32_t colour);
    bool IsShownOnScreen(Window window) const;
    // The screen's pixels of area; off-screen ones read 0xFFFFFFFF (never a real pixel).
    std::vector<std::uint32_t> ReadScreen(const Rect& area);
    std::uint32_t PixelAt(int x, int y) { return ReadScreen({x, y, x + 1, y + 1}).front(); }
    // A mapped window of one colour from the observer, another client: whatever the user has
    // on the screen. Override-redirect, so a window manager leaves it where it is.
    Window SolidFromOtherClient(const Rect& area, std::uint32_t colour);

    // Runs a program on this display, feeding it input; its standard output. The backend
    // keeps answering meanwhile (xclip may be asking it for the clipboard).
    std::string Run(const std::vector<std::string>& argv, const std::string& input = "");

private:
    void Handle(bool blockUntilSomething, std::uint64_t deadlineMs);

    std::optional<XServer> m_server;
    Display* m_observer = nullptr;
    std::unique_ptr<display::X11Backend> m_backend;
    std::vector<Event> m_seen;
    std::vector<XEvent> m_observerEvents;
};

class X11WithWindowManager : public X11Fixture {
protected:
    bool WantsWindowManager() const override { return true; }
};

// A property of window read by the observer.
std::optional<display::x11::PropertyValue> PropertyOf(Display* display, Window window,
                                                      const char* name);
Atom AtomOf(Display* display, const char* name);

}  // namespace x11test
