// ACFStartup and ACFShutdown around the module's start and end hooks.

#include "AAX_Exports.h"
#include "aax/AaxFixture.h"
#include "support/ModuleHooks.h"

#include <gtest/gtest.h>

using namespace SorvTest;

namespace {

using AaxModuleStart = AaxFixture;

TEST_F(AaxModuleStart, StartAndEndRunTheModuleHooksOnce) {
    const int starts = initModuleCalls, ends = deinitModuleCalls;
    ASSERT_EQ(ACFStartup(host), ACF_OK);
    EXPECT_EQ(initModuleCalls, starts + 1);
    EXPECT_NE(gHostServices, nullptr);
    EXPECT_EQ(ACFShutdown(host), ACF_OK);
    EXPECT_EQ(deinitModuleCalls, ends + 1);
    EXPECT_EQ(gHostServices, nullptr);
}

TEST_F(AaxModuleStart, FailedModuleStartRemovesTheHostServices) {
    initModuleResult = false;
    EXPECT_EQ(ACFStartup(host), ACF_E_UNEXPECTED);
    initModuleResult = true;
    EXPECT_EQ(gHostServices, nullptr);
    EXPECT_EQ(model.liveObjects, 1) << "the host services must be released";
    // The module entry still counts the failed start; the host's shut-down balances it.
    EXPECT_EQ(ACFShutdown(host), ACF_OK);
}

} // namespace
