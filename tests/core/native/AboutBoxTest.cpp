// The about text, the manual and the knob mode, through the native build's test services.

#include "support/EffectFixture.h"
#include "support/TestUtils.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override { activeTestUtils()->reset(); }
    TestUtils& utils() { return *activeTestUtils(); }
};

std::string expectedText(const char* format, const char* buses, const char* rate) {
    return std::string("QUOR-515 v1.0.0\nOS: Windows\nPlatform: x86\nSDK Version: VST 3.7.1\n\n"
                       "Host: Test Host\nFormat: ") +
           format + "\n\nBus Config: " + buses + "\nSamplerate: " + rate +
           "Hz\nBlocksize: 512\n\n"
           "VST is a trademark of Steinberg Media Technologies GmbH,\n"
           "registered in Europe and other countries.";
}

TEST_F(AboutBox, TextNamesFormatBusesRateAndBlockSize) {
    for (auto [kind, format] :
         {std::pair{WrapperKind::None, "VST3"}, std::pair{WrapperKind::Vst2, "VST2"},
          std::pair{WrapperKind::AAX, "AAX"}, std::pair{WrapperKind::AU, "AU"}}) {
        for (bool mono : {false, true}) {
            EffectFixture effect(kind);
            if (mono) {
                SpeakerArrangement arrangement = SpeakerArr::kMono;
                ASSERT_EQ(effect->setBusArrangements(&arrangement, 1, &arrangement, 1), kResultOk);
            }
            ProcessSetup setup = {kRealtime, kSample32, 512, 44100.7};
            ASSERT_EQ(effect->setupProcessing(setup), kResultOk);
            EXPECT_EQ(effect->openAboutBox(false), kResultOk);
            EXPECT_EQ(utils().lastMessageTitle, "Sorv Audio Labs: QUOR-515");
            EXPECT_EQ(utils().lastMessageText, expectedText(format, mono ? "1-1" : "2-2", "44100"));
            EXPECT_EQ(utils().lastMessageOwner, nullptr);
        }
    }
}

TEST_F(AboutBox, WithoutHostContextTheFormatIsUnknownAndNoHostLine) {
    auto* effect = new TestEffect();
    EXPECT_EQ(effect->openAboutBox(false), kResultOk);
    EXPECT_EQ(utils().lastMessageText.find("Host:"), std::string::npos);
    EXPECT_NE(utils().lastMessageText.find("Format: Unknown\n\nBus Config: 0-0\n"),
              std::string::npos);
    effect->release();
}

TEST_F(AboutBox, OwnerIsTheFirstEditorsWindow) {
    EffectFixture effect;
    auto* view = new TestView(&*effect);
    view->attachTo(reinterpret_cast<void*>(0x4321));
    effect->editorAttached(view);
    effect->openAboutBox(false);
    EXPECT_EQ(utils().lastMessageOwner, reinterpret_cast<void*>(0x4321));
    effect->editorRemoved(view);
    view->release();
}

TEST_F(AboutBox, OnlyCheckShowsNothing) {
    EffectFixture effect;
    EXPECT_EQ(effect->openAboutBox(true), kResultOk);
    EXPECT_EQ(effect->openHelp(true), kResultOk);
    EXPECT_EQ(utils().messageCount, 0);
    EXPECT_EQ(utils().documentCount, 0);
}

TEST_F(AboutBox, HelpOpensTheManualInTheManualsFolder) {
    EffectFixture effect;
    EXPECT_EQ(effect->openHelp(false), kResultOk);
    EXPECT_EQ(utils().documentCount, 1);
    EXPECT_EQ(utils().lastDocument,
              utils().getFolder(SorvLib::FolderKind::Manuals) + "QUOR-515.pdf");

    utils().setFolder(SorvLib::FolderKind::ProgramFiles, "");
    EXPECT_EQ(effect->openHelp(false), kResultOk);
    EXPECT_EQ(utils().documentCount, 1);
}

TEST_F(AboutBox, KnobModeStaysLinear) {
    EffectFixture effect;
    EXPECT_EQ(effect->setKnobMode(kCircularMode), kResultOk);
    EXPECT_EQ(EditController::getHostKnobMode(), kLinearMode);
}

} // namespace
