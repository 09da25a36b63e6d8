// Pixels: the frame choice of the film-strip knob and of the further controls on
// colour-coded strips, the product window's pointers and lamps at both zooms and both
// interpolation qualities, and the PNGs that the Windows build's module must match.

#include "editor/EditorFixture.h"

#include "vstgui/CFrame.h"
#include "PngWriter.h"
#include "editor/SorvAnimKnob.h"
#include "editor/SorvBitmap.h"
#include "editor/SorvHorizontalSwitch.h"
#include "editor/SorvKickButton.h"
#include "editor/SorvOnOffButton.h"
#include "editor/SorvVUNeedle.h"
#include "support/NativeWindows.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

using namespace SorvLib;
using namespace SorvTest;
using namespace Steinberg;
using namespace VSTGUI;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A strip of frames of w × h bitmap pixels, frame i filled with red i (green 0, blue 255).
SharedPointer<CBitmap> codedStrip(int w, int h, int frames) {
    std::vector<uint32_t> pixels(size_t(w) * h * frames);
    for (int f = 0; f < frames; ++f)
        for (int i = 0; i < w * h; ++i)
            pixels[size_t(f) * w * h + i] = 0xFF0000FFu | uint32_t(f) << 16;
    std::vector<uint8_t> png = SorvTools::encodePng(w, h * frames, pixels);
    return makeBitmap(png.data(), static_cast<uint32_t>(png.size()), 2.0);
}

// A frame of its own, not opened: draws into its buffer only.
struct Canvas {
    CFrame* frame;
    explicit Canvas(double w, double h) : frame(new CFrame(CRect(0, 0, w, h), nullptr)) {}
    ~Canvas() { frame->close(); }
    uint32_t draw(double x = 0, double y = 0) {
        frame->drawAll();
        return frame->getBuffer().at(int(x), int(y));
    }
};

int frameShown(uint32_t pixel) {
    return red(pixel);
}

} // namespace

TEST(EditorPixels, BitmapsHaveHalfTheirPixelSizeOrNone) {
    SharedPointer<CBitmap> icon = codedStrip(36, 36, 1);
    EXPECT_EQ(icon->getWidth(), 18.0);
    EXPECT_EQ(icon->getHeight(), 18.0);
    ASSERT_NE(icon->getPlatformBitmap(), nullptr);
    EXPECT_EQ(icon->getPlatformBitmap()->getScaleFactor(), 2.0);
    const uint8_t broken[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0};
    for (uint32_t size : {0u, 4u, uint32_t(sizeof broken)}) {
        SharedPointer<CBitmap> empty = makeBitmap(broken, size, 2.0);
        EXPECT_EQ(empty->getPlatformBitmap(), nullptr);
        EXPECT_EQ(empty->getWidth(), 0.0);
    }
    EXPECT_EQ(makeBitmap(nullptr, 100, 2.0)->getHeight(), 0.0);
}

TEST(EditorPixels, KnobFrameChoiceIsExact) {
    Canvas canvas(10, 10);
    SharedPointer<CBitmap> strip = codedStrip(2, 2, 121);
    EXPECT_EQ(strip->getHeight(), 121.0);
    auto* knob = new SorvAnimKnob(CRect(0, 0, 1, 1), nullptr, 1, strip, CPoint(0, 0));
    canvas.frame->addView(knob);
    EXPECT_EQ(knob->getNumSubPixmaps(), 121);
    struct Case {
        float value;
        bool inverse;
        CPoint offset;
        int frame;
    } cases[] = {
        {0.0f, false, {}, 0},       {0.5f, false, {}, 60},     {1.0f, false, {}, 120},
        {1.0f / 120, false, {}, 1}, {0.00833f, false, {}, 0},  {-0.25f, false, {}, 0},
        {-0.25f, false, {0, 3}, 3}, {0.5f, false, {0, 2}, 62}, {0.0f, true, {}, 119},
        {1.0f, true, {}, 0},        {0.5f, true, {}, 59},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value + (c.inverse ? 10 : 0) + c.offset.y * 100);
        knob->setValue(c.value);
        knob->setInverseBitmap(c.inverse);
        knob->setDrawOffset(c.offset);
        EXPECT_EQ(frameShown(canvas.draw()), c.frame);
    }
    // Without a bitmap it draws nothing and only clears its dirty flag.
    auto* bare = new SorvAnimKnob(CRect(2, 2, 3, 3), nullptr, 2, nullptr, CPoint());
    canvas.frame->addView(bare);
    bare->setDirty(true);
    EXPECT_EQ(canvas.draw(2, 2), 0xFF000000u);
    EXPECT_FALSE(bare->isDirty());
    // The initial radius is off: a right click is the library's (not taken).
    CPoint far(0.9, 0.9);
    EXPECT_EQ(bare->onMouseDown(far, kRButton), kMouseEventNotHandled);
}

