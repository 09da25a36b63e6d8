#pragma once
// What the window test hosts share: a top-level window to put a view in, the host's frame
// around the view, and the thread's message loop.

#include "pluginterfaces/gui/iplugview.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <vector>

namespace SorvTest {

// Sizes a host window so that its client area is width × height, as hosts fit their window
// to a view.
inline void setClientSize(HWND window, int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongW(window, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The host's frame around its views: answers a view's resize request in one of the ways real
// hosts do, sizes the view's host window with it and keeps the requests.
struct PlugFrame : public Steinberg::IPlugFrame {
    enum class Answer {
        kComparesFirst,   // as the SDK's sample host: nothing when getSize already reports the
                          // request; onSize only when getSize still differs after resizing
        kResizesSilently, // resizes and answers kResultTrue without onSize
        kRefuses,
    };

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* r) override {
        requests.push_back(*r);
        if (answer == Answer::kRefuses)
            return Steinberg::kResultFalse;
        if (answer == Answer::kComparesFirst && reports(view, *r))
            return Steinberg::kResultTrue;
        auto window = windows.find(view);
        if (window != windows.end())
            setClientSize(window->second, r->getWidth(), r->getHeight());
        if (answer == Answer::kComparesFirst && !reports(view, *r))
            view->onSize(r);
        return Steinberg::kResultTrue;
    }
    static bool reports(Steinberg::IPlugView* view, const Steinberg::ViewRect& r) {
        Steinberg::ViewRect now;
        return view->getSize(&now) == Steinberg::kResultTrue && now.getWidth() == r.getWidth() &&
               now.getHeight() == r.getHeight();
    }
    // As hosts open a view: their window made from getSize, then the view attached to it.
    Steinberg::tresult attach(Steinberg::IPlugView* view, HWND window) {
        Steinberg::ViewRect size;
        if (view->getSize(&size) != Steinberg::kResultOk)
            return Steinberg::kResultFalse;
        setClientSize(window, size.getWidth(), size.getHeight());
        windows[view] = window;
        return view->attached(window, Steinberg::kPlatformTypeHWND);
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }

    Answer answer = Answer::kComparesFirst;
    // The host window of each view.
    std::map<Steinberg::IPlugView*, HWND> windows;
    std::vector<Steinberg::ViewRect> requests;
};

inline LRESULT CALLBACK hostWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Views may be larger than the screen.
    if (message == WM_GETMINMAXINFO) {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = {4096, 4096};
        return 0;
    }
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

// Runs the thread's messages until the condition holds or the time is up; the milliseconds
// it took, or -1.
template <typename Condition> int pumpUntil(DWORD milliseconds, Condition done) {
    DWORD start = GetTickCount();
    do {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
        if (done())
            return static_cast<int>(GetTickCount() - start);
    } while (GetTickCount() - start < milliseconds);
    return -1;
}

// Runs the thread's messages (paint, timers) for a while.
inline void pump(DWORD milliseconds) {
    pumpUntil(milliseconds, [] { return false; });
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

// The user opens the editor's main menu (the icon at the left of the toolbar strip) and walks
// it with the keys: down to the submenu, right into it, down to the entry, return.
inline void chooseFromMainMenu(HWND editor, int submenu, int entry) {
    for (int i = 0; i <= submenu; ++i)
        PostMessageW(editor, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(editor, WM_KEYDOWN, VK_RIGHT, 0);
    for (int i = 0; i < entry; ++i)
        PostMessageW(editor, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
    RECT r{};
    GetClientRect(editor, &r);
    LPARAM at = MAKELPARAM(10, r.bottom - 12);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(editor, WM_LBUTTONUP, 0, at);
}

} // namespace SorvTest
