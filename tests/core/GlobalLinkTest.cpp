// Linking parameters across instances: edits repeated on every linked instance and reported to
// each host once, adopting the shared values on linking and restoring on unlinking.

#include "vst/CPluginFactory.h"
#include "vst2wrapper/Vst2Wrapper.h"
#include "core/ClassFactory.h"
#include "core/CoreIds.h"
#include "support/EffectFixture.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

const ParamID kLink = SorvLib::kGlobalLinkId;

// One initialised test effect with the option on, its own host context and handler.
struct Linkable {
    explicit Linkable(double level = 0.5) : effect(new TestEffect) {
        effect->setGlobalLinkEnabled(true);
        EXPECT_EQ(effect->initialize(context.unknown()), kResultOk);
        effect->setComponentHandler(&handler);
        effect->setParamNormalized(kLevelId, level);
    }
    ~Linkable() {
        effect->terminate();
        effect->release();
    }
    TestEffect* operator->() const { return effect; }
    size_t count(char kind, ParamID id) const {
        return static_cast<size_t>(
            std::count(handler.calls.begin(), handler.calls.end(), std::make_pair(kind, id)));
    }

    TestHostContext context;
    TestComponentHandler handler;
    TestEffect* effect;
};

// A knob turn as the editor makes it.
void turn(Linkable& instance, ParamID id, double value) {
    instance->beginEdit(id);
    instance->setParamNormalized(id, value);
    instance->performEdit(id, instance->getParamNormalized(id));
    instance->endEdit(id);
}

TEST(GlobalLink, LinkedInstancesShareEditsAndEachHostHearsThemOnce) {
    Linkable a(0.2), b(0.4), alone(0.6);
    ASSERT_NE(a->getParameterObject(kLink), nullptr);
    EXPECT_EQ(a->getParameterObject(kLink)->getInfo().flags, ParameterInfo::kIsList);
    a->setGlobalLink(true, false);
    b->setGlobalLink(true, false);
    EXPECT_EQ(b->getParamNormalized(kLevelId), 0.2) << "the second to link takes the shared values";

    a.handler.calls.clear();
    b.handler.calls.clear();
    turn(a, kLevelId, 0.7);
    EXPECT_EQ(b->getParamNormalized(kLevelId), 0.7);
    EXPECT_EQ(alone->getParamNormalized(kLevelId), 0.6) << "not linked";
    for (Linkable* host : {&a, &b})
        for (char kind : {'b', 'p', 'e'})
            EXPECT_EQ(host->count(kind, kLevelId), 1u) << kind;
    EXPECT_TRUE(alone.handler.calls.empty());

    // Read-only parameters and the link itself are never linked.
    a->setParamNormalized(kMeterId, 0.9);
    EXPECT_EQ(b->getParamNormalized(kMeterId), 0.0);
    a->setGlobalLink(false, false);
    EXPECT_EQ(b->getParamNormalized(kLink), 1.0);
    EXPECT_EQ(a->getParamNormalized(kLevelId), 0.2) << "unlinking restores the values before";
    turn(b, kLevelId, 0.1);
    EXPECT_EQ(a->getParamNormalized(kLevelId), 0.2);

    // A third takes the shared values and reports them to its host; unlinking restores its own.
    Linkable c(0.8);
    c->setParamNormalized(kStepsId, 0.3);
    c->setGlobalLink(true, false);
    EXPECT_EQ(c->getParamNormalized(kLevelId), 0.1);
    EXPECT_EQ(c->getParamNormalized(kStepsId), b->getParamNormalized(kStepsId));
    EXPECT_EQ(c.count('p', kLevelId), 1u);
    c->setGlobalLink(false, false);
    EXPECT_EQ(c->getParamNormalized(kLevelId), 0.8);
    EXPECT_EQ(c->getParamNormalized(kStepsId), 0.3);

    // setGlobalLink for all instances links every registered one.
    a->setGlobalLink(true, true);
    for (Linkable* instance : {&a, &b, &c, &alone})
        EXPECT_EQ((*instance)->getParamNormalized(kLink), 1.0);
}

TEST(GlobalLink, TheNextToLinkAfterTheLastEndedSeedsTheSharedValues) {
    {
        Linkable a(0.2), b(0.4);
        a->setGlobalLink(true, true);
        EXPECT_EQ(b->getParamNormalized(kLevelId), 0.2);
    }
    Linkable d(0.6), e(0.9);
    d->setGlobalLink(true, false);
    e->setGlobalLink(true, false);
    EXPECT_EQ(e->getParamNormalized(kLevelId), 0.6);
}

TEST(GlobalLink, OffInTheProductAndLeftOutOfExportedPresets) {
    // Without the option: no parameter, and switching does nothing.
    EffectFixture plain;
    plain->setGlobalLink(true, true);
    EXPECT_EQ(plain->getParameterObject(kLink), nullptr);

    // The preset exporter hosts the effect under its VST 2 wrapper with its own name.
    struct LinkEffect : TestEffect {
        LinkEffect() { setGlobalLinkEnabled(true); }
    };
    CPluginFactory factory(PFactoryInfo("Test", "", "", PFactoryInfo::kUnicode));
    TUID cid;
    SorvLib::convertVst2UidToFuid(0x4C696E6B, "Link", false).toTUID(cid);
    PClassInfo2 info(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, "Link", 0, "Fx", "",
                     "1.0.0.0", "VST 3.7.1");
    factory.registerClass(
        &info, [](void*) -> FUnknown* { return static_cast<IAudioProcessor*>(new LinkEffect); });
    for (const char* hostName : {"SorvPresetExtractor", "Some Host"}) {
        static std::string name;
        name = hostName;
        auto callback = [](AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                           float) -> VstIntPtr {
            if (opcode == audioMasterGetProductString && ptr) {
                std::strcpy(static_cast<char*>(ptr), name.c_str());
                return 1;
            }
            return opcode == audioMasterVersion ? 2400 : 0;
        };
        AudioEffect* effect = Vst2Wrapper::create(&factory, cid, 0x4C696E6B, callback);
        ASSERT_NE(effect, nullptr);
        void* chunk = nullptr;
        const VstInt32 size = effect->getChunk(&chunk, false);
        // Header, then the state: 16 bytes and a row for each of bypass, program, link and the
        // three test parameters, less the link for the exporter.
        const bool exporter = name == "SorvPresetExtractor";
        EXPECT_EQ(size, 16 + 16 + 8 * (exporter ? 5 : 6)) << hostName;
        effect->getAeffect()->dispatcher(effect->getAeffect(), effClose, 0, 0, nullptr, 0);
    }
}

} // namespace
