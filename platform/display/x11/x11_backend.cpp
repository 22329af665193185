#include "platform/display/x11/x11_backend.h"

#include "platform/display/x11/xlib.h"

#include <algorithm>

#include "platform/display/x11/error_trap.h"
#include "platform/display/x11/key_map.h"
#include "platform/display/x11/open_x11_display.h"
#include "platform/display/x11/text_encoding.h"
#include "platform/display/x11/window_property.h"

namespace display {

namespace {

constexpr int kWheelNotch = 120;

// Our pixels are 0x00RRGGBB words: the visual must take them as they are.
bool HasDirectColourVisual(Display* display, int screen) {
    const Visual* visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    if (visual->c_class != TrueColor || (depth != 24 && depth != 32) ||
        visual->red_mask != 0xFF0000 || visual->green_mask != 0x00FF00 ||
        visual->blue_mask != 0x0000FF) {
        return false;
    }
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool thirtyTwoBits = false;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth) {
            thirtyTwoBits = formats[i].bits_per_pixel == 32;
        }
    }
    if (formats != nullptr) {
        XFree(formats);
    }
    return thirtyTwoBits;
}

bool SupportsPlainStyle(XIM inputMethod) {
    XIMStyles* styles = nullptr;
    if (XGetIMValues(inputMethod, XNQueryInputStyle, &styles, nullptr) != nullptr ||
        styles == nullptr) {
        return false;
    }
    bool found = false;
    for (unsigned short i = 0; i < styles->count_styles; ++i) {
        found = found || styles->supported_styles[i] == (XIMPreeditNothing | XIMStatusNothing);
    }
    XFree(styles);
    return found;
}

// The user's input method (XMODIFIERS) when it runs, else Xlib's own, which still composes
// dead keys; null when the locale has none, and keys are looked up without one.
XIM OpenInputMethod(Display* display) {
    if (!XSupportsLocale()) {
        return nullptr;
    }
    for (const char* modifiers : {"", "@im=local", "@im=none"}) {
        if (XSetLocaleModifiers(modifiers) == nullptr) {
            continue;
        }
        if (XIM inputMethod = XOpenIM(display, nullptr, nullptr, nullptr)) {
            if (SupportsPlainStyle(inputMethod)) {
                return inputMethod;
            }
            XCloseIM(inputMethod);
        }
    }
    return nullptr;
}

Window CreateHelperWindow(x11::Connection& connection) {
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    return XCreateWindow(connection.Get(), connection.Root(), -1, -1, 1, 1, 0, CopyFromParent,
                         InputOnly, CopyFromParent, CWEventMask, &attributes);
}

bool EnableDetectableAutoRepeat(Display* display) {
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    return supported == True;
}

}  // namespace

std::unique_ptr<Backend> OpenX11Display(std::string* error) {
    return X11Backend::Open({}, error);
}

std::unique_ptr<X11Backend> X11Backend::Open(const X11Options& options, std::string* error) {
    auto connection = x11::Connection::Open(options.displayName, error);
    if (!connection) {
        return nullptr;
    }
    if (!HasDirectColourVisual(connection->Get(), connection->ScreenNumber())) {
        if (error != nullptr) {
            *error = "the X display's default visual is not 24-bit TrueColor";
        }
        return nullptr;
    }
    x11::InstallErrorHandlers(x11::LostDisplayAction::ReportAndExit);
    return std::unique_ptr<X11Backend>(
        new X11Backend(std::move(connection), options.allowSharedMemory, options.monitorRefreshMs));
}

