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

// Registration builds and deletes a VST 2.4 instance, whose end runs the end hook: it must
// end only the start that registration made for it, and none when that start failed.
TEST_F(AaxModuleStart, RegistrationLeavesTheModuleStartAsItFoundIt) {
    ASSERT_EQ(ACFStartup(host), ACF_OK);
    for (bool startWorks : {true, false}) {
        SCOPED_TRACE(startWorks);
        const int starts = initModuleCalls, ends = deinitModuleCalls;
        initModuleResult = startWorks;
        IACFPluginDefinition* definition = nullptr;
        EXPECT_EQ(ACFRegisterPlugin(host, &definition),
                  startWorks ? ACF_OK : AAX_ERROR_NULL_OBJECT);
        initModuleResult = true;
        EXPECT_GT(initModuleCalls, starts);
        EXPECT_EQ(deinitModuleCalls - ends, startWorks ? initModuleCalls - starts : 0);
        if (definition)
            definition->Release();
    }
    EXPECT_EQ(ACFShutdown(host), ACF_OK);
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
