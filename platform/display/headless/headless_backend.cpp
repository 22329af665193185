#include "platform/display/headless/headless_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace display {

namespace {

// A test that cannot end must fail, not hang: say why on one line and stop.
[[noreturn]] void Fail(const std::string& why, std::uint64_t clockMs) {
    std::fprintf(stderr, "headless display: %s (clock %llu ms)\n", why.c_str(),
                 static_cast<unsigned long long>(clockMs));
    std::abort();
}

Rect Normalized(const Rect& r) {
    return {r.left, r.top, std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

Rect UnionFromOrigin(const std::vector<Rect>& monitors) {
    Rect bounds;
    for (const Rect& m : monitors) {
        bounds.right = std::max(bounds.right, m.right);
        bounds.bottom = std::max(bounds.bottom, m.bottom);
    }
    return bounds;
}

}  // namespace

HeadlessBackend::HeadlessBackend(int width, int height)
    : m_desktop(width, height, kDesktopColour),
      m_monitors{m_desktop.Bounds()},
      m_pointer{m_desktop.Width() / 2, m_desktop.Height() / 2} {}

// --- Screen ---

Rect HeadlessBackend::ScreenBounds() {
    return m_desktop.Bounds();
}

void HeadlessBackend::ReadScreen(const Rect& area, std::span<std::uint32_t> pixels,
                                 std::span<std::uint8_t> delivered) {
    if (area.IsEmpty()) {
        return;
    }
    const std::size_t count = std::size_t(area.Width()) * std::size_t(area.Height());
    if (pixels.size() < count || delivered.size() < count) {
        return;
    }
    for (const Rect& monitor : m_monitors) {
        const Rect inside = area.Intersect(monitor).Intersect(m_desktop.Bounds());
        if (inside.IsEmpty()) {
            continue;
        }
        const std::size_t first =
            std::size_t(inside.top - area.top) * area.Width() + (inside.left - area.left);
        Compose(inside, pixels.data() + first, area.Width());
        for (int row = 0; row < inside.Height(); ++row) {
            std::uint8_t* flags = delivered.data() + first + std::size_t(row) * area.Width();
            std::fill(flags, flags + inside.Width(), std::uint8_t{1});
        }
    }
}

// Desktop first, then each composed surface bottom to top, only over `area` (on the screen).
void HeadlessBackend::Compose(const Rect& area, std::uint32_t* pixels, int stride) const {
    for (int y = area.top; y < area.bottom; ++y) {
        const std::uint32_t* from = m_desktop.Row(y) + area.left;
        std::copy(from, from + area.Width(), pixels + std::size_t(y - area.top) * stride);
    }
    for (SurfaceId id : m_stack.BottomToTop()) {
        const SurfaceInfo& s = m_surfaces.at(id);
        if (!IsComposed(s)) {
            continue;
        }
        const Rect r = area.Intersect(s.bounds);
        for (int y = r.top; y < r.bottom; ++y) {
            const std::uint32_t* from = s.image.Row(y - s.bounds.top) + (r.left - s.bounds.left);
            std::uint32_t* to = pixels + std::size_t(y - area.top) * stride + (r.left - area.left);
            std::copy(from, from + r.Width(), to);
        }
    }
}

void HeadlessBackend::SetMonitors(std::vector<Rect> monitors) {
    const Rect bounds = UnionFromOrigin(monitors);
    m_desktop = PixelImage(bounds.Width(), bounds.Height(), kDesktopColour);
    m_monitors = std::move(monitors);
}

void HeadlessBackend::FillDesktop(const Rect& area, std::uint32_t colour) {
    m_desktop.Fill(area, colour);
}

void HeadlessBackend::SetDesktopPixel(Point p, std::uint32_t colour) {
    m_desktop.Set(p, colour);
}

std::vector<std::uint32_t> HeadlessBackend::Capture(const Rect& area) {
    if (area.IsEmpty()) {
        return {};
    }
    std::vector<std::uint32_t> pixels(std::size_t(area.Width()) * std::size_t(area.Height()), 0);
    const Rect inside = area.Intersect(m_desktop.Bounds());
    if (!inside.IsEmpty()) {
        const std::size_t first =
            std::size_t(inside.top - area.top) * area.Width() + (inside.left - area.left);
        Compose(inside, pixels.data() + first, area.Width());
    }
    return pixels;
}

std::uint32_t HeadlessBackend::PixelAt(int x, int y) {
    return Capture({x, y, x + 1, y + 1}).front();
}

// --- Surfaces ---

SurfaceInfo* HeadlessBackend::Surface(SurfaceId id) {
    auto it = m_surfaces.find(id);
    return it == m_surfaces.end() ? nullptr : &it->second;
}

const SurfaceInfo* HeadlessBackend::FindSurface(SurfaceId id) const {
    auto it = m_surfaces.find(id);
    return it == m_surfaces.end() ? nullptr : &it->second;
}

StackBand HeadlessBackend::BandOf(const SurfaceInfo& s) {
    if (s.kind == SurfaceKind::Menu) {
        return StackBand::Menu;
    }
    return s.topmost ? StackBand::Topmost : StackBand::Normal;
}

SurfaceId HeadlessBackend::SurfaceAt(Point screen) const {
    for (SurfaceId id : m_stack.TopToBottom()) {
        const SurfaceInfo& s = m_surfaces.at(id);
        if (IsComposed(s) && s.bounds.Contains(screen)) {
            return id;
        }
    }
    return 0;
}

SurfaceId HeadlessBackend::CreateSurface(const SurfaceSpec& spec) {
    const SurfaceId id = m_nextSurface++;
    SurfaceInfo s;
    s.id = id;
    s.bounds = Normalized(spec.bounds);
    s.kind = spec.kind;
    s.owner = spec.owner;
    s.topmost = spec.topmost;
    s.title = spec.title;
    s.image = PixelImage(s.bounds.Width(), s.bounds.Height(), 0);
    m_stack.Insert(id, BandOf(s));
    m_surfaces.emplace(id, std::move(s));
    return id;
}

void HeadlessBackend::DestroySurface(SurfaceId id) {
    if (m_surfaces.erase(id) == 0) {
        return;
    }
    m_stack.Remove(id);
    if (m_active == id) {
        m_active = 0;
    }
}

void HeadlessBackend::SetSurfaceBounds(SurfaceId id, const Rect& bounds) {
    SurfaceInfo* s = Surface(id);
    if (s == nullptr) {
        return;
    }
    s->bounds = Normalized(bounds);
    s->image.Resize(s->bounds.Width(), s->bounds.Height(), 0);
}

void HeadlessBackend::SetSurfaceTitle(SurfaceId id, std::string_view utf8) {
    if (SurfaceInfo* s = Surface(id)) {
        s->title = std::string(utf8);
    }
}

void HeadlessBackend::SetSurfaceIcon(SurfaceId id, const PixelView& argb) {
    SurfaceInfo* s = Surface(id);
    if (s == nullptr) {
        return;
    }
    s->icon = argb.pixels == nullptr ? PixelImage{} : PixelImage(argb.width, argb.height, 0);
    s->icon.CopyFrom(argb, s->icon.Bounds());
}

void HeadlessBackend::SetSurfaceTopmost(SurfaceId id, bool topmost) {
    SurfaceInfo* s = Surface(id);
    if (s == nullptr) {
        return;
    }
    s->topmost = topmost;
    m_stack.MoveToBand(id, BandOf(*s));
}

void HeadlessBackend::ShowSurface(SurfaceId id, bool visible) {
    if (SurfaceInfo* s = Surface(id)) {
        s->visible = visible;
    }
}

void HeadlessBackend::MinimizeSurface(SurfaceId id, bool minimized) {
    if (SurfaceInfo* s = Surface(id)) {
        s->minimized = minimized;
    }
}

void HeadlessBackend::RaiseSurface(SurfaceId id, SurfaceId below) {
    if (below == 0) {
        m_stack.MoveToTop(id);
    } else {
        m_stack.MoveBelow(id, below);
    }
}

void HeadlessBackend::ActivateSurface(SurfaceId id) {
    if (id != 0 && Surface(id) == nullptr) {
        return;
    }
    m_active = id;
    if (id != 0) {
        m_activeForeign = 0;
    }
}

// No window manager: the caller drags the window itself.
bool HeadlessBackend::BeginMoveDrag(SurfaceId, Point) {
    return false;
}

void HeadlessBackend::Present(SurfaceId id, const PixelView& image, std::span<const Rect> changed) {
    SurfaceInfo* s = Surface(id);
    if (s == nullptr) {
        return;
    }
    for (const Rect& r : changed) {
        s->image.CopyFrom(image, r);
        s->presentedRects.push_back(r);
    }
    ++s->presentCount;
}

void HeadlessBackend::ClearPresentRecords() {
    for (auto& [id, s] : m_surfaces) {
        s.presentCount = 0;
        s.presentedRects.clear();
    }
}

// --- Events ---

Event HeadlessBackend::MakeEvent(EventType type, SurfaceId surface) const {
    Event e;
    e.type = type;
    e.surface = surface;
    e.timeMs = m_clockMs;
    return e;
}

void HeadlessBackend::Enqueue(Event e) {
    m_events.push_back(std::move(e));
    ++m_eventsQueued;
}

std::optional<Event> HeadlessBackend::NextEvent() {
    if (m_events.empty()) {
        return std::nullopt;
    }
    Event e = std::move(m_events.front());
    m_events.pop_front();
    return e;
}

void HeadlessBackend::QueueKey(EventType type, int vk, bool repeat, std::string_view text) {
    Event e = MakeEvent(type, m_active);
    e.vk = vk;
    e.repeat = repeat;
    e.text = std::string(text);
    Enqueue(std::move(e));
}

void HeadlessBackend::KeyDown(int vk, std::string_view text) {
    QueueKey(EventType::KeyDown, vk, false, text);
}

void HeadlessBackend::KeyRepeat(int vk, std::string_view text) {
    QueueKey(EventType::KeyDown, vk, true, text);
}

void HeadlessBackend::KeyUp(int vk) {
    QueueKey(EventType::KeyUp, vk, false, "");
}

void HeadlessBackend::Press(int vk, std::string_view text) {
    KeyDown(vk, text);
    KeyUp(vk);
}

void HeadlessBackend::InputMethodText(std::string_view utf8) {
    QueueKey(EventType::Char, 0, false, utf8);
}

void HeadlessBackend::PointerTo(Point p) {
    const Rect screen = m_desktop.Bounds();
    const Point clamped{std::clamp(p.x, screen.left, std::max(screen.left, screen.right - 1)),
                        std::clamp(p.y, screen.top, std::max(screen.top, screen.bottom - 1))};
    if (clamped == m_pointer) {
        return;
    }
    m_pointer = clamped;
    Event e = MakeEvent(EventType::PointerMove, SurfaceAt(m_pointer));
    e.screen = m_pointer;
    Enqueue(std::move(e));
}

void HeadlessBackend::MovePointer(int x, int y) {
    PointerTo({x, y});
}

// Like XWarpPointer, a warp is seen as a motion of the pointer: it queues a PointerMove.
void HeadlessBackend::WarpPointer(Point to) {
    PointerTo(to);
}

void HeadlessBackend::QueueButton(EventType type, MouseButton button, std::optional<Point> at) {
    if (at) {
        PointerTo(*at);
    }
    Event e = MakeEvent(type, SurfaceAt(m_pointer));
    e.button = button;
    e.screen = m_pointer;
    Enqueue(std::move(e));
}

void HeadlessBackend::ButtonDown(MouseButton button, std::optional<Point> at) {
    QueueButton(EventType::ButtonDown, button, at);
}

void HeadlessBackend::ButtonUp(MouseButton button, std::optional<Point> at) {
    QueueButton(EventType::ButtonUp, button, at);
}

void HeadlessBackend::Click(MouseButton button, Point at) {
    ButtonDown(button, at);
    ButtonUp(button);
}

void HeadlessBackend::Wheel(int delta) {
    Event e = MakeEvent(EventType::Wheel, SurfaceAt(m_pointer));
    e.wheelDelta = delta;
    e.screen = m_pointer;
    Enqueue(std::move(e));
}

void HeadlessBackend::RequestClose(SurfaceId id) {
    if (Surface(id) != nullptr) {
        Enqueue(MakeEvent(EventType::CloseRequest, id));
    }
}

void HeadlessBackend::MinimizeByUser(SurfaceId id) {
    SurfaceInfo* s = Surface(id);
    if (s == nullptr || s->minimized) {
        return;
    }
    s->minimized = true;
    Enqueue(MakeEvent(EventType::Minimized, id));
}

void HeadlessBackend::RestoreByUser(SurfaceId id) {
    SurfaceInfo* s = Surface(id);
    if (s == nullptr || !s->minimized) {
        return;
    }
    s->minimized = false;
    Enqueue(MakeEvent(EventType::Restored, id));
}

void HeadlessBackend::MoveByUser(SurfaceId id, const Rect& bounds) {
    if (Surface(id) == nullptr) {
        return;
    }
    SetSurfaceBounds(id, bounds);
    Event e = MakeEvent(EventType::Moved, id);
    e.area = Surface(id)->bounds;
    Enqueue(std::move(e));
}

void HeadlessBackend::ExposeByUser(SurfaceId id, const Rect& area) {
    if (Surface(id) == nullptr) {
        return;
    }
    Event e = MakeEvent(EventType::Expose, id);
    e.area = area;
    Enqueue(std::move(e));
}

void HeadlessBackend::FocusTo(SurfaceId id) {
    if (id != 0 && Surface(id) == nullptr) {
        return;
    }
    m_activeForeign = 0;
    SetActive(id);
}

// Moves the keyboard focus between our surfaces, telling the one that loses it first.
void HeadlessBackend::SetActive(SurfaceId id) {
    if (id == m_active) {
        return;
    }
    if (m_active != 0) {
        Enqueue(MakeEvent(EventType::FocusOut, m_active));
    }
    m_active = id;
    if (id != 0) {
        Enqueue(MakeEvent(EventType::FocusIn, id));
    }
}

// --- Time ---

void HeadlessBackend::Wait(std::optional<std::uint64_t> deadlineMs) {
    if (!m_events.empty()) {
        return;
    }
    if (deadlineMs && m_clockMs >= *deadlineMs) {
        CountWaitWithoutInput();
        return;
    }
    const std::uint64_t clockBefore = m_clockMs;
    // A Wait from inside the handler (a loop the handler itself runs) does not call it again.
    if (m_idleHandler && !m_inIdleHandler) {
        m_inIdleHandler = true;
        m_idleDeadline = deadlineMs;
        struct ClearOnExit {
            bool& flag;
            std::optional<std::uint64_t>& deadline;
            ~ClearOnExit() {
                flag = false;
                deadline.reset();
            }
        } clearOnExit{m_inIdleHandler, m_idleDeadline};
        const std::function<void()> handler = m_idleHandler;  // it may replace itself
        handler();
    }
    if (!m_events.empty()) {
        return;
    }
    if (deadlineMs) {
        m_clockMs = std::max(m_clockMs, *deadlineMs);
        CountWaitWithoutInput();
        return;
    }
    if (m_clockMs != clockBefore) {
        // No deadline, but the handler moved time: the caller may have work due now.
        CountWaitWithoutInput();
        return;
    }
    Fail(m_idleHandler ? "Wait() with no deadline, and the idle handler queued no event and did "
                         "not advance the clock: the wait would never end"
                       : "Wait() with no deadline, no event pending and no idle handler to "
                         "inject one: the wait would never end",
         m_clockMs);
}

void HeadlessBackend::CountWaitWithoutInput() {
    if (m_eventsQueued != m_eventsQueuedAtLastIdleWait) {
        m_eventsQueuedAtLastIdleWait = m_eventsQueued;
        m_waitsWithoutInput = 0;
    }
    if (++m_waitsWithoutInput >= kMaxWaitsWithoutInput) {
        Fail(std::to_string(kMaxWaitsWithoutInput) +
                 " waits in a row with no event queued: the loop runs on timers alone and "
                 "would never end",
             m_clockMs);
    }
}

// --- Clipboard ---

void HeadlessBackend::SetClipboardText(std::string_view utf8) {
    m_clipboard = std::string(utf8);
    ++m_clipboardWrites;
}

// --- Other processes' windows ---

ForeignWindowInfo* HeadlessBackend::Foreign(ForeignWindowId id) {
    auto it = m_foreign.find(id);
    return it == m_foreign.end() ? nullptr : &it->second;
}

const ForeignWindowInfo* HeadlessBackend::FindForeignWindowInfo(ForeignWindowId id) const {
    auto it = m_foreign.find(id);
    return it == m_foreign.end() ? nullptr : &it->second;
}

ForeignWindowId HeadlessBackend::AddForeignWindow(std::string_view title, bool minimized) {
    const ForeignWindowId id = m_nextForeign++;
    m_foreign.emplace(id, ForeignWindowInfo{id, std::string(title), minimized, 0});
    m_foreignOrder.push_back(id);
    return id;
}

std::optional<ForeignWindowId> HeadlessBackend::FindForeignWindow(std::string_view title) {
    for (auto it = m_foreignOrder.rbegin(); it != m_foreignOrder.rend(); ++it) {
        if (m_foreign.at(*it).title == title) {
            return *it;
        }
    }
    return std::nullopt;
}

bool HeadlessBackend::IsForeignWindowMinimized(ForeignWindowId id) {
    const ForeignWindowInfo* w = Foreign(id);
    return w != nullptr && w->minimized;
}

bool HeadlessBackend::RestoreForeignWindow(ForeignWindowId id) {
    ForeignWindowInfo* w = Foreign(id);
    if (w == nullptr) {
        return false;
    }
    w->minimized = false;
    return true;
}

bool HeadlessBackend::ActivateForeignWindow(ForeignWindowId id) {
    ForeignWindowInfo* w = Foreign(id);
    if (w == nullptr) {
        return false;
    }
    ++w->activationCount;
    m_activeForeign = id;
    std::erase(m_foreignOrder, id);
    m_foreignOrder.push_back(id);
    SetActive(0);
    return true;
}

}  // namespace display
