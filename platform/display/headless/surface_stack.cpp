#include "platform/display/headless/surface_stack.h"

#include <algorithm>

namespace display {

void SurfaceStack::Insert(SurfaceId id, StackBand band) {
    if (Find(id) != m_entries.end()) {
        return;
    }
    m_entries.insert(TopOf(band), Entry{id, band});
}

void SurfaceStack::Remove(SurfaceId id) {
    auto it = Find(id);
    if (it != m_entries.end()) {
        m_entries.erase(it);
    }
}

void SurfaceStack::MoveToBand(SurfaceId id, StackBand band) {
    auto it = Find(id);
    if (it == m_entries.end()) {
        return;
    }
    m_entries.erase(it);
    m_entries.insert(TopOf(band), Entry{id, band});
}

void SurfaceStack::MoveToTop(SurfaceId id) {
    auto it = Find(id);
    if (it != m_entries.end()) {
        MoveToBand(id, it->band);
    }
}

void SurfaceStack::MoveBelow(SurfaceId id, SurfaceId below) {
    auto it = Find(id);
    auto target = Find(below);
    if (it == m_entries.end()) {
        return;
    }
    if (target == m_entries.end() || target == it || target->band != it->band) {
        MoveToTop(id);
        return;
    }
    const Entry moved = *it;
    m_entries.erase(it);
    m_entries.insert(Find(below), moved);
}

std::vector<SurfaceId> SurfaceStack::BottomToTop() const {
    std::vector<SurfaceId> ids;
    ids.reserve(m_entries.size());
    for (const Entry& e : m_entries) {
        ids.push_back(e.id);
    }
    return ids;
}

std::vector<SurfaceId> SurfaceStack::TopToBottom() const {
    std::vector<SurfaceId> ids = BottomToTop();
    std::reverse(ids.begin(), ids.end());
    return ids;
}

std::vector<SurfaceStack::Entry>::iterator SurfaceStack::Find(SurfaceId id) {
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [id](const Entry& e) { return e.id == id; });
}

std::vector<SurfaceStack::Entry>::iterator SurfaceStack::TopOf(StackBand band) {
    return std::find_if(m_entries.begin(), m_entries.end(),
                        [band](const Entry& e) { return e.band > band; });
}

}  // namespace display
