// The product window opened on the real effect: layout, bindings, sizes and zoom, the way
// edits reach the host and values come back, timers, and resizes the host turns down.

#include "editor/EditorFixture.h"

#include "vstgui/CBitmapControls.h"
#include "editor/SorvAnimKnob.h"
#include "editor/SorvCallout.h"
#include "editor/QUOR515View.h"
#include "support/NativeWindows.h"
#include "support/TestTimer.h"
#include "support/TestUtils.h"

#include <cmath>

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;
using namespace VSTGUI;

namespace {

std::string utf8(const Vst::TChar* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

struct Placed {
    double left, top, width, height;
    uint32_t tag;
};

} // namespace

TEST(QUOR515View, OpensWithTheLayoutSizesAndBindings) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    ViewRect size;
    ASSERT_EQ(editor.plugView->getSize(&size), kResultTrue);
    EXPECT_EQ(size.getWidth(), 512);
    EXPECT_EQ(size.getHeight(), 493);
    ASSERT_FALSE(editor.plugFrame.requests.empty());
    EXPECT_EQ(editor.plugFrame.requests.back().getHeight(), 493);
    EXPECT_EQ(editor.frame()->getNbViews(), 2); // the product's views, then the toolbar strip
    EXPECT_EQ(editor.frame()->getView(1)->getViewSize(), CRect(0, 469, 512, 493));

    const Placed expected[] = {{360, 112, 75, 77, kOverloadId}, {360, 191, 75, 77, kPowerId},
                               {364, 279, 65, 65, kPowerId},    {90, 109, 95, 95, kFxLimiterId},
                               {229, 109, 95, 95, kFxMixId},    {90, 266, 95, 95, kToneId},
                               {229, 266, 95, 95, kPreDelayId}, {112, 212, 50, 16, kFxLimiterId},
                               {251, 212, 50, 16, kFxMixId},    {112, 369, 50, 16, kToneId},
                               {251, 369, 50, 16, kPreDelayId}};
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        auto* control = dynamic_cast<CControl*>(editor.child(i));
        ASSERT_NE(control, nullptr);
        const Placed& p = expected[i];
        EXPECT_EQ(control->getViewSize(), CRect(p.left, p.top, p.left + p.width, p.top + p.height));
        EXPECT_EQ(static_cast<uint32_t>(control->getTag()), p.tag);
    }
    EXPECT_EQ(editor.child(11), nullptr);
    EXPECT_NE(dynamic_cast<CMovieBitmap*>(editor.child(0)), nullptr);
    EXPECT_FALSE(editor.child(0)->getMouseEnabled());
    for (int i = 3; i < 7; ++i) {
        auto* knob = dynamic_cast<SorvAnimKnob*>(editor.child(i));
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->getHeightOfOneImage(), 95.0);
        EXPECT_EQ(knob->getNumSubPixmaps(), 121);
        EXPECT_EQ(knob->getStartAngle(), 2.0943952f);
        EXPECT_EQ(knob->getRangeAngle(), 5.2359877f);
        EXPECT_EQ(knob->getWheelInc(), 0.03f);
        EXPECT_EQ(knob->getZoomFactor(), 3.0f);
        EXPECT_EQ(knob->getJumpRadius(), 40.0);
        CRect grab = knob->getViewSize();
        grab.extend(18, 18);
        EXPECT_EQ(knob->getMouseableArea(), grab);
    }
    EXPECT_EQ(dynamic_cast<SorvAnimKnob*>(editor.child(3))->getMouseableArea(),
              CRect(72, 91, 203, 222));
    EXPECT_EQ(dynamic_cast<CMovieBitmap*>(editor.child(0))->getNumSubPixmaps(), 31);
    EXPECT_EQ(dynamic_cast<CMovieBitmap*>(editor.child(0))->getHeightOfOneImage(), 77.0);
    for (int i = 7; i < 11; ++i) {
        auto* callout = dynamic_cast<SorvCallout*>(editor.child(i));
        ASSERT_NE(callout, nullptr);
        EXPECT_FALSE(callout->isVisible());
        callout->setMouseEnabled(true);
        EXPECT_FALSE(callout->getMouseEnabled());
        EXPECT_EQ(callout->getBackColor(), CColor(240, 240, 240, 150));
        EXPECT_EQ(callout->getStyle(), kRoundRectStyle);
    }
    // The lamp alone is read-only; the toolbar strip's views are never bound.
    EXPECT_EQ(editor.view->getEditableControls().size(), 10u);
    ASSERT_EQ(editor.view->getReadOnlyControls().size(), 1u);
    EXPECT_EQ(editor.view->getReadOnlyControls().begin()->second, kOverloadId);
    // Defaults and values arrive at open: power on, so both power views show "on".
    EXPECT_EQ(dynamic_cast<CControl*>(editor.child(1))->getValue(), 1.0f);
    EXPECT_EQ(dynamic_cast<CControl*>(editor.child(2))->getDefaultValue(), 1.0f);
}

