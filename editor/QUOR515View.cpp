#include "editor/QUOR515View.h"

#include "vstgui/CBitmapControls.h"
#include "vstgui/CViewContainer.h"
#include "editor/SorvAnimKnob.h"
#include "editor/SorvBitmap.h"
#include "editor/SorvCallout.h"
#include "engine/QUOR515Ids.h"

namespace SorvLib {

using namespace VSTGUI;

namespace {

constexpr int kBitmapScale = 2;
constexpr double kStartAngle = 2.0943952; // 2π/3: the knobs' zero points down and left
constexpr double kRangeAngle = 5.2359877; // 5π/3
constexpr float kWheelIncrement = 0.03f;
constexpr float kFineFactor = 3.0f;
constexpr double kKnobJumpRadius = 40.0;
constexpr double kKnobGrabMargin = 18.0;
constexpr int kLampFrames = 31;
constexpr int kOnOffFrames = 2;
constexpr int kKnobFrames = 121;
const CColor kCalloutBack(240, 240, 240, 150);
constexpr double kCalloutRadius = 2.0;

struct KnobPlace {
    double x, y;
    uint32_t tag;
};
const KnobPlace kKnobs[] = {
    {90, 109, kFxLimiterId}, {229, 109, kFxMixId}, {90, 266, kToneId}, {229, 266, kPreDelayId}};
const KnobPlace kCallouts[] = {
    {112, 212, kFxLimiterId}, {251, 212, kFxMixId}, {112, 369, kToneId}, {251, 369, kPreDelayId}};
constexpr double kCalloutWidth = 50;
constexpr double kCalloutHeight = 16;

// Film strips hold their frames top to bottom, each as wide as the bitmap.
CRect frameRect(double x, double y, CBitmap* strip, int frames) {
    return CRect(x, y, x + strip->getWidth(), y + strip->getHeight() * (1.0 / frames));
}

} // namespace

SharedPointer<CBitmap> makeResourceBitmap(const char* name, int scaleFactor) {
    return makeOwned<CBitmap>(
        new SorvBitmap(CResourceDescription(name), static_cast<double>(scaleFactor)));
}

QUOR515View::QUOR515View(Steinberg::Vst::EditController* controller) : SorvView(controller) {
    background = makeResourceBitmap("background.png", kBitmapScale);
    setBaseSize(Steinberg::ViewRect(0, 0, static_cast<Steinberg::int32>(background->getWidth()),
                                    static_cast<Steinberg::int32>(background->getHeight())));
}

QUOR515View::~QUOR515View() {
    background = nullptr;
}

void QUOR515View::createUI() {
    auto* container =
        new CViewContainer(CRect(0, 0, background->getWidth(), background->getHeight()));
    container->setBackground(background);

    SharedPointer<CBitmap> overload = makeResourceBitmap("overload_lamp.png", kBitmapScale);
    SharedPointer<CBitmap> powerLamp = makeResourceBitmap("power_lamp.png", kBitmapScale);
    SharedPointer<CBitmap> powerSwitch = makeResourceBitmap("power_switch.png", kBitmapScale);
    SharedPointer<CBitmap> knob = makeResourceBitmap("knob.png", kBitmapScale);

    auto* lamp = new CMovieBitmap(frameRect(360, 112, overload, kLampFrames), this, kOverloadId,
                                  overload, CPoint(0, 0));
    lamp->setMouseEnabled(false);
    container->addView(lamp);
    container->addView(new COnOffButton(frameRect(360, 191, powerLamp, kOnOffFrames), this,
                                        kPowerId, powerLamp, COnOffButton::kPreListenerUpdate));
    container->addView(new COnOffButton(frameRect(364, 279, powerSwitch, kOnOffFrames), this,
                                        kPowerId, powerSwitch, COnOffButton::kPreListenerUpdate));

    for (const KnobPlace& place : kKnobs) {
        auto* k = new SorvAnimKnob(frameRect(place.x, place.y, knob, kKnobFrames), this,
                                   static_cast<int32_t>(place.tag), knob, CPoint(0, 0));
        CRect grab = k->getViewSize();
        grab.extend(kKnobGrabMargin, kKnobGrabMargin);
        k->setMouseableArea(grab);
        k->setStartAngle(static_cast<float>(kStartAngle));
        k->setRangeAngle(static_cast<float>(kRangeAngle));
        k->setWheelInc(kWheelIncrement);
        k->setZoomFactor(kFineFactor);
        k->setJumpRadius(kKnobJumpRadius);
        container->addView(k);
    }
    for (const KnobPlace& place : kCallouts) {
        auto* callout = new SorvCallout(
            CRect(place.x, place.y, place.x + kCalloutWidth, place.y + kCalloutHeight),
            static_cast<int32_t>(place.tag));
        callout->setStyle(kRoundRectStyle);
        callout->setRoundRectRadius(kCalloutRadius);
        callout->setBackColor(kCalloutBack);
        container->addView(callout);
    }
    frame->addView(container);
}

Steinberg::IPlugView* createQUOR515View(Steinberg::Vst::EditController* controller) {
    auto* view = new QUOR515View(controller);
    return static_cast<Steinberg::IPlugView*>(view);
}

} // namespace SorvLib