TEST(EditorPixels, FurtherControlsDrawTheirFrames) {
    Canvas canvas(40, 40);
    SharedPointer<CBitmap> five = codedStrip(2, 2, 5);
    auto* horizontal = new SorvHorizontalSwitch(CRect(0, 0, 1, 1), nullptr, 1, 5, 1.0, 5, five);
    canvas.frame->addView(horizontal);
    for (bool rounded : {false, true}) {
        CHorizontalSwitch::roundedIndex = rounded;
        horizontal->setValue(1.0f);
        EXPECT_EQ(frameShown(canvas.draw()), 4);
        horizontal->setValue(0.5f);
        EXPECT_EQ(frameShown(canvas.draw()), 2);
        horizontal->setValue(0.7f);
        EXPECT_EQ(frameShown(canvas.draw()), 3);
        horizontal->setValue(0.2f);
        EXPECT_EQ(frameShown(canvas.draw()), 1);
        horizontal->setValue(0.1f);
        EXPECT_EQ(frameShown(canvas.draw()), 0);
        horizontal->setValue(0.15f);
        EXPECT_EQ(frameShown(canvas.draw()), rounded ? 1 : 0);
    }
    CHorizontalSwitch::roundedIndex = false;
    horizontal->setValue(0.0f);
    horizontal->setDrawOffset(CPoint(0, 2));
    EXPECT_EQ(frameShown(canvas.draw()), 2);

    SharedPointer<CBitmap> two = codedStrip(2, 2, 4); // off, on, and two more below
    auto* onOff = new SorvOnOffButton(CRect(2, 0, 3, 1), nullptr, 2, two);
    canvas.frame->addView(onOff);
    EXPECT_EQ(frameShown(canvas.draw(2, 0)), 0);
    onOff->setValue(1.0f);
    EXPECT_EQ(frameShown(canvas.draw(2, 0)), 2); // the lower half
    onOff->setDrawOffset(CPoint(0, 1));
    EXPECT_EQ(frameShown(canvas.draw(2, 0)), 3);

    struct Listener : IControlListener {
        int changes = 0;
        void valueChanged(CControl*) override { ++changes; }
    } listener;
    auto* kick = new SorvKickButton(CRect(4, 0, 5, 1), &listener, 3, two);
    canvas.frame->addView(kick);
    CPoint inside(4.5, 0.5);
    EXPECT_EQ(kick->onMouseDown(inside, kLButton), kMouseEventNotHandled);
    EXPECT_EQ(kick->onMouseDown(inside, kRButton), kMouseEventHandled);
    EXPECT_EQ(kick->getValue(), 1.0f);
    kick->onMouseUp(inside, kRButton);
    EXPECT_EQ(kick->getValue(), 0.0f);
    EXPECT_EQ(listener.changes, 2);
    kick->setMouseButtonMask(kLButton);
    EXPECT_EQ(kick->onMouseDown(inside, kLButton), kMouseEventHandled);
    kick->onMouseUp(inside, kLButton);

    // The needle (drawn white here to be seen on black): 0.5 points straight up over the
    // view's height from the bottom middle, 0 and 1 lean 30 degrees; the default shadow,
    // one pixel left and down, is transparent.
    auto* needle = new SorvVUNeedle(CRect(10, 10, 30, 30), nullptr, 4);
    canvas.frame->addView(needle);
    EXPECT_FALSE(needle->getMouseEnabled());
    needle->setNeedleColor(kWhiteCColor);
    auto lit = [&](int x, int y) { return red(canvas.frame->getBuffer().at(x, y)); };
    needle->setValue(0.5f);
    canvas.frame->drawAll();
    for (int y = 12; y < 30; ++y) {
        EXPECT_GT(lit(20, y), 200) << y;
        EXPECT_LT(lit(18, y), 10) << y;
        EXPECT_LT(lit(23, y), 10) << y;
    }
    EXPECT_LT(lit(20, 9), 10);
    needle->setValue(0.0f);
    canvas.frame->drawAll();
    EXPECT_GT(lit(14, 20), 100);
    EXPECT_LT(lit(20, 20), 10);
    needle->setValue(1.0f);
    canvas.frame->drawAll();
    EXPECT_GT(lit(26, 20), 100);
    EXPECT_LT(lit(14, 20), 10);
}

