// Other clients' dealings with our CLIPBOARD selection, chosen by the fuzzer: requests for any
// target into any property (MULTIPLE with pair lists the requestor wrote itself, in any format),
// incremental transfers read to the end, piece by piece or abandoned, requestors that are gone,
// the selection lost and taken again, time passing. The owner runs against the in-memory server
// and every reply is checked as a requestor would read it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/display/x11/atoms.h"
#include "platform/display/x11/clipboard_owner.h"
#include "platform/display/x11/text_encoding.h"
#include "tests/support/memory_x_server.h"

namespace {

using display::x11::ClipboardOwner;
using memory_server::TheServer;

constexpr Window kOwnerWindow = 0x100;
constexpr Window kRequestors[] = {0x200, 0x300, 0x400};  // the last one is gone
constexpr Atom kPropertyA = 90;
constexpr Atom kPropertyB = 91;
constexpr std::uint64_t kStallMs = 10'000;

void Expect(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "clipboard owner: %s\n", what);
        std::abort();
    }
}

class Session {
public:
    explicit Session(FuzzedDataProvider& in) : m_in(in), m_atoms(memory_server::InternedAtoms()) {
        auto& server = TheServer();
        server = {};
        server.windows = {kOwnerWindow, kRequestors[0], kRequestors[1]};
        // The protocol's floor is 4096 units; larger servers make fewer, larger pieces.
        server.maxRequestSize = in.ConsumeIntegralInRange<long>(4096, 4352);
        m_owner.emplace(memory_server::TheDisplay(), m_atoms, kOwnerWindow);
        m_chunk = m_owner->IncrementalThreshold();
    }

    void Run() {
        using Step = void (Session::*)();
        static constexpr Step kSteps[] = {
            &Session::Own,        &Session::Request,   &Session::RequestMultiple,
            &Session::WritePairs, &Session::ReadPiece, &Session::Clear,
            &Session::Wait,       &Session::Deliver};
        for (int step = 0; step < 48 && m_in.remaining_bytes() > 0; ++step) {
            (this->*m_in.PickValueInArray(kSteps))();
        }
    }

    void Settle() {
        // Once every requestor has been silent long enough, nothing is left watched.
        TheServer().nowMs += kStallMs;
        m_owner->DropStalledTransfers(TheServer().nowMs);
        Expect(!m_owner->HasTransfers(), "a stalled transfer was kept");
        ExpectNothingWatched("after the stalled transfers went");
    }

    // The owner goes with transfers still running: it stops watching their requestors.
    void End() {
        m_owner.reset();
        ExpectNothingWatched("after the owner went");
    }

private:
    Atom PickAtom() {
        const Atom known[] = {None,
                              XA_PRIMARY,
                              XA_STRING,
                              XA_INTEGER,
                              XA_ATOM,
                              m_atoms.clipboard,
                              m_atoms.targets,
                              m_atoms.multiple,
                              m_atoms.timestamp,
                              m_atoms.utf8String,
                              m_atoms.text,
                              m_atoms.incr,
                              m_atoms.atomPair,
                              m_atoms.saveTargets,
                              kPropertyA,
                              kPropertyB};
        if (m_in.ConsumeIntegralInRange(0, 7) != 0) {
            return m_in.PickValueInArray(known);
        }
        return m_in.ConsumeIntegral<std::uint32_t>();
    }

    Window PickRequestor() { return m_in.PickValueInArray(kRequestors); }

    Time PickTime() {
        switch (m_in.ConsumeIntegralInRange(0, 3)) {
            case 0:
                return CurrentTime;
            case 1:
                return m_time;
            case 2:
                return m_time > 0 ? m_time - 1 : 0;
            default:
                return m_time + 1;
        }
    }

    void Own() {
        // Long texts from a short input: a fragment repeated, up to three pieces' worth.
        std::string fragment = m_in.ConsumeRandomLengthString(12);
        if (fragment.empty()) {
            fragment = "\xE8\x89\xB2#12AB";
        }
        const auto length = m_in.ConsumeIntegralInRange<std::size_t>(0, 3 * m_chunk + 2);
        std::string text;
        while (text.size() < length) {
            text += fragment;
        }
        text.resize(length);
        m_time += m_in.ConsumeIntegralInRange<Time>(0, 2);
        m_owner->Own(text, m_time);
    }

    void Request() { Request(PickRequestor(), PickAtom(), PickAtom()); }

