#pragma once

// Call counts of the native build's module hooks.
namespace SorvTest {
extern int initModuleCalls;
extern int deinitModuleCalls;
extern bool initModuleResult;
} // namespace SorvTest
