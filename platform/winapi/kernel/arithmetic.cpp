#include <windows.h>

#include <cstdint>
#include <cstring>
#include <limits>

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) {
        return -1;
    }
    // Exact in 64 bits: |product| <= 2^62 and the divisor's magnitude <= 2^31. Halves round away
    // from zero, as Win32 documents.
    const std::int64_t product = std::int64_t{nNumber} * nNumerator;
    const std::int64_t divisor = nDenominator;
    const bool negative = (product < 0) != (divisor < 0);
    const std::uint64_t magnitude =
        product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
    const std::uint64_t divisorMagnitude =
        divisor < 0 ? static_cast<std::uint64_t>(-divisor) : static_cast<std::uint64_t>(divisor);
    const std::uint64_t quotient = (magnitude + divisorMagnitude / 2) / divisorMagnitude;
    const std::int64_t result =
        negative ? -static_cast<std::int64_t>(quotient) : static_cast<std::int64_t>(quotient);
    if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) {
        return -1;
    }
    return static_cast<int>(result);
}

int WINAPI lstrlenA(LPCSTR lpString) {
    return lpString ? static_cast<int>(std::strlen(lpString)) : 0;
}
