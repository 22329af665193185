#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <thread>

#include "platform/winapi/host.h"

namespace {

std::uint64_t MonotonicMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
           static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000;
}

void SleepRealTime(std::uint64_t milliseconds) {
    timespec remaining{static_cast<time_t>(milliseconds / 1000),
                       static_cast<long>(milliseconds % 1000) * 1'000'000};
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

}  // namespace

ULONGLONG WINAPI GetTickCount64(void) {
    if (winapi::HasSession()) {
        return winapi::CurrentBackend().Clock();
    }
    return MonotonicMilliseconds();
}

DWORD WINAPI GetTickCount(void) {
    // Wraps after 49.7 days, as Win32's does.
    return static_cast<DWORD>(GetTickCount64());
}

void WINAPI Sleep(DWORD dwMilliseconds) {
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    if (!winapi::HasSession()) {
        SleepRealTime(dwMilliseconds);
        return;
    }
    // The session's clock may be virtual, so the wait goes through the backend.
    display::Backend& backend = winapi::CurrentBackend();
    const std::uint64_t deadline = backend.Clock() + dwMilliseconds;
    for (;;) {
        const std::uint64_t now = backend.Clock();
        if (now >= deadline) {
            return;
        }
        backend.Wait(deadline);
        if (backend.Clock() == now) {
            // The backend returns at once while input is pending, and Sleep must leave that input
            // queued: the rest of the interval passes in real time.
            SleepRealTime(deadline - now);
            return;
        }
    }
}
