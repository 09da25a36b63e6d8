// Loads the built module the way a VST 3 host does: LoadLibrary, InitDll,
// GetPluginFactory, class records, component creation, buses, then everything released
// before ExitDll and FreeLibrary.

#include "hosts/LoadedModule.h"
#include "support/TestHostContext.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

TEST_F(Vst3Host, FactoryDescribesOneEffectClass) {
    ASSERT_TRUE(initDll());
    IPluginFactory* factory = getFactory();
    ASSERT_NE(factory, nullptr);

    PFactoryInfo info = {};
    ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
    EXPECT_STREQ(info.vendor, "Sorv Audio Labs");
    EXPECT_EQ(info.flags, 16);
    ASSERT_EQ(factory->countClasses(), 1);

    IPluginFactory3* factory3 = nullptr;
    ASSERT_EQ(factory->queryInterface(IPluginFactory3::iid, reinterpret_cast<void**>(&factory3)),
              kResultOk);
    PClassInfo2 info2 = {};
    ASSERT_EQ(factory3->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.category, "Audio Module Class");
    EXPECT_STREQ(info2.name, "QUOR-515");
    EXPECT_STREQ(info2.subCategories, "Fx|Reverb");
    EXPECT_STREQ(info2.version, "1.0.0.0");
    EXPECT_STREQ(info2.sdkVersion, "VST 3.7.1");
    EXPECT_STREQ(info2.vendor, "");
    EXPECT_EQ(info2.cardinality, PClassInfo::kManyInstances);
    EXPECT_EQ(info2.classFlags, 0u);
    // "VST", the VST 2 id SQr5, then the lower-cased name bytes of QUOR-515 and one zero.
    FUID expected;
    ASSERT_TRUE(expected.fromString("565354"
                                    "53517235"
                                    "71756F722D353135"
                                    "00"));
    EXPECT_TRUE(FUID::fromTUID(info2.cid) == expected);

    PClassInfoW infoW = {};
    ASSERT_EQ(factory3->getClassInfoUnicode(0, &infoW), kResultOk);
    EXPECT_EQ(utf8(infoW.name), "QUOR-515");
    EXPECT_EQ(std::memcmp(infoW.cid, info2.cid, sizeof(TUID)), 0);
    factory3->release();

    // A second request shares the factory.
    IPluginFactory* again = getFactory();
    EXPECT_EQ(again, factory);
    EXPECT_EQ(again->release(), 1u);
    EXPECT_EQ(factory->release(), 0u);
    EXPECT_TRUE(exitDll());
}

TEST_F(Vst3Host, ModuleReferencesNest) {
    EXPECT_FALSE(exitDll()) << "ExitDll without InitDll";
    EXPECT_TRUE(initDll());
    EXPECT_TRUE(initDll());
    EXPECT_TRUE(exitDll());
    EXPECT_TRUE(exitDll());
    EXPECT_FALSE(exitDll());
}

TEST_F(Vst3Host, EffectInitialisesWithBusesAndBypassAndSetsArrangements) {
    ASSERT_TRUE(initDll());
    IPluginFactory* factory = getFactory();
    Component effect = createComponent(factory);
    ASSERT_NE(effect.component, nullptr);
    ASSERT_NE(effect.processor, nullptr);
    ASSERT_NE(effect.controller, nullptr);

    SorvTest::TestHostContext context;
    ASSERT_EQ(effect.component->initialize(context.unknown()), kResultOk);
    EXPECT_EQ(effect.component->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(effect.component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(busName(effect.component, kInput), "Stereo In");

    ParameterInfo info = {};
    ASSERT_EQ(effect.controller->getParameterInfo(0, info), kResultOk);
    EXPECT_EQ(utf8(info.title), "Master Bypass");
    EXPECT_NE(info.flags & ParameterInfo::kIsBypass, 0);

    SpeakerArrangement mono = SpeakerArr::kMono;
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    EXPECT_EQ(effect.processor->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);
    EXPECT_EQ(effect.processor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    EXPECT_EQ(busName(effect.component, kInput), "Mono In");
    EXPECT_EQ(busName(effect.component, kOutput), "Mono Out");
    EXPECT_EQ(effect.processor->canProcessSampleSize(kSample64), kResultTrue);

    void* none = nullptr;
    EXPECT_EQ(effect.component->queryInterface(IConnectionPoint::iid, &none), kNoInterface);

    EXPECT_EQ(effect.component->terminate(), kResultOk);
    effect.release();
    EXPECT_EQ(context.references(), 1);
    factory->release();
    EXPECT_TRUE(exitDll());
}

TEST_F(Vst3Host, ProgramListExistsOnlyUnderTheVst2Wrapper) {
    ASSERT_TRUE(initDll());
    IPluginFactory* factory = getFactory();
    for (auto kind :
         {SorvTest::WrapperKind::None, SorvTest::WrapperKind::Vst2, SorvTest::WrapperKind::AAX}) {
        Component effect = createComponent(factory);
        ASSERT_NE(effect.component, nullptr);
        SorvTest::TestHostContext context(kind);
        ASSERT_EQ(effect.component->initialize(context.unknown()), kResultOk);
        IUnitInfo* units = nullptr;
        ASSERT_EQ(
            effect.component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)),
            kResultOk);
        if (kind == SorvTest::WrapperKind::Vst2) {
            ASSERT_EQ(units->getProgramListCount(), 1);
            ProgramListInfo list = {};
            ASSERT_EQ(units->getProgramListInfo(0, list), kResultTrue);
            EXPECT_EQ(list.programCount, 8);
            String128 name = {};
            ASSERT_EQ(units->getProgramName(list.id, 0, name), kResultTrue);
            EXPECT_EQ(utf8(name), "01 Default");
            ASSERT_EQ(units->getProgramName(list.id, 7, name), kResultTrue);
            EXPECT_EQ(utf8(name), "08 Echo Chamber");
        } else {
            EXPECT_EQ(units->getProgramListCount(), 0);
            EXPECT_EQ(units->getUnitCount(), 0);
        }
        units->release();
        EXPECT_EQ(effect.component->terminate(), kResultOk);
        effect.release();
    }
    factory->release();
    EXPECT_TRUE(exitDll());
}

} // namespace
