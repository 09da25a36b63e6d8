// The ACF exports in-process: start-up and shut-down, the fixed answers, and registration
// with every outcome of the description, down to what the host receives.

#include "aaxwrapper/AAXWrapperDescription.h"
#include "AAX_Exception.h"
#include "AAX_Exports.h"
#include "AaxFixture.h"
#include "core/AaxDescription.h"
#include "core/ClassFactory.h"
#include "support/AaxExpectedDescription.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

using namespace SorvTest;

namespace {

using AaxExports = AaxFixture;

TEST_F(AaxExports, FixedAnswers) {
    acfUInt64 version = 0;
    EXPECT_EQ(ACFGetSDKVersion(&version), ACF_OK);
    const uint8_t expected[8] = {0xB4, 0xE5, 0xD5, 0x00, 0x03, 0x02, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(&version, expected, sizeof(expected)), 0);
    EXPECT_EQ(ACFGetSDKVersion(nullptr), AAX_ERROR_NULL_ARGUMENT);

    void* factory = &version;
    EXPECT_EQ(ACFGetClassFactory(host, AAXCompID_AAXCollection, IID_IACFUnknown, &factory),
              AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(ACFGetClassFactory(nullptr, AAXCompID_AAXCollection, IID_IACFUnknown, nullptr),
              AAX_ERROR_UNIMPLEMENTED);
    IACFUnknown* component = host;
    EXPECT_EQ(ACFRegisterComponent(host, 0, &component), ACF_OK);
    EXPECT_EQ(component, nullptr);
    EXPECT_EQ(ACFRegisterComponent(nullptr, 3, nullptr), ACF_OK);
    EXPECT_TRUE(model.calls.empty());
}

TEST_F(AaxExports, StartUpKeepsTheFirstHostServicesUntilShutDown) {
    AaxHostModel other;
    IACFUnknown* otherHost = other.newHost();
    ASSERT_EQ(ACFStartup(host), ACF_OK);
    ASSERT_EQ(ACFStartup(otherHost), ACF_OK);
    EXPECT_EQ(other.liveObjects, 1) << "the second start-up must not make host services";
    AAX_Trace(0x08000000, "first");
    EXPECT_EQ(model.traces.size(), 1u);
    EXPECT_EQ(ACFCanUnloadNow(host), 0);

    EXPECT_EQ(ACFShutdown(otherHost), ACF_OK);
    EXPECT_EQ(ACFShutdown(host), ACF_OK);
    EXPECT_EQ(gHostServices, nullptr);
    EXPECT_EQ(AAX_Trace(0x08000000, "after"), AAX_SUCCESS);
    EXPECT_EQ(model.traces.size(), 1u);
    EXPECT_EQ(otherHost->Release(), 0u);

    EXPECT_EQ(ACFStartup(nullptr), ACF_OK);
    EXPECT_EQ(gHostServices, nullptr);
    EXPECT_EQ(ACFShutdown(nullptr), ACF_OK);
}

AAX_Result describeQuor515(AAX_ICollection* collection) {
    return AAXWrapper_DescribeEffect(collection, SorvLib::makeAaxDescription());
}

TEST(AaxDescription, EffectIdsAndTypeIds) {
    EXPECT_EQ(SorvLib::makeAaxId(""), aaxFourCC("JDAM")); // from the offset basis alone
    for (const AaxExpectedLayout& layout : aaxExpectedLayouts()) {
        SCOPED_TRACE(layout.effectId);
        const std::string id = layout.effectId;
        EXPECT_EQ(SorvLib::makeAaxId(id + ".aaxnative"), layout.nativeId);
        EXPECT_EQ(SorvLib::makeAaxId(id + ".aaxaudiosuite"), layout.audioSuiteId);
        const uint32_t typeId = SorvLib::makeAaxId(id + ".aaxnative");
        for (int shift = 0; shift < 32; shift += 8) {
            const char letter = static_cast<char>(typeId >> shift);
            EXPECT_TRUE((letter >= 'A' && letter <= 'Z') || (letter >= '2' && letter <= '7'));
        }
    }
    EXPECT_EQ(SorvLib::makeAaxEffectId(1, 1), aaxExpectedLayouts()[0].effectId);
    EXPECT_EQ(SorvLib::makeAaxEffectId(2, 2), aaxExpectedLayouts()[1].effectId);
}

// The rows as the wrapper reads them, on a first and a repeated call alike.
TEST(AaxDescription, OneRowPerLayoutTheEffectAccepts) {
    Steinberg::TUID classId;
    SorvLib::kProcessorUID.toTUID(classId);
    const AAX_Effect_Desc* first = SorvLib::makeAaxDescription();
    for (int call = 0; call < 2; ++call) {
        SCOPED_TRACE(call);
        const AAX_Effect_Desc* description = SorvLib::makeAaxDescription();
        ASSERT_NE(description, nullptr);
        EXPECT_EQ(description, first);
        EXPECT_STREQ(description->mCategory, "Fx|Reverb");
        EXPECT_EQ(std::memcmp(description->mVST3PluginID, classId, sizeof(classId)), 0);
        const AAX_Plugin_Desc* rows = description->mPluginDesc;
        for (int row = 0; row < 2; ++row) {
            SCOPED_TRACE(row);
            EXPECT_STREQ(rows[row].mEffectID, aaxExpectedLayouts()[row].effectId);
            EXPECT_EQ(rows[row].mInputChannels, row + 1);
            EXPECT_EQ(rows[row].mOutputChannels, row + 1);
            EXPECT_EQ(rows[row].mSideChainInputChannels, 0);
            EXPECT_EQ(rows[row].mMIDIports, nullptr);
            EXPECT_EQ(rows[row].mAuxOutputChannels, nullptr);
            EXPECT_EQ(rows[row].mLatency, 0);
            ASSERT_NE(rows[row].mMeters, nullptr);
            EXPECT_STREQ(rows[row].mMeters[0].mName, "GR Meter");
            EXPECT_EQ(rows[row].mMeters[1].mName, nullptr);
        }
        EXPECT_EQ(rows[2].mEffectID, nullptr) << "only mono and stereo are accepted";
    }
}

using AaxRegistration = AaxFixture;

TEST_F(AaxRegistration, HandsTheHostACompleteDescription) {
    for (bool newestComponents : {true, false}) {
        SCOPED_TRACE(newestComponents);
        model.omitted.clear();
        if (!newestComponents)
            model.omitted = {IID_IAAXComponentDescriptorV3};
        IACFPluginDefinition* definition = nullptr;
        ASSERT_EQ(AAX_RegisterPluginWith(host, &definition, &describeQuor515), ACF_OK);
        ASSERT_NE(definition, nullptr);
        ASSERT_EQ(model.collections.size(), 1u);
        expectQuor515Description(*model.collections[0], newestComponents ? "all" : "native");
        EXPECT_EQ(gLiveObjectCount.load(), liveAtStart);
        EXPECT_EQ(definition->Release(), 0u);
        EXPECT_EQ(model.liveObjects, 1) << "only the host unknown may be left";
    }
}

AAX_Result failDuplicate(AAX_ICollection*) {
    return AAX_ERROR_DUPLICATE_EFFECT_ID;
}
AAX_Result throwAny(AAX_ICollection*) {
    throw AAX::Exception::Any("no layouts");
}
AAX_Result throwStandard(AAX_ICollection*) {
    throw std::runtime_error("out of memory");
}
AAX_Result throwOther(AAX_ICollection*) {
    throw 5;
}
AAX_Result describeNothing(AAX_ICollection*) {
    return AAX_SUCCESS;
}

TEST_F(AaxRegistration, EveryFailureIsTracedAndAnswered) {
    const std::string caught = "AAXRegisterPlugin exception caught: ";
    const struct {
        const char* name;
        AAX_DescribeFunction describe;
        std::vector<acfIID> omitted;
        ACFRESULT result;
        std::vector<std::string> traces; // the checked result's, then the catch's
    } cases[] = {
        {"description fails",
         &failDuplicate,
         {},
         AAX_ERROR_DUPLICATE_EFFECT_ID,
         {"AAX_CheckedResult - throwing AAX_ERROR_DUPLICATE_EFFECT_ID (-20035)",
          caught + "AAX_ERROR_DUPLICATE_EFFECT_ID (-20035)"}},
        {"library exception", &throwAny, {}, AAX_ERROR_UNKNOWN_EXCEPTION, {caught + "no layouts"}},
        {"standard exception",
         &throwStandard,
         {},
         AAX_ERROR_UNKNOWN_EXCEPTION,
         {caught + "out of memory"}},
        {"other exception", &throwOther, {}, AAX_ERROR_UNKNOWN_EXCEPTION, {caught + "unknown"}},
        {"no registration face",
         &describeQuor515,
         {IID_IACFPluginDefinition},
         AAX_ERROR_NULL_OBJECT,
         {"AAX_CheckedResult - throwing AAX_ERROR_NULL_OBJECT (-20004)",
          caught + "AAX_ERROR_NULL_OBJECT (-20004)"}},
        // Without any host collection the hand-over itself fails, of no known kind.
        {"no host collection",
         &describeNothing,
         {IID_IAAXCollectionV1},
         AAX_ERROR_UNKNOWN_EXCEPTION,
         {caught + "unknown"}},
        {"no component factory",
         &describeNothing,
         {IID_IACFComponentFactory},
         AAX_ERROR_UNKNOWN_EXCEPTION,
         {caught + "unknown"}},
    };
    startHostServices();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        model.omitted = c.omitted;
        model.traces.clear();
        auto* untouched = reinterpret_cast<IACFPluginDefinition*>(&model);
        IACFPluginDefinition* definition = untouched;
        EXPECT_EQ(AAX_RegisterPluginWith(host, &definition, c.describe), c.result);
        // The out pointer is cleared only once the description succeeded.
        const bool described = c.describe == &describeNothing || c.describe == &describeQuor515;
        EXPECT_EQ(definition, described ? nullptr : untouched);
        ASSERT_EQ(model.traces.size(), c.traces.size());
        for (size_t i = 0; i < c.traces.size(); ++i) {
            EXPECT_EQ(model.traces[i].text, c.traces[i]);
            EXPECT_EQ(model.traces[i].priority, i + 1 < c.traces.size() ? 0x04000000 : 0x08000000);
        }
        EXPECT_TRUE(model.collections.empty()) << "the collection must be released";
    }
}

TEST_F(AaxRegistration, HostResultsEndTheDescription) {
    model.addEffectResult = AAX_ERROR_DUPLICATE_EFFECT_ID;
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(AAX_RegisterPluginWith(host, &definition, &describeQuor515),
              AAX_ERROR_DUPLICATE_EFFECT_ID);
    EXPECT_EQ(definition, nullptr);
    // A host without component factory fails the description at its first step.
    model.omitted = {IID_IACFComponentFactory};
    model.calls.clear();
    EXPECT_EQ(AAX_RegisterPluginWith(host, &definition, &describeQuor515), AAX_ERROR_NULL_OBJECT);
    EXPECT_FALSE(model.called("Collection.AddEffect"));
}

TEST_F(AaxRegistration, TheModuleRegistersItsOwnDescription) {
    ASSERT_EQ(ACFStartup(host), ACF_OK);
    IACFPluginDefinition* definition = nullptr;
    ASSERT_EQ(ACFRegisterPlugin(host, &definition), ACF_OK);
    ASSERT_NE(definition, nullptr);
    EXPECT_TRUE(model.traces.empty());
    ASSERT_EQ(model.collections.size(), 1u);
    expectQuor515Description(*model.collections[0], "all");
    EXPECT_EQ(definition->Release(), 0u);
    EXPECT_EQ(ACFRegisterPlugin(host, nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(ACFCanUnloadNow(host), 0);
    EXPECT_EQ(ACFShutdown(host), ACF_OK);
}

TEST_F(AaxRegistration, NoExceptionLeavesAnExport) {
    ASSERT_EQ(ACFStartup(host), ACF_OK);
    model.throwing = true; // every host call, traces included, throws from now on
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(ACFRegisterPlugin(host, &definition), ACF_E_UNEXPECTED);
    EXPECT_EQ(ACFStartup(host), ACF_OK) << "the first host services stay; nothing is asked";
    EXPECT_EQ(ACFShutdown(host), ACF_OK);
    EXPECT_EQ(ACFShutdown(host), ACF_OK);

    EXPECT_EQ(ACFStartup(host), ACF_E_UNEXPECTED);
    EXPECT_EQ(gHostServices, nullptr);
    model.throwing = false;
}

} // namespace