X11Backend::X11Backend(std::unique_ptr<x11::Connection> connection, bool allowSharedMemory,
                       std::uint64_t monitorRefreshMs)
    : m_connection(std::move(connection)),
      m_display(m_connection->Get()),
      m_windowManager(m_display, m_connection->Root(), m_connection->GetAtoms()),
      m_inputMethod(OpenInputMethod(m_display)),
      m_useShm(allowSharedMemory && x11::WindowImage::ServerSharesMemory(m_display)),
      m_detectableRepeat(EnableDetectableAutoRepeat(m_display)),
      m_helperWindow(CreateHelperWindow(*m_connection)),
      m_environment{*m_connection, m_windowManager, m_inputMethod, m_useShm},
      m_screen(m_display, m_connection->Root(), monitorRefreshMs),
      m_clipboard(m_display, m_connection->GetAtoms(), m_helperWindow),
      m_clipboardReader(*m_connection, m_helperWindow),
      m_foreign(*m_connection, m_windowManager, [this](Window w) { return IsOurs(w); }) {
    // The manager may come or go while we run: its root properties tell.
    XSelectInput(m_display, m_connection->Root(), PropertyChangeMask);
    XFlush(m_display);
}

X11Backend::~X11Backend() {
    Shutdown();
    if (m_inputMethod != nullptr) {
        XCloseIM(m_inputMethod);
    }
}

x11::ClipboardKept X11Backend::Shutdown() {
    if (m_shutDown) {
        return x11::ClipboardKept::NotOwned;
    }
    m_shutDown = true;
    x11::ClipboardKeeper keeper(*m_connection, m_clipboard, m_helperWindow);
    const x11::ClipboardKept kept = keeper.Keep(m_connection->ServerTime(m_helperWindow));
    m_surfaces.clear();
    m_surfaceOfWindow.clear();
    m_stack.clear();
    XDestroyWindow(m_display, m_helperWindow);
    XSync(m_display, False);
    return kept;
}

// --- Surfaces ---

x11::SurfaceWindow* X11Backend::Surface(SurfaceId id) const {
    const auto it = m_surfaces.find(id);
    return it == m_surfaces.end() ? nullptr : it->second.get();
}

SurfaceId X11Backend::SurfaceOf(Window window) const {
    const auto it = m_surfaceOfWindow.find(window);
    return it == m_surfaceOfWindow.end() ? 0 : it->second;
}

bool X11Backend::IsOurs(Window window) const {
    return window == m_helperWindow || SurfaceOf(window) != 0;
}

Window X11Backend::XWindowOf(SurfaceId id) const {
    const x11::SurfaceWindow* surface = Surface(id);
    return surface != nullptr ? surface->XWindow() : None;
}

int X11Backend::BandOf(const x11::SurfaceWindow& surface) const {
    if (surface.Kind() == SurfaceKind::Menu) {
        return 2;
    }
    return surface.IsTopmost() ? 1 : 0;
}

SurfaceId X11Backend::CreateSurface(const SurfaceSpec& spec) {
    const SurfaceId id = m_nextSurface++;
    const x11::SurfaceWindow* owner = Surface(spec.owner);
    auto surface = std::make_unique<x11::SurfaceWindow>(m_environment, id, spec,
                                                        owner != nullptr ? owner->XWindow() : None);
    m_surfaceOfWindow[surface->XWindow()] = id;
    m_surfaces[id] = std::move(surface);
    m_stack.push_back(id);
    RaiseSurface(id, 0);
    return id;
}

void X11Backend::DestroySurface(SurfaceId id) {
    const auto it = m_surfaces.find(id);
    if (it == m_surfaces.end()) {
        return;
    }
    m_surfaceOfWindow.erase(it->second->XWindow());
    m_surfaces.erase(it);
    std::erase(m_stack, id);
    if (m_focused == id) {
        m_focused = 0;
    }
    XFlush(m_display);
}

void X11Backend::SetSurfaceBounds(SurfaceId id, const Rect& bounds) {
    if (x11::SurfaceWindow* surface = Surface(id)) {
        surface->SetBounds(bounds);
    }
}

void X11Backend::SetSurfaceTitle(SurfaceId id, std::string_view utf8) {
    if (x11::SurfaceWindow* surface = Surface(id)) {
        surface->SetTitle(utf8);
    }
}

