#pragma once
// What the window test hosts share: a top-level window to put a view in, the host's frame
// around the view, and the thread's message loop.

#include "pluginterfaces/gui/iplugview.h"

#include <windows.h>

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

// Runs the thread's messages (paint, timers) for a while.
inline void pump(DWORD milliseconds) {
    pumpUntil(milliseconds, [] { return false; });
}

} // namespace SorvTest
