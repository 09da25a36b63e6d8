#pragma once
// Owns one initialised test effect under a chosen host context and terminates and releases
// it at the end of the test.

#include "support/TestEffect.h"
#include "support/TestHostContext.h"

#include <gtest/gtest.h>

namespace SorvTest {

class EffectFixture {
public:
    explicit EffectFixture(WrapperKind kind = WrapperKind::None,
                           const SorvLib::PatchRef* patches = testPatches)
        : context(kind), effect(new TestEffect(patches)) {
        EXPECT_EQ(effect->initialize(context.unknown()), Steinberg::kResultOk);
        effect->setComponentHandler(&handler);
    }
    ~EffectFixture() {
        effect->terminate();
        effect->release();
    }
    EffectFixture(const EffectFixture&) = delete;
    EffectFixture& operator=(const EffectFixture&) = delete;

    TestEffect* operator->() const { return effect; }
    TestEffect& operator*() const { return *effect; }

    TestHostContext context;
    TestComponentHandler handler;
    TestEffect* effect;
};

} // namespace SorvTest
