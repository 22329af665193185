// A control's table from window message to the member function that handles it. Messages
// that are not in the table go to DefWindowProc.
#pragma once

#include <initializer_list>
#include <vector>

#include <windows.h>

namespace winapi::controls {

template <class Control>
class MessageTable {
public:
    using Handler = LRESULT (Control::*)(WPARAM, LPARAM);

    struct Entry {
        UINT message;
        Handler handler;
    };

    MessageTable(std::initializer_list<Entry> entries) : m_entries(entries) {}

    // Null when the control leaves the message to the default handling.
    Handler Find(UINT message) const {
        for (const Entry& entry : m_entries)
            if (entry.message == message)
                return entry.handler;
        return nullptr;
    }

private:
    std::vector<Entry> m_entries;
};

}  // namespace winapi::controls