namespace {

struct Knob {
    double left, top;
    Vst::ParamID id;
};
const Knob kKnobs[] = {
    {90, 109, kFxLimiterId}, {229, 109, kFxMixId}, {90, 266, kToneId}, {229, 266, kPreDelayId}};

// The lowest channel of the lightest pixel around a logical point.
int lightest(const PixelBuffer& b, double zoom, double x, double y) {
    int best = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            uint32_t p = b.at(int(x * zoom) + dx, int(y * zoom) + dy);
            best = std::max(best, std::min({red(p), green(p), blue(p)}));
        }
    return best;
}

int highest(const PixelBuffer& b, double zoom, double x, double y) {
    uint32_t p = b.at(int(x * zoom), int(y * zoom));
    return std::max({red(p), green(p), blue(p)});
}

void expectPointers(OpenEditor& editor) {
    const PixelBuffer& b = editor.frame()->getBuffer();
    double zoom = editor.frame()->getZoom();
    for (const Knob& k : kKnobs) {
        SCOPED_TRACE(k.id);
        double v = editor.effect->getParamNormalized(k.id);
        double a = 2 * kPi / 3 + v * 5 * kPi / 3;
        double cx = k.left + 47.5, cy = k.top + 47.5;
        EXPECT_GT(lightest(b, zoom, cx + 27.5 * std::cos(a), cy + 27.5 * std::sin(a)), 200);
        EXPECT_LT(highest(b, zoom, cx - 27.5 * std::cos(a), cy - 27.5 * std::sin(a)), 110);
    }
}

std::string shotPath(const std::string& name) {
    mkdir(SORV_SHOT_DIR, 0755);
    return std::string(SORV_SHOT_DIR) + "/" + name;
}

void writeShot(OpenEditor& editor, const std::string& name) {
    const PixelBuffer& b = editor.frame()->getBuffer();
    EXPECT_TRUE(SorvTools::writePng(shotPath(name), b.width, b.height, b.pixels));
}

} // namespace