TEST(QUOR515View, ZoomsByUISizeTimesContentScale) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    editor.view->setUISize(1.25);
    ViewRect scaled = editor.view->getScaledRect();
    EXPECT_EQ(scaled.getWidth(), 640);
    EXPECT_EQ(scaled.getHeight(), 616);
    EXPECT_EQ(editor.frame()->getZoom(), 1.25);
    EXPECT_EQ(editor.frame()->pixelWidth(), 640);
    EXPECT_EQ(editor.frame()->pixelHeight(), 616);
    EXPECT_EQ(lastFrameSize(), std::make_pair(640, 616));
    ASSERT_FALSE(editor.plugFrame.requests.empty());
    EXPECT_EQ(editor.plugFrame.requests.back().getWidth(), 640);

    // The current factor, 0 and -1 touch nothing.
    size_t requests = editor.plugFrame.requests.size();
    for (double factor : {1.25, 0.0, -1.0})
        editor.view->setUISize(factor);
    EXPECT_EQ(editor.plugFrame.requests.size(), requests);
    EXPECT_EQ(editor.view->getUISizeFactor(), 1.25);

    FUnknownPtr<IPlugViewContentScaleSupport> scaling(editor.plugView);
    ASSERT_TRUE(scaling);
    EXPECT_EQ(scaling->setContentScaleFactor(-2.0f), kResultOk);
    EXPECT_EQ(editor.frame()->getZoom(), 1.25);
    EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kResultOk);
    EXPECT_EQ(editor.frame()->getZoom(), 2.5);
    // A hit at zoom 2.5 lands on the same logical view.
    editor.mouseDown(364 + 30, 279 + 30, kLButton);
    EXPECT_EQ(editor.effect->getParamNormalized(kPowerId), 0.0);
}

