// The X11 clipboard owner's answers, against the in-memory X server that stands in for libX11.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/display/x11/atoms.h"
#include "platform/display/x11/clipboard_owner.h"
#include "tests/support/memory_x_server.h"

namespace display::x11 {
namespace {

using memory_server::TheDisplay;
using memory_server::TheServer;

constexpr Window kOwnerWindow = 0x100;
constexpr Window kRequestor = 0x200;
constexpr Atom kProperty = 90;

class ClipboardOwnerTest : public ::testing::Test {
protected:
    ClipboardOwnerTest() {
        TheServer() = {};
        TheServer().windows = {kOwnerWindow, kRequestor};
        TheServer().maxRequestSize = 4096;
        m_owner.emplace(TheDisplay(), m_atoms, kOwnerWindow);
    }

    // A request answered; the property the reply names, None for a refusal.
    Atom Request(Atom target, Atom property = kProperty) {
        XEvent event{};
        event.xselectionrequest.type = SelectionRequest;
        event.xselectionrequest.owner = kOwnerWindow;
        event.xselectionrequest.requestor = kRequestor;
        event.xselectionrequest.selection = m_atoms.clipboard;
        event.xselectionrequest.target = target;
        event.xselectionrequest.property = property;
        event.xselectionrequest.time = CurrentTime;
        EXPECT_TRUE(m_owner->Wants(event));
        m_owner->Handle(event);
        EXPECT_FALSE(TheServer().sentEvents.empty());
        return TheServer().sentEvents.empty() ? None
                                              : TheServer().sentEvents.back().xselection.property;
    }

    // The requestor reads the property and deletes it; the owner sees the deletion.
    std::string TakePiece() {
        const auto& stored = TheServer().properties.at({kRequestor, kProperty});
        std::string piece(stored.bytes.begin(), stored.bytes.end());
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data;
        XGetWindowProperty(TheDisplay(), kRequestor, kProperty, 0, 1 << 20, True, AnyPropertyType,
                           &type, &format, &count, &after, &data);
        XFree(data);
        Deliver();
        return piece;
    }

    void Deliver() {
        auto events = std::move(TheServer().propertyEvents);
        TheServer().propertyEvents.clear();
        for (const XPropertyEvent& property : events) {
            XEvent event{};
            event.xproperty = property;
            if (m_owner->Wants(event)) {
                m_owner->Handle(event);
            }
        }
    }

    long RequestorMask() { return TheServer().eventMasks[kRequestor]; }

