// The AAX process procedure as a real-time host needs it: no block allocates (so none sets the
// effect up), and the audio thread runs blocks while the main thread automates, saves and
// restores the state, changes the rate and stem format hundreds of times and opens and closes
// the window. Run under ThreadSanitizer, the threaded cases show that nothing the blocks use
// races with the main thread.

#include "AAX_CEffectParameters.h"
#include "AAX_IEffectGUI.h"
#include "support/TestTimer.h"
#include "tests/aax/AaxFixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <iterator>
#include <thread>
#include <vector>

// The sanitizers' allocation hooks see every allocation, whatever form of new or malloc made it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*))
    __attribute__((weak));

using namespace SorvTest;

namespace {

// Allocations made on a thread while it counts them.
thread_local bool tCounting = false;
thread_local int tAllocations = 0;
void countAllocation(const volatile void*, size_t) {
    tAllocations += tCounting;
}
void ignoreFree(const volatile void*) {}

class AaxRealtime : public AaxEffectFixture {
protected:
    void SetUp() override {
        AaxEffectFixture::SetUp();
        instance = newInstance();
        parameters = instance->parameters();
        for (int c = 0; c < 2; ++c) {
            in[c].assign(kLongest, 0.0f);
            out[c].assign(kLongest, 0.0f);
            for (size_t i = 0; i < in[c].size(); ++i)
                in[c][i] = 0.8f * std::sin(0.01f * float(i * size_t(c + 1)));
        }
    }
    void TearDown() override {
        instance.reset();
        AaxEffectFixture::TearDown();
    }
    void render(int32_t frames) { instance->render(in, out, frames); }
    float loudest(int32_t frames) const {
        float peak = 0;
        for (const auto& channel : out)
            for (int32_t i = 0; i < frames; ++i)
                peak = std::max(peak, std::fabs(channel[size_t(i)]));
        return peak;
    }
    // The audio thread renders stereo blocks and checks them, while the main thread runs body
    // with the window object open in a view container.
    template <typename Body> void withAudioAndWindow(Body body) {
        AAX_IACFEffectGUI* gui = instance->newGUI();
        ASSERT_NE(gui, nullptr);
        int window = 0;
        model.nativeWindow = &window;
        IACFUnknown* container = model.newViewContainer();
        std::atomic<bool> running{true}, finite{true};
        std::thread audio([&] {
            constexpr int32_t kFrames = 128;
            while (running) {
                render(kFrames);
                double sum = 0, level = 0; // NaN and infinities stay in the sum
                for (const auto& channel : out)
                    for (int32_t i = 0; i < kFrames; ++i) {
                        sum += channel[size_t(i)];
                        level += std::fabs(channel[size_t(i)]);
                    }
                finite = finite && std::isfinite(sum);
                sounding = level > 0;
                ++rendered;
            }
        });
        body(*gui, container);
        running = false;
        audio.join();
        EXPECT_TRUE(finite);
        EXPECT_GT(instance->blocks, 0);
        EXPECT_EQ(gui->Uninitialize(), AAX_SUCCESS);
        EXPECT_EQ(gui->Release(), 0u);
        EXPECT_EQ(container->Release(), 0u);
    }

    // Main thread: whether a block that began after this call sounded; waits for one to end.
    bool nextBlockSounds() {
        const int start = rendered;
        while (rendered < start + 2)
            std::this_thread::yield();
        return sounding;
    }

    static constexpr int32_t kLongest = 3000;
    std::unique_ptr<AaxHostInstance> instance;
    AAX_IACFEffectParameters* parameters = nullptr;
    std::vector<float> in[2], out[2];
    std::atomic<int> rendered{0};
    std::atomic<bool> sounding{false};
};

TEST_F(AaxRealtime, NoBlockAllocatesSoNoneSetsUp) {
    ASSERT_NE(__sanitizer_install_malloc_and_free_hooks, nullptr) << "needs a sanitizer build";
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree) != 0;
    ASSERT_TRUE(installed);
    const auto counted = [&](int32_t frames) {
        tAllocations = 0;
        tCounting = true;
        render(frames);
        tCounting = false;
        return tAllocations;
    };
    // The first block, a long one in pieces, and blocks after the host changed the rate,
    // the width it reports (to one the component cannot run, and back) and the bypass.
    EXPECT_EQ(counted(256), 0) << "the first block";
    parameters->GenerateCoefficients();
    EXPECT_EQ(counted(kLongest), 0) << "a block longer than the set-up";
    instance->changeSampleRate(44100);
    EXPECT_EQ(counted(512), 0) << "after a new rate";
    EXPECT_GT(loudest(512), 0.0f);
    instance->changeStemFormat(AAX_eStemFormat_Mono);
    EXPECT_EQ(counted(512), 0) << "a block the set-up does not fit";
    EXPECT_EQ(loudest(512), 0.0f);
    instance->changeStemFormat(AAX_eStemFormat_Stereo);
    parameters->SetParameterNormalizedValue(kAAX_MasterBypassID, 1.0);
    EXPECT_EQ(counted(512), 0) << "bypassed";
    EXPECT_GT(loudest(512), 0.0f);
}

