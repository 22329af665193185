#pragma once

#include <windows.h>

#include "platform/winapi/resource/res_file.h"

namespace winapi::resource {

struct ResourceLookup {
    const ResEntry* entry = nullptr;
    // When there is no entry: ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND.
    DWORD error = ERROR_SUCCESS;
};

// FindResourceEx's search among the entries of one type and name, by language: the exact
// language, then the same primary language, then language-neutral, then English, then any; the
// first in file order within each step. LANG_NEUTRAL/SUBLANG_NEUTRAL (0) asks for the thread's
// language, which here is neutral.
ResourceLookup FindResourceEntry(const ResFile& file, const ResId& type, const ResId& name,
                                 WORD language);

}  // namespace winapi::resource
