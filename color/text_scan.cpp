#include "color/text_scan.h"

#include <climits>
#include <cstddef>
#include <optional>
#include <stdexcept>

namespace color {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// A cursor over the text being read.
class TextReader {
public:
    explicit TextReader(std::string_view text) : m_text(text) {}

    void SkipBlanks() {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) {
            ++m_pos;
        }
    }

    bool Take(char expected) {
        if (m_pos >= m_text.size() || m_text[m_pos] != expected) {
            return false;
        }
        ++m_pos;
        return true;
    }

    // At most maxChars characters (sign included); 0 means no limit. Accumulates in a wider type
    // and gives up as soon as the value leaves the range of int, however many digits follow.
    std::optional<int> Number(int base, bool allowSign, std::size_t maxChars) {
        std::size_t end = m_text.size();
        if (maxChars != 0 && maxChars < end - m_pos) {
            end = m_pos + maxChars;
        }
        std::size_t pos = m_pos;
        bool negative = false;
        if (allowSign && pos < end && (m_text[pos] == '+' || m_text[pos] == '-')) {
            negative = m_text[pos] == '-';
            ++pos;
        }
        const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
        long long value = 0;
        std::size_t digits = 0;
        for (; pos < end; ++pos, ++digits) {
            const int digit = DigitValue(m_text[pos], base);
            if (digit < 0) {
                break;
            }
            value = value * base + digit;
            if (value > limit) {
                return std::nullopt;
            }
        }
        if (digits == 0) {
            return std::nullopt;
        }
        m_pos = pos;
        return static_cast<int>(negative ? -value : value);
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace

std::vector<int> ScanText(std::string_view text, std::string_view pattern) {
    std::vector<int> values;
    TextReader reader(text);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char p = pattern[i];
        if (IsBlank(p)) {
            reader.SkipBlanks();
            continue;
        }
        if (p != '%') {
            if (!reader.Take(p)) {
                break;
            }
            continue;
        }
        std::size_t width = 0;
        while (++i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9') {
            width = width * 10 + static_cast<std::size_t>(pattern[i] - '0');
        }
        if (i == pattern.size()) {
            throw std::invalid_argument("scan pattern ends inside a conversion");
        }
        std::optional<int> value;
        reader.SkipBlanks();
        switch (pattern[i]) {
            case 'd':
                value = reader.Number(10, true, width);
                break;
            case 'X':
            case 'x':
                value = reader.Number(16, false, width);
                break;
            default:
                throw std::invalid_argument("unsupported scan conversion");
        }
        if (!value) {
            break;
        }
        values.push_back(*value);
    }
    return values;
}

}  // namespace color
