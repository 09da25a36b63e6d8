// What the user sees: the module's editor in a shown window on a real display (wine's X11
// driver on a virtual X server), driven by real input events, read back from the screen. A
// change must reach the screen by the window system's own paint path, unasked by the host,
// and show what a full repaint would.

#include "hosts/EditorSession.h"

#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <thread>
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

// Generous for a loaded machine; a change usually shows within a timer tick.
constexpr DWORD kShowsWithinMs = 2000;
constexpr DWORD kMenuOpensWithinMs = 5000;

// Areas of the window at zoom 1.
const RECT kPowerSwitch{364, 279, 428, 343};
const RECT kPowerLamp{360, 191, 435, 267};
const RECT kOverloadLamp{360, 112, 435, 189};
const RECT kKnobs[] = {
    {90, 109, 185, 204}, {229, 109, 324, 204}, {90, 266, 185, 361}, {229, 266, 324, 361}};
const ParamID kKnobIds[] = {kLimiter, kMix, kTone, kPreDelay};
const int kSmallEntry = 0;

// The pixels of a part of a window as the screen shows them.
std::vector<uint32_t> onScreen(HWND window, const RECT& area) {
    POINT origin{area.left, area.top};
    ClientToScreen(window, &origin);
    int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    std::vector<uint32_t> pixels =
        capture(w, h, [&](HDC dc) { BitBlt(dc, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY); });
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The pixels of a part of a window as a full repaint of its present state draws them.
std::vector<uint32_t> repainted(HWND window, const RECT& area) {
    return capture(area.right - area.left, area.bottom - area.top, [&](HDC dc) {
        SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

// Mouse input as the user gives it, at a point of the window.
void mouse(HWND window, int x, int y, DWORD buttons) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((p.x * 65535.0 + screenW / 2) / (screenW - 1));
    input.mi.dy = LONG((p.y * 65535.0 + screenH / 2) / (screenH - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
    pump(30);
}

void key(WORD virtualKey) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = virtualKey;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
    Sleep(50);
}

struct StoredSize {
    const char* title;
    int entry; // in the size menu
    double zoom;
};

class Screen : public EditorSession, public ::testing::WithParamInterface<StoredSize> {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        storeSize(GetParam().title);
        start();
        ShowWindow(parent, SW_SHOWNORMAL);
        SetForegroundWindow(parent);
        view = open(parent);
        ASSERT_NE(view, nullptr);
        window = editorWindow(parent);
        ASSERT_NE(window, nullptr);
        // The first paint shows the whole window.
        pump(500);
    }
    RECT zoomed(const RECT& r) const {
        double z = GetParam().zoom;
        return {LONG(r.left * z), LONG(r.top * z), LONG(r.right * z), LONG(r.bottom * z)};
    }
    // Real mouse input at the middle of an area of the unzoomed window, dy above or below it.
    void mouseAt(const RECT& r, int dy, DWORD buttons) {
        double z = GetParam().zoom;
        mouse(window, int((r.left + r.right) / 2.0 * z), int(((r.top + r.bottom) / 2.0 + dy) * z),
              buttons);
    }
    // Milliseconds until the area on screen differs from what it showed before and shows what
    // a full repaint draws there; -1 when it never does.
    int untilShown(const RECT& area, const std::vector<uint32_t>& before) {
        int ms = pumpUntil(kShowsWithinMs, [&] {
            std::vector<uint32_t> now = onScreen(window, area);
            return now != before && now == repainted(window, area);
        });
        std::cout << "shown after " << ms << " ms\n";
        return ms;
    }
    // Whether the screen comes to show what a full repaint draws in the area.
    bool showsRepaint(const RECT& area) {
        return pumpUntil(kShowsWithinMs,
                         [&] { return onScreen(window, area) == repainted(window, area); }) >= 0;
    }
    // The user clicks the main menu at the left of the toolbar and picks an entry of the size
    // menu with the keys.
    void chooseSize(int entry) {
        // The menu runs its own message loop inside the click: the keys come from another
        // thread once it shows.
        std::atomic<bool> done{false};
        std::thread keys([entry, &done] {
            bool shown = pumpUntil(kMenuOpensWithinMs, [] {
                             HWND menu = FindWindowW(L"#32768", nullptr);
                             return menu && IsWindowVisible(menu);
                         }) >= 0;
            if (shown) {
                for (WORD k : {VK_DOWN, VK_RIGHT})
                    key(k);
                for (int i = 0; i < entry; ++i)
                    key(VK_DOWN);
                key(VK_RETURN);
            }
            done = true;
        });
        RECT client{};
        GetClientRect(window, &client);
        int y = int(client.bottom - 12 * GetParam().zoom);
        mouse(window, int(10 * GetParam().zoom), y, MOUSEEVENTF_LEFTDOWN);
        pumpUntil(2 * kMenuOpensWithinMs, [&] { return done.load(); });
        keys.join();
        mouse(window, int(10 * GetParam().zoom), y, MOUSEEVENTF_LEFTUP);
    }
    HWND window = nullptr;
};

TEST_P(Screen, ClicksDragsAutomationTheLampAndTheSizeMenuReachTheScreen) {
    RECT all{0, 0, LONG(512 * GetParam().zoom), LONG(493 * GetParam().zoom)};
    expectWindowsAgree(all.right, all.bottom);
    EXPECT_TRUE(showsRepaint(all));

    // The user drags each knob upwards.
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        RECT area = zoomed(kKnobs[k]);
        auto before = onScreen(window, area);
        double valueBefore = effect.controller->getParamNormalized(kKnobIds[k]);
        mouseAt(kKnobs[k], 0, MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 6; ++step)
            mouseAt(kKnobs[k], -10 * step, 0);
        mouseAt(kKnobs[k], -60, MOUSEEVENTF_LEFTUP);
        EXPECT_GT(effect.controller->getParamNormalized(kKnobIds[k]), valueBefore + 0.2);
        EXPECT_GE(untilShown(area, before), 0) << "the knob did not turn";
    }

    // The user clicks the power switch, then the power lamp: both change on screen each time.
    for (const RECT& target : {kPowerSwitch, kPowerLamp}) {
        auto switchBefore = onScreen(window, zoomed(kPowerSwitch));
        auto lampBefore = onScreen(window, zoomed(kPowerLamp));
        double power = effect.controller->getParamNormalized(kPower);
        mouseAt(target, 0, MOUSEEVENTF_LEFTDOWN);
        mouseAt(target, 0, MOUSEEVENTF_LEFTUP);
        EXPECT_EQ(effect.controller->getParamNormalized(kPower), 1.0 - power);
        EXPECT_GE(untilShown(zoomed(kPowerSwitch), switchBefore), 0) << "the switch stayed";
        EXPECT_GE(untilShown(zoomed(kPowerLamp), lampBefore), 0) << "the lamp stayed";
    }

    // The host automates "Tone".
    auto toneBefore = onScreen(window, zoomed(kKnobs[2]));
    effect.controller->setParamNormalized(kTone, 0.0);
    EXPECT_GE(untilShown(zoomed(kKnobs[2]), toneBefore), 0) << "automation did not show";

    // Loud audio lights the overload lamp on the editor's timer.
    auto overloadBefore = onScreen(window, zoomed(kOverloadLamp));
    effect.controller->setParamNormalized(kLimiter, 1.0);
    process(1000.0f, 8);
    EXPECT_GE(untilShown(zoomed(kOverloadLamp), overloadBefore), 0)
        << "the overload lamp stayed dark";

    // The size menu in the toolbar: the host's window follows to 80 % and back.
    chooseSize(kSmallEntry);
    expectWindowsAgree(409, 394);
    EXPECT_TRUE(showsRepaint({0, 0, 409, 394}));
    chooseSize(GetParam().entry);
    expectWindowsAgree(all.right, all.bottom);
    EXPECT_TRUE(showsRepaint(all));
}

INSTANTIATE_TEST_SUITE_P(StoredSizes, Screen,
                         ::testing::Values(StoredSize{"Normal (100%)", 2, 1.0},
                                           StoredSize{"Larger (125%)", 4, 1.25}));

} // namespace
