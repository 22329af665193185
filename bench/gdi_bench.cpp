// Figures for the picker's hot drawing paths: the magnifier's 21 x 21 -> 210 x 210 StretchBlt
// (from a bitmap and from the screen), a client-area-sized FillRect (into a bitmap and into a
// window), and a 20-character TextOutA. Prints the median time of one call.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "platform/display/headless/headless_backend.h"
#include "platform/winapi/host.h"

namespace {

double MedianMicroseconds(const std::function<void()>& call, int callsPerBatch = 200,
                          int batches = 15) {
    std::vector<double> perCall;
    call();  // warm caches: glyphs, stock objects
    for (int b = 0; b < batches; ++b) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < callsPerBatch; ++i)
            call();
        const std::chrono::duration<double, std::micro> spent =
            std::chrono::steady_clock::now() - start;
        perCall.push_back(spent.count() / callsPerBatch);
    }
    std::sort(perCall.begin(), perCall.end());
    return perCall[perCall.size() / 2];
}

struct MemoryCanvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    MemoryCanvas(HDC screen, int w, int h)
        : dc(CreateCompatibleDC(screen)), bitmap(CreateCompatibleBitmap(screen, w, h)) {
        old = SelectObject(dc, bitmap);
    }
    ~MemoryCanvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

}  // namespace

int main() {
    winapi::Session session(std::make_unique<display::HeadlessBackend>());
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Bench";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "Bench", "", WS_POPUP | WS_VISIBLE, 100, 100, 202, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    HDC screen = GetDC(nullptr);
    HDC windowDc = GetDC(window);
    {
        MemoryCanvas small(screen, 21, 21);
        MemoryCanvas large(screen, 210, 210);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 21; ++x)
                SetPixel(small.dc, x, y, RGB(x * 12, y * 12, 90));
        RECT client{0, 0, 196, 175};
        HBRUSH brush = CreateSolidBrush(RGB(192, 192, 192));
        SelectObject(large.dc, GetStockObject(DEFAULT_GUI_FONT));
        SelectObject(windowDc, GetStockObject(DEFAULT_GUI_FONT));

        std::printf("StretchBlt 21x21 -> 210x210, bitmap to bitmap: %8.1f us\n",
                    MedianMicroseconds([&] {
                        StretchBlt(large.dc, 0, 0, 210, 210, small.dc, 0, 0, 21, 21, SRCCOPY);
                    }));
        std::printf("StretchBlt 21x21 -> 210x210, screen to bitmap: %8.1f us\n",
                    MedianMicroseconds([&] {
                        StretchBlt(large.dc, 0, 0, 210, 210, screen, 500, 400, 21, 21, SRCCOPY);
                    }));
        std::printf("FillRect 196x175 into a bitmap:               %8.1f us\n",
                    MedianMicroseconds([&] { FillRect(large.dc, &client, brush); }));
        std::printf("FillRect 196x175 into a window:               %8.1f us\n",
                    MedianMicroseconds([&] { FillRect(windowDc, &client, brush); }));
        std::printf(
            "TextOutA of 20 characters into a bitmap:      %8.1f us\n",
            MedianMicroseconds([&] { TextOutA(large.dc, 2, 2, "RGB(255, 128, 64) #F", 20); }));
        std::printf(
            "TextOutA of 20 characters into a window:      %8.1f us\n",
            MedianMicroseconds([&] { TextOutA(windowDc, 2, 2, "RGB(255, 128, 64) #F", 20); }));
        DeleteObject(brush);
    }
    ReleaseDC(window, windowDc);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
    std::printf("GDI objects left: %lu\n",
                static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)));
    return 0;
}
