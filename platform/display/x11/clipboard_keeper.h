// Text copied to the clipboard outlives the program, as on Windows. X keeps no copy: the
// owner serves it. So when the program ends while it owns CLIPBOARD, the text goes to a
// clipboard manager (SAVE_TARGETS on CLIPBOARD_MANAGER) or, when none takes it, to a small
// background process that keeps serving it until another client owns the clipboard.
#pragma once

#include "platform/display/x11/xlib.h"

#include <cstdint>
#include <string>

#include "platform/display/x11/clipboard_owner.h"
#include "platform/display/x11/x11_connection.h"

namespace display::x11 {

enum class ClipboardKept {
    NotOwned,   // nothing of ours to keep
    ByManager,  // a clipboard manager saved it
    ByServer,   // a background server owns it now
    Lost,       // neither could take it
};

class ClipboardKeeper {
public:
    // How long a clipboard manager may take to save the text: some never answer.
    static constexpr std::uint64_t kManagerWaitMs = 300;
    // How long the background server may take to own the selection.
    static constexpr std::uint64_t kServerStartMs = 2000;

    ClipboardKeeper(Connection& connection, ClipboardOwner& owner, Window window);

    ClipboardKept Keep(Time time);

    // The background server's life: its own connection to displayName, the selection owned
    // with text, requests answered until another client owns it. Writes one byte to readyFd
    // once it owns the selection. Never returns.
    [[noreturn]] static void Serve(const std::string& displayName, const std::string& text,
                                   int readyFd);

private:
    bool HandToManager(Time time);
    bool StartServer();

    Connection& m_connection;
    ClipboardOwner& m_owner;
    Window m_window;
};

}  // namespace display::x11