void X11Backend::SetSurfaceIcon(SurfaceId id, const PixelView& argb) {
    if (x11::SurfaceWindow* surface = Surface(id)) {
        surface->SetIcon(argb);
    }
}

void X11Backend::SetSurfaceTopmost(SurfaceId id, bool topmost) {
    x11::SurfaceWindow* surface = Surface(id);
    if (surface == nullptr) {
        return;
    }
    surface->SetTopmost(topmost);
    RaiseSurface(id, 0);
}

void X11Backend::ShowSurface(SurfaceId id, bool visible) {
    x11::SurfaceWindow* surface = Surface(id);
    if (surface == nullptr) {
        return;
    }
    surface->Show(visible);
    if (visible && !surface->IsManaged()) {
        ApplyStacking();
    }
}

void X11Backend::MinimizeSurface(SurfaceId id, bool minimized) {
    x11::SurfaceWindow* surface = Surface(id);
    if (surface == nullptr) {
        return;
    }
    surface->Minimize(minimized);
    if (!minimized) {
        ActivateSurface(id);
    }
}

void X11Backend::RaiseSurface(SurfaceId id, SurfaceId below) {
    x11::SurfaceWindow* surface = Surface(id);
    if (surface == nullptr) {
        return;
    }
    std::erase(m_stack, id);
    const int band = BandOf(*surface);
    auto at = std::find_if(m_stack.begin(), m_stack.end(),
                           [&](SurfaceId other) { return BandOf(*Surface(other)) <= band; });
    const x11::SurfaceWindow* reference = Surface(below);
    if (reference != nullptr && BandOf(*reference) == band) {
        at = std::find(m_stack.begin(), m_stack.end(), below) + 1;
    }
    m_stack.insert(at, id);

    if (!surface->IsManaged()) {
        ApplyStacking();
        return;
    }
    if (reference == nullptr || !reference->IsManaged()) {
        XRaiseWindow(m_display, surface->XWindow());
        return;
    }
    // Under a manager our windows sit in its frames and are no longer siblings: this asks the
    // manager (a synthetic ConfigureRequest) when a direct restack fails.
    XWindowChanges changes{};
    changes.sibling = reference->XWindow();
    changes.stack_mode = Below;
    XReconfigureWMWindow(m_display, surface->XWindow(), m_connection->ScreenNumber(),
                         CWSibling | CWStackMode, &changes);
}

// With no manager the X stacking is ours to keep: our top window above every other client's,
// the rest of ours in order below it, menus over topmost over normal windows. Menus are
// never managed, so they are kept on top this way under a manager too.
void X11Backend::ApplyStacking() {
    std::vector<Window> order;
    for (const SurfaceId id : m_stack) {
        const x11::SurfaceWindow* surface = Surface(id);
        if (!surface->IsManaged()) {
            order.push_back(surface->XWindow());
        }
    }
    if (order.empty()) {
        return;
    }
    XRaiseWindow(m_display, order.front());
    XRestackWindows(m_display, order.data(), int(order.size()));
}

void X11Backend::ActivateSurface(SurfaceId id) {
    x11::SurfaceWindow* surface = Surface(id);
    if (surface == nullptr) {
        return;
    }
    surface->Activate(m_userTime, XWindowOf(m_focused));
    XFlush(m_display);
}

bool X11Backend::BeginMoveDrag(SurfaceId id, Point screen) {
    x11::SurfaceWindow* surface = Surface(id);
    return surface != nullptr && surface->BeginMoveDrag(screen);
}

void X11Backend::Present(SurfaceId id, const PixelView& image, std::span<const Rect> changed) {
    if (x11::SurfaceWindow* surface = Surface(id)) {
        surface->Present(image, changed);
    }
}

// --- Screen and pointer ---

Rect X11Backend::ScreenBounds() {
    return m_screen.Bounds(Clock());
}

