// The meter timer's life from initialize to terminate, on the native build's manual timers.

#include "support/EffectFixture.h"
#include "support/TestTimer.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

TEST(SorvEffect, MeterTimerRunsFromInitializeToTerminate) {
    const int before = liveTimerCount();
    auto* effect = new TestEffect();
    TestHostContext context;
    ASSERT_EQ(effect->initialize(context.unknown()), kResultOk);
    ASSERT_TRUE(effect->hasTimer());
    EXPECT_EQ(liveTimerCount(), before + 1);
    EXPECT_EQ(lastTimerPeriod(), 5u);
    fireTimers();
    EXPECT_EQ(effect->meterUpdates, 1);

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
