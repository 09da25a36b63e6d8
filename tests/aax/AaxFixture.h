#pragma once
// A host model with its host services installed for the test, and the check that the test
// leaves neither host objects nor library objects alive; and the same with the product's
// effect registered.

#include "AAX_Init.h"
#include "AAX_Trace.h"
#include "CACFUnknown.h"
#include "support/AaxHostModel.h"

#include <gtest/gtest.h>

#include <memory>

namespace SorvTest {

class AaxFixture : public ::testing::Test {
protected:
    void SetUp() override {
        liveAtStart = gLiveObjectCount.load();
        host = model.newHost();
    }
    void TearDown() override {
        SetHostServices(nullptr);
        host->Release();
        EXPECT_EQ(model.liveObjects, 0) << "host objects left alive";
        EXPECT_EQ(gLiveObjectCount.load(), liveAtStart) << "library objects left alive";
    }
    void startHostServices() {
        SetHostServices(host);
        ASSERT_NE(gHostServices, nullptr);
    }

    AaxHostModel model;
    IACFUnknown* host = nullptr;
    int32_t liveAtStart = 0;
};

// The product's effect registered into the host model, and instances made as a host makes them.
class AaxEffectFixture : public AaxFixture {
protected:
    void SetUp() override {
        AaxFixture::SetUp();
        startHostServices();
        ASSERT_EQ(AAXRegisterPlugin(host, &definition), ACF_OK);
        effect = model.collections.at(0)->effects.at(0).second;
    }
    void TearDown() override {
        if (definition)
            definition->Release();
        AaxFixture::TearDown();
    }
    // A created instance on the mono (0) or stereo (1) component.
    std::unique_ptr<AaxHostInstance> newInstance(size_t component = 1) {
        auto instance = std::make_unique<AaxHostInstance>(model, *effect, component);
        EXPECT_TRUE(instance->create());
        return instance;
    }

    IACFPluginDefinition* definition = nullptr;
    AaxHostEffectDescriptor* effect = nullptr;
};

} // namespace SorvTest
