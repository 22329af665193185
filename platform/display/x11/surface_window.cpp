#include "platform/display/x11/surface_window.h"

#include <errno.h>
#include <unistd.h>
#include "platform/display/x11/xlib.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/display/x11/text_encoding.h"
#include "platform/display/x11/window_property.h"

namespace display::x11 {

namespace {

constexpr long kEventMask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | ExposureMask | StructureNotifyMask |
                            FocusChangeMask | PropertyChangeMask;
constexpr long kSourceApplication = 1;
constexpr long kMoveResizeMove = 8;
constexpr long kMotifHintsDecorations = 2;
constexpr char kWindowClass[] = "TintaroLE";

// X refuses windows of no width or height.
unsigned ExtentOf(int length) {
    return unsigned(std::max(length, 1));
}

Rect Normalized(const Rect& r) {
    return {r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

}  // namespace

SurfaceWindow::SurfaceWindow(const SurfaceEnvironment& environment, SurfaceId id,
                             const SurfaceSpec& spec, Window owner)
    : m_display(environment.connection.Get()),
      m_env(environment),
      m_id(id),
      m_kind(spec.kind),
      m_bounds(Normalized(spec.bounds)),
      m_topmost(spec.topmost) {
    XSetWindowAttributes attributes{};
    // No background: the server leaves what was there until we answer the Expose, instead of
    // flashing a cleared window.
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.event_mask = kEventMask;
    attributes.override_redirect = m_kind == SurfaceKind::Menu ? True : False;
    attributes.bit_gravity = NorthWestGravity;
    m_window = XCreateWindow(
        m_display, environment.connection.Root(), m_bounds.left, m_bounds.top,
        ExtentOf(m_bounds.Width()), ExtentOf(m_bounds.Height()), 0, CopyFromParent, InputOutput,
        CopyFromParent,
        CWBackPixmap | CWBorderPixel | CWEventMask | CWOverrideRedirect | CWBitGravity,
        &attributes);
    m_gc = XCreateGC(m_display, m_window, 0, nullptr);
    const int screen = environment.connection.ScreenNumber();
    m_image = std::make_unique<WindowImage>(m_display, DefaultVisual(m_display, screen),
                                            DefaultDepth(m_display, screen), m_bounds.Width(),
                                            m_bounds.Height(), environment.useShm);
    WriteHints(spec, owner);
    AttachInputContext();
}

void SurfaceWindow::AttachInputContext() {
    if (m_inputContext != nullptr || m_env.inputMethod == nullptr || m_kind == SurfaceKind::Menu) {
        return;
    }
    m_inputContext =
        XCreateIC(m_env.inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                  XNClientWindow, m_window, XNFocusWindow, m_window, nullptr);
    if (m_inputContext != nullptr) {
        long filterMask = 0;
        if (XGetICValues(m_inputContext, XNFilterEvents, &filterMask, nullptr) == nullptr) {
            XSelectInput(m_display, m_window, kEventMask | filterMask);
        }
    }
}

SurfaceWindow::~SurfaceWindow() {
    if (m_inputContext != nullptr) {
        XDestroyIC(m_inputContext);
    }
    m_image.reset();
    XFreeGC(m_display, m_gc);
    XDestroyWindow(m_display, m_window);
}

bool SurfaceWindow::IsManaged() const {
    return m_kind != SurfaceKind::Menu && m_env.windowManager.IsRunning();
}

void SurfaceWindow::WriteHints(const SurfaceSpec& spec, Window owner) {
    const Atoms& atoms = m_env.connection.GetAtoms();
    SetTitle(spec.title);

    XClassHint classHint{};
    std::string name = program_invocation_short_name;
    classHint.res_name = name.data();
    classHint.res_class = const_cast<char*>(kWindowClass);
    XSetClassHint(m_display, m_window, &classHint);

    const unsigned long pid = static_cast<unsigned long>(getpid());
    WriteCardinals(m_display, m_window, atoms.netWmPid, {&pid, 1});
    // EWMH: a pid means nothing without the machine it runs on.
    std::array<char, 256> host{};
    if (gethostname(host.data(), host.size() - 1) == 0) {
        WriteBytes(m_display, m_window, XA_WM_CLIENT_MACHINE, XA_STRING, host.data());
    }

    const Atom type = m_kind == SurfaceKind::Menu   ? atoms.netWmWindowTypePopupMenu
                      : m_kind == SurfaceKind::Tool ? atoms.netWmWindowTypeDialog
                                                    : atoms.netWmWindowTypeNormal;
    WriteAtoms(m_display, m_window, atoms.netWmWindowType, {&type, 1});
    if (m_kind == SurfaceKind::Menu) {
        return;  // override-redirect: no manager ever reads the rest
    }

    // Our non-client area draws the frame: ask the manager for none of its own.
    const std::array<unsigned long, 5> motif{kMotifHintsDecorations, 0, 0, 0, 0};
    XChangeProperty(m_display, m_window, atoms.motifWmHints, atoms.motifWmHints, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(motif.data()),
                    int(motif.size()));

    std::array<Atom, 2> protocols{atoms.wmDeleteWindow, atoms.netWmPing};
    XSetWMProtocols(m_display, m_window, protocols.data(), int(protocols.size()));

    XWMHints wmHints{};
    wmHints.flags = InputHint | StateHint;
    wmHints.input = True;
    wmHints.initial_state = NormalState;
    XSetWMHints(m_display, m_window, &wmHints);
    WriteSizeHints();

    if (m_kind == SurfaceKind::Tool && owner != None) {
        XSetTransientForHint(m_display, m_window, owner);
    }
    WriteNetWmState();
}

// Our rectangle is exact: the position is the user's choice (the manager must not place the
// window) and static gravity puts the window itself, not a frame, at it; the size is fixed
// except when we change it.
void SurfaceWindow::WriteSizeHints() {
    XSizeHints hints{};
    hints.flags = USPosition | USSize | PPosition | PSize | PMinSize | PMaxSize | PWinGravity;
    hints.x = m_bounds.left;
    hints.y = m_bounds.top;
    hints.width = hints.min_width = hints.max_width = int(ExtentOf(m_bounds.Width()));
    hints.height = hints.min_height = hints.max_height = int(ExtentOf(m_bounds.Height()));
    hints.win_gravity = StaticGravity;
    XSetWMNormalHints(m_display, m_window, &hints);
}

// The states a window asks for before it is mapped; afterwards the manager owns the property.
void SurfaceWindow::WriteNetWmState() {
    const Atoms& atoms = m_env.connection.GetAtoms();
    std::vector<Atom> states;
    if (m_topmost) {
        states.push_back(atoms.netWmStateAbove);
    }
    if (m_kind == SurfaceKind::Tool) {
        states.push_back(atoms.netWmStateSkipTaskbar);
        states.push_back(atoms.netWmStateSkipPager);
    }
    WriteAtoms(m_display, m_window, atoms.netWmState, states);
}

// Without a manager nobody else tells other clients that a window of ours is iconic, and a
// second copy of the program decides from WM_STATE whether to restore the first. A manager
// that starts later takes an unmapped window whose WM_STATE says iconic on as iconic (ICCCM),
// so the minimised window is not lost then either.
void SurfaceWindow::PublishStateWithoutManager() {
    if (m_kind == SurfaceKind::Menu || IsManaged()) {
        return;
    }
    const Atom wmState = m_env.connection.GetAtoms().wmState;
    if (!m_shown) {
        XDeleteProperty(m_display, m_window, wmState);
        return;
    }
    const std::array<unsigned long, 2> state{
        static_cast<unsigned long>(m_minimized ? IconicState : NormalState), None};
    XChangeProperty(m_display, m_window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(state.data()), int(state.size()));
}

void SurfaceWindow::SetBounds(const Rect& requested) {
    const Rect bounds = Normalized(requested);
    const bool resized = bounds.Width() != m_bounds.Width() || bounds.Height() != m_bounds.Height();
    m_bounds = bounds;
    if (m_kind != SurfaceKind::Menu) {
        WriteSizeHints();
    }
    XMoveResizeWindow(m_display, m_window, bounds.left, bounds.top, ExtentOf(bounds.Width()),
                      ExtentOf(bounds.Height()));
    if (!resized) {
        return;
    }
    const int screen = m_env.connection.ScreenNumber();
    m_image = std::make_unique<WindowImage>(m_display, DefaultVisual(m_display, screen),
                                            DefaultDepth(m_display, screen), bounds.Width(),
                                            bounds.Height(), m_env.useShm);
    m_presented = false;
}

void SurfaceWindow::SetTitle(std::string_view utf8) {
    const Atoms& atoms = m_env.connection.GetAtoms();
    WriteBytes(m_display, m_window, atoms.netWmName, atoms.utf8String, utf8);
    // WM_NAME is Latin-1 by ICCCM; a title beyond it goes as UTF8_STRING, which readers of
    // WM_NAME accept today.
    if (const auto latin1 = Utf8ToLatin1(utf8)) {
        WriteBytes(m_display, m_window, XA_WM_NAME, XA_STRING, *latin1);
    } else {
        WriteBytes(m_display, m_window, XA_WM_NAME, atoms.utf8String, utf8);
    }
}

void SurfaceWindow::SetIcon(const PixelView& argb) {
    const Atom icon = m_env.connection.GetAtoms().netWmIcon;
    if (argb.pixels == nullptr || argb.width <= 0 || argb.height <= 0) {
        XDeleteProperty(m_display, m_window, icon);
        return;
    }
    std::vector<unsigned long> data;
    data.reserve(2 + std::size_t(argb.width) * std::size_t(argb.height));
    data.push_back(static_cast<unsigned long>(argb.width));
    data.push_back(static_cast<unsigned long>(argb.height));
    for (int y = 0; y < argb.height; ++y) {
        const std::uint32_t* row = argb.pixels + std::size_t(y) * argb.stride;
        data.insert(data.end(), row, row + argb.width);
    }
    WriteCardinals(m_display, m_window, icon, data);
}

void SurfaceWindow::SetTopmost(bool topmost) {
    if (topmost == m_topmost) {
        return;
    }
    m_topmost = topmost;
    if (m_kind == SurfaceKind::Menu) {
        return;
    }
    if (m_shown && IsManaged()) {
        m_env.windowManager.ChangeState(m_window, m_env.connection.GetAtoms().netWmStateAbove,
                                        topmost);
        return;
    }
    WriteNetWmState();
}

void SurfaceWindow::MapOwn() {
    m_ownMaps.push_back(NextRequest(m_display));
    XMapWindow(m_display, m_window);
}

void SurfaceWindow::UnmapOwn() {
    m_ownUnmaps.push_back(NextRequest(m_display));
    XUnmapWindow(m_display, m_window);
}

bool SurfaceWindow::TakeOwn(std::deque<unsigned long>& serials, unsigned long serial) {
    // Notifications come in request order: serials before this one will never come back.
    while (!serials.empty() && serials.front() < serial) {
        serials.pop_front();
    }
    if (serials.empty() || serials.front() != serial) {
        return false;
    }
    serials.pop_front();
    return true;
}

void SurfaceWindow::Unmap() {
    if (IsManaged()) {
        m_ownUnmaps.push_back(NextRequest(m_display));
        // ICCCM withdraws a window with a synthetic UnmapNotify too, so that the manager
        // forgets it even when it was iconic (and so not mapped).
        XWithdrawWindow(m_display, m_window, m_env.connection.ScreenNumber());
        return;
    }
    UnmapOwn();
}

void SurfaceWindow::Show(bool shown) {
    if (shown == m_shown) {
        return;
    }
    m_shown = shown;
    PublishStateWithoutManager();
    if (!shown) {
        m_focusOnMap = false;
        Unmap();
        return;
    }
    if (m_kind != SurfaceKind::Menu) {
        WriteNetWmState();  // the manager reads it when it takes the window on
    }
    if (m_minimized) {
        if (IsManaged()) {
            XWMHints hints{};
            hints.flags = InputHint | StateHint;
            hints.input = True;
            hints.initial_state = IconicState;
            XSetWMHints(m_display, m_window, &hints);
            MapOwn();
        }
        return;
    }
    MapOwn();
}

void SurfaceWindow::Minimize(bool minimized) {
    if (minimized == m_minimized) {
        return;
    }
    m_minimized = minimized;
    if (!m_shown) {
        return;
    }
    PublishStateWithoutManager();
    if (IsManaged()) {
        m_askedIconic = minimized;
        m_askedAt = std::chrono::steady_clock::now();
    }
    if (minimized) {
        if (IsManaged()) {
            XIconifyWindow(m_display, m_window, m_env.connection.ScreenNumber());
        } else {
            UnmapOwn();
        }
        return;
    }
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(m_display, m_window, &hints);
    MapOwn();
}

void SurfaceWindow::Activate(Time time, Window currentlyActive) {
    if (m_kind == SurfaceKind::Menu || !m_shown || m_minimized) {
        return;
    }
    const Atoms& atoms = m_env.connection.GetAtoms();
    if (IsManaged() && m_env.windowManager.Supports(atoms.netActiveWindow)) {
        m_env.windowManager.Send(m_window, atoms.netActiveWindow,
                                 {kSourceApplication, long(time), long(currentlyActive), 0, 0});
        return;
    }
    // Focus on a window not viewable yet fails (BadMatch): wait for its MapNotify.
    if (!m_mapped) {
        m_focusOnMap = true;
        return;
    }
    m_env.connection.SetInputFocus(m_window);
}

bool SurfaceWindow::BeginMoveDrag(Point screen) {
    const Atoms& atoms = m_env.connection.GetAtoms();
    if (!IsManaged() || !m_env.windowManager.Supports(atoms.netWmMoveResize)) {
        return false;
    }
    // The button press gave us an implicit grab; the manager can only take the pointer once
    // we let it go.
    XUngrabPointer(m_display, CurrentTime);
    m_env.windowManager.Send(m_window, atoms.netWmMoveResize,
                             {screen.x, screen.y, kMoveResizeMove, Button1, kSourceApplication});
    XFlush(m_display);
    return true;
}

// A rectangle repainted with the pixels it had (a swatch or readout redrawn on every tick in
// the same colour) is not put again: the window shows our copy already, and an Expose puts it
// back wherever the server lost it.
void SurfaceWindow::Present(const PixelView& image, std::span<const Rect> changed) {
    const bool first = !m_presented;
    m_presented = true;
    for (const Rect& r : changed) {
        if (m_image->CopyFrom(image, r) || first) {
            if (m_mapped) {
                m_image->Put(m_window, m_gc, r);
            }
        }
    }
}

bool SurfaceWindow::Repaint(const Rect& area) {
    if (!m_presented) {
        return false;
    }
    m_image->Put(m_window, m_gc, area);
    return true;
}

bool SurfaceWindow::NoteMapped(const XMapEvent& event) {
    m_mapped = true;
    if (m_focusOnMap) {
        m_focusOnMap = false;
        m_env.connection.SetInputFocus(m_window);
    }
    // Without a manager only another client maps a window we minimised: it restores it. Our
    // own map read after we minimised again is not that.
    if (TakeOwn(m_ownMaps, event.serial) || IsManaged() || !m_shown || !m_minimized) {
        return false;
    }
    m_minimized = false;
    PublishStateWithoutManager();
    return true;
}

bool SurfaceWindow::NoteUnmapped(const XUnmapEvent& event) {
    m_mapped = false;
    // Our own unmaps, and (with a manager) the manager's reparenting and iconifying, which
    // WM_STATE reports more reliably, are not the user minimising us.
    if (TakeOwn(m_ownUnmaps, event.serial) || event.send_event || IsManaged()) {
        return false;
    }
    if (!m_shown || m_minimized) {
        return false;
    }
    m_minimized = true;
    PublishStateWithoutManager();
    return true;
}

bool SurfaceWindow::NoteIconic(bool iconic) {
    constexpr auto kRequestLapses = std::chrono::seconds(2);
    if (m_askedIconic) {
        if (iconic == *m_askedIconic) {
            m_askedIconic.reset();
        } else if (std::chrono::steady_clock::now() - m_askedAt < kRequestLapses) {
            return false;
        } else {
            m_askedIconic.reset();
        }
    }
    if (!m_shown || iconic == m_minimized) {
        return false;
    }
    m_minimized = iconic;
    return true;
}

}  // namespace display::x11
