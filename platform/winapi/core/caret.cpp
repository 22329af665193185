// The caret: one at a time (Win32 has one per thread), owned by a window, blinking by a timer
// of the window system. It is drawn by inverting its shape on the window, so drawing it twice
// takes it away again; the caret keeps track of whether it is on the pixels now, and BeginPaint
// takes it off a window about to be painted and EndPaint puts it back, so that painting never
// turns a later inversion into a mark.
#include "platform/winapi/core/internal.h"
#include "platform/winapi/session_parts.h"

namespace winapi::core {
namespace {

constexpr UINT kBlinkTime = 530;
constexpr UINT_PTR kBlinkTimerId = 0xFFFF;
const HBITMAP kGrayCaret = reinterpret_cast<HBITMAP>(1);
constexpr COLORREF kGray = 0x808080;

class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~WindowDc() {
        if (m_dc != nullptr)
            ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

class Caret {
public:
    static Caret& Instance() {
        static Caret caret;
        return caret;
    }

    BOOL Create(HWND hwnd, HBITMAP bitmap, int width, int height);
    BOOL Destroy();
    BOOL Show(HWND hwnd);
    BOOL Hide(HWND hwnd);
    BOOL SetPosition(POINT position);
    BOOL GetPosition(POINT* position);
    bool SuspendForPaint(HWND hwnd);
    void ResumeAfterPaint();
    void Blink(HWND hwnd);
    void Reset() { *this = Caret(); }
    bool Exists();

private:
    bool CheckOwner(HWND hwnd);
    void Sync();
    void Draw() const;
    void TakeOff();
    void Remove();

