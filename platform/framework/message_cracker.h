// The one table from window message to the typed arguments its handler receives. Each row
// names the handler signature the message is cracked into and the function that unpacks
// wParam/lParam into those arguments; the message map checks a handler against its row when
// the map is built, so a handler that does not fit its message stops the program there with a
// message instead of misreading its arguments.
#pragma once

#include <windows.h>

#include <string>
#include <tuple>
#include <type_traits>
#include <typeinfo>

namespace framework {

// Unpackers are stored without their type and cast back once the signature has been checked;
// a function pointer converts to another function pointer type and back without loss.
using ErasedUnpack = void (*)();

struct CrackerRow {
    UINT message;
    const char* name;               // "WM_TIMER"
    const std::type_info* handler;  // typeid of the handler's function type, e.g. void(UINT_PTR)
    const char* expected;           // the same, for people: "void OnTimer(UINT_PTR nIDEvent)"
    ErasedUnpack unpack;
};

template <class Signature>
struct HandlerSignature;

template <class R, class... Args>
struct HandlerSignature<R(Args...)> {
    using Result = R;
    using Arguments = std::tuple<Args...>;
    using Unpack = Arguments (*)(UINT message, WPARAM wParam, LPARAM lParam);
};

// The handler signature every message accepts: the raw parameters and the raw result.
using RawHandler = LRESULT(WPARAM, LPARAM);

// nullptr for a message without a row.
const CrackerRow* FindCracker(UINT message);

// Prints what is wrong with a message map and ends the program.
[[noreturn]] void FailMessageMap(const char* owner, UINT message, const char* problem);

template <class Signature>
typename HandlerSignature<Signature>::Unpack UnpackerFor(UINT message, const char* owner) {
    using Unpack = typename HandlerSignature<Signature>::Unpack;
    if constexpr (std::is_same_v<Signature, RawHandler>) {
        return [](UINT, WPARAM wParam, LPARAM lParam) { return std::tuple(wParam, lParam); };
    } else {
        const CrackerRow* row = FindCracker(message);
        if (row == nullptr) {
            FailMessageMap(owner, message,
                           "has no typed form: register LRESULT Handler(WPARAM, LPARAM) with "
                           "OnMessage");
        }
        if (*row->handler != typeid(Signature)) {
            FailMessageMap(owner, message, (std::string("must be ") + row->expected).c_str());
        }
        return reinterpret_cast<Unpack>(row->unpack);
    }
}

template <class R>
LRESULT ToResult(R value) {
    if constexpr (std::is_pointer_v<R>) {
        return reinterpret_cast<LRESULT>(value);
    } else {
        return static_cast<LRESULT>(value);
    }
}

}  // namespace framework
