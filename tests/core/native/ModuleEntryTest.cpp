// The module entry's reference counting, on the native build's counting hooks.

#include "vst/ModuleEntry.h"
#include "support/ModuleHooks.h"

#include <gtest/gtest.h>

namespace {

class ModuleEntry : public ::testing::Test {
protected:
    void SetUp() override {
        SorvTest::initModuleCalls = 0;
        SorvTest::deinitModuleCalls = 0;
        SorvTest::initModuleResult = true;
    }
};

TEST_F(ModuleEntry, StartsAndEndsTheModuleOnlyOnTheOutermostCalls) {
    EXPECT_TRUE(InitDll());
    EXPECT_TRUE(InitDll());
    EXPECT_EQ(SorvTest::initModuleCalls, 1);
    EXPECT_TRUE(ExitDll());
    EXPECT_EQ(SorvTest::deinitModuleCalls, 0);
    EXPECT_TRUE(ExitDll());
    EXPECT_EQ(SorvTest::deinitModuleCalls, 1);
}

TEST_F(ModuleEntry, UnbalancedExitFailsAndDoesNotBlockTheNextStart) {
    EXPECT_FALSE(ExitDll());
    EXPECT_EQ(SorvTest::deinitModuleCalls, 0);
    EXPECT_TRUE(InitDll());
    EXPECT_EQ(SorvTest::initModuleCalls, 1);
    EXPECT_TRUE(ExitDll());
}

TEST_F(ModuleEntry, FailedModuleStartFailsInitDll) {
    SorvTest::initModuleResult = false;
    EXPECT_FALSE(InitDll());
    EXPECT_TRUE(ExitDll());
}

} // namespace
