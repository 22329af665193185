// CString: the framework's text value, a std::string of UTF-8 that converts to LPCTSTR where
// the API wants C text. Positions and lengths count bytes, as in the ANSI world.
#pragma once

#include <compare>
#include <cstdarg>
#include <string>

#include "platform/framework/tchar_types.h"

// MinGW checks formats against the printf it actually links (its own, C99-conforming one).
#if defined(__MINGW_PRINTF_FORMAT)
#define TINTARO_PRINTF_FORMAT(formatIndex, firstArg) \
    __attribute__((format(__MINGW_PRINTF_FORMAT, formatIndex, firstArg)))
#elif defined(__GNUC__) || defined(__clang__)
#define TINTARO_PRINTF_FORMAT(formatIndex, firstArg) \
    __attribute__((format(printf, formatIndex, firstArg)))
#else
#define TINTARO_PRINTF_FORMAT(formatIndex, firstArg)
#endif

class CString {
public:
    CString() = default;
    // A null pointer gives an empty string; a resource id made with MAKEINTRESOURCE loads that
    // string from the module's string table.
    CString(LPCTSTR text);  // NOLINT: implicit, as text converts freely in the classic API
    CString(LPCTSTR text, int length);
    explicit CString(TCHAR ch, int repeat = 1);
    CString(const std::string& text) : m_text(text) {}        // NOLINT
    CString(std::string&& text) : m_text(std::move(text)) {}  // NOLINT

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }

    // Out-of-range positions read as '\0' and are not written.
    TCHAR GetAt(int index) const;
    void SetAt(int index, TCHAR ch);
    TCHAR operator[](int index) const { return GetAt(index); }

    operator LPCTSTR() const { return m_text.c_str(); }  // NOLINT
    LPCTSTR GetString() const { return m_text.c_str(); }
    const std::string& Str() const { return m_text; }

    CString& operator=(LPCTSTR text);
    CString& operator+=(const CString& text);
    CString& operator+=(LPCTSTR text);
    CString& operator+=(TCHAR ch);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, LPCTSTR b);
    friend CString operator+(LPCTSTR a, const CString& b);
    friend CString operator+(const CString& a, TCHAR b);
    friend CString operator+(TCHAR a, const CString& b);

    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
        return a.Compare(b.m_text.c_str()) <=> 0;
    }
    friend std::strong_ordering operator<=>(const CString& a, LPCTSTR b) {
        return a.Compare(b) <=> 0;
    }

    // Byte-wise comparisons: negative, zero or positive. A null pointer compares as "".
    int Compare(LPCTSTR text) const;
    // Folds ASCII letters only; other bytes compare as they are.
    int CompareNoCase(LPCTSTR text) const;

    // Counts and positions are clamped to the string, so out-of-range requests give the part
    // that exists (possibly empty) instead of failing.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // -1 when not found or when start is past the end.
    int Find(TCHAR ch, int start = 0) const;
    int Find(LPCTSTR sub, int start = 0) const;
    int ReverseFind(TCHAR ch) const;

    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    int Replace(LPCTSTR from, LPCTSTR to);
    int Replace(TCHAR from, TCHAR to);
    int Insert(int index, LPCTSTR text);
    int Delete(int index, int count = 1);

    // printf rules, through vsnprintf.
    void Format(LPCTSTR format, ...) TINTARO_PRINTF_FORMAT(2, 3);
    void FormatV(LPCTSTR format, va_list args);
    void AppendFormat(LPCTSTR format, ...) TINTARO_PRINTF_FORMAT(2, 3);

    // The string resource id of the program module; FALSE (and the text unchanged) when the
    // module has no such string.
    BOOL LoadString(UINT id);

    // A writable buffer of at least minLength characters plus the terminator, holding the
    // current text. ReleaseBuffer(-1) takes the length up to the first '\0'; another value
    // sets it (clamped to the buffer).
    LPTSTR GetBuffer(int minLength);
    LPTSTR GetBuffer() { return GetBuffer(0); }
    LPTSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};
