// The editor through the real module in real Win32 windows: a host window, the view
// attached as its child with platform type "HWND", real mouse messages, the host's
// component handler, automation, the meter and editor timers, screenshots by
// WM_PRINTCLIENT, and the same pixels as the native build's drawing.

#include "hosts/EditorSession.h"

#include "PngWriter.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace Steinberg {
DEF_CLASS_IID(IPlugViewContentScaleSupport)
}

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Shot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(double x, double y) const {
        return pixels[size_t(int(y)) * width + size_t(int(x))];
    }
    // The lowest channel of the lightest pixel around a point.
    int lightest(double x, double y) const {
        int best = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                uint32_t p = at(x + dx, y + dy);
                int low = std::min({int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)});
                best = std::max(best, low);
            }
        return best;
    }
    int highest(double x, double y) const {
        uint32_t p = at(x, y);
        return std::max({int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)});
    }
    int red(double x, double y) const { return at(x, y) >> 16 & 0xFF; }
};

Shot screenshot(HWND window) {
    Shot shot;
    RECT client{};
    GetClientRect(window, &client);
    shot.width = client.right;
    shot.height = client.bottom;
    shot.pixels = capture(shot.width, shot.height, [&](HDC dc) {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
    for (auto& p : shot.pixels)
        p |= 0xFF000000u;
    return shot;
}

LPARAM at(double x, double y) {
    return MAKELPARAM(int(x), int(y));
}

class EditorHost : public EditorSession {
protected:
    // Where a knob's pointer is, at half its length, for a value.
    static void pointer(double left, double top, double v, double& x, double& y, double side) {
        double a = 2 * kPi / 3 + v * 5 * kPi / 3 + side;
        x = left + 47.5 + 27.5 * std::cos(a);
        y = top + 47.5 + 27.5 * std::sin(a);
    }
};

TEST_F(EditorHost, OpensInAHostWindowAndTakesRealMouseEdits) {
    start();
    view = open(parent);
    HWND window = editorWindow(parent);
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 512);
    EXPECT_EQ(client.bottom, 493);
    EXPECT_GE(plugFrame.requests.size(), 1u);
    pump(50);

    // Drag the "Fx Limiter" knob up by 60 pixels from 18 pixels outside its bitmap.
    double before = effect.controller->getParamNormalized(kLimiter);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(90 - 10, 200));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(90 - 10, 170));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(90 - 10, 140));
    SendMessageW(window, WM_LBUTTONUP, 0, at(90 - 10, 140));
    double after = effect.controller->getParamNormalized(kLimiter);
    EXPECT_NEAR(after, before + 60.0 / 200.0, 1e-6);
    ASSERT_EQ(handler.calls.size(), 4u);
    EXPECT_EQ(handler.calls[0].kind, 'b');
    EXPECT_EQ(handler.calls[1].kind, 'p');
    EXPECT_EQ(handler.calls[2].kind, 'p');
    EXPECT_EQ(handler.calls[2].value, after);
    EXPECT_EQ(handler.calls[3].kind, 'e');
    for (const auto& call : handler.calls)
        EXPECT_EQ(call.id, kLimiter);

    // Click the power switch: "Power" is a two-step list, the host gets exactly 0.
    handler.calls.clear();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(364 + 32, 279 + 32));
    SendMessageW(window, WM_LBUTTONUP, 0, at(364 + 32, 279 + 32));
    ASSERT_EQ(handler.calls.size(), 3u);
    EXPECT_EQ(handler.calls[1].id, kPower);
    EXPECT_EQ(handler.calls[1].value, 0.0);
    // A click on the lamp turns it on again.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(360 + 37, 191 + 38));
    SendMessageW(window, WM_LBUTTONUP, 0, at(360 + 37, 191 + 38));
    EXPECT_EQ(effect.controller->getParamNormalized(kPower), 1.0);

    // Automation moves the knobs: each pointer is light where the value puts it and the
    // knob body is dark opposite.
    const double values[] = {0.0, 0.5, 1.0, 0.25};
    const ParamID ids[] = {kLimiter, kMix, kTone, kPreDelay};
    const double places[][2] = {{90, 109}, {229, 109}, {90, 266}, {229, 266}};
    for (int k = 0; k < 4; ++k)
        effect.controller->setParamNormalized(ids[k], values[k]);
    pump(20);
    Shot shot = screenshot(window);
    ASSERT_EQ(shot.width, 512);
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        double v = effect.controller->getParamNormalized(ids[k]);
        double x, y;
        pointer(places[k][0], places[k][1], v, x, y, 0.0);
        EXPECT_GT(shot.lightest(x, y), 200);
        pointer(places[k][0], places[k][1], v, x, y, kPi);
        EXPECT_LT(shot.highest(x, y), 110);
    }
    // Lamp dark while nothing overloads.
    EXPECT_LT(shot.highest(360 + 37.5, 112 + 38.5), 90);
}

