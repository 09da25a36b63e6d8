#include "engine/PredelayParameter.h"
#include "engine/QUOR515Ids.h"

#include "base/source/fstring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using SorvLib::PredelayParameter;

namespace {

class PreDelay : public ::testing::Test {
protected:
    PreDelay() : parameter(new PredelayParameter(STR16("Pre-Delay"), SorvLib::kPreDelayId)) {}
    ~PreDelay() override { parameter->release(); }

    std::string text(double normalized) {
        String128 out = {};
        parameter->toString(normalized, out);
        String s(out);
        s.toMultiByte(kCP_Utf8);
        return s.text8();
    }

    PredelayParameter* parameter;
};

} // namespace

TEST_F(PreDelay, CurveValues) {
    EXPECT_EQ(parameter->toPlain(0.0), 0.0);
    EXPECT_EQ(parameter->toPlain(0.5), 12.3);
    EXPECT_EQ(parameter->toPlain(0.55), 16.25);
    EXPECT_EQ(parameter->toPlain(1.0), 150.0);
    EXPECT_EQ(parameter->toPlain(-1.0), 0.0);
    EXPECT_EQ(parameter->toPlain(2.0), 150.0);
    EXPECT_EQ(parameter->toPlain(std::numeric_limits<double>::quiet_NaN()), 0.0);
    for (int k = 0; k <= 10; ++k)
        EXPECT_EQ(parameter->toPlain(k / 10.0), PredelayParameter::predelayCurve[k]) << k;
}

TEST_F(PreDelay, InverseValues) {
    EXPECT_EQ(parameter->toNormalized(12.3), 0.5);
    EXPECT_EQ(parameter->toNormalized(150.0), 1.0);
    EXPECT_EQ(parameter->toNormalized(1000.0), 1.0);
    EXPECT_EQ(parameter->toNormalized(0.0), 0.0);
    EXPECT_EQ(parameter->toNormalized(-5.0), 0.0);
    EXPECT_EQ(parameter->toNormalized(1.65), 0.1);
    // Not a number is in no segment: the steps as written end at the top.
    EXPECT_EQ(parameter->toNormalized(std::numeric_limits<double>::quiet_NaN()), 1.0);
}

TEST_F(PreDelay, RoundTripsEveryNormalizedValue) {
    for (int i = 0; i <= 10000; ++i) {
        const double v = i / 10000.0;
        ASSERT_NEAR(parameter->toNormalized(parameter->toPlain(v)), v, 1e-15) << v;
    }
}

TEST_F(PreDelay, ParameterInfoAndTexts) {
    const ParameterInfo& info = parameter->getInfo();
    EXPECT_EQ(info.id, SorvLib::kPreDelayId);
    EXPECT_EQ(info.stepCount, 0);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
    EXPECT_EQ(info.defaultNormalizedValue, 0.0);
    EXPECT_EQ(parameter->getNormalized(), 0.0);
    EXPECT_EQ(String(info.units), String(STR16("ms")));
    EXPECT_EQ(parameter->getPrecision(), 1);
    EXPECT_EQ(text(0.0), "0.0");
    EXPECT_EQ(text(0.5), "12.3");
    EXPECT_EQ(text(1.0), "150.0");

    // Text entry maps milliseconds back through the curve.
    ParamValue normalized = -1.0;
    ASSERT_TRUE(parameter->fromString(STR16("33.4"), normalized));
    EXPECT_EQ(normalized, parameter->toNormalized(33.4));
    EXPECT_NEAR(normalized, 0.7, 1e-15);
}