    HWND m_hwnd = nullptr;
    HBITMAP m_bitmap = nullptr;  // null: solid; kGrayCaret: gray; otherwise the shape
    int m_width = 0;
    int m_height = 0;
    POINT m_position{};
    int m_hidden = 0;
    int m_paintSuspended = 0;
    bool m_blinkOn = true;
    bool m_drawn = false;
};

const SessionEndHook kEndHook(SessionEndOrder::Windows, [] { Caret::Instance().Reset(); });

void CALLBACK BlinkTimer(HWND hwnd, UINT, UINT_PTR, DWORD) {
    Caret::Instance().Blink(hwnd);
}

// A caret whose window has gone went with it, as in Win32.
bool Caret::Exists() {
    if (m_hwnd != nullptr && PeekWindowRecord(m_hwnd) == nullptr)
        Reset();
    return m_hwnd != nullptr;
}

bool Caret::CheckOwner(HWND hwnd) {
    if (Exists() && (hwnd == nullptr || hwnd == m_hwnd))
        return true;
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
}

void Caret::Draw() const {
    WindowDc dc(m_hwnd);
    if (dc.Get() == nullptr)
        return;
    const int x = m_position.x;
    const int y = m_position.y;
    if (m_bitmap == nullptr) {
        PatBlt(dc.Get(), x, y, m_width, m_height, DSTINVERT);
        return;
    }
    if (m_bitmap == kGrayCaret) {
        HBRUSH gray = CreateSolidBrush(kGray);
        HGDIOBJ old = SelectObject(dc.Get(), gray);
        PatBlt(dc.Get(), x, y, m_width, m_height, PATINVERT);
        SelectObject(dc.Get(), old);
        DeleteObject(gray);
        return;
    }
    HDC shape = CreateCompatibleDC(dc.Get());
    HGDIOBJ old = SelectObject(shape, m_bitmap);
    BitBlt(dc.Get(), x, y, m_width, m_height, shape, 0, 0, SRCINVERT);
    SelectObject(shape, old);
    DeleteDC(shape);
}

// Brings the pixels in line with the state: drawn exactly when shown, not suspended by painting,
// in the "on" half of its blink and on a visible window.
void Caret::Sync() {
    const bool wanted = m_hwnd != nullptr && m_hidden == 0 && m_paintSuspended == 0 && m_blinkOn &&
                        IsWindowVisible(m_hwnd);
    if (wanted == m_drawn)
        return;
    Draw();
    m_drawn = wanted;
}

void Caret::TakeOff() {
    if (!m_drawn)
        return;
    Draw();
    m_drawn = false;
}

BOOL Caret::Create(HWND hwnd, HBITMAP bitmap, int width, int height) {
    const Window* window = FindWindowRecord(hwnd);
    if (window == nullptr)
        return FALSE;
    if (window->kind != WindowKind::Normal) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (bitmap != nullptr && bitmap != kGrayCaret) {
        BITMAP info{};
        if (GetObjectA(bitmap, sizeof info, &info) != sizeof info) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        width = info.bmWidth;
        height = info.bmHeight;
    }
    // A new caret replaces the old one, whichever window had it.
    Remove();
    m_hwnd = hwnd;
    m_bitmap = bitmap;
    m_width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    m_height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    m_hidden = 1;  // a new caret is hidden until ShowCaret
    return TRUE;
}

void Caret::Remove() {
    if (!Exists())
        return;
    TakeOff();
    KillTimer(m_hwnd, kBlinkTimerId);
    Reset();
}

BOOL Caret::Destroy() {
    if (!CheckOwner(nullptr))
        return FALSE;
    Remove();
    return TRUE;
}

BOOL Caret::Show(HWND hwnd) {
    if (!CheckOwner(hwnd))
        return FALSE;
    if (m_hidden == 0)
        return TRUE;
    if (--m_hidden > 0)
        return TRUE;
    m_blinkOn = true;
    Sync();
    SetTimer(m_hwnd, kBlinkTimerId, kBlinkTime, &BlinkTimer);
    return TRUE;
}

BOOL Caret::Hide(HWND hwnd) {
    if (!CheckOwner(hwnd))
        return FALSE;
    if (m_hidden++ == 0)
        KillTimer(m_hwnd, kBlinkTimerId);
    Sync();
    return TRUE;
}

BOOL Caret::SetPosition(POINT position) {
    if (!CheckOwner(nullptr))
        return FALSE;
    if (position.x == m_position.x && position.y == m_position.y)
        return TRUE;
    TakeOff();
    m_position = position;
    // A caret that moves is seen at once and stays for a whole blink.
    m_blinkOn = true;
    Sync();
    if (m_hidden == 0)
        SetTimer(m_hwnd, kBlinkTimerId, kBlinkTime, &BlinkTimer);
    return TRUE;
}

BOOL Caret::GetPosition(POINT* position) {
    if (position == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!CheckOwner(nullptr))
        return FALSE;
    *position = m_position;
    return TRUE;
}

bool Caret::SuspendForPaint(HWND hwnd) {
    if (!Exists() || (hwnd != m_hwnd && !IsChild(hwnd, m_hwnd)))
        return false;
    ++m_paintSuspended;
    Sync();
    return true;
}

void Caret::ResumeAfterPaint() {
    if (!Exists() || m_paintSuspended == 0)
        return;
    --m_paintSuspended;
    Sync();
}

void Caret::Blink(HWND hwnd) {
    if (!Exists() || hwnd != m_hwnd) {
        KillTimer(hwnd, kBlinkTimerId);
        return;
    }
    m_blinkOn = !m_blinkOn;
    Sync();
}

}  // namespace

bool SuspendCaretForPaint(HWND hwnd) {
    return Caret::Instance().SuspendForPaint(hwnd);
}

void ResumeCaretAfterPaint() {
    Caret::Instance().ResumeAfterPaint();
}

bool CaretExists() {
    return Caret::Instance().Exists();
}

}  // namespace winapi::core

using winapi::core::Caret;

BOOL WINAPI CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight) {
    return Caret::Instance().Create(hWnd, hBitmap, nWidth, nHeight);
}

BOOL WINAPI DestroyCaret(void) {
    return Caret::Instance().Destroy();
}

BOOL WINAPI ShowCaret(HWND hWnd) {
    return Caret::Instance().Show(hWnd);
}

BOOL WINAPI HideCaret(HWND hWnd) {
    return Caret::Instance().Hide(hWnd);
}

BOOL WINAPI SetCaretPos(int X, int Y) {
    return Caret::Instance().SetPosition({X, Y});
}

BOOL WINAPI GetCaretPos(LPPOINT lpPoint) {
    return Caret::Instance().GetPosition(lpPoint);
}

UINT WINAPI GetCaretBlinkTime(void) {
    return winapi::core::kBlinkTime;
}
