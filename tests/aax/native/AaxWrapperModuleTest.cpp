// Each AAX wrapper parameter object starts the module once and ends it once; a module that
// cannot start gives the host no object and nothing to end.

#include "AAXWrapper_Parameters.h"
#include "CACFUnknown.h"
#include "support/ModuleHooks.h"

#include <gtest/gtest.h>

namespace {

TEST(AaxWrapperModule, EveryObjectBalancesItsModuleStart) {
    // Building the description starts and ends the module once more on its own; what counts
    // is that each live object holds exactly one start.
    const int32_t liveAtStart = gLiveObjectCount.load();
    const int inits = SorvTest::initModuleCalls, deinits = SorvTest::deinitModuleCalls;
    auto startsHeld = [&] {
        return (SorvTest::initModuleCalls - inits) - (SorvTest::deinitModuleCalls - deinits);
    };
    IACFUnknown* first = AAXWrapper_Parameters::Create();
    IACFUnknown* second = AAXWrapper_Parameters::Create();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(startsHeld(), 2);
    first->Release();
    EXPECT_EQ(startsHeld(), 1);
    second->Release();
    EXPECT_EQ(startsHeld(), 0);
    EXPECT_EQ(gLiveObjectCount.load(), liveAtStart);

    // A start that fails is tried once and leaves nothing to end.
    const int deinitsBefore = SorvTest::deinitModuleCalls;
    SorvTest::initModuleResult = false;
    EXPECT_EQ(AAXWrapper_Parameters::Create(), nullptr);
    SorvTest::initModuleResult = true;
    EXPECT_EQ(SorvTest::deinitModuleCalls, deinitsBefore);
    EXPECT_EQ(gLiveObjectCount.load(), liveAtStart);
}

} // namespace
