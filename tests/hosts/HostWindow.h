#pragma once
// What the window test hosts share: a top-level window to put a view in, the host's frame
// around the view, and the thread's message loop.

#include "pluginterfaces/gui/iplugview.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace SorvTest {

// The host's frame: accepts every resize, sizes the view and keeps the requests.
struct PlugFrame : public Steinberg::IPlugFrame {
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* r) override {
        requests.push_back(*r);
        view->onSize(r);
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
    std::vector<Steinberg::ViewRect> requests;
};

inline LRESULT CALLBACK hostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

inline HWND makeHostWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuorTestHost";
    RegisterClassW(&wc); // fails harmlessly once the class exists
    return CreateWindowExW(0, L"QuorTestHost", L"Host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

inline void pumpOnce() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    Sleep(1);
}

// Runs the thread's messages until the condition holds or the time is up; the milliseconds
// it took, or -1.
template <typename Condition> int pumpUntil(DWORD milliseconds, Condition done) {
    DWORD start = GetTickCount();
    do {
        pumpOnce();
        if (done())
            return static_cast<int>(GetTickCount() - start);
    } while (GetTickCount() - start < milliseconds);
    return -1;
}

// Pixels (0x00RRGGBB, rows top to bottom) of a w × h picture that draw() puts into a memory
// DC holding a 32-bit bitmap.
template <typename Draw> std::vector<uint32_t> capture(int w, int h, Draw draw) {
    if (w <= 0 || h <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    draw(dc);
    GdiFlush();
    auto* words = static_cast<const uint32_t*>(bits);
    std::vector<uint32_t> pixels(words, words + size_t(w) * h);
    for (auto& p : pixels)
        p &= 0xFFFFFFu;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

// Runs the thread's messages (paint, timers) for a while.
inline void pump(DWORD milliseconds) {
    pumpUntil(milliseconds, [] { return false; });
}

} // namespace SorvTest