    Atoms m_atoms = memory_server::InternedAtoms();
    std::optional<ClipboardOwner> m_owner;
};

// A text above one request's size goes as INCR: its size first, then pieces no larger than
// the threshold, each asked for by a deletion, and an empty piece to end; the requestor is
// watched only while the transfer runs.
TEST_F(ClipboardOwnerTest, ALargeTextGoesInPiecesAndTheRequestorIsLetGo) {
    const std::size_t threshold = m_owner->IncrementalThreshold();
    std::string text;
    for (std::size_t i = 0; text.size() < 2 * threshold + 7; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    ASSERT_TRUE(m_owner->Own(text, 1000));
    ASSERT_EQ(Request(m_atoms.utf8String), kProperty);
    EXPECT_EQ(memory_server::Items32(kRequestor, kProperty),
              std::vector<std::uint32_t>{std::uint32_t(text.size())});
    EXPECT_NE(RequestorMask() & PropertyChangeMask, 0);

    TakePiece();  // the INCR announcement
    std::string received;
    for (int piece = 0; piece < 5; ++piece) {
        const std::string bytes = TakePiece();
        EXPECT_LE(bytes.size(), threshold);
        if (bytes.empty()) {
            break;
        }
        received += bytes;
    }
    EXPECT_EQ(received, text);
    EXPECT_FALSE(m_owner->HasTransfers());
    EXPECT_EQ(RequestorMask(), NoEventMask);
}

// The owner going mid-transfer stops watching the requestor: it would otherwise keep getting
// that window's property events on a connection that lives on.
TEST_F(ClipboardOwnerTest, AnOwnerGoingMidTransferLetsGoOfTheRequestor) {
    ASSERT_TRUE(m_owner->Own(std::string(3 * m_owner->IncrementalThreshold(), 'x'), 1000));
    ASSERT_EQ(Request(m_atoms.utf8String), kProperty);
    TakePiece();
    ASSERT_TRUE(m_owner->HasTransfers());
    m_owner.reset();
    EXPECT_EQ(RequestorMask(), NoEventMask);
}

// A clear tells us another client took the selection, unless it is older than our taking it
// back; one from the same millisecond counts only if the server names another owner.
TEST_F(ClipboardOwnerTest, AClearEndsOwnershipOnlyIfNotOlderThanIt) {
    const struct {
        Time clearedAt;
        Window ownerNow;
        bool stillOurs;
    } rows[] = {
        {999, kOwnerWindow, true},   {1000, kOwnerWindow, true},         {1000, kRequestor, false},
        {1001, kOwnerWindow, false}, {CurrentTime, kOwnerWindow, false},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(m_owner->Own("ours", 1000));
        TheServer().selectionOwners[m_atoms.clipboard] = row.ownerNow;
        XEvent event{};
        event.xselectionclear.type = SelectionClear;
        event.xselectionclear.window = kOwnerWindow;
        event.xselectionclear.selection = m_atoms.clipboard;
        event.xselectionclear.time = row.clearedAt;
        ASSERT_TRUE(m_owner->Wants(event));
        m_owner->Handle(event);
        EXPECT_EQ(m_owner->Owns(), row.stillOurs) << row.clearedAt << " " << row.ownerNow;
    }
}

// A requestor that asks again into the same property mid-transfer has given up on the old
// transfer: the pieces it gets are the new answer's, in the new answer's type.
TEST_F(ClipboardOwnerTest, ANewRequestIntoTheSamePropertyEndsTheOldTransfer) {
    const std::size_t threshold = m_owner->IncrementalThreshold();
    ASSERT_TRUE(m_owner->Own(std::string(2 * threshold, 'o'), 1000));
    ASSERT_EQ(Request(m_atoms.utf8String), kProperty);
    TakePiece();
    TakePiece();  // the first piece of the old text
    const std::string newer(threshold + 1, 'n');
    ASSERT_TRUE(m_owner->Own(newer, 1001));
    ASSERT_EQ(Request(XA_STRING), kProperty);
    TakePiece();  // the new INCR announcement
    std::string received;
    for (std::string piece; !(piece = TakePiece()).empty();) {
        received += piece;
        ASSERT_LE(received.size(), newer.size());
    }
    EXPECT_EQ(received, newer);
    EXPECT_FALSE(m_owner->HasTransfers());
    EXPECT_EQ(RequestorMask(), NoEventMask);
}

// MULTIPLE converts each pair on its own; a target it cannot give, or a pair naming no
// property, comes back with None in its place.
TEST_F(ClipboardOwnerTest, MultipleAnswersEachPairAndRefusesWhatItCannotGive) {
    ASSERT_TRUE(m_owner->Own("#123456", 1000));
    constexpr Atom kText = 91;
    constexpr Atom kOther = 92;
    const long pairs[] = {long(m_atoms.utf8String), long(kText), 4242, long(kOther),
                          long(XA_STRING),          None};
    XChangeProperty(TheDisplay(), kRequestor, kProperty, m_atoms.atomPair, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs), 6);
    ASSERT_EQ(Request(m_atoms.multiple), kProperty);
    EXPECT_EQ(memory_server::Items32(kRequestor, kProperty),
              (std::vector<std::uint32_t>{std::uint32_t(m_atoms.utf8String), kText, 4242, None,
                                          XA_STRING, None}));
    const auto& text = TheServer().properties.at({kRequestor, kText});
    EXPECT_EQ(std::string(text.bytes.begin(), text.bytes.end()), "#123456");
    EXPECT_EQ(TheServer().properties.count({kRequestor, kOther}), 0u);
    // A list of odd length is no list of pairs: the whole request is refused.
    XChangeProperty(TheDisplay(), kRequestor, kProperty, m_atoms.atomPair, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs), 5);
    EXPECT_EQ(Request(m_atoms.multiple), None);
}

}  // namespace
}  // namespace display::x11
