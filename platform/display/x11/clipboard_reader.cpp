#include "platform/display/x11/clipboard_reader.h"

#include "platform/display/x11/xlib.h"

#include "platform/display/x11/text_encoding.h"
#include "platform/display/x11/window_property.h"

namespace display::x11 {

ClipboardReader::ClipboardReader(Connection& connection, Window window)
    : m_connection(connection), m_display(connection.Get()), m_window(window) {}

std::optional<std::string> ClipboardReader::Read(Time time, std::uint64_t deadlineMs) {
    const Atoms& atoms = m_connection.GetAtoms();
    if (XGetSelectionOwner(m_display, atoms.clipboard) == None) {
        return std::nullopt;
    }
    if (auto utf8 = Convert(atoms.utf8String, time, deadlineMs)) {
        return utf8;
    }
    if (MonotonicMs() >= deadlineMs) {
        return std::nullopt;
    }
    if (auto latin1 = Convert(XA_STRING, time, deadlineMs)) {
        return Latin1ToUtf8(*latin1);
    }
    return std::nullopt;
}

std::optional<std::string> ClipboardReader::Convert(Atom target, Time time,
                                                    std::uint64_t deadlineMs) {
    const Atoms& atoms = m_connection.GetAtoms();
    const Atom property = atoms.transfer;
    XDeleteProperty(m_display, m_window, property);
    XConvertSelection(m_display, atoms.clipboard, target, property, m_window, time);

    XEvent event;
    const Window window = m_window;
    const Atom selection = atoms.clipboard;
    const auto isAnswer = [window, selection, target](const XEvent& e) {
        return e.type == SelectionNotify && e.xselection.requestor == window &&
               e.xselection.selection == selection && e.xselection.target == target;
    };
    if (!m_connection.WaitForEvent(&event, isAnswer, deadlineMs) ||
        event.xselection.property == None) {
        return std::nullopt;
    }
    auto value = ReadProperty(m_display, m_window, event.xselection.property, true);
    if (!value) {
        return std::nullopt;
    }
    if (value->type == atoms.incr) {
        return ReceiveIncrementally(deadlineMs);
    }
    if (value->format != 8) {
        return std::nullopt;
    }
    return value->Text();
}

// The owner answered INCR; our deletion of that property (when we read it) asked for the first
// piece. Each new value is a piece to read and delete; an empty one ends the text.
std::optional<std::string> ClipboardReader::ReceiveIncrementally(std::uint64_t deadlineMs) {
    const Atom property = m_connection.GetAtoms().transfer;
    const Window window = m_window;
    const auto isNewPiece = [window, property](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == window &&
               e.xproperty.atom == property && e.xproperty.state == PropertyNewValue;
    };
    std::string text;
    for (;;) {
        XEvent event;
        if (!m_connection.WaitForEvent(&event, isNewPiece, deadlineMs)) {
            XDeleteProperty(m_display, m_window, property);
            return std::nullopt;
        }
        const auto piece = ReadProperty(m_display, m_window, property, true);
        if (!piece) {
            continue;  // a notification for a value we already took with the previous piece
        }
        if (piece->bytes.empty()) {
            return text;
        }
        text.append(piece->bytes.begin(), piece->bytes.end());
    }
}

}  // namespace display::x11