TEST(QUOR515View, EditsReachTheHostQuantisedAndValuesComeBack) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    auto& calls = editor.handler.calls;
    auto* limiter = dynamic_cast<SorvAnimKnob*>(editor.child(3));
    auto* limiterCallout = dynamic_cast<SorvCallout*>(editor.child(7));
    auto* lamp = dynamic_cast<CControl*>(editor.child(1));
    auto* powerSwitch = dynamic_cast<CControl*>(editor.child(2));

    // A click on the switch toggles "Power"; both power views follow.
    editor.mouseDown(364 + 30, 279 + 30, kLButton);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, 'b');
    EXPECT_EQ(calls[1].kind, 'p');
    EXPECT_EQ(calls[1].value, 0.0);
    EXPECT_EQ(calls[2].kind, 'e');
    EXPECT_EQ(lamp->getValue(), 0.0f);
    // So does a click on the lamp.
    editor.mouseDown(360 + 37, 191 + 38, kLButton);
    EXPECT_EQ(editor.effect->getParamNormalized(kPowerId), 1.0);
    EXPECT_EQ(powerSwitch->getValue(), 1.0f);

    // A drag 18 pixels outside the knob's bitmap still takes it; 100 pixels up is half
    // the range, and the callout shows the value while the edit lasts.
    calls.clear();
    float start = limiter->getValueNormalized();
    editor.mouseDown(90 - 17, 109 + 40, kLButton);
    EXPECT_TRUE(limiterCallout->isVisible());
    editor.mouseMoved(90 - 17, 109 + 40 - 100, kLButton);
    EXPECT_NEAR(limiter->getValueNormalized(), start + 0.5f, 1e-6);
    double dragged = editor.effect->getParamNormalized(kFxLimiterId);
    EXPECT_EQ(dragged, static_cast<double>(limiter->getValueNormalized()));
    // A unit-less parameter: the value and a blank.
    Vst::String128 shown = {};
    editor.effect->getParamStringByValue(kFxLimiterId, dragged, shown);
    EXPECT_EQ(limiterCallout->getText(), utf8(shown) + " ");
    // A value pushed during the drag does not move the knob under the mouse.
    editor.effect->setParamNormalized(kFxLimiterId, 0.1);
    EXPECT_NEAR(limiter->getValueNormalized(), start + 0.5f, 1e-6);
    editor.mouseUp(90 - 17, 109 + 40 - 100, kLButton);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().kind, 'b');
    EXPECT_EQ(calls.back().kind, 'e');
    ASSERT_EQ(calls[calls.size() - 2].kind, 'p');
    EXPECT_EQ(calls[calls.size() - 2].value, dragged);

    // With Shift the same drag moves a third as far.
    float before = limiter->getValueNormalized();
    editor.mouseDown(137, 156, kLButton);
    editor.mouseMoved(137, 156 - 60, kLButton | kShift);
    editor.mouseUp(137, 156 - 60, kLButton | kShift);
    EXPECT_EQ(limiter->getValueNormalized(), before);
    editor.mouseDown(137, 156, kLButton | kShift);
    editor.mouseMoved(137, 156 - 60, kLButton | kShift);
    editor.mouseUp(137, 156 - 60, kLButton | kShift);
    EXPECT_NEAR(limiter->getValueNormalized(), before + 0.1f, 1e-6);

    // Control-click resets to the default; the wheel steps by 0.03.
    editor.mouseDown(137, 156, kLButton | kControl);
    EXPECT_NEAR(limiter->getValueNormalized(), editor.effect->getParamNormalized(kFxLimiterId),
                1e-7);
    float atDefault = limiter->getValueNormalized();
    editor.frame()->platformWheel(CPoint(137, 156), 1.0f, 0);
    EXPECT_NEAR(limiter->getValueNormalized(), atDefault + 0.03f, 1e-6);

    // Automation moves the knobs and the callout text.
    editor.effect->setParamNormalized(kPreDelayId, 1.0);
    EXPECT_EQ(dynamic_cast<CControl*>(editor.child(6))->getValueNormalized(), 1.0f);
    EXPECT_EQ(dynamic_cast<SorvCallout*>(editor.child(10))->getText(), "150.0 ms");
}

TEST(QUOR515View, RightClickJumpsOnlyOutsideTheRadius) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    auto& calls = editor.handler.calls;
    auto* mix = dynamic_cast<CControl*>(editor.child(4));
    const double cx = 229 + 47.5, cy = 109 + 47.5;
    editor.effect->setParamNormalized(kFxMixId, 0.0);

    struct Case {
        double dx, dy;
        int buttons;
        bool jumps;
        float value; // at the click's angle
    } cases[] = {
        {0, -45, kRButton, true, 0.5f},            // straight up: the middle of the range
        {0, -30, kRButton, false, 0},              // inside the radius
        {45, 0, kRButton | kShift, true, 0.8f},    // modifiers do not matter
        {-40, 0, kRButton | kControl, true, 0.2f}, // exactly on the radius
        {0, -45, kRButton | kLButton, false, 0},   // with the left button: an ordinary drag
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dx * 1000 + c.dy);
        editor.effect->setParamNormalized(kFxMixId, 0.0);
        calls.clear();
        editor.mouseDown(cx + c.dx, cy + c.dy, c.buttons);
        editor.mouseUp(cx + c.dx, cy + c.dy, c.buttons);
        if (c.jumps) {
            EXPECT_NEAR(mix->getValueNormalized(), c.value, 1e-5);
            ASSERT_EQ(calls.size(), 3u);
            EXPECT_EQ(calls[0].kind, 'b');
            EXPECT_EQ(calls[2].kind, 'e');
            EXPECT_EQ(calls[1].value, editor.effect->getParamNormalized(kFxMixId));
        } else {
            EXPECT_EQ(mix->getValueNormalized(), 0.0f);
            for (const auto& call : calls)
                EXPECT_NE(call.kind, 'p');
        }
    }
}

