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

// The compiled resources (.res image) of the program module, served by FindResourceA and the
// loaders. The bytes must outlive their use; the program passes its embedded copy.
void SetModuleResources(std::span<const std::byte> resImage);

// The program's arguments as main received them, for GetCommandLineA and GetModuleFileNameA.
void SetProgramArguments(std::vector<std::string> argv);

}  // namespace winapi
