#include <windows.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/winapi/gdi/icon_image.h"
#include "platform/winapi/kernel/module.h"
#include "platform/winapi/resource/icon_decoder.h"
#include "platform/winapi/resource/icon_directory.h"
#include "platform/winapi/resource/module_resources.h"
#include "platform/winapi/resource/resource_name.h"
#include "platform/winapi/resource/stock_icon.h"
#include "platform/winapi/session_parts.h"

namespace winapi::resource {
namespace {

constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kIdiApplication = 32512;
// SM_CXICON x SM_CYICON.
constexpr int kIconSide = 32;

// LoadIcon hands out shared icons: each is made once and the same handle returned after.
struct SharedIcon {
    bool stock = false;
    ResId name = std::uint16_t{0};
    HICON icon = nullptr;
};

std::vector<SharedIcon>& SharedIcons() {
    static std::vector<SharedIcon> icons;
    return icons;
}

// The icons themselves are GDI objects, gone with the session's GDI state before this runs.
const SessionEndHook kEndHook(SessionEndOrder::Resources, [] { SharedIcons().clear(); });

HICON FindShared(bool stock, const ResId& name) {
    for (const SharedIcon& shared : SharedIcons()) {
        if (shared.stock == stock && shared.name.Matches(name)) {
            return shared.icon;
        }
    }
    return nullptr;
}

HICON CreateShared(bool stock, const ResId& name, const gdi::IconImage& image) {
    const gdi::IconImage sized = image.width == kIconSide && image.height == kIconSide
                                     ? image
                                     : ScaleIconImage(image, kIconSide, kIconSide);
    const HICON icon = gdi::CreateIconFromArgb(sized.width, sized.height, sized.argb);
    if (icon) {
        SharedIcons().push_back({stock, name, icon});
    }
    return icon;
}

// The image LoadIcon shows for a module icon group: the best fit for the icon size, in the
// group's own language.
std::optional<gdi::IconImage> LoadGroupImage(HMODULE module, const ResId& name, DWORD& error) {
    const auto& resources = ModuleResources::Instance();
    const auto group =
        resources.Find(module, kRtGroupIcon, name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!group.entry) {
        error = group.error;
        return std::nullopt;
    }
    const auto iconId = ChooseIconImage(group.entry->bytes, kIconSide, kIconSide);
    if (!iconId) {
        error = ERROR_INVALID_DATA;
        return std::nullopt;
    }
    const auto icon = resources.Find(module, kRtIcon, *iconId, group.entry->language);
    if (!icon.entry) {
        error = icon.error;
        return std::nullopt;
    }
    auto image = DecodeIconImage(icon.entry->bytes);
    if (!image) {
        error = ERROR_INVALID_DATA;
    }
    return image;
}

}  // namespace
}  // namespace winapi::resource

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    using namespace winapi::resource;
    const auto name = ResIdFromArgument(lpIconName);
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Without a module, the name is one of the system's stock icons.
    const bool stock = hInstance == nullptr;
    if (!stock && !winapi::kernel::IsProgramModule(hInstance)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (const HICON shared = FindShared(stock, *name)) {
        return shared;
    }
    if (stock) {
        if (!name->Matches(kIdiApplication)) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        return CreateShared(true, *name, StockApplicationIcon());
    }
    DWORD error = ERROR_SUCCESS;
    const auto image = LoadGroupImage(hInstance, *name, error);
    if (!image) {
        SetLastError(error);
        return nullptr;
    }
    return CreateShared(false, *name, *image);
}