    // MULTIPLE as its requestors use it: the pair list first, then the request naming it.
    void RequestMultiple() {
        const Window requestor = PickRequestor();
        const Atom property = PickAtom();
        WritePairs(requestor, property);
        Request(requestor, m_atoms.multiple, property);
    }

    void Request(Window requestor, Atom target, Atom named) {
        // The server delivers events in order: property changes made before the request reach
        // the owner before it.
        Deliver();
        XEvent event{};
        XSelectionRequestEvent& request = event.xselectionrequest;
        request.type = SelectionRequest;
        request.display = memory_server::TheDisplay();
        request.owner = m_in.ConsumeIntegralInRange(0, 15) != 0 ? kOwnerWindow : kRequestors[0];
        request.requestor = requestor;
        request.selection = m_in.ConsumeBool() ? m_atoms.clipboard : PickAtom();
        request.target = target;
        request.property = named;
        request.time = PickTime();
        if (!m_owner->Wants(event)) {
            Expect(request.owner != kOwnerWindow, "a request to our window was not wanted");
            return;
        }
        const auto expected = ExpectedText(request.target);
        const Atom property = request.property != None ? request.property : request.target;
        const auto pairs = memory_server::Items32(request.requestor, property);
        auto& sent = TheServer().sentEvents;
        const std::size_t before = sent.size();
        m_owner->Handle(event);

        // One SelectionNotify answers each request, to a requestor that still exists.
        const bool exists = TheServer().windows.count(request.requestor) != 0;
        Expect(sent.size() - before == (exists ? 1u : 0u), "not exactly one reply");
        if (!exists) {
            return;
        }
        const XSelectionEvent& reply = sent.back().xselection;
        Expect(reply.type == SelectionNotify && reply.requestor == request.requestor &&
                   reply.selection == request.selection && reply.target == request.target &&
                   reply.time == request.time,
               "the reply does not match its request");
        Expect(reply.property == None || reply.property == property,
               "the reply names another property");
        if (reply.property == None) {
            return;
        }
        if (request.target == m_atoms.multiple) {
            CheckPairs(request.requestor, property, *pairs);
        } else if (expected) {
            CheckText(request.requestor, property, *expected);
        }
    }

    // The pair list written back: the same targets, each property kept or replaced by None.
    void CheckPairs(Window requestor, Atom property, const std::vector<std::uint32_t>& asked) {
        const auto& properties = TheServer().properties;
        const auto it = properties.find({requestor, property});
        const auto answered = memory_server::Items32(requestor, property);
        Expect(it != properties.end() && it->second.type == m_atoms.atomPair && answered &&
                   answered->size() == asked.size(),
               "MULTIPLE did not write its pairs back");
        for (std::size_t i = 0; i + 1 < asked.size(); i += 2) {
            Expect((*answered)[i] == asked[i] &&
                       ((*answered)[i + 1] == asked[i + 1] || (*answered)[i + 1] == None),
                   "MULTIPLE changed a pair other than by refusing it");
        }
    }

    // The data and type a text target answers with, or nullopt for other targets.
    std::optional<std::pair<std::string, Atom>> ExpectedText(Atom target) const {
        const std::string& text = m_owner->Text();
        const auto latin1 = display::x11::Utf8ToLatin1(text);
        if (target == m_atoms.utf8String) {
            return std::pair{text, m_atoms.utf8String};
        }
        if (target == XA_STRING) {
            return std::pair{latin1 ? *latin1 : text, Atom(XA_STRING)};
        }
        if (target == m_atoms.text) {
            return latin1 ? std::pair{*latin1, Atom(XA_STRING)}
                          : std::pair{text, m_atoms.utf8String};
        }
        return std::nullopt;
    }

    // The text whole in the property, or INCR with its size: then, if the fuzzer says so, the
    // requestor reads every piece, and they must add up to the text.
    void CheckText(Window requestor, Atom property, const std::pair<std::string, Atom>& expected) {
        const auto& properties = TheServer().properties;
        const auto it = properties.find({requestor, property});
        Expect(it != properties.end(), "an answered text property is missing");
        const memory_server::Property& answer = it->second;
        if (answer.type != m_atoms.incr) {
            Expect(answer.type == expected.second && answer.format == 8 &&
                       std::string(answer.bytes.begin(), answer.bytes.end()) == expected.first,
                   "the text answered is not the text owned");
            Expect(answer.bytes.size() <= m_chunk, "a text above the threshold went whole");
            return;
        }
        const auto size = memory_server::Items32(requestor, property);
        Expect(size && size->size() == 1 && (*size)[0] == expected.first.size() &&
                   expected.first.size() > m_chunk,
               "INCR does not announce the text's size");
        if (!m_in.ConsumeBool()) {
            return;  // left unread, or read later piece by piece
        }
        std::string received;
        Take(requestor, property);  // deleting INCR asks for the first piece
        for (std::size_t piece = 0;; ++piece) {
            Expect(piece <= expected.first.size() / m_chunk + 2, "the transfer does not end");
            Deliver();
            const auto next = TheServer().properties.find({requestor, property});
            Expect(next != TheServer().properties.end(), "a deletion got no next piece");
            Expect(next->second.type == expected.second && next->second.format == 8 &&
                       next->second.bytes.size() <= m_chunk,
                   "a piece is of another type or too large");
            const auto bytes = Take(requestor, property);
            if (bytes.empty()) {
                break;
            }
            received.append(bytes.begin(), bytes.end());
        }
        Expect(received == expected.first, "the pieces do not add up to the text");
        Deliver();
    }

