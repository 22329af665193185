// Message maps: per class, a table from message or command to a typed member handler, chained
// to the map of the base class. A class declares
//     const MessageMap& GetMessageMap() const override;
// and builds its map once with typed calls:
//     static const MessageMap map = MessageMap::Derived<CMyDlg>(CDialog::GetMessageMap())
//         .On(WM_TIMER, &CMyDlg::OnTimer)
//         .OnClicked(IDC_COPY, &CMyDlg::OnCopy);
// A handler whose signature does not fit its message ends the program when the map is built
// (see message_cracker.h); registering one message or command twice in a map does too.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/framework/message_cracker.h"

class CWnd;
class CDC;

class MessageMap {
public:
    using MessageHandler = std::function<LRESULT(CWnd&, UINT, WPARAM, LPARAM)>;
    using CommandHandler = std::function<void(CWnd&, UINT id)>;

    template <class T>
    class Builder;

    // The root map: no entries, no base.
    MessageMap() = default;

    template <class T>
    static Builder<T> Derived(const MessageMap& base);

    // The handler nearest to the most derived class, or nullptr.
    const MessageHandler* FindMessage(UINT message) const;
    const CommandHandler* FindCommand(UINT code, UINT id) const;

private:
    struct CommandEntry {
        UINT code;
        UINT firstId;
        UINT lastId;
        CommandHandler handler;
    };

    void AddMessage(const char* owner, UINT message, MessageHandler handler);
    void AddCommand(const char* owner, UINT code, UINT firstId, UINT lastId,
                    CommandHandler handler);

    const MessageMap* m_base = nullptr;
    std::unordered_map<UINT, MessageHandler> m_messages;
    std::vector<CommandEntry> m_commands;
};

template <class T>
class MessageMap::Builder {
public:
    explicit Builder(const MessageMap& base) { m_map.m_base = &base; }

    // Any message with a row in the cracker table, with the handler signature of that row; any
    // message at all with LRESULT Handler(WPARAM, LPARAM).
    template <class U, class R, class... Args>
    Builder&& On(UINT message, R (U::*handler)(Args...)) && {
        static_assert(std::is_base_of_v<U, T>, "the handler must be a member of the class");
        using Signature = R(Args...);
        const auto unpack = framework::UnpackerFor<Signature>(message, Owner());
        m_map.AddMessage(Owner(), message,
                         [handler, unpack](CWnd& wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
                             U& self = static_cast<T&>(wnd);
                             return std::apply(
                                 [&](Args... args) -> LRESULT {
                                     if constexpr (std::is_void_v<R>) {
                                         (self.*handler)(args...);
                                         return 0;
                                     } else {
                                         return framework::ToResult((self.*handler)(args...));
                                     }
                                 },
                                 unpack(msg, wParam, lParam));
                         });
        return std::move(*this);
    }

    template <class U>
    Builder&& OnMessage(UINT message, LRESULT (U::*handler)(WPARAM, LPARAM)) && {
        return std::move(*this).On(message, handler);
    }

    // Every WM_CTLCOLOR* message, each with its nCtlColor (CTLCOLOR_*).
    template <class U>
    Builder&& OnCtlColor(HBRUSH (U::*handler)(CDC*, CWnd*, UINT)) && {
        for (UINT message = WM_CTLCOLORMSGBOX; message <= WM_CTLCOLORSTATIC; ++message) {
            std::move(*this).On(message, handler);
        }
        return std::move(*this);
    }

    // A menu item or accelerator with this id, or a button with this id clicked: in Win32 all
    // three arrive as notification code 0.
    template <class U>
    Builder&& OnCommand(UINT id, void (U::*handler)()) && {
        return std::move(*this).OnControl(0, id, handler);
    }
    template <class U>
    Builder&& OnClicked(UINT id, void (U::*handler)()) && {
        return std::move(*this).OnControl(BN_CLICKED, id, handler);
    }
    // A control notification (EN_CHANGE, BN_DOUBLECLICKED, ...) from the control with this id.
    template <class U>
    Builder&& OnControl(UINT code, UINT id, void (U::*handler)()) && {
        static_assert(std::is_base_of_v<U, T>, "the handler must be a member of the class");
        m_map.AddCommand(Owner(), code, id, id, [handler](CWnd& wnd, UINT) {
            (static_cast<U&>(static_cast<T&>(wnd)).*handler)();
        });
        return std::move(*this);
    }
    // Commands firstId..lastId (inclusive); the handler gets the id.
    template <class U>
    Builder&& OnCommandRange(UINT firstId, UINT lastId, void (U::*handler)(UINT)) && {
        static_assert(std::is_base_of_v<U, T>, "the handler must be a member of the class");
        m_map.AddCommand(Owner(), 0, firstId, lastId, [handler](CWnd& wnd, UINT id) {
            (static_cast<U&>(static_cast<T&>(wnd)).*handler)(id);
        });
        return std::move(*this);
    }

    operator MessageMap() && { return std::move(m_map); }  // NOLINT: the map is the result

private:
    static const char* Owner() { return typeid(T).name(); }

    MessageMap m_map;
};

template <class T>
MessageMap::Builder<T> MessageMap::Derived(const MessageMap& base) {
    return Builder<T>(base);
}