void X11Backend::ReadScreen(const Rect& area, std::span<std::uint32_t> pixels,
                            std::span<std::uint8_t> delivered) {
    m_screen.Read(area, pixels, delivered, Clock());
}

Point X11Backend::PointerPosition() {
    const std::uint64_t now = Clock();
    if (m_pointer && m_pointerReadMs == now) {
        return *m_pointer;
    }
    Window root = None;
    Window child = None;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned mask = 0;
    XQueryPointer(m_display, m_connection->Root(), &root, &child, &rootX, &rootY, &x, &y, &mask);
    m_pointer = Point{rootX, rootY};
    m_pointerReadMs = now;
    return *m_pointer;
}

void X11Backend::WarpPointer(Point to) {
    m_pointer.reset();
    XWarpPointer(m_display, None, m_connection->Root(), 0, 0, 0, 0, to.x, to.y);
    XFlush(m_display);
}

// --- Clipboard ---

// At the volume the user set for the keyboard bell (percent 0 is the base volume).
void X11Backend::Bell() {
    XBell(m_display, 0);
    XFlush(m_display);
}

void X11Backend::SetClipboardText(std::string_view utf8) {
    m_clipboard.Own(utf8, m_connection->ServerTime(m_helperWindow));
    XFlush(m_display);
}

std::optional<std::string> X11Backend::ClipboardText() {
    if (XGetSelectionOwner(m_display, m_connection->GetAtoms().clipboard) == m_helperWindow &&
        m_clipboard.Owns()) {
        return m_clipboard.Text();
    }
    return m_clipboardReader.Read(CurrentTime, Clock() + kClipboardTimeoutMs);
}

// --- Other processes' windows ---

std::optional<ForeignWindowId> X11Backend::FindForeignWindow(std::string_view title) {
    if (const auto window = m_foreign.Find(title)) {
        return ForeignWindowId(*window);
    }
    return std::nullopt;
}

bool X11Backend::IsForeignWindowMinimized(ForeignWindowId id) {
    return m_foreign.IsMinimized(Window(id));
}

bool X11Backend::RestoreForeignWindow(ForeignWindowId id) {
    return m_foreign.Restore(Window(id), m_userTime);
}

bool X11Backend::ActivateForeignWindow(ForeignWindowId id) {
    return m_foreign.Activate(Window(id), m_userTime);
}

// --- Events ---

Event X11Backend::MakeEvent(EventType type, SurfaceId surface) const {
    Event event;
    event.type = type;
    event.surface = surface;
    event.timeMs = x11::MonotonicMs();
    return event;
}

std::optional<Event> X11Backend::NextEvent() {
    if (m_events.empty()) {
        Pump();
    }
    if (m_events.empty()) {
        return std::nullopt;
    }
    Event event = std::move(m_events.front());
    m_events.pop_front();
    return event;
}

void X11Backend::Wait(std::optional<std::uint64_t> deadlineMs) {
    for (;;) {
        Pump();
        if (!m_events.empty() || (deadlineMs && Clock() >= *deadlineMs)) {
            return;
        }
        m_connection->WaitForData(deadlineMs);
    }
}

void X11Backend::ProcessServerEvents(std::uint64_t deadlineMs) {
    if (XPending(m_display) == 0) {
        m_connection->WaitForData(deadlineMs);
    }
    Pump();
}

void X11Backend::Pump() {
    // XPending flushes our requests, reads what has arrived and, on a dead connection, calls
    // the I/O error handler.
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        Dispatch(event);
    }
}

