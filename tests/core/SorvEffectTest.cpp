// The framework effect's construction, buses, faces, program list and timer.

#include "core/CoreIds.h"
#include "support/EffectFixture.h"

#include "vst/IGainReductionInfo.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

std::string ascii(const TChar* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

std::string busName(TestEffect& effect, BusDirection direction) {
    BusInfo info = {};
    EXPECT_EQ(effect.getBusInfo(kAudio, direction, 0, info), kResultTrue);
    return ascii(info.name);
}

TEST(SorvEffect, NativeHostGetsStereoBusesAndBypassButNoPrograms) {
    EffectFixture effect(WrapperKind::None);
    EXPECT_EQ(effect->getBusCount(kAudio, kInput), 1);
    EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(busName(*effect, kInput), "Stereo In");
    EXPECT_EQ(busName(*effect, kOutput), "Stereo Out");

    ParameterInfo info = {};
    ASSERT_EQ(effect->getParameterInfo(0, info), kResultOk);
    EXPECT_EQ(info.id, SorvLib::kMasterBypassId);
    EXPECT_EQ(ascii(info.title), "Master Bypass");
    EXPECT_EQ(info.flags, 0x10009);
    EXPECT_EQ(info.stepCount, 1);
    EXPECT_EQ(effect->getParameterCount(), 4);
    EXPECT_EQ(effect->getUnitCount(), 0);
    EXPECT_EQ(effect->getProgramListCount(), 0);
    EXPECT_EQ(effect->countOfPatches(), 0);
}

TEST(SorvEffect, AaxHostGetsNoProgramList) {
    EffectFixture effect(WrapperKind::AAX);
    EXPECT_EQ(effect->getHostFormat(), SorvLib::kHostAAX);
    EXPECT_EQ(effect->getProgramListCount(), 0);
    EXPECT_EQ(effect->countOfPatches(), 0);
}

TEST(SorvEffect, Vst2WrapperGetsRootUnitAndNumberedPrograms) {
    EffectFixture effect(WrapperKind::Vst2);
    EXPECT_EQ(effect->countOfPatches(), 3);
    ASSERT_EQ(effect->getUnitCount(), 1);
    UnitInfo unit = {};
    ASSERT_EQ(effect->getUnitInfo(0, unit), kResultTrue);
    EXPECT_EQ(ascii(unit.name), "Root");
    EXPECT_EQ(unit.programListId, static_cast<ProgramListID>(SorvLib::kProgramId));

    ProgramListInfo list = {};
    ASSERT_EQ(effect->getProgramListInfo(0, list), kResultTrue);
    EXPECT_EQ(ascii(list.name), "Prog");
    EXPECT_EQ(list.programCount, 3);
    String128 name = {};
    ASSERT_EQ(effect->getProgramName(SorvLib::kProgramId, 0, name), kResultTrue);
    EXPECT_EQ(ascii(name), "01 First");
    ASSERT_EQ(effect->getProgramName(SorvLib::kProgramId, 2, name), kResultTrue);
    EXPECT_EQ(ascii(name), "03 Third");

    ParameterInfo info = {};
    ASSERT_EQ(effect->getParameterInfo(1, info), kResultOk);
    EXPECT_EQ(info.id, SorvLib::kProgramId);
    EXPECT_EQ(info.flags & ParameterInfo::kCanAutomate, 0);
    EXPECT_NE(info.flags & ParameterInfo::kIsProgramChange, 0);
}

TEST(SorvEffect, SinglePatchOffersNoProgramList) {
    static const SorvLib::Patch<1> only = {"Only", {{SorvLib::kPatchEndId, -1.0f}}};
    static const SorvLib::PatchRef list[] = {&only, nullptr};
    EffectFixture effect(WrapperKind::Vst2, list);
    EXPECT_EQ(effect->getProgramListCount(), 0);
}

TEST(SorvEffect, EmptyPatchListOffersNoPrograms) {
    static const SorvLib::PatchRef none[] = {nullptr};
    EffectFixture effect(WrapperKind::Vst2, none);
    EXPECT_EQ(effect->countOfPatches(), 0);
    EXPECT_EQ(effect->getProgramListCount(), 0);
    EXPECT_EQ(effect->setParamNormalized(SorvLib::kProgramId, 1.0), kResultFalse);
}

TEST(SorvEffect, ProgramNamesAreDecodedFromUtf8) {
    static const SorvLib::Patch<1> first = {"Caf\xC3\xA9", {{SorvLib::kPatchEndId, -1.0f}}};
    static const SorvLib::Patch<1> second = {"Two", {{SorvLib::kPatchEndId, -1.0f}}};
    static const SorvLib::PatchRef list[] = {&first, &second, nullptr};
    EffectFixture effect(WrapperKind::Vst2, list);
    String128 name = {};
    ASSERT_EQ(effect->getProgramName(SorvLib::kProgramId, 0, name), kResultTrue);
    EXPECT_EQ(name[6], 0x00E9);
    EXPECT_EQ(name[7], 0);
}

TEST(SorvEffect, AnswersItsRunTimeClassAndBases) {
    EffectFixture effect;
    EXPECT_STREQ(effect->isA(), "SorvEffect");
    for (const char* name : {"SorvEffect", "SingleComponentEffect", "EditControllerEx1",
                             "EditController", "ComponentBase", "FObject"})
        EXPECT_TRUE(effect->isTypeOf(name, true)) << name;
    EXPECT_FALSE(effect->isTypeOf("SingleComponentEffect", false));
}

TEST(SorvEffect, InterfaceQueryAnswersItsFaces) {
    EffectFixture effect;
    void* face = nullptr;
    EXPECT_EQ(effect->queryInterface(IConnectionPoint::iid, &face), kNoInterface);
    EXPECT_EQ(face, nullptr);
    for (const FUID* iid :
         {&IComponent::iid, &IAudioProcessor::iid, &IProcessContextRequirements::iid,
          &IEditController::iid, &IEditController2::iid, &IUnitInfo::iid,
          &Presonus::IGainReductionInfo::iid}) {
        face = nullptr;
        ASSERT_EQ(effect->queryInterface(*iid, &face), kResultOk);
        ASSERT_NE(face, nullptr);
        static_cast<FUnknown*>(face)->release();
    }
    auto* gain = static_cast<Presonus::IGainReductionInfo*>(nullptr);
    ASSERT_EQ(
        effect->queryInterface(Presonus::IGainReductionInfo::iid, reinterpret_cast<void**>(&gain)),
        kResultOk);
    EXPECT_EQ(gain->getGainReductionValueInDecibels(), 0.0);
    gain->release();
}

TEST(SorvEffect, MonoAndStereoArrangementsAreAcceptedAndRenameTheBuses) {
    EffectFixture effect;
    SpeakerArrangement mono = SpeakerArr::kMono;
    EXPECT_EQ(effect->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    EXPECT_EQ(busName(*effect, kInput), "Mono In");
    EXPECT_EQ(busName(*effect, kOutput), "Mono Out");
    SpeakerArrangement arrangement = 0;
    EXPECT_EQ(effect->getBusArrangement(kOutput, 0, arrangement), kResultTrue);
    EXPECT_EQ(arrangement, SpeakerArr::kMono);

    SpeakerArrangement stereo = SpeakerArr::kStereo;
    EXPECT_EQ(effect->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
    EXPECT_EQ(busName(*effect, kInput), "Stereo In");
    EXPECT_EQ(busName(*effect, kOutput), "Stereo Out");
}

TEST(SorvEffect, RefusedArrangementsLeaveTheBusesAlone) {
    EffectFixture effect;
    SpeakerArrangement mono = SpeakerArr::kMono;
    ASSERT_EQ(effect->setBusArrangements(&mono, 1, &mono, 1), kResultOk);

    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement three = SpeakerArr::k30Cine;
    EXPECT_EQ(effect->setBusArrangements(&stereo, 1, &mono, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(&three, 1, &three, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(&stereo, 0, &stereo, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 1, nullptr, 1), kResultFalse);
    EXPECT_EQ(busName(*effect, kInput), "Mono In");
    EXPECT_EQ(busName(*effect, kOutput), "Mono Out");
}

TEST(SorvEffect, ProcessesBothSampleSizesOnly) {
    EffectFixture effect;
    EXPECT_EQ(effect->canProcessSampleSize(kSample32), kResultTrue);
    EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultTrue);
    EXPECT_EQ(effect->canProcessSampleSize(2), kResultFalse);
}

TEST(SorvEffect, OffersTheEditorOnlyByItsExactName) {
    EffectFixture effect;
    EXPECT_EQ(effect->createView(nullptr), nullptr);
    EXPECT_EQ(effect->createView("Editor"), nullptr);
    EXPECT_EQ(effect->createView("editorx"), nullptr);
    IPlugView* view = effect->createView("editor");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultTrue);
    EXPECT_EQ(view->release(), 0u);
}

TEST(SorvEffect, WithoutHostContextTheFormatIsUnknown) {
    auto* effect = new TestEffect();
    EXPECT_EQ(effect->getHostFormat(), SorvLib::kHostUnknown);
    effect->release();
    for (auto [kind, format] : {std::pair{WrapperKind::None, SorvLib::kHostVst3},
                                std::pair{WrapperKind::Vst2, SorvLib::kHostVst2},
                                std::pair{WrapperKind::AU, SorvLib::kHostAU},
                                std::pair{WrapperKind::AAX, SorvLib::kHostAAX}}) {
        EffectFixture fixture(kind);
        EXPECT_EQ(fixture->getHostFormat(), format);
        EXPECT_EQ(fixture.context.references(), 2) << "the effect keeps only its own reference";
    }
}

} // namespace
