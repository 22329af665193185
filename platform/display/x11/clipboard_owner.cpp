#include "platform/display/x11/clipboard_owner.h"

#include "platform/display/x11/xlib.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/display/x11/text_encoding.h"
#include "platform/display/x11/window_property.h"
#include "platform/display/x11/x11_connection.h"

namespace display::x11 {

namespace {

// A requestor that has not asked for the next piece for this long has gone.
constexpr std::uint64_t kTransferStallMs = 10'000;

// What STRING carries. ICCCM makes it Latin-1; a text Latin-1 cannot hold goes as its UTF-8
// bytes, so that an old reader still gets every character, if garbled, rather than
// question marks (and most readers of STRING today decode UTF-8 anyway).
std::string AsString(const std::string& utf8) {
    if (auto latin1 = Utf8ToLatin1(utf8)) {
        return *latin1;
    }
    return utf8;
}

}  // namespace

ClipboardOwner::ClipboardOwner(Display* display, const Atoms& atoms, Window window)
    : m_display(display), m_atoms(atoms), m_window(window) {
    // Leave room for the request header; a longer answer goes in pieces of this size.
    m_chunkSize = std::size_t(XMaxRequestSize(display)) * 4 - 1024;
}

ClipboardOwner::~ClipboardOwner() {
    // The list goes first: EndTransferWatch keeps watching a requestor while any transfer
    // to it is listed, and every one is ending here.
    const std::list<Transfer> transfers = std::move(m_transfers);
    m_transfers.clear();
    for (const Transfer& transfer : transfers) {
        EndTransferWatch(transfer.requestor);
    }
}

bool ClipboardOwner::Own(std::string_view utf8, Time time) {
    m_text = std::string(utf8);
    XSetSelectionOwner(m_display, m_atoms.clipboard, m_window, time);
    m_owned = XGetSelectionOwner(m_display, m_atoms.clipboard) == m_window;
    m_ownedAt = time;
    return m_owned;
}

bool ClipboardOwner::Wants(const XEvent& event) const {
    switch (event.type) {
        case SelectionRequest:
            return event.xselectionrequest.owner == m_window;
        case SelectionClear:
            return event.xselectionclear.window == m_window;
        case PropertyNotify:
            return event.xproperty.state == PropertyDelete &&
                   std::any_of(m_transfers.begin(), m_transfers.end(), [&](const Transfer& t) {
                       return t.requestor == event.xproperty.window &&
                              t.property == event.xproperty.atom;
                   });
        default:
            return false;
    }
}

void ClipboardOwner::Handle(const XEvent& event) {
    DropStalledTransfers(MonotonicMs());
    switch (event.type) {
        case SelectionRequest:
            Answer(event.xselectionrequest);
            break;
        case SelectionClear: {
            // A clear older than our ownership belongs to an earlier round. The server counts
            // time in milliseconds, so a clear from the same millisecond as our taking it back
            // may be either; the server says who owns the selection now.
            const Time time = event.xselectionclear.time;
            if (event.xselectionclear.selection == m_atoms.clipboard &&
                (time == CurrentTime || time > m_ownedAt ||
                 (time == m_ownedAt &&
                  XGetSelectionOwner(m_display, m_atoms.clipboard) != m_window))) {
                m_owned = false;
            }
            break;
        }
        case PropertyNotify:
            ContinueTransfer(event.xproperty.window, event.xproperty.atom);
            break;
        default:
            break;
    }
}

void ClipboardOwner::Answer(const XSelectionRequestEvent& request) {
    // Obsolete requestors name no property: ICCCM says use the target's name.
    const Atom property = request.property != None ? request.property : request.target;
    const bool inTime = request.time == CurrentTime || request.time >= m_ownedAt;
    const bool done = m_owned && inTime && request.selection == m_atoms.clipboard &&
                      Convert(request.requestor, request.target, property);

    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = done ? property : None;
    reply.xselection.time = request.time;
    XSendEvent(m_display, request.requestor, False, NoEventMask, &reply);
    XFlush(m_display);
}

bool ClipboardOwner::Convert(Window requestor, Atom target, Atom property) {
    // A new request into a property ends any transfer still running there: the requestor has
    // given up on it and reads only the new answer, which must not get the old one's pieces.
    EndTransfer(requestor, property);
    if (target == m_atoms.targets) {
        const std::array<Atom, 7> targets{
            m_atoms.targets,    m_atoms.multiple, m_atoms.timestamp, m_atoms.saveTargets,
            m_atoms.utf8String, XA_STRING,        m_atoms.text};
        WriteAtoms(m_display, requestor, property, targets);
        return true;
    }
    if (target == m_atoms.timestamp) {
        const unsigned long time = m_ownedAt;
        XChangeProperty(m_display, requestor, property, XA_INTEGER, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&time), 1);
        return true;
    }
    if (target == m_atoms.utf8String) {
        SendText(requestor, property, m_atoms.utf8String, m_text);
        return true;
    }
    if (target == XA_STRING) {
        SendText(requestor, property, XA_STRING, AsString(m_text));
        return true;
    }
    // TEXT lets the owner choose the encoding: STRING when Latin-1 holds the text.
    if (target == m_atoms.text) {
        if (auto latin1 = Utf8ToLatin1(m_text)) {
            SendText(requestor, property, XA_STRING, std::move(*latin1));
        } else {
            SendText(requestor, property, m_atoms.utf8String, m_text);
        }
        return true;
    }
    if (target == m_atoms.multiple) {
        return ConvertMultiple(requestor, property);
    }
    return false;
}

