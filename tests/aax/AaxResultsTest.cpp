// Result names, the library's exceptions, checked results and the two diagnostic channels.

#include "AAX_CheckedResult.h"
#include "AAX_Exception.h"
#include "AAX_Trace.h"
#include "AAX_VHostServices.h"
#include "AaxFixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace SorvTest;

namespace {

TEST(AaxResultName, NamesEveryCodeAndOnlyThose) {
    const struct {
        AAX_Result code;
        const char* name;
    } cases[] = {{0, "AAX_SUCCESS"},
                 {-20001, "AAX_ERROR_INVALID_PARAMETER_ID"},
                 {-20004, "AAX_ERROR_NULL_OBJECT"},
                 {-20022, "AAX_RESULT_PACKET_STREAM_NOT_EMPTY"},
                 {-20028, "AAX_RESULT_NEW_PACKET_POSTED"},
                 {-20042, "AAX_ERROR_UNKNOWN_EXCEPTION"},
                 {-20046, "AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW"},
                 {-20047, "<unknown error code>"},
                 {-20000, "<unknown error code>"},
                 {1, "<unknown error code>"}};
    for (const auto& c : cases)
        EXPECT_EQ(AAX_ResultName(c.code), c.name) << c.code;
    // Every code from -20001 to -20046 has a name of its own.
    for (AAX_Result code = -20046; code <= -20001; ++code)
        EXPECT_EQ(AAX_ResultName(code).rfind("AAX_", 0), 0u) << code;
}

TEST(AaxException, ResultErrorCarriesCodeAndComposedMessage) {
    const AAX::Exception::ResultError error(AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_EQ(error.Result(), -20042);
    EXPECT_EQ(error.Message(), "AAX_ERROR_UNKNOWN_EXCEPTION (-20042)");
    EXPECT_EQ(error.What(), error.Message());
    const AAX::Exception::ResultError copy(error);
    EXPECT_EQ(copy.Result(), -20042);
    EXPECT_EQ(copy.What(), "AAX_ERROR_UNKNOWN_EXCEPTION (-20042)");
    EXPECT_EQ(AAX::Exception::ResultError(7).What(), "<unknown error code> (7)");
}

using AaxCheckedResult = AaxFixture;

TEST_F(AaxCheckedResult, SuccessIsSilentAndFailureTracesOnceThenThrows) {
    startHostServices();
    EXPECT_NO_THROW(AAX_CheckedResult ok(AAX_SUCCESS));
    EXPECT_TRUE(model.traces.empty());

    AAX_CheckedResult holder;
    try {
        holder = AAX_ERROR_NULL_OBJECT;
        FAIL() << "no exception";
    } catch (const AAX::Exception::ResultError& error) {
        EXPECT_EQ(error.Result(), AAX_ERROR_NULL_OBJECT);
    }
    EXPECT_EQ(holder.Result(), AAX_SUCCESS);
    EXPECT_EQ(holder.LastError(), AAX_ERROR_NULL_OBJECT);
    ASSERT_EQ(model.traces.size(), 1u);
    EXPECT_EQ(model.traces[0].priority, 0x04000000);
    EXPECT_EQ(model.traces[0].text, "AAX_CheckedResult - throwing AAX_ERROR_NULL_OBJECT (-20004)");
}

using AaxDiagnostics = AaxFixture;

TEST_F(AaxDiagnostics, NothingReachesAHostBeforeStartUp) {
    EXPECT_EQ(AAX_Trace(0x08000000, "%s", "dropped"), AAX_SUCCESS);
    EXPECT_EQ(AAX_HandleAssertFailure("file", 1, "note", 1), AAX_SUCCESS);
    EXPECT_THROW(AAX_CheckedResult{AAX_ERROR_UNIMPLEMENTED}, AAX::Exception::ResultError);
    EXPECT_TRUE(model.calls.empty());
}

TEST_F(AaxDiagnostics, TracesAreFormattedAndCutToTheBuffer) {
    startHostServices();
    EXPECT_EQ(AAX_Trace(0x08000000, "%s %d", "answer", 42), AAX_SUCCESS);
    const std::string longText(2000, 'x');
    AAX_Trace(0x04000000, "<%s>", longText.c_str());
    ASSERT_EQ(model.traces.size(), 2u);
    EXPECT_EQ(model.traces[0].text, "answer 42");
    EXPECT_EQ(model.traces[1].text, "<" + std::string(510, 'x'));

    EXPECT_EQ(
        AAX_HandleAssertFailure("AAX_CEffectParameters.cpp", 128, "mNumChunkedParameters >= 0", 1),
        AAX_SUCCESS);
    ASSERT_EQ(model.assertions.size(), 1u);
    EXPECT_EQ(model.assertions[0].file, "AAX_CEffectParameters.cpp");
    EXPECT_EQ(model.assertions[0].line, 128);
    EXPECT_EQ(model.assertions[0].note, "mNumChunkedParameters >= 0");
    EXPECT_EQ(model.assertions[0].flags, 1);
}

TEST_F(AaxDiagnostics, OlderHostServicesAnswerWithoutCrashing) {
    // Version 1 only: traces arrive, assertion reports do not fall back to it.
    model.omitted = {IID_IAAXHostServicesV2, IID_IAAXHostServicesV3};
    startHostServices();
    EXPECT_EQ(AAX_Trace(0x08000000, "kept"), AAX_SUCCESS);
    EXPECT_EQ(AAX_HandleAssertFailure("f", 2, "n", 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(gHostServices->Operation3(nullptr, nullptr, nullptr), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(model.traces.size(), 1u);
    EXPECT_TRUE(model.assertions.empty());
    EXPECT_FALSE(model.called("HostServices.1"));
}

TEST_F(AaxDiagnostics, HostWithoutFactoryHasNoHostServices) {
    model.omitted = {IID_IACFComponentFactory};
    startHostServices();
    EXPECT_EQ(AAX_Trace(0x08000000, "lost"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(AAX_HandleAssertFailure("f", 2, "n", 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE(model.traces.empty());
}

} // namespace
