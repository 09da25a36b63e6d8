// Each AAX wrapper parameter object holds one module start while it lives and ends it when it
// goes (the description it reads starts and ends its own on the way); a module that cannot
// start gives the host no object and nothing to end.

#include "aaxwrapper/AAXWrapper_Parameters.h"
#include "CACFUnknown.h"
#include "support/ModuleHooks.h"

#include <gtest/gtest.h>

namespace {

int heldModuleStarts() {
    return SorvTest::initModuleCalls - SorvTest::deinitModuleCalls;
}

TEST(AaxWrapperModule, EveryObjectBalancesItsModuleStart) {
    const int32_t liveAtStart = gLiveObjectCount.load();
    const int held = heldModuleStarts();
    const int inits = SorvTest::initModuleCalls;
    IACFUnknown* first = AAXWrapper_Parameters::Create();
    IACFUnknown* second = AAXWrapper_Parameters::Create();
    ASSERT_TRUE(first && second);
    EXPECT_GE(SorvTest::initModuleCalls, inits + 2);
    EXPECT_EQ(heldModuleStarts(), held + 2);
    first->Release();
    EXPECT_EQ(heldModuleStarts(), held + 1);
    second->Release();
    EXPECT_EQ(heldModuleStarts(), held);
    EXPECT_EQ(gLiveObjectCount.load(), liveAtStart);

    SorvTest::initModuleResult = false;
    const int deinits = SorvTest::deinitModuleCalls;
    EXPECT_EQ(AAXWrapper_Parameters::Create(), nullptr);
    SorvTest::initModuleResult = true;
    EXPECT_EQ(SorvTest::deinitModuleCalls, deinits);
    EXPECT_EQ(gLiveObjectCount.load(), liveAtStart);
}

} // namespace
