// Step quantisation, unchanged values, bypass, program changes and the push into editors.

#include "core/CoreIds.h"
#include "support/EffectFixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

TEST(Quantisation, TwoEntryListSnapsOnlyFromJustBelowOne) {
    EffectFixture effect;
    const ParamID bypass = SorvLib::kMasterBypassId;
    EXPECT_EQ(effect->setParamNormalized(bypass, 0.5), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(bypass), 0.0);
    EXPECT_FALSE(effect->isBypassed());

    EXPECT_EQ(effect->setParamNormalized(bypass, 0.9999999), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(bypass), 1.0);
    EXPECT_TRUE(effect->isBypassed());

    EXPECT_EQ(effect->setParamNormalized(bypass, 0.0), kResultOk);
    EXPECT_EQ(effect->setParamNormalized(bypass, 0.99999986), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(bypass), 1.0);
    EXPECT_EQ(effect->setParamNormalized(bypass, 0.99999984), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(bypass), 0.0);
    EXPECT_FALSE(effect->isBypassed());
}

TEST(Quantisation, TenStepsKeepStepValuesAndFloorBetweenThem) {
    EffectFixture effect;
    effect->setParamNormalized(kStepsId, 0.3);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 3.0 / 10.0);
    effect->setParamNormalized(kStepsId, 0.35);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 3.0 / 10.0);
    effect->setParamNormalized(kStepsId, 0.7);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 7.0 / 10.0);
    effect->setParamNormalized(kStepsId, 1.0);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 1.0);
}

TEST(Quantisation, ContinuousParametersStoreTheExactValue) {
    EffectFixture effect;
    effect->setParamNormalized(kLevelId, 0.123456789);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.123456789);
}

TEST(ParameterPath, ChangedValuesReachEveryAttachedEditor) {
    EffectFixture effect;
    auto* attached = new TestView(&*effect);
    auto* detached = new TestView(&*effect);
    attached->attachTo(reinterpret_cast<void*>(0x1234));
    effect->editorAttached(attached);
    effect->editorAttached(detached);
    effect->setParamNormalized(kStepsId, 7.0);
    EXPECT_EQ(attached->pushed.back(), std::make_pair(kStepsId, 1.0));
    attached->pushed.clear();

    EXPECT_EQ(effect->setParamNormalized(kLevelId, 0.25), kResultOk);
    EXPECT_EQ(effect->setParamNormalized(kMeterId, 0.5), kResultOk);
    ASSERT_EQ(attached->pushed.size(), 2u);
    EXPECT_EQ(attached->pushed[0], std::make_pair(kLevelId, 0.25));
    EXPECT_EQ(attached->pushed[1], std::make_pair(kMeterId, 0.5));
    EXPECT_TRUE(detached->pushed.empty());

    // Unchanged values store and notify nothing; bypass is never pushed.
    EXPECT_EQ(effect->setParamNormalized(kLevelId, 0.25), kResultOk);
    EXPECT_EQ(effect->setParamNormalized(SorvLib::kMasterBypassId, 1.0), kResultOk);
    EXPECT_EQ(attached->pushed.size(), 2u);

    effect->editorRemoved(attached);
    effect->editorRemoved(detached);
    EXPECT_EQ(attached->release(), 0u);
    EXPECT_EQ(detached->release(), 0u);
}

TEST(ParameterPath, EditorAttachedTwiceIsHeldOnce) {
    EffectFixture effect;
    auto* view = new TestView(&*effect);
    effect->editorAttached(view);
    effect->editorAttached(view);
    EXPECT_EQ(effect->editorCount(), 1u);
    EXPECT_EQ(view->addRef(), 3u);
    view->release();
    effect->editorRemoved(view);
    effect->editorRemoved(view);
    EXPECT_EQ(effect->editorCount(), 0u);
    EXPECT_EQ(view->release(), 0u);
}