TEST(QUOR515View, CalloutHidesAfterItsDelayAndLampFollowsTheTimer) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    TestUtils& utils = *activeTestUtils();
    auto* callout = dynamic_cast<SorvCallout*>(editor.child(8));
    utils.milliseconds = 5000;
    editor.mouseDown(229 + 47, 109 + 47, kLButton);
    EXPECT_TRUE(callout->isVisible());
    utils.milliseconds = 6000;
    editor.mouseUp(229 + 47, 109 + 47, kLButton);
    EXPECT_EQ(callout->getHideRequestedAt(), 6000u);
    utils.milliseconds = 6400;
    fireTimers();
    EXPECT_TRUE(callout->isVisible());
    utils.milliseconds = 6401;
    fireTimers();
    EXPECT_FALSE(callout->isVisible());
    // A new edit within the delay keeps it.
    utils.milliseconds = 7000;
    editor.mouseDown(229 + 47, 109 + 47, kLButton);
    editor.mouseUp(229 + 47, 109 + 47, kLButton);
    utils.milliseconds = 7200;
    editor.mouseDown(229 + 47, 109 + 47, kLButton);
    utils.milliseconds = 7700;
    fireTimers();
    EXPECT_TRUE(callout->isVisible());
    editor.mouseUp(229 + 47, 109 + 47, kLButton);
    utils.milliseconds = 0;

    // "Overload" is read-only: the effect does not push it, the editor timer reads it (the
    // meter timer would set it back from the engine's peaks, so only the editor's ticks).
    auto* lamp = dynamic_cast<CControl*>(editor.child(0));
    editor.effect->setParamNormalized(kOverloadId, 1.0);
    EXPECT_EQ(lamp->getValueNormalized(), 0.0f);
    editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    EXPECT_EQ(lamp->getValueNormalized(), 1.0f);
}

TEST(QUOR515View, ModifierKeysFollowTheHostFormat) {
    const std::pair<WrapperKind, int32_t> formats[] = {{WrapperKind::AAX, kAlt},
                                                       {WrapperKind::AU, kAlt},
                                                       {WrapperKind::Vst2, kControl},
                                                       {WrapperKind::None, kControl}};
    for (auto [kind, modifier] : formats) {
        CControl::kDefaultValueModifier = 0;
        CControl::kZoomModifier = 0;
        OpenEditor editor(kind);
        ASSERT_EQ(editor.attachResult, kResultOk);
        EXPECT_EQ(CControl::kDefaultValueModifier, modifier);
        EXPECT_EQ(CControl::kZoomModifier, kShift);
    }
    CControl::kDefaultValueModifier = kControl;
}

TEST(QUOR515View, ResizesTheHostRefusesFitTheHostWindows) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    // Inside the host's resizeView getSize still reports the old size, and the frame may
    // change size again: no second request.
    int nested = 0;
    editor.plugFrame.during = [&] {
        ++nested;
        ViewRect now;
        editor.plugView->getSize(&now);
        EXPECT_EQ(now.getWidth(), 512);
        EXPECT_TRUE(editor.view->beforeSizeChange(CRect(0, 0, 10, 10), CRect()));
    };
    size_t before = editor.plugFrame.requests.size();
    editor.view->setUISize(1.5);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(editor.plugFrame.requests.size(), before + 1);
    EXPECT_EQ(editor.plugFrame.requests.back().getWidth(), 768);
    EXPECT_TRUE(hostWindowFits().empty());

    editor.plugFrame.during = nullptr;
    editor.plugFrame.answer = kResultFalse;
    editor.view->setUISize(2.0);
    ASSERT_EQ(hostWindowFits().size(), 1u);
    EXPECT_EQ(hostWindowFits()[0].window, editor.view->getPlatformHandle());
    EXPECT_EQ(hostWindowFits()[0].width, 1024);
    EXPECT_EQ(hostWindowFits()[0].height, 986);
    EXPECT_EQ(editor.frame()->getZoom(), 2.0);
    hostWindowFits().clear();
    // A size the host picks on its own is not followed: getSize stays the frame's.
    ViewRect own(0, 0, 700, 500), size;
    EXPECT_EQ(editor.plugView->onSize(&own), kResultFalse);
    editor.plugView->getSize(&size);
    EXPECT_EQ(size.getWidth(), 1024);
    EXPECT_EQ(size.getHeight(), 986);
    EXPECT_EQ(editor.frame()->getZoom(), 2.0);
}