// MULTIPLE: the property lists (target, property) pairs; each is converted on its own and a
// refused one has its property replaced by None in the list we write back.
bool ClipboardOwner::ConvertMultiple(Window requestor, Atom property) {
    auto pairs = ReadProperty(m_display, requestor, property);
    if (!pairs || pairs->format != 32 || pairs->items.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < pairs->items.size(); i += 2) {
        const Atom target = pairs->items[i];
        const Atom into = pairs->items[i + 1];
        if (target == m_atoms.multiple || into == None || !Convert(requestor, target, into)) {
            pairs->items[i + 1] = None;
        }
    }
    XChangeProperty(m_display, requestor, property, m_atoms.atomPair, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs->items.data()),
                    int(pairs->items.size()));
    return true;
}

void ClipboardOwner::SendText(Window requestor, Atom property, Atom type, std::string data) {
    if (data.size() <= m_chunkSize) {
        WriteBytes(m_display, requestor, property, type, data);
        return;
    }
    // INCR: the property first holds a lower bound of the size; each deletion by the
    // requestor asks for the next piece, and an empty piece ends the transfer. We must see
    // the requestor's property changes to know.
    XSelectInput(m_display, requestor, PropertyChangeMask);
    const unsigned long size = data.size();
    XChangeProperty(m_display, requestor, property, m_atoms.incr, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&size), 1);
    m_transfers.push_back({requestor, property, type, std::move(data), 0, false, MonotonicMs()});
}

void ClipboardOwner::ContinueTransfer(Window requestor, Atom property) {
    const auto it = std::find_if(m_transfers.begin(), m_transfers.end(), [&](const Transfer& t) {
        return t.requestor == requestor && t.property == property;
    });
    if (it == m_transfers.end()) {
        return;
    }
    if (it->finished) {
        m_transfers.erase(it);
        EndTransferWatch(requestor);
        return;
    }
    const std::size_t length = std::min(m_chunkSize, it->data.size() - it->offset);
    WriteBytes(m_display, requestor, property, it->type,
               std::string_view(it->data).substr(it->offset, length));
    it->offset += length;
    it->finished = length == 0;
    it->lastActivityMs = MonotonicMs();
    XFlush(m_display);
}

void ClipboardOwner::EndTransfer(Window requestor, Atom property) {
    const auto it = std::find_if(m_transfers.begin(), m_transfers.end(), [&](const Transfer& t) {
        return t.requestor == requestor && t.property == property;
    });
    if (it == m_transfers.end()) {
        return;
    }
    m_transfers.erase(it);
    EndTransferWatch(requestor);
}

void ClipboardOwner::EndTransferWatch(Window requestor) {
    const bool stillWatched =
        std::any_of(m_transfers.begin(), m_transfers.end(),
                    [&](const Transfer& t) { return t.requestor == requestor; });
    if (!stillWatched) {
        XSelectInput(m_display, requestor, NoEventMask);
    }
}

void ClipboardOwner::DropStalledTransfers(std::uint64_t nowMs) {
    for (auto it = m_transfers.begin(); it != m_transfers.end();) {
        if (nowMs - it->lastActivityMs < kTransferStallMs) {
            ++it;
            continue;
        }
        const Window requestor = it->requestor;
        it = m_transfers.erase(it);
        EndTransferWatch(requestor);
    }
}

}  // namespace display::x11
