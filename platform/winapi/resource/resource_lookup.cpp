#include "platform/winapi/resource/resource_lookup.h"

namespace winapi::resource {
namespace {

constexpr int kNoMatch = 5;

// Lower is better; each rank is one step of the documented search order.
int LanguageRank(WORD requested, WORD candidate) {
    if (candidate == requested) {
        return 0;
    }
    if (PRIMARYLANGID(candidate) == PRIMARYLANGID(requested)) {
        return 1;
    }
    if (PRIMARYLANGID(candidate) == LANG_NEUTRAL) {
        return 2;
    }
    if (PRIMARYLANGID(candidate) == LANG_ENGLISH) {
        return 3;
    }
    return 4;
}

}  // namespace

ResourceLookup FindResourceEntry(const ResFile& file, const ResId& type, const ResId& name,
                                 WORD language) {
    bool typeSeen = false;
    const ResEntry* best = nullptr;
    int bestRank = kNoMatch;
    for (const ResEntry& entry : file.Entries()) {
        if (!entry.type.Matches(type)) {
            continue;
        }
        typeSeen = true;
        if (!entry.name.Matches(name)) {
            continue;
        }
        const int rank = LanguageRank(language, entry.language);
        if (rank < bestRank) {
            best = &entry;
            bestRank = rank;
        }
    }
    if (best) {
        return {best, DWORD{ERROR_SUCCESS}};
    }
    return {nullptr, static_cast<DWORD>(typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND
                                                 : ERROR_RESOURCE_TYPE_NOT_FOUND)};
}

}  // namespace winapi::resource
