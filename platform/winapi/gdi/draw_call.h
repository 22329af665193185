// The start of every drawing function: the DC behind a handle and a painter on where its
// drawing lands now. Fails for a handle that is not a DC and for a window that is gone.
#pragma once

#include <optional>

#include "platform/winapi/gdi/device_context.h"
#include "platform/winapi/gdi/painter.h"

namespace winapi::gdi {

class DrawCall {
public:
    explicit DrawCall(HDC hdc) : m_dc(DeviceContext::Find(hdc)) {
        if (m_dc == nullptr)
            return;
        std::optional<DrawTarget> target = m_dc->Target();
        if (!target) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return;
        }
        m_painter.emplace(std::move(*target));
    }

    bool Ok() const { return m_painter.has_value(); }
    DeviceContext& Dc() { return *m_dc; }
    Painter& Paint() { return *m_painter; }

private:
    DeviceContext* m_dc;
    std::optional<Painter> m_painter;
};

}  // namespace winapi::gdi