TEST_F(AaxRealtime, ThreadsAudioAutomationStateRateAndWindowAtOnce) {
    withAudioAndWindow([&](AAX_IACFEffectGUI& gui, IACFUnknown* container) {
        const char* const ids[] = {"EfMx", "Tone", "Pred", "EfLm", "Powr", kAAX_MasterBypassID};
        const AAX_CSampleRate rates[] = {44100, 48000, 96000};
        for (int round = 0; round < 60; ++round) {
            for (size_t i = 0; i < std::size(ids); ++i)
                parameters->SetParameterNormalizedValue(ids[i],
                                                        double((round + int(i)) % 10) / 9.0);
            parameters->GenerateCoefficients();
            std::vector<unsigned char> record = instance->saveChunk();
            ASSERT_FALSE(record.empty());
            auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
            EXPECT_EQ(parameters->SetChunk(chunk->fChunkID, chunk), AAX_SUCCESS);
            if (round % 10 == 0)
                gui.SetViewContainer(container);
            if (round % 10 == 5)
                gui.SetViewContainer(nullptr);
            // A storm of set-ups, each met by running blocks. Under a mono one the stereo blocks
            // cannot be processed: silent, or the input while bypassed.
            double bypass = 0;
            parameters->GetParameterNormalizedValue(kAAX_MasterBypassID, &bypass);
            for (int setUp = 0; setUp < 2; ++setUp) {
                instance->changeSampleRate(rates[(2 * round + setUp) % 3]);
                nextBlockSounds();
                instance->changeStemFormat(AAX_eStemFormat_Mono);
                EXPECT_EQ(nextBlockSounds(), bypass > 0.5) << round;
                instance->changeStemFormat(AAX_eStemFormat_Stereo);
                nextBlockSounds();
            }
        }
        // The last set-up (stereo) holds: with some of the input mixed in, blocks sound.
        parameters->SetParameterNormalizedValue(kAAX_MasterBypassID, 0.0);
        parameters->SetParameterNormalizedValue("EfMx", 0.5);
        parameters->GenerateCoefficients();
        EXPECT_TRUE(nextBlockSounds());
    });
}

// The host confirms values on a thread of its own while the window is open: the values reach
// the effect at once, and its window only on the main thread.
TEST_F(AaxRealtime, ThreadsConfirmOffTheMainThreadWhileTheWindowIsOpen) {
    withAudioAndWindow([&](AAX_IACFEffectGUI& gui, IACFUnknown* container) {
        std::atomic<bool> confirming{true};
        std::thread automation([&] {
            for (int round = 0; confirming; ++round) {
                parameters->UpdateParameterNormalizedValue("EfMx", double(round % 10) / 9.0, 0);
                parameters->UpdateParameterNormalizedValue("Tone", double(round % 7) / 6.0, 0);
                parameters->GenerateCoefficients();
            }
            parameters->UpdateParameterNormalizedValue("EfMx", 0.25, 0);
        });
        for (int round = 0; round < 60; ++round) {
            if (round % 10 == 0) {
                gui.SetViewContainer(container);
                AAX_Point size = {};
                gui.GetViewSize(&size);
                EXPECT_GT(size.horz, 0.0f) << "the product window did not open";
            }
            if (round % 10 == 7)
                gui.SetViewContainer(nullptr);
            SorvTest::fireTimers();
            EXPECT_FALSE(instance->saveChunk().empty());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        confirming = false;
        automation.join();
    });
    double value = -1;
    EXPECT_EQ(parameters->GetParameterNormalizedValue("EfMx", &value), AAX_SUCCESS);
    EXPECT_EQ(value, 0.25);
}

} // namespace