TEST(ParameterPath, EditorsStillAttachedAreReleasedWithTheEffect) {
    // A view without controller, so that it does not keep the effect alive itself.
    auto* effect = new TestEffect();
    auto* view = new TestView(nullptr);
    effect->editorAttached(view);
    view->addRef();
    EXPECT_EQ(view->release(), 2u);
    EXPECT_EQ(effect->release(), 0u);
    EXPECT_EQ(view->release(), 0u);
}

TEST(ParameterPath, UnknownTagsAnswerZeroAndChangeNothing) {
    EffectFixture effect;
    const ParamID unknown = 0x12345678;
    EXPECT_EQ(effect->getParamNormalized(unknown), 0.0);
    EXPECT_EQ(effect->setParamNormalized(unknown, 0.0), kResultOk);
    EXPECT_EQ(effect->setParamNormalized(unknown, 0.5), kResultFalse);
}

TEST(ParameterPath, NonFiniteValuesAreRefused) {
    EffectFixture effect;
    effect->setParamNormalized(kLevelId, 0.25);
    EXPECT_NE(effect->setParamNormalized(kLevelId, std::nan("")), kResultOk);
    EXPECT_NE(effect->setParamNormalized(kLevelId, HUGE_VAL), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.25);
}

TEST(ProgramChange, LoadsThePatchAndAsksTheHostToRereadOnce) {
    EffectFixture effect(WrapperKind::Vst2);
    EXPECT_EQ(effect->setParamNormalized(SorvLib::kProgramId, 1.0), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.75);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 0.9);
    ASSERT_EQ(effect.handler.restarts.size(), 1u);
    EXPECT_EQ(effect.handler.restarts[0], kParamValuesChanged);

    effect->setParamNormalized(SorvLib::kProgramId, 0.0);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.25);
    EXPECT_EQ(effect->getParamNormalized(kStepsId), 0.1);
    EXPECT_EQ(effect.handler.restarts.size(), 2u);
}

TEST(ProgramChange, ValuesBeyondTheRangeSelectTheLastProgramOnce) {
    EffectFixture effect(WrapperKind::Vst2);
    effect->setParamNormalized(SorvLib::kProgramId, 1.0);
    effect->setParamNormalized(kLevelId, 0.1);
    EXPECT_EQ(effect->setParamNormalized(SorvLib::kProgramId, 1.5), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.1);
    EXPECT_EQ(effect.handler.restarts.size(), 1u);
    effect->setParamNormalized(SorvLib::kProgramId, -3.0);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.25);
}

TEST(ProgramChange, CurrentProgramIsNotReloaded) {
    EffectFixture effect(WrapperKind::Vst2);
    effect->setParamNormalized(SorvLib::kProgramId, 0.5);
    effect->setParamNormalized(kLevelId, 0.1);
    effect->setParamNormalized(SorvLib::kProgramId, 0.5);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.1);
    EXPECT_EQ(effect.handler.restarts.size(), 1u);
}

TEST(ProgramChange, WorksWithoutComponentHandler) {
    auto* effect = new TestEffect();
    TestHostContext context(WrapperKind::Vst2);
    ASSERT_EQ(effect->initialize(context.unknown()), kResultOk);
    EXPECT_EQ(effect->setParamNormalized(SorvLib::kProgramId, 1.0), kResultOk);
    EXPECT_EQ(effect->getParamNormalized(kLevelId), 0.75);
    effect->terminate();
    effect->release();
}

TEST(Edits, AreForwardedToTheHost) {
    EffectFixture effect;
    EXPECT_EQ(effect->beginEdit(kLevelId), kResultOk);
    EXPECT_EQ(effect->performEdit(kLevelId, 0.5), kResultOk);
    EXPECT_EQ(effect->endEdit(kLevelId), kResultOk);
    ASSERT_EQ(effect.handler.calls.size(), 3u);
    EXPECT_EQ(effect.handler.calls[0], std::make_pair('b', kLevelId));
    EXPECT_EQ(effect.handler.calls[2], std::make_pair('e', kLevelId));
}

} // namespace