TEST(QUOR515View, ReattachesAndRefusesBadHostInput) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    EXPECT_NE(editor.view->getPlatformHandle(), nullptr);
    // Attached twice without a removal, or with another platform type or no parent.
    EXPECT_EQ(editor.plugView->attached(&editor.parentWindow, kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor.plugView->removed(), kResultOk);
    EXPECT_EQ(editor.view->getPlatformHandle(), nullptr);
    EXPECT_EQ(editor.plugView->attached(&editor.parentWindow, kPlatformTypeNSView), kResultFalse);
    EXPECT_EQ(editor.plugView->attached(nullptr, kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(editor.plugView->isPlatformTypeSupported("X11EmbedWindowID"), kResultFalse);
    // The values still come back after a second open.
    editor.effect->setParamNormalized(kToneId, 0.75);
    ASSERT_EQ(editor.plugView->attached(&editor.parentWindow, kPlatformTypeHWND), kResultOk);
    EXPECT_EQ(dynamic_cast<CControl*>(editor.child(5))->getValueNormalized(), 0.75f);
    EXPECT_EQ(editor.frame()->getNbViews(), 2);

    // A second view of the same effect opens beside it and gets the same pushes.
    IPlugView* second = editor.effect->createView("editor");
    int otherParent = 0;
    ASSERT_EQ(second->attached(&otherParent, kPlatformTypeHWND), kResultOk);
    editor.effect->setParamNormalized(kToneId, 0.25);
    auto* secondView = dynamic_cast<SorvView*>(second);
    auto* container = dynamic_cast<CViewContainer*>(secondView->getFrame()->getView(0));
    EXPECT_EQ(dynamic_cast<CControl*>(container->getView(5))->getValueNormalized(), 0.25f);
    EXPECT_EQ(dynamic_cast<CControl*>(editor.child(5))->getValueNormalized(), 0.25f);
    second->removed();
    EXPECT_EQ(second->release(), 0u);

    // A view without a controller refuses to open.
    IPlugView* orphan = new QUOR515View(nullptr);
    EXPECT_EQ(orphan->attached(&otherParent, kPlatformTypeHWND), kResultFalse);
    EXPECT_EQ(orphan->release(), 0u);
}

TEST(QUOR515View, MissingOrCorruptBitmapsLeaveEmptyViews) {
    resourceOverrides()["knob.png"] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    resourceOverrides()["background.png"] = {};
    {
        OpenEditor editor;
        ASSERT_EQ(editor.attachResult, kResultOk);
        ViewRect size;
        editor.plugView->getSize(&size);
        EXPECT_EQ(size.getWidth(), 0);
        EXPECT_EQ(size.getHeight(), 24);
        auto* knob = dynamic_cast<SorvAnimKnob*>(editor.child(3));
        ASSERT_NE(knob, nullptr);
        EXPECT_EQ(knob->getDrawBackground()->getPlatformBitmap(), nullptr);
        EXPECT_EQ(knob->getViewSize().getWidth(), 0.0);
        // Still bound and drawable: a pushed value reaches the empty knob.
        editor.effect->setParamNormalized(static_cast<Vst::ParamID>(knob->getTag()), 0.3);
        EXPECT_EQ(knob->getValueNormalized(), 0.3f);
        editor.frame()->drawAll();
        EXPECT_EQ(editor.frame()->getBuffer().height, 24);
    }
    resourceOverrides().clear();
}
