// Owning the CLIPBOARD selection and answering other clients' requests for it: TARGETS,
// UTF8_STRING, STRING, TEXT, TIMESTAMP and MULTIPLE, with texts larger than one request sent
// incrementally (INCR). Driven by the events of the connection it lives on, so the program and
// the background server that keeps the text after the program ends share it.
#pragma once

#include "platform/display/x11/xlib.h"

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/display/x11/atoms.h"

namespace display::x11 {

class ClipboardOwner {
public:
    // window: ours, never mapped, selecting PropertyChangeMask; the selection's owner.
    ClipboardOwner(Display* display, const Atoms& atoms, Window window);
    ~ClipboardOwner();
    ClipboardOwner(const ClipboardOwner&) = delete;
    ClipboardOwner& operator=(const ClipboardOwner&) = delete;

    // Takes the selection with text at the server time `time`; false when the server gave it
    // to someone else (a later time won).
    bool Own(std::string_view utf8, Time time);
    // Whether we hold the selection, as far as the events so far tell.
    bool Owns() const { return m_owned; }
    const std::string& Text() const { return m_text; }
    Time OwnedSince() const { return m_ownedAt; }

    // The events this class handles: requests for the selection, its loss, and the
    // requestors' deletions that ask for the next piece of an incremental transfer.
    bool Wants(const XEvent& event) const;
    // Handles an event Wants accepted.
    void Handle(const XEvent& event);
    bool HasTransfers() const { return !m_transfers.empty(); }
    // Forgets incremental transfers whose requestor stopped asking (it went away).
    void DropStalledTransfers(std::uint64_t nowMs);

    // Bytes above which an answer goes incrementally.
    std::size_t IncrementalThreshold() const { return m_chunkSize; }

private:
    struct Transfer {
        Window requestor;
        Atom property;
        Atom type;
        std::string data;
        std::size_t offset = 0;
        bool finished = false;  // the empty piece that ends it has been written
        std::uint64_t lastActivityMs = 0;
    };

    void Answer(const XSelectionRequestEvent& request);
    // Writes the conversion of target into property; false when refused.
    bool Convert(Window requestor, Atom target, Atom property);
    bool ConvertMultiple(Window requestor, Atom property);
    void SendText(Window requestor, Atom property, Atom type, std::string data);
    void ContinueTransfer(Window requestor, Atom property);
    // Forgets the transfer into that property, if one runs.
    void EndTransfer(Window requestor, Atom property);
    void EndTransferWatch(Window requestor);

    Display* m_display;
    const Atoms& m_atoms;
    Window m_window;
    std::string m_text;
    Time m_ownedAt = CurrentTime;
    bool m_owned = false;
    std::size_t m_chunkSize;
    std::list<Transfer> m_transfers;
};

}  // namespace display::x11