TEST_F(EditorHost, OverloadReachesTheLampOnTheEditorTimer) {
    start();
    view = open(parent);
    HWND window = editorWindow(parent);
    ASSERT_NE(window, nullptr);
    effect.controller->setParamNormalized(kLimiter, 1.0);
    process(1000.0f, 8);
    // The 5 ms meter timer sets "Overload", the 33 ms editor timer shows it.
    pump(200);
    double overload = effect.controller->getParamNormalized(kOverload);
    EXPECT_GT(overload, 0.5);
    Shot shot = screenshot(window);
    if (overload == 1.0) {
        EXPECT_GT(shot.red(360 + 37.5, 112 + 38.5), 180);
    }
    EXPECT_GT(shot.red(360 + 37.5, 112 + 38.5), 90);
}

TEST_F(EditorHost, ReattachesOpensTwoViewsAndRefusesBadParents) {
    start();
    IPlugView* probe = effect.controller->createView("editor");
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->attached(parent, kPlatformTypeNSView), kResultFalse);
    EXPECT_EQ(probe->attached(nullptr, kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(probe->attached(reinterpret_cast<void*>(0x1234), kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editorWindow(parent), nullptr);
    EXPECT_EQ(probe->release(), 0u);

    view = open(parent);
    ASSERT_NE(editorWindow(parent), nullptr);
    EXPECT_EQ(view->removed(), kResultOk);
    EXPECT_EQ(editorWindow(parent), nullptr);
    EXPECT_EQ(view->attached(parent, kPlatformTypeHWND), kResultOk);
    ASSERT_NE(editorWindow(parent), nullptr);

    // A second window with a second view of the same effect: both follow automation.
    HWND second = makeHostWindow();
    IPlugView* other = open(second);
    ASSERT_NE(editorWindow(second), nullptr);
    effect.controller->setParamNormalized(kMix, 1.0);
    pump(20);
    double x, y;
    pointer(229, 109, 1.0, x, y, 0.0);
    EXPECT_GT(screenshot(editorWindow(parent)).lightest(x, y), 200);
    EXPECT_GT(screenshot(editorWindow(second)).lightest(x, y), 200);
    close(other);
    DestroyWindow(second);

    // A host that destroys its window before removing the view.
    HWND third = makeHostWindow();
    IPlugView* late = open(third);
    ASSERT_NE(editorWindow(third), nullptr);
    DestroyWindow(third);
    effect.controller->setParamNormalized(kMix, 0.5);
    pump(50);
    close(late);
}

// Hosts make their window from getSize, answer a resize request in one of three ways, and
// remove a view and attach it again when its window is docked or re-parented: at every stored
// size and content scale, set before the attach or after, and at every size chosen in the
// menu, getSize, the host's window and the editor's window agree, the whole editor is inside
// the host's window, and every re-attach draws the first attach's pixels, toolbar included.
TEST_F(EditorHost, TheHostWindowFollowsTheEditorAtEverySizeAndReattach) {
    struct Case {
        const char* storedSize;
        float contentScale;
        bool scaledOnceAttached;
        int width, height;
    };
    const Case cases[] = {{"Normal (100%)", 1.0f, false, 512, 493},
                          {"Larger (125%)", 1.0f, false, 640, 616},
                          {"Small (80%)", 1.0f, false, 409, 394},
                          {"Larger (125%)", 1.5f, false, 960, 924},
                          {"Normal (100%)", 1.5f, true, 768, 739}};
    start();
    for (auto answer : {PlugFrame::Answer::kComparesFirst, PlugFrame::Answer::kResizesSilently,
                        PlugFrame::Answer::kRefuses}) {
        SCOPED_TRACE(int(answer));
        plugFrame.answer = answer;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.storedSize);
            storeSize(c.storedSize);
            view = create();
            ASSERT_NE(view, nullptr);
            auto scale = [&] {
                FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
                ASSERT_TRUE(scaling);
                EXPECT_EQ(scaling->setContentScaleFactor(c.contentScale), kResultOk);
            };
            if (!c.scaledOnceAttached) {
                scale();
                ViewRect opensAt;
                ASSERT_EQ(view->getSize(&opensAt), kResultOk);
                EXPECT_EQ(opensAt.getWidth(), c.width);
                EXPECT_EQ(opensAt.getHeight(), c.height);
            }
            ASSERT_EQ(plugFrame.attach(view, parent), kResultOk);
            if (c.scaledOnceAttached)
                scale();
            Shot first;
            for (int attach = 0; attach < 4; ++attach) {
                SCOPED_TRACE(attach);
                if (attach > 0) {
                    ASSERT_EQ(view->removed(), kResultOk);
                    ASSERT_EQ(view->attached(parent, kPlatformTypeHWND), kResultOk);
                }
                expectWindowsAgree(c.width, c.height);
                Shot shot = screenshot(editorWindow(parent));
                if (attach == 0)
                    first = shot;
                else
                    EXPECT_TRUE(shot.pixels == first.pixels) << "the window differs from the first";
            }
            close(view);
        }
        // The size menu: 100 % → 125 % → 80 %, then the content scale back to 100 %.
        storeSize("Normal (100%)");
        view = open(parent);
        chooseFromMainMenu(editorWindow(parent), 0, 4);
        expectWindowsAgree(640, 616);
        chooseFromMainMenu(editorWindow(parent), 0, 0);
        expectWindowsAgree(409, 394);
        FUnknownPtr<IPlugViewContentScaleSupport>(view)->setContentScaleFactor(1.25f);
        expectWindowsAgree(512, 493);
        close(view);
    }
}

