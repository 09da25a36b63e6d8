// Each AAX wrapper parameter object starts the module once and ends it once; a module that
// cannot start gives the host no object and nothing to end.

#include "AAXWrapper_Parameters.h"
#include "CACFUnknown.h"
#include "support/ModuleHooks.h"

#include <gtest/gtest.h>

namespace {

TEST(AaxWrapperModule, EveryObjectBalancesItsModuleStart) {
    const int32_t liveAtStart = gLiveObjectCount.load();
    const int inits = SorvTest::initModuleCalls, deinits = SorvTest::deinitModuleCalls;
    IACFUnknown* first = AAXWrapper_Parameters::Create();
    IACFUnknown* second = AAXWrapper_Parameters::Create();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(SorvTest::initModuleCalls, inits + 2);
    first->Release();
    second->Release();
    EXPECT_EQ(SorvTest::deinitModuleCalls, deinits + 2);
    EXPECT_EQ(gLiveObjectCount.load(), liveAtStart);

    SorvTest::initModuleResult = false;
    EXPECT_EQ(AAXWrapper_Parameters::Create(), nullptr);
    SorvTest::initModuleResult = true;
    EXPECT_EQ(SorvTest::deinitModuleCalls, deinits + 2);
    EXPECT_EQ(gLiveObjectCount.load(), liveAtStart);
}

} // namespace