    // Reads a property whole and deletes it, as a requestor reads each piece.
    std::vector<std::uint8_t> Take(Window requestor, Atom property) {
        std::vector<std::uint8_t> bytes;
        const auto it = TheServer().properties.find({requestor, property});
        if (it != TheServer().properties.end()) {
            bytes = it->second.bytes;
        }
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data;
        XGetWindowProperty(memory_server::TheDisplay(), requestor, property, 0, 1 << 20, True,
                           AnyPropertyType, &type, &format, &count, &after, &data);
        XFree(data);
        return bytes;
    }

    // A requestor's own property: a MULTIPLE pair list, or anything else in its place.
    void WritePairs() { WritePairs(PickRequestor(), PickAtom()); }

    void WritePairs(Window requestor, Atom property) {
        const Atom type = m_in.ConsumeBool() ? m_atoms.atomPair : PickAtom();
        const int format = m_in.PickValueInArray({32, 32, 16, 8});
        const int count = m_in.ConsumeIntegralInRange(0, 9);
        std::vector<long> items;
        for (int i = 0; i < count; ++i) {
            items.push_back(static_cast<long>(PickAtom()));
        }
        std::vector<unsigned char> bytes(items.begin(), items.end());
        std::vector<unsigned short> shorts(items.begin(), items.end());
        const unsigned char* data = format == 32   ? reinterpret_cast<unsigned char*>(items.data())
                                    : format == 16 ? reinterpret_cast<unsigned char*>(shorts.data())
                                                   : bytes.data();
        XChangeProperty(memory_server::TheDisplay(), requestor, property, type, format,
                        m_in.PickValueInArray({PropModeReplace, PropModeAppend}), data, count);
    }

    // A requestor reading one property and deleting it, whatever it holds.
    void ReadPiece() {
        Take(PickRequestor(), PickAtom());
        if (m_in.ConsumeBool()) {
            Deliver();
        }
    }

    // The property events the owner's event mask brings it, in order.
    void Deliver() {
        auto& events = TheServer().propertyEvents;
        while (!events.empty()) {
            XEvent event{};
            event.xproperty = events.front();
            events.erase(events.begin());
            if (m_owner->Wants(event)) {
                m_owner->Handle(event);
            }
        }
    }

    void Clear() {
        XEvent event{};
        event.xselectionclear.type = SelectionClear;
        event.xselectionclear.window = kOwnerWindow;
        event.xselectionclear.selection = m_in.ConsumeBool() ? m_atoms.clipboard : PickAtom();
        event.xselectionclear.time = PickTime();
        if (m_owner->Wants(event)) {
            m_owner->Handle(event);
        }
    }

    void Wait() {
        TheServer().nowMs += m_in.ConsumeIntegralInRange<std::uint64_t>(0, 2 * kStallMs);
        m_owner->DropStalledTransfers(TheServer().nowMs);
    }

    void ExpectNothingWatched(const char* when) {
        for (const auto& [window, mask] : TheServer().eventMasks) {
            if (window != kOwnerWindow && mask != NoEventMask) {
                std::fprintf(stderr, "clipboard owner: requestor 0x%lx still watched %s\n", window,
                             when);
                std::abort();
            }
        }
    }

    FuzzedDataProvider& m_in;
    display::x11::Atoms m_atoms;
    std::optional<ClipboardOwner> m_owner;
    std::size_t m_chunk = 0;
    Time m_time = 1000;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    // Either every transfer settles first, or the owner goes with whatever is still running.
    const bool settle = in.ConsumeBool();
    Session session(in);
    session.Run();
    if (settle) {
        session.Settle();
    }
    session.End();
    return 0;
}
