// The Win32 layer's own entry points, for the program's start-up code and for tests; the
// application never includes this. A session ties the layer to one display backend; ending it
// destroys every window, timer and object still alive, so each test starts from nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/display/backend.h"

namespace winapi {

class Session {
public:
    explicit Session(std::unique_ptr<display::Backend> backend);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    display::Backend& Backend() { return *m_backend; }

private:
    std::unique_ptr<display::Backend> m_backend;
};

// The backend of the running session. Calling it with no session is a programming error.
display::Backend& CurrentBackend();
bool HasSession();

// What the session holds at this moment, kind by kind, for tests and benches that prove nothing
// leaks. Win32 only totals these (GetGuiResources); it has no query for DCs or menus alone.
struct ObjectCensus {
    std::size_t windows = 0;         // every window but the desktop, menu popups included
    std::size_t deviceContexts = 0;  // memory DCs and window DCs not yet released
    std::size_t gdiObjects = 0;      // what GetGuiResources(GR_GDIOBJECTS) reports
    std::size_t userObjects = 0;     // what GetGuiResources(GR_USEROBJECTS) reports
    std::size_t menus = 0;
    std::size_t icons = 0;
    bool operator==(const ObjectCensus&) const = default;
};
ObjectCensus TakeObjectCensus();

// The compiled resources (.res image) of the program module, served by FindResourceA and the
// loaders. The bytes must outlive their use; the program passes its embedded copy.
void SetModuleResources(std::span<const std::byte> resImage);

// The program's arguments as main received them, for GetCommandLineA and GetModuleFileNameA.
void SetProgramArguments(std::vector<std::string> argv);

}  // namespace winapi