const std::array<X11Backend::Handler, LASTEvent>& X11Backend::Handlers() {
    static const std::array<Handler, LASTEvent> kHandlers = [] {
        std::array<Handler, LASTEvent> table{};
        table[KeyPress] = &X11Backend::OnKeyPress;
        table[KeyRelease] = &X11Backend::OnKeyRelease;
        table[ButtonPress] = &X11Backend::OnButtonPress;
        table[ButtonRelease] = &X11Backend::OnButtonRelease;
        table[MotionNotify] = &X11Backend::OnMotion;
        table[x11::kFocusInEvent] = &X11Backend::OnFocusIn;
        table[x11::kFocusOutEvent] = &X11Backend::OnFocusOut;
        table[x11::kExposeEvent] = &X11Backend::OnExpose;
        table[ConfigureNotify] = &X11Backend::OnConfigure;
        table[MapNotify] = &X11Backend::OnMap;
        table[UnmapNotify] = &X11Backend::OnUnmap;
        table[PropertyNotify] = &X11Backend::OnProperty;
        table[ClientMessage] = &X11Backend::OnClientMessage;
        table[MappingNotify] = &X11Backend::OnMapping;
        return table;
    }();
    return kHandlers;
}

void X11Backend::Dispatch(XEvent& event) {
    // The input method sees every event first; what it keeps (a key that starts a
    // composition) is not ours.
    if (XFilterEvent(&event, None)) {
        return;
    }
    if (m_screen.NoteEvent(event)) {
        return;
    }
    if (m_clipboard.Wants(event)) {
        m_clipboard.Handle(event);
        return;
    }
    if (event.type < 0 || event.type >= LASTEvent) {
        return;
    }
    if (const Handler handler = Handlers()[std::size_t(event.type)]) {
        (this->*handler)(event);
    }
}

std::pair<std::string, KeySym> X11Backend::LookUpKey(XKeyEvent& key) {
    KeySym typed = NoSymbol;
    std::string text(64, '\0');
    const x11::SurfaceWindow* surface = Surface(SurfaceOf(key.window));
    XIC inputContext = surface != nullptr ? surface->InputContext() : nullptr;
    if (inputContext == nullptr) {
        const int length = XLookupString(&key, text.data(), int(text.size()), &typed, nullptr);
        text.resize(std::size_t(std::max(length, 0)));
        return {x11::Latin1ToUtf8(text), typed};
    }
    Status status = 0;
    int length =
        Xutf8LookupString(inputContext, &key, text.data(), int(text.size()), &typed, &status);
    if (status == XBufferOverflow) {
        text.resize(std::size_t(length));
        length =
            Xutf8LookupString(inputContext, &key, text.data(), int(text.size()), &typed, &status);
    }
    if (status != XLookupChars && status != XLookupBoth) {
        length = 0;
    }
    if (status != XLookupKeySym && status != XLookupBoth) {
        typed = NoSymbol;
    }
    text.resize(std::size_t(std::max(length, 0)));
    return {text, typed};
}

void X11Backend::OnKeyPress(XEvent& event) {
    XKeyEvent& key = event.xkey;
    m_userTime = key.time;
    const SurfaceId surface = SurfaceOf(key.window);
    auto [text, typed] = LookUpKey(key);
    // An input method's commit comes as a press of no key (keycode 0).
    const int vk = key.keycode == 0 ? 0 : x11::VirtualKeyOf(XLookupKeysym(&key, 0), typed);
    text = x11::TypedText(text);
    if (vk == 0) {
        if (!text.empty()) {
            Event e = MakeEvent(EventType::Char, surface);
            e.text = std::move(text);
            Push(std::move(e));
        }
        return;
    }
    Event e = MakeEvent(EventType::KeyDown, surface);
    e.vk = vk;
    e.repeat = m_keys.Press(key.keycode);
    e.text = std::move(text);
    Push(std::move(e));
}

