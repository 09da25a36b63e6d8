// Fitting the host's windows when the host turns an editor resize down, on real windows:
// the walk stops below a multiple-document client, past 80 pixels of border, or at a window
// whose border is the system's fixed frame.

#include "editor/HostWindows.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

LRESULT CALLBACK plainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct Windows {
    Windows() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = plainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PlainHostWindow";
        RegisterClassW(&wc);
    }
    ~Windows() {
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            DestroyWindow(*it);
    }
    HWND make(HWND parent, int w, int h, const wchar_t* cls = L"PlainHostWindow",
              void* create = nullptr) {
        DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
        HWND hwnd = CreateWindowExW(0, cls, L"", style, 0, 0, w, h, parent, nullptr,
                                    GetModuleHandleW(nullptr), create);
        EXPECT_NE(hwnd, nullptr);
        made.push_back(hwnd);
        return hwnd;
    }
    std::vector<HWND> made;
};

SIZE sizeOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace

TEST(Win32HostWindows, WalkStopsAtMdiClientAtLargeBordersAndAtTheFixedFrame) {
    int fixedFrame = GetSystemMetrics(8) * 2;
    ASSERT_GT(fixedFrame, 0);
    ASSERT_LT(fixedFrame, 40);
    Windows w;

    // Editor in a host window in a multiple-document client: both grow, the client not.
    HWND top = w.make(nullptr, 900, 900);
    CLIENTCREATESTRUCT client{};
    HWND mdi = w.make(top, 800, 800, L"MDIClient", &client);
    HWND host = w.make(mdi, 104, 104);
    HWND editor = w.make(host, 100, 100);
    SorvLib::fitHostWindows(editor, 300, 200);
    EXPECT_EQ(sizeOf(editor).cx, 300);
    EXPECT_EQ(sizeOf(editor).cy, 200);
    EXPECT_EQ(sizeOf(host).cx, 304);
    EXPECT_EQ(sizeOf(host).cy, 204);
    EXPECT_EQ(sizeOf(mdi).cx, 800);

    // A parent more than 80 pixels wider ends the walk before it is sized.
    HWND wide = w.make(nullptr, 500, 500);
    HWND inner = w.make(wide, 100, 100);
    HWND editor2 = w.make(inner, 100, 100);
    SorvLib::fitHostWindows(editor2, 250, 150);
    EXPECT_EQ(sizeOf(editor2).cx, 250);
    EXPECT_EQ(sizeOf(inner).cx, 250);
    EXPECT_EQ(sizeOf(inner).cy, 150);
    EXPECT_EQ(sizeOf(wide).cx, 500);

    // A border equal to the fixed frame: that window is sized and the walk ends there.
    HWND outer = w.make(nullptr, 600, 600);
    HWND framed = w.make(outer, 100 + fixedFrame, 100 + fixedFrame);
    HWND editor3 = w.make(framed, 100, 100);
    SorvLib::fitHostWindows(editor3, 220, 120);
    EXPECT_EQ(sizeOf(editor3).cx, 220);
    EXPECT_EQ(sizeOf(framed).cx, 220 + fixedFrame);
    EXPECT_EQ(sizeOf(framed).cy, 120 + fixedFrame);
    EXPECT_EQ(sizeOf(outer).cx, 600);

    // No window: nothing happens.
    SorvLib::fitHostWindows(nullptr, 10, 10);
}
