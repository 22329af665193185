// The z-order of our top-level surfaces: three bands, bottom to top normal, topmost and menu,
// and within each band the stacking order the window system keeps.
#pragma once

#include <vector>

#include "platform/display/backend.h"

namespace display {

enum class StackBand { Normal, Topmost, Menu };

class SurfaceStack {
public:
    // A new or re-banded surface goes on top of its band.
    void Insert(SurfaceId id, StackBand band);
    void Remove(SurfaceId id);
    void MoveToBand(SurfaceId id, StackBand band);
    void MoveToTop(SurfaceId id);
    // Directly below `below` when both share a band; otherwise on top of id's band.
    void MoveBelow(SurfaceId id, SurfaceId below);

    std::vector<SurfaceId> BottomToTop() const;
    std::vector<SurfaceId> TopToBottom() const;

private:
    struct Entry {
        SurfaceId id;
        StackBand band;
    };

    std::vector<Entry>::iterator Find(SurfaceId id);
    // Where an entry of band goes to be on top of it.
    std::vector<Entry>::iterator TopOf(StackBand band);

    std::vector<Entry> m_entries;  // bottom to top, bands in order
};

}  // namespace display
