#pragma once
// A host model with its host services installed for the test, and the check that the test
// leaves neither host objects nor library objects alive.

#include "AAX_Init.h"
#include "AAX_Trace.h"
#include "CACFUnknown.h"
#include "support/AaxHostModel.h"

#include <gtest/gtest.h>

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

} // namespace SorvTest
