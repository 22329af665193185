#include "platform/winapi/controls/scroll_values.h"

#include <algorithm>
#include <climits>
#include <cstddef>

namespace winapi::controls {
namespace {

long long Span(int min, int max) {
    return static_cast<long long>(max) - min;
}

}  // namespace

int ScrollValues::MaxPos() const {
    const long long highest = static_cast<long long>(m_max) - (m_page > 0 ? m_page - 1 : 0);
    return static_cast<int>(std::max<long long>(highest, m_min));
}

int ScrollValues::SetPos(int pos) {
    const int old = m_pos;
    m_pos = pos;
    ClampPos();
    return old;
}

void ScrollValues::SetRange(int min, int max) {
    if (min > max || Span(min, max) > INT_MAX)
        min = max = 0;
    m_min = min;
    m_max = max;
    ClampPage();
    ClampPos();
}

int ScrollValues::Apply(const SCROLLINFO& info) {
    if ((info.fMask & SIF_RANGE) != 0)
        SetRange(info.nMin, info.nMax);
    if ((info.fMask & SIF_PAGE) != 0) {
        m_page = info.nPage;
        ClampPage();
    }
    if ((info.fMask & SIF_POS) != 0)
        m_pos = info.nPos;
    ClampPos();
    return m_pos;
}

void ScrollValues::Fill(SCROLLINFO& info, int trackPos) const {
    if ((info.fMask & SIF_RANGE) != 0) {
        info.nMin = m_min;
        info.nMax = m_max;
    }
    if ((info.fMask & SIF_PAGE) != 0)
        info.nPage = m_page;
    if ((info.fMask & SIF_POS) != 0)
        info.nPos = m_pos;
    if ((info.fMask & SIF_TRACKPOS) != 0 && info.cbSize >= sizeof(SCROLLINFO))
        info.nTrackPos = trackPos;
}

// A page never exceeds the whole range.
void ScrollValues::ClampPage() {
    const long long whole = Span(m_min, m_max) + 1;
    if (static_cast<long long>(m_page) > whole)
        m_page = static_cast<UINT>(whole);
}

void ScrollValues::ClampPos() {
    m_pos = std::clamp(m_pos, m_min, MaxPos());
}

bool IsValidScrollInfo(const SCROLLINFO* info) {
    if (info == nullptr)
        return false;
    const bool knownSize =
        info->cbSize == sizeof(SCROLLINFO) || info->cbSize == offsetof(SCROLLINFO, nTrackPos);
    const UINT known = SIF_ALL | SIF_DISABLENOSCROLL;
    return knownSize && (info->fMask & ~known) == 0;
}

}  // namespace winapi::controls
