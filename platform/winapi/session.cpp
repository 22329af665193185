#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/winapi/host.h"
#include "platform/winapi/session_parts.h"

namespace winapi {
namespace {

struct EndHook {
    SessionEndOrder order;
    void (*end)();
};

std::vector<EndHook>& EndHooks() {
    static std::vector<EndHook> hooks;
    return hooks;
}

Session* g_session = nullptr;

}  // namespace

SessionEndHook::SessionEndHook(SessionEndOrder order, void (*end)()) {
    EndHooks().push_back({order, end});
}

Session::Session(std::unique_ptr<display::Backend> backend) : m_backend(std::move(backend)) {
    if (g_session != nullptr || m_backend == nullptr) {
        std::fputs("winapi: a session needs a backend and no other session running\n", stderr);
        std::abort();
    }
    g_session = this;
}

Session::~Session() {
    auto hooks = EndHooks();
    std::stable_sort(hooks.begin(), hooks.end(),
                     [](const EndHook& a, const EndHook& b) { return a.order < b.order; });
    for (const EndHook& hook : hooks)
        hook.end();
    g_session = nullptr;
}

display::Backend& CurrentBackend() {
    if (g_session == nullptr) {
        std::fputs("winapi: used without a session\n", stderr);
        std::abort();
    }
    return g_session->Backend();
}

bool HasSession() {
    return g_session != nullptr;
}

}  // namespace winapi
