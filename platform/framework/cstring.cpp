#include "platform/framework/cstring.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/framework/win_app.h"

namespace {

// Positions and counts from callers are ints; this keeps them inside [0, limit].
std::size_t Clamp(int value, std::size_t limit) {
    if (value < 0) {
        return 0;
    }
    return std::min(static_cast<std::size_t>(value), limit);
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

}  // namespace

CString::CString(LPCTSTR text) {
    *this = text;
}

CString::CString(LPCTSTR text, int length) {
    if (text != nullptr && length > 0) {
        m_text.assign(text, static_cast<std::size_t>(length));
    }
}

CString::CString(TCHAR ch, int repeat) {
    if (repeat > 0) {
        m_text.assign(static_cast<std::size_t>(repeat), ch);
    }
}

TCHAR CString::GetAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_text.size()) {
        return '\0';
    }
    return m_text[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, TCHAR ch) {
    if (index >= 0 && static_cast<std::size_t>(index) < m_text.size()) {
        m_text[static_cast<std::size_t>(index)] = ch;
    }
}

CString& CString::operator=(LPCTSTR text) {
    if (text == nullptr) {
        m_text.clear();
    } else if (IS_INTRESOURCE(text)) {
        m_text.clear();
        LoadString(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)));
    } else {
        m_text = text;
    }
    return *this;
}

CString& CString::operator+=(const CString& text) {
    m_text += text.m_text;
    return *this;
}

CString& CString::operator+=(LPCTSTR text) {
    if (text != nullptr) {
        m_text += text;
    }
    return *this;
}

CString& CString::operator+=(TCHAR ch) {
    m_text += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b) {
    return CString(a.m_text + b.m_text);
}

CString operator+(const CString& a, LPCTSTR b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCTSTR a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, TCHAR b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(TCHAR a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

int CString::Compare(LPCTSTR text) const {
    return Sign(std::strcmp(m_text.c_str(), text != nullptr ? text : ""));
}

int CString::CompareNoCase(LPCTSTR text) const {
    const char* a = m_text.c_str();
    const char* b = text != nullptr ? text : "";
    for (;; ++a, ++b) {
        const auto fa = static_cast<unsigned char>(FoldAscii(*a));
        const auto fb = static_cast<unsigned char>(FoldAscii(*b));
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
        if (fa == 0) {
            return 0;
        }
    }
}

CString CString::Left(int count) const {
    return CString(m_text.substr(0, Clamp(count, m_text.size())));
}

CString CString::Mid(int first) const {
    return CString(m_text.substr(Clamp(first, m_text.size())));
}

CString CString::Mid(int first, int count) const {
    const std::size_t start = Clamp(first, m_text.size());
    return CString(m_text.substr(start, Clamp(count, m_text.size() - start)));
}

CString CString::Right(int count) const {
    const std::size_t n = Clamp(count, m_text.size());
    return CString(m_text.substr(m_text.size() - n));
}

int CString::Find(TCHAR ch, int start) const {
    if (start < 0 || static_cast<std::size_t>(start) > m_text.size()) {
        return -1;
    }
    const std::size_t found = m_text.find(ch, static_cast<std::size_t>(start));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::Find(LPCTSTR sub, int start) const {
    if (sub == nullptr || start < 0 || static_cast<std::size_t>(start) > m_text.size()) {
        return -1;
    }
    const std::size_t found = m_text.find(sub, static_cast<std::size_t>(start));
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

int CString::ReverseFind(TCHAR ch) const {
    const std::size_t found = m_text.rfind(ch);
    return found == std::string::npos ? -1 : static_cast<int>(found);
}

CString& CString::MakeUpper() {
    for (char& c : m_text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return *this;
}

CString& CString::MakeLower() {
    for (char& c : m_text) {
        c = FoldAscii(c);
    }
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft() {
    const auto first = std::find_if_not(m_text.begin(), m_text.end(), IsBlank);
    m_text.erase(m_text.begin(), first);
    return *this;
}

CString& CString::TrimRight() {
    while (!m_text.empty() && IsBlank(m_text.back())) {
        m_text.pop_back();
    }
    return *this;
}

int CString::Replace(LPCTSTR from, LPCTSTR to) {
    if (from == nullptr || *from == '\0') {
        return 0;
    }
    const std::string needle(from);
    const std::string replacement(to != nullptr ? to : "");
    int count = 0;
    for (std::size_t at = m_text.find(needle); at != std::string::npos;
         at = m_text.find(needle, at + replacement.size())) {
        m_text.replace(at, needle.size(), replacement);
        ++count;
    }
    return count;
}

int CString::Replace(TCHAR from, TCHAR to) {
    int count = 0;
    for (char& c : m_text) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

int CString::Insert(int index, LPCTSTR text) {
    if (text != nullptr) {
        m_text.insert(Clamp(index, m_text.size()), text);
    }
    return GetLength();
}

int CString::Delete(int index, int count) {
    const std::size_t start = Clamp(index, m_text.size());
    m_text.erase(start, Clamp(count, m_text.size() - start));
    return GetLength();
}

void CString::Format(LPCTSTR format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(LPCTSTR format, ...) {
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_text += tail.m_text;
}

void CString::FormatV(LPCTSTR format, va_list args) {
    if (format == nullptr) {
        m_text.clear();
        return;
    }
    va_list measure;
    va_copy(measure, args);
#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        m_text.clear();
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
#if defined(__GNUC__) || defined(__clang__)
#pragma GCC diagnostic pop
#endif
    m_text.assign(buffer.data(), static_cast<std::size_t>(length));
}

BOOL CString::LoadString(UINT id) {
    // LoadStringA truncates to the buffer, so grow until the string fits with room to spare.
    std::vector<char> buffer(256);
    for (;;) {
        const int copied = ::LoadStringA(AfxGetResourceHandle(), id, buffer.data(),
                                         static_cast<int>(buffer.size()));
        if (copied <= 0) {
            return FALSE;
        }
        if (static_cast<std::size_t>(copied) + 1 < buffer.size() || buffer.size() >= (1u << 20)) {
            m_text.assign(buffer.data(), static_cast<std::size_t>(copied));
            return TRUE;
        }
        buffer.resize(buffer.size() * 4);
    }
}

LPTSTR CString::GetBuffer(int minLength) {
    if (minLength > 0 && static_cast<std::size_t>(minLength) > m_text.size()) {
        m_text.resize(static_cast<std::size_t>(minLength));
    }
    return m_text.data();
}

LPTSTR CString::GetBufferSetLength(int length) {
    m_text.resize(Clamp(length, m_text.max_size()));
    return m_text.data();
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) {
        m_text.resize(std::strlen(m_text.c_str()));
    } else {
        m_text.resize(std::min(static_cast<std::size_t>(newLength), m_text.size()));
    }
}