void X11Backend::OnKeyRelease(XEvent& event) {
    XKeyEvent& key = event.xkey;
    // Without detectable auto-repeat a held key sends release and press pairs with one time
    // stamp: the release is no release, and the press that follows reads as a repeat.
    if (!m_detectableRepeat && XEventsQueued(m_display, QueuedAfterReading) > 0) {
        XEvent next;
        XPeekEvent(m_display, &next);
        if (x11::KeyRepeat::IsRepeatPair(key, next.xkey)) {
            return;
        }
    }
    m_keys.Release(key.keycode);
    KeySym typed = NoSymbol;
    XLookupString(&key, nullptr, 0, &typed, nullptr);
    const int vk = x11::VirtualKeyOf(XLookupKeysym(&key, 0), typed);
    if (vk == 0) {
        return;
    }
    Event e = MakeEvent(EventType::KeyUp, SurfaceOf(key.window));
    e.vk = vk;
    Push(std::move(e));
}

void X11Backend::OnButtonPress(XEvent& event) {
    const XButtonEvent& button = event.xbutton;
    m_userTime = button.time;
    Event e = MakeEvent(EventType::ButtonDown, SurfaceOf(button.window));
    e.screen = {button.x_root, button.y_root};
    switch (button.button) {
        case Button1:
            e.button = MouseButton::Left;
            break;
        case Button2:
            e.button = MouseButton::Middle;
            break;
        case Button3:
            e.button = MouseButton::Right;
            break;
        case Button4:
        case Button5:
            e.type = EventType::Wheel;
            e.wheelDelta = button.button == Button4 ? kWheelNotch : -kWheelNotch;
            break;
        default:
            return;  // horizontal wheels and extra buttons: Win32 has no such message here
    }
    Push(std::move(e));
}

void X11Backend::OnButtonRelease(XEvent& event) {
    const XButtonEvent& button = event.xbutton;
    Event e = MakeEvent(EventType::ButtonUp, SurfaceOf(button.window));
    e.screen = {button.x_root, button.y_root};
    switch (button.button) {
        case Button1:
            e.button = MouseButton::Left;
            break;
        case Button2:
            e.button = MouseButton::Middle;
            break;
        case Button3:
            e.button = MouseButton::Right;
            break;
        default:
            return;  // a wheel notch is its press alone
    }
    Push(std::move(e));
}

void X11Backend::OnMotion(XEvent& event) {
    const XMotionEvent& motion = event.xmotion;
    Event e = MakeEvent(EventType::PointerMove, SurfaceOf(motion.window));
    e.screen = {motion.x_root, motion.y_root};
    Push(std::move(e));
}

// Focus moving inside our window, or a grab by the window manager (a move, a key binding) that
// hands it back, is no change of the active window.
static bool IsRealFocusChange(const XFocusChangeEvent& focus) {
    return focus.mode != NotifyGrab && focus.mode != NotifyUngrab &&
           focus.detail != NotifyInferior && focus.detail != NotifyPointer;
}

void X11Backend::OnFocusIn(XEvent& event) {
    const SurfaceId id = SurfaceOf(event.xfocus.window);
    if (id == 0 || !IsRealFocusChange(event.xfocus) || m_focused == id) {
        return;
    }
    if (XIC inputContext = Surface(id)->InputContext()) {
        XSetICFocus(inputContext);
    }
    m_focused = id;
    Push(MakeEvent(EventType::FocusIn, id));
}

void X11Backend::OnFocusOut(XEvent& event) {
    const SurfaceId id = SurfaceOf(event.xfocus.window);
    if (id == 0 || !IsRealFocusChange(event.xfocus) || m_focused != id) {
        return;
    }
    if (XIC inputContext = Surface(id)->InputContext()) {
        XUnsetICFocus(inputContext);
    }
    m_focused = 0;
    m_keys.Clear();
    Push(MakeEvent(EventType::FocusOut, id));
}

void X11Backend::OnExpose(XEvent& event) {
    const XExposeEvent& expose = event.xexpose;
    const SurfaceId id = SurfaceOf(expose.window);
    if (id == 0) {
        return;
    }
    const Rect area{expose.x, expose.y, expose.x + expose.width, expose.y + expose.height};
    if (Surface(id)->Repaint(area)) {
        return;
    }
    Event e = MakeEvent(EventType::Expose, id);
    e.area = area;
    Push(std::move(e));
}

