// The window system's own classes (dialogs and controls) register themselves here and are
// registered into every session when it starts, under Win32's predefined atoms. A file that
// implements one declares a namespace-scope SystemClassRegistration with its register function.
#pragma once

namespace winapi {

struct SystemClassRegistration {
    explicit SystemClassRegistration(void (*registerClass)());
};

// Registers every system class into the current session (the window system calls it once).
void RegisterSystemClasses();

}  // namespace winapi
