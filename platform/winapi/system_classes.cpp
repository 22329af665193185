#include "platform/winapi/system_classes.h"

#include <vector>

namespace winapi {
namespace {

std::vector<void (*)()>& Registrations() {
    static std::vector<void (*)()> registrations;
    return registrations;
}

}  // namespace

SystemClassRegistration::SystemClassRegistration(void (*registerClass)()) {
    Registrations().push_back(registerClass);
}

void RegisterSystemClasses() {
    for (auto registerClass : Registrations())
        registerClass();
}

}  // namespace winapi
