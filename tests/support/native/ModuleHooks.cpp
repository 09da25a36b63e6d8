// The native build's module hooks: they count their calls instead of starting COM.
#include "support/ModuleHooks.h"

#include "vst/ModuleEntry.h"

namespace SorvTest {
int initModuleCalls = 0;
int deinitModuleCalls = 0;
bool initModuleResult = true;
} // namespace SorvTest

bool InitModule() {
    ++SorvTest::initModuleCalls;
    return SorvTest::initModuleResult;
}

bool DeinitModule() {
    ++SorvTest::deinitModuleCalls;
    return true;
}