// The window in a fixed state, drawn by the module; the native build draws the same state
// in its editor tests and keeps its PNGs beside this build tree.
TEST_F(EditorHost, DrawsTheSamePixelsAsTheNativeBuild) {
    start();
    view = open(parent);
    effect.controller->setParamNormalized(kTone, 0.3);
    effect.controller->setParamNormalized(kPreDelay, 0.9);
    FUnknownPtr<IPlugViewContentScaleSupport> scaling(view);
    ASSERT_TRUE(scaling);
    CreateDirectoryA("screenshots", nullptr);
    const std::pair<float, std::string> shots[] = {
        {1.0f, "editor-100.png"}, {1.25f, "editor-125.png"}, {1.0f, "editor-callout.png"}};
    for (const auto& [zoom, name] : shots) {
        scaling->setContentScaleFactor(zoom);
        // The tone knob held shows its callout's text.
        if (name == "editor-callout.png")
            SendMessageW(editorWindow(parent), WM_LBUTTONDOWN, MK_LBUTTON, at(90 + 47, 266 + 47));
        Shot shot = screenshot(editorWindow(parent));
        ASSERT_EQ(shot.width, int(512 * zoom));
        std::vector<uint8_t> png = SorvTools::encodePng(shot.width, shot.height, shot.pixels);
        ASSERT_FALSE(png.empty());
        SorvTools::writePng("screenshots\\dll-" + name, shot.width, shot.height, shot.pixels);
        std::ifstream native(windowsPath(std::string(SORV_NATIVE_SHOTS) + "/native-" + name),
                             std::ios::binary);
        // The native editor tests write these; without them nothing was compared.
        ASSERT_TRUE(bool(native)) << "no native screenshot " << name
                                  << ": run the native build's editor tests first";
        std::vector<uint8_t> expected{std::istreambuf_iterator<char>(native), {}};
        EXPECT_TRUE(expected == png) << name << " differs from the native build's drawing";
    }
    SendMessageW(editorWindow(parent), WM_LBUTTONUP, 0, at(90 + 47, 266 + 47));
}

} // namespace
