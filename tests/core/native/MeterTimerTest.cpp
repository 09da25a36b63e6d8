// The meter timer's life from initialize to terminate, and its push of values set on other
// threads into the editors, on the native build's manual timers.

#include "core/CoreIds.h"
#include "support/EffectFixture.h"
#include "support/TestTimer.h"

#include <gtest/gtest.h>

#include <thread>
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

TEST(SorvEffect, MeterTimerRunsFromInitializeToTerminateOnTheEditorsThread) {
    const int before = liveTimerCount();
    // Made on a loader thread that ends; the editor lives on this one.
    TestEffect* effect = nullptr;
    TestHostContext context;
    std::thread([&] {
        effect = new TestEffect();
        ASSERT_EQ(effect->initialize(context.unknown()), kResultOk);
    }).join();
    ASSERT_TRUE(effect->hasTimer());
    EXPECT_EQ(liveTimerCount(), before + 1);
    EXPECT_EQ(lastTimerPeriod(), 5u);
    fireTimers();
    EXPECT_EQ(effect->meterUpdates, 1);

    Timer* loaderTimer = effect->timer();
    auto* view = new TestView(effect);
    view->attachTo(reinterpret_cast<void*>(0x1234));
    effect->editorAttached(view);
    EXPECT_NE(effect->timer(), loaderTimer) << "the meter timer ticks on the editors' thread";
    EXPECT_EQ(liveTimerCount(), before + 1);
    fireTimers();
    view->pushed.clear();
    // Values set on other threads reach the editors only on the editors' thread, once each.
    std::thread([&] {
        EXPECT_EQ(effect->setParamNormalized(kMeterId, 0.5), kResultOk);
        EXPECT_EQ(effect->setParamNormalized(kLevelId, 0.75), kResultOk);
        EXPECT_EQ(effect->setParamNormalized(SorvLib::kMasterBypassId, 1.0), kResultOk);
        effect->pushPendingValues();
    }).join();
    EXPECT_TRUE(view->pushed.empty());
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.75);
    EXPECT_TRUE(effect->isBypassed());
    fireTimers();
    const std::vector<std::pair<ParamID, double>> expected = {{kLevelId, 0.75}, {kMeterId, 0.5}};
    EXPECT_EQ(view->pushed, expected);
    fireTimers();
    EXPECT_EQ(view->pushed, expected) << "each value is pushed once";
    effect->editorRemoved(view);
    view->release();

    ASSERT_EQ(effect->terminate(), kResultOk);
    EXPECT_FALSE(effect->hasTimer());
    EXPECT_EQ(liveTimerCount(), before);
    ASSERT_EQ(effect->initialize(context.unknown()), kResultOk);
    EXPECT_TRUE(effect->hasTimer());
    EXPECT_EQ(liveTimerCount(), before + 1);
    EXPECT_EQ(effect->getParameterCount(), 4)
        << "a second initialize must not duplicate parameters";
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 1);
    effect->terminate();
    EXPECT_EQ(effect->release(), 0u);
    EXPECT_EQ(context.references(), 1);
}

} // namespace
