// The class factory and the processor class id.

#include "core/ClassFactory.h"
#include "engine/QUOR515Ids.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <gtest/gtest.h>

#include <string>

using namespace Steinberg;

namespace {

std::string uidText(const FUID& uid) {
    char8 text[33] = {};
    uid.toString(text);
    return text;
}

TEST(ProcessorClassId, IsBuiltFromPrefixVst2IdAndLowerCasedName) {
    EXPECT_EQ(uidText(SorvLib::kProcessorUID), "565354"
                                               "53517235"
                                               "71756F722D353135"
                                               "00");
    EXPECT_TRUE(SorvLib::convertVst2UidToFuid(SorvLib::kVst2UniqueId, "QUOR-515", false) ==
                SorvLib::kProcessorUID);
}

TEST(ProcessorClassId, ControllerFlagChangesOnlyThePrefix) {
    std::string text =
        uidText(SorvLib::convertVst2UidToFuid(SorvLib::kVst2UniqueId, "QUOR-515", true));
    EXPECT_EQ(text.substr(0, 6), "565345");
    EXPECT_EQ(text.substr(6), uidText(SorvLib::kProcessorUID).substr(6));
}

TEST(ProcessorClassId, NameContributesExactlyNineBytes) {
    std::string longName = uidText(SorvLib::convertVst2UidToFuid(1, "ABCDEFGHIJKL", false));
    EXPECT_EQ(longName, "565354"
                        "00000001"
                        "616263646566676869");
    std::string empty = uidText(SorvLib::convertVst2UidToFuid(1, "", false));
    EXPECT_EQ(empty, "565354"
                     "00000001"
                     "000000000000000000");
}

TEST(ProcessorClassId, BytesAboveAsciiKeepTheirLowEightBits) {
    std::string text = uidText(SorvLib::convertVst2UidToFuid(0, "\xC4Z", false));
    EXPECT_EQ(text.substr(14, 4), "C47A");
}

TEST(ClassFactory, SecondRequestSharesTheFactoryWithOneMoreReference) {
    IPluginFactory* factory = GetPluginFactory();
    ASSERT_NE(factory, nullptr);
    IPluginFactory* again = GetPluginFactory();
    EXPECT_EQ(factory, again);
    EXPECT_EQ(again->release(), 1u);
    EXPECT_EQ(factory->countClasses(), 1);
    EXPECT_EQ(factory->release(), 0u);

    // After the last release a new request builds a new factory with the same class.
    IPluginFactory* fresh = GetPluginFactory();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->countClasses(), 1);
    EXPECT_EQ(fresh->release(), 0u);
}

TEST(ClassFactory, CreatesTheEffectByItsClassId) {
    IPluginFactory* factory = GetPluginFactory();
    TUID cid;
    SorvLib::kProcessorUID.toTUID(cid);
    Vst::IComponent* component = nullptr;
    ASSERT_EQ(
        factory->createInstance(cid, Vst::IComponent::iid, reinterpret_cast<void**>(&component)),
        kResultOk);
    ASSERT_NE(component, nullptr);
    Vst::IAudioProcessor* processor = nullptr;
    EXPECT_EQ(
        component->queryInterface(Vst::IAudioProcessor::iid, reinterpret_cast<void**>(&processor)),
        kResultOk);
    processor->release();
    EXPECT_EQ(component->release(), 0u);

    TUID unknown = {};
    void* none = reinterpret_cast<void*>(1);
    EXPECT_NE(factory->createInstance(unknown, Vst::IComponent::iid, &none), kResultOk);
    EXPECT_EQ(none, nullptr);
    factory->release();
}

} // namespace