TEST(EditorPixels, WindowShowsValuesAtBothZoomsAndQualities) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    // The state the Windows build's host test draws through the module as well.
    editor.effect->setParamNormalized(kToneId, 0.3);
    editor.effect->setParamNormalized(kPreDelayId, 0.9);
    editor.frame()->drawAll();
    EXPECT_EQ(editor.frame()->getBuffer().width, 512);
    EXPECT_EQ(editor.frame()->getBuffer().height, 493);
    expectPointers(editor);
    writeShot(editor, "native-editor-100.png");

    FUnknownPtr<IPlugViewContentScaleSupport> scaling(editor.plugView);
    scaling->setContentScaleFactor(1.25f);
    editor.frame()->drawAll();
    EXPECT_EQ(editor.frame()->getBuffer().width, 640);
    EXPECT_EQ(editor.frame()->getBuffer().height, 616);
    expectPointers(editor);
    writeShot(editor, "native-editor-125.png");
    std::vector<uint32_t> high = editor.frame()->getBuffer().pixels;
    editor.frame()->setBitmapInterpolationQuality(BitmapInterpolationQuality::kLow);
    editor.frame()->drawAll();
    expectPointers(editor);
    writeShot(editor, "native-editor-125-low.png");
    EXPECT_NE(high, editor.frame()->getBuffer().pixels);

    // Lamps: power on shows the power lamp's last frame, off its dark first; the overload
    // lamp's last frame at full overload.
    const PixelBuffer& b = editor.frame()->getBuffer();
    const double z = 1.25;
    EXPECT_GT(red(b.at(int(397.5 * z), int(229.5 * z))), 180);
    EXPECT_LT(highest(b, z, 397.5, 150.5), 90);
    editor.effect->setParamNormalized(kPowerId, 0.0);
    editor.effect->setParamNormalized(kOverloadId, 1.0);
    editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    editor.frame()->drawAll();
    EXPECT_LT(highest(b, z, 397.5, 229.5), 90);
    EXPECT_GT(red(b.at(int(397.5 * z), int(150.5 * z))), 180);

    // Back to the first state at zoom 1 with the tone knob held: its callout shows text.
    editor.effect->setParamNormalized(kPowerId, 1.0);
    editor.effect->setParamNormalized(kOverloadId, 0.0);
    editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    editor.frame()->setBitmapInterpolationQuality(BitmapInterpolationQuality::kHigh);
    scaling->setContentScaleFactor(1.0f);
    editor.mouseDown(90 + 47, 266 + 47, kLButton);
    editor.frame()->drawAll();
    writeShot(editor, "native-editor-callout.png");
    editor.mouseUp(90 + 47, 266 + 47, kLButton);
}

TEST(EditorPixels, AKnobStepRedrawsOnlyTheKnobAndItsCallout) {
    OpenEditor editor;
    ASSERT_EQ(editor.attachResult, kResultOk);
    // The window paints what it was told; every later change must be told to it again.
    editor.frame()->drawAll();
    std::vector<uint32_t> before = editor.frame()->getBuffer().pixels;
    windowInvalidations().clear();
    editor.mouseDown(229 + 47, 109 + 47, kLButton);
    editor.mouseMoved(229 + 47, 109 + 47 - 4, kLButton);
    const auto& told = windowInvalidations();
    EXPECT_TRUE(std::any_of(told.begin(), told.end(), [](const PixelRect& r) {
        return r.left == 228 && r.top == 108; // the knob and its margin
    }));
    PixelRect area = editor.frame()->drawDirty();
    // The knob (229, 109, 95 × 95) and the callout below it (251, 212, 50 × 16), and a
    // pixel of margin for anti-aliased edges.
    EXPECT_GE(area.left, 228);
    EXPECT_GE(area.top, 108);
    EXPECT_LE(area.right, 325);
    EXPECT_LE(area.bottom, 229);
    // The same pixels as drawing everything afresh.
    std::vector<uint32_t> partial = editor.frame()->getBuffer().pixels;
    editor.frame()->drawAll();
    EXPECT_EQ(partial, editor.frame()->getBuffer().pixels);
    EXPECT_NE(partial, before);
    editor.mouseUp(229 + 47, 109 + 43, kLButton);
    // The editor timer touches only the lamp.
    editor.frame()->drawDirty();
    editor.effect->setParamNormalized(kOverloadId, 0.5);
    editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    ASSERT_EQ(editor.frame()->dirtyAreas().size(), 1u);
    const PixelRect& lamp = editor.frame()->dirtyAreas()[0];
    EXPECT_EQ(lamp.left, 359);
    EXPECT_EQ(lamp.top, 111);
    EXPECT_EQ(lamp.right, 436);
    EXPECT_EQ(lamp.bottom, 190);
    // A value that is no float exactly is drawn once, then left alone tick after tick.
    editor.effect->setParamNormalized(kOverloadId, 0.3);
    editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    editor.frame()->drawDirty();
    windowInvalidations().clear();
    editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    editor.view->notify(nullptr, CVSTGUITimer::kMsgTimer);
    EXPECT_TRUE(editor.frame()->dirtyAreas().empty());
    EXPECT_TRUE(windowInvalidations().empty());
}
