// An icon: straight-alpha ARGB pixels, drawn by blending over the destination.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/winapi/gdi/gdi_object.h"
#include "platform/winapi/gdi/icon_image.h"

namespace winapi::gdi {

class Icon final : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Icon;

    explicit Icon(IconImage image) : GdiObject(kKind), m_image(std::move(image)) {}

    const IconImage& Image() const { return m_image; }

private:
    IconImage m_image;
};

}  // namespace winapi::gdi
