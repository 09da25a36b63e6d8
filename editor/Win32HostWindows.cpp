// Sizing the host's windows by hand when the host turns the editor's resize down: the
// editor's window and, up the parent chain, each window that frames it, grown by the
// borders found between them.
#include "editor/HostWindows.h"

#include <windows.h>

#include <cwchar>

namespace SorvLib {

namespace {
constexpr int kFixedFrameMetric = 8; // the fixed dialog frame height
constexpr int kMaxBorder = 80;
constexpr int kClassNameLength = 1024;
} // namespace

void fitHostWindows(void* nativeWindow, int width, int height) {
    HWND current = static_cast<HWND>(nativeWindow);
    int borderLimit = GetSystemMetrics(kFixedFrameMetric) * 2;
    int dx = 0, dy = 0;
    auto sizeWindow = [&](HWND window) {
        SetWindowPos(window, nullptr, 0, 0, width + dx, height + dy, SWP_NOMOVE);
    };
    if (borderLimit == 0) {
        if (current)
            sizeWindow(current);
        return;
    }
    while (current) {
        HWND parent = GetParent(current);
        wchar_t className[kClassNameLength] = {};
        if (parent)
            GetClassNameW(parent, className, kClassNameLength);
        if (!parent || std::wcscmp(className, L"MDIClient") == 0) {
            sizeWindow(current);
            return;
        }
        RECT window{}, frame{};
        GetWindowRect(current, &window);
        GetWindowRect(parent, &frame);
        sizeWindow(current);
        dx += (frame.right - frame.left) - (window.right - window.left);
        dy += (frame.bottom - frame.top) - (window.bottom - window.top);
        if (dx > kMaxBorder || dy > kMaxBorder)
            return;
        if (dx < 0)
            dx = 0;
        if (dy < 0)
            dy = 0;
        current = parent;
        if (dx == borderLimit) {
            sizeWindow(current);
            return;
        }
    }
}

} // namespace SorvLib
