// What the user sees: the module's editor in a shown window on a real display (wine's X11
// driver on a virtual X server), driven by real input events, read back from the screen. A
// change must reach the screen by the window system's own paint path, unasked by the host.

#include "hosts/EditorSession.h"

#include <gtest/gtest.h>

#include <iostream>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

// Generous for a loaded machine; a change usually shows within a timer tick.
constexpr DWORD kShowsWithinMs = 2000;

// Areas of the window at zoom 1.
const RECT kPowerSwitch{364, 279, 428, 343};
const RECT kPowerLamp{360, 191, 435, 267};
const RECT kOverloadLamp{360, 112, 435, 189};
const RECT kMixKnob{229, 109, 324, 204};
const RECT kToneKnob{90, 266, 185, 361};

// The pixels of a part of a window as the screen shows them.
std::vector<uint32_t> onScreen(HWND window, const RECT& area) {
    POINT origin{area.left, area.top};
    ClientToScreen(window, &origin);
    int w = area.right - area.left, h = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    std::vector<uint32_t> pixels = capture(
        w, h, [&](HDC dc) { BitBlt(dc, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY); });
    ReleaseDC(nullptr, screen);
    return pixels;
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

class Screen : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
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
    // Milliseconds until the area on screen differs from what it showed before; -1 when it
    // never does.
    int untilShown(const RECT& area, const std::vector<uint32_t>& before) {
        int ms = pumpUntil(kShowsWithinMs, [&] { return onScreen(window, area) != before; });
        std::cout << "shown after " << ms << " ms\n";
        return ms;
    }

    HWND window = nullptr;
};

TEST_F(Screen, ClicksDragsAutomationAndTheLampReachTheScreen) {
    // The user clicks the power switch: switch and lamp change on screen.
    auto switchBefore = onScreen(window, kPowerSwitch);
    auto lampBefore = onScreen(window, kPowerLamp);
    mouse(window, 396, 311, MOUSEEVENTF_LEFTDOWN);
    mouse(window, 396, 311, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(effect.controller->getParamNormalized(kPower), 0.0);
    EXPECT_GE(untilShown(kPowerSwitch, switchBefore), 0) << "the switch did not change";
    EXPECT_GE(untilShown(kPowerLamp, lampBefore), 0) << "the power lamp did not change";

    // The user drags the "Fx Mix" knob upwards.
    auto knobBefore = onScreen(window, kMixKnob);
    double mixBefore = effect.controller->getParamNormalized(kMix);
    mouse(window, 276, 156, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 6; ++step)
        mouse(window, 276, 156 - 10 * step, 0);
    mouse(window, 276, 96, MOUSEEVENTF_LEFTUP);
    EXPECT_GT(effect.controller->getParamNormalized(kMix), mixBefore + 0.2);
    EXPECT_GE(untilShown(kMixKnob, knobBefore), 0) << "the knob did not turn";

    // The host automates "Tone".
    auto toneBefore = onScreen(window, kToneKnob);
    effect.controller->setParamNormalized(kTone, 1.0);
    EXPECT_GE(untilShown(kToneKnob, toneBefore), 0) << "automation did not show";

    // Loud audio lights the overload lamp on the editor's timer.
    auto overloadBefore = onScreen(window, kOverloadLamp);
    effect.controller->setParamNormalized(kPower, 1.0);
    effect.controller->setParamNormalized(kLimiter, 1.0);
    process(1000.0f, 8);
    EXPECT_GE(untilShown(kOverloadLamp, overloadBefore), 0) << "the overload lamp stayed dark";
}

} // namespace
