# cmake -DINPUT=<file.res> -DOUTPUT=<file.cpp> -P embed_resources.cmake
# Writes the bytes of INPUT as a C++ array behind TintaroModuleResources().
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
# Sixteen bytes a line.
string(REPEAT "[0-9a-f]" 32 sixteenBytes)
string(REGEX REPLACE "(${sixteenBytes})" "\\1\n" lines "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${lines}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT} by embed_resources.cmake.
#include \"tintaro_module_resources.h\"

namespace {

// Aligned as a loaded image is, so a template read through LockResource is aligned too.
alignas(16) constexpr unsigned char kResources[${size}] = {
${bytes}
};

}  // namespace

std::span<const std::byte> TintaroModuleResources() {
    return std::as_bytes(std::span<const unsigned char>(kResources));
}
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