// The event's coordinates are relative to whatever frame the manager put us in: ask the server
// where the window is on the root.
void X11Backend::OnConfigure(XEvent& event) {
    const SurfaceId id = SurfaceOf(event.xconfigure.window);
    x11::SurfaceWindow* surface = Surface(id);
    if (surface == nullptr) {
        return;
    }
    int x = 0;
    int y = 0;
    Window child = None;
    if (!XTranslateCoordinates(m_display, surface->XWindow(), m_connection->Root(), 0, 0, &x, &y,
                               &child)) {
        return;
    }
    if (x == surface->Bounds().left && y == surface->Bounds().top) {
        return;
    }
    surface->NoteMoved({x, y});
    Event e = MakeEvent(EventType::Moved, id);
    e.area = surface->Bounds();
    Push(std::move(e));
}

void X11Backend::OnMap(XEvent& event) {
    const SurfaceId id = SurfaceOf(event.xmap.window);
    if (id != 0 && Surface(id)->NoteMapped(event.xmap)) {
        Push(MakeEvent(EventType::Restored, id));
    }
}

void X11Backend::OnUnmap(XEvent& event) {
    const SurfaceId id = SurfaceOf(event.xunmap.window);
    if (id != 0 && Surface(id)->NoteUnmapped(event.xunmap)) {
        Push(MakeEvent(EventType::Minimized, id));
    }
}

// A manager shows iconic state in WM_STATE (ICCCM) and _NET_WM_STATE_HIDDEN (EWMH), not always
// both at once: iconic while either says so.
bool X11Backend::IsIconic(Window window) {
    const x11::Atoms& atoms = m_connection->GetAtoms();
    if (const auto state = x11::ReadProperty(m_display, window, atoms.wmState);
        state && state->format == 32 && !state->items.empty() &&
        state->items.front() == IconicState) {
        return true;
    }
    const auto netState = x11::ReadProperty(m_display, window, atoms.netWmState);
    return netState && netState->format == 32 && netState->HasItem(atoms.netWmStateHidden);
}

void X11Backend::OnProperty(XEvent& event) {
    const XPropertyEvent& property = event.xproperty;
    const x11::Atoms& atoms = m_connection->GetAtoms();
    if (property.window == m_connection->Root()) {
        if (m_windowManager.IsWatched(property.atom)) {
            m_windowManager.Refresh();
        }
        return;
    }
    const SurfaceId id = SurfaceOf(property.window);
    if (id == 0 || (property.atom != atoms.wmState && property.atom != atoms.netWmState)) {
        return;
    }
    x11::SurfaceWindow* surface = Surface(id);
    if (!surface->IsManaged()) {
        return;
    }
    const bool iconic = IsIconic(property.window);
    if (surface->NoteIconic(iconic)) {
        Push(MakeEvent(iconic ? EventType::Minimized : EventType::Restored, id));
    }
}

void X11Backend::OnClientMessage(XEvent& event) {
    XClientMessageEvent& message = event.xclient;
    const x11::Atoms& atoms = m_connection->GetAtoms();
    const SurfaceId id = SurfaceOf(message.window);
    if (id == 0 || message.message_type != atoms.wmProtocols || message.format != 32) {
        return;
    }
    const Atom protocol = Atom(message.data.l[0]);
    if (protocol == atoms.wmDeleteWindow) {
        Push(MakeEvent(EventType::CloseRequest, id));
        return;
    }
    // The manager asks whether we still answer; the reply goes back to the root.
    if (protocol == atoms.netWmPing) {
        message.window = m_connection->Root();
        XSendEvent(m_display, m_connection->Root(), False,
                   SubstructureNotifyMask | SubstructureRedirectMask, &event);
        XFlush(m_display);
    }
}

void X11Backend::OnMapping(XEvent& event) {
    XRefreshKeyboardMapping(&event.xmapping);
}

}  // namespace display
