// The AAX process procedure as a real-time host needs it: no block allocates (so none sets the
// effect up), and the audio thread runs blocks while the main thread automates, saves and
// restores the state, changes the rate and opens and closes the window. Run under
// ThreadSanitizer, the threaded case shows that nothing the blocks use races with the main
// thread.

#include "AAX_CEffectParameters.h"
#include "AAX_IEffectGUI.h"
#include "AAX_Init.h"
#include "support/AaxHostModel.h"
#include "support/TestTimer.h"
#include "tests/aax/AaxFixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <new>
#include <thread>
#include <vector>

namespace {
// Allocations made on a thread while it counts them.
thread_local bool tCounting = false;
thread_local int tAllocations = 0;

void* allocate(std::size_t size, std::size_t alignment) {
    if (tCounting)
        ++tAllocations;
    void* memory =
        alignment > alignof(std::max_align_t)
            ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
            : std::malloc(size ? size : 1);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}
} // namespace

void* operator new(std::size_t size) {
    return allocate(size, 0);
}
void* operator new[](std::size_t size) {
    return allocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocate(size, std::size_t(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocate(size, std::size_t(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}

using namespace SorvTest;

namespace {

constexpr AAX_CTypeID kStateChunk = 0x56737433; // the wrapper's one chunk

class AaxRealtime : public AaxFixture {
protected:
    void SetUp() override {
        AaxFixture::SetUp();
        startHostServices();
        ASSERT_EQ(AAXRegisterPlugin(host, &definition), ACF_OK);
        effect = model.collections.at(0)->effects.at(0).second;
        instance = std::make_unique<AaxHostInstance>(model, *effect, 1);
        ASSERT_TRUE(instance->create());
        for (int c = 0; c < 2; ++c) {
            in[c].assign(kLongest, 0.0f);
            out[c].assign(kLongest, 0.0f);
            for (size_t i = 0; i < in[c].size(); ++i)
                in[c][i] = 0.8f * std::sin(0.01f * float(i * size_t(c + 1)));
        }
    }
    void TearDown() override {
        instance.reset();
        definition->Release();
        AaxFixture::TearDown();
    }
    void render(int32_t frames) {
        const float* ins[2] = {in[0].data(), in[1].data()};
        float* outs[2] = {out[0].data(), out[1].data()};
        instance->render(ins, outs, frames);
    }
    // The effect's window object, initialised, with a view container on a window of the test.
    AAX_IACFEffectGUI* newGUI() {
        model.effectParameters = instance->parameters();
        const auto create = reinterpret_cast<AaxHostInstance::CreateProc>(
            effect->procPtrs.at(kAAX_ProcPtrID_Create_EffectGUI));
        IACFUnknown* made = create();
        void* face = nullptr;
        EXPECT_EQ(made->QueryInterface(IID_IAAXEffectGUIV1, &face), ACF_OK);
        made->Release();
        auto* gui = static_cast<AAX_IACFEffectGUI*>(face);
        EXPECT_EQ(gui->Initialize(instance->controller()), AAX_SUCCESS);
        model.nativeWindow = &window;
        container = model.newViewContainer();
        return gui;
    }
    void closeGUI(AAX_IACFEffectGUI* gui) {
        EXPECT_EQ(gui->Uninitialize(), AAX_SUCCESS);
        EXPECT_EQ(gui->Release(), 0u);
        EXPECT_EQ(container->Release(), 0u);
        model.effectParameters = nullptr;
    }
    // The audio thread: stereo blocks until told to stop; false when any sample was not finite.
    void startAudio() {
        audio = std::thread([this] {
            constexpr int32_t kFrames = 128;
            while (running) {
                const float* ins[2] = {in[0].data(), in[1].data()};
                float* outs[2] = {out[0].data(), out[1].data()};
                instance->render(ins, outs, kFrames);
                for (int c = 0; c < 2; ++c)
                    for (int32_t i = 0; i < kFrames; ++i)
                        if (!std::isfinite(out[c][size_t(i)]))
                            finite = false;
            }
        });
    }
    void stopAudio() {
        running = false;
        audio.join();
        EXPECT_TRUE(finite);
        EXPECT_GT(instance->blocks, 0);
    }
    std::vector<unsigned char> saveChunk() {
        uint32_t size = 0;
        instance->parameters()->GetChunkSize(kStateChunk, &size);
        std::vector<unsigned char> record(kAAX_ChunkHeaderSize + size);
        auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
        if (instance->parameters()->GetChunk(kStateChunk, chunk) != AAX_SUCCESS)
            record.clear();
        return record;
    }
    float loudest(int32_t frames) const {
        float peak = 0;
        for (const auto& channel : out)
            for (int32_t i = 0; i < frames; ++i)
                peak = std::max(peak, std::fabs(channel[size_t(i)]));
        return peak;
    }

    static constexpr int32_t kLongest = 3000;
    IACFPluginDefinition* definition = nullptr;
    AaxHostEffectDescriptor* effect = nullptr;
    std::unique_ptr<AaxHostInstance> instance;
    std::vector<float> in[2], out[2];
    int window = 0;
    IACFUnknown* container = nullptr;
    std::thread audio;
    std::atomic<bool> running{true};
    std::atomic<bool> finite{true};
};

TEST_F(AaxRealtime, NoBlockAllocatesSoNoneSetsUp) {
    AAX_IACFEffectParameters* parameters = instance->parameters();
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
    instance->stemFormat = AAX_eStemFormat_Mono;
    parameters->NotificationReceived(AAX_eNotificationEvent_StemFormatChanged, nullptr, 0);
    EXPECT_EQ(counted(512), 0) << "a block the set-up does not fit";
    EXPECT_EQ(loudest(512), 0.0f);
    instance->stemFormat = AAX_eStemFormat_Stereo;
    parameters->NotificationReceived(AAX_eNotificationEvent_StemFormatChanged, nullptr, 0);
    parameters->SetParameterNormalizedValue(kAAX_MasterBypassID, 1.0);
    EXPECT_EQ(counted(512), 0) << "bypassed";
    EXPECT_GT(loudest(512), 0.0f);
}

TEST_F(AaxRealtime, ThreadsAudioAutomationStateRateAndWindowAtOnce) {
    AAX_IACFEffectParameters* parameters = instance->parameters();
    AAX_IACFEffectGUI* gui = newGUI();
    startAudio();
    const char* const ids[] = {"EfMx", "Tone", "Pred", "EfLm", "Powr", kAAX_MasterBypassID};
    int restored = 0;
    for (int round = 0; round < 60; ++round) {
        for (size_t i = 0; i < std::size(ids); ++i)
            parameters->SetParameterNormalizedValue(ids[i], double((round + int(i)) % 10) / 9.0);
        parameters->GenerateCoefficients();
        std::vector<unsigned char> record = saveChunk();
        auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
        restored += !record.empty() && parameters->SetChunk(kStateChunk, chunk) == AAX_SUCCESS;
        if (round % 10 == 0)
            gui->SetViewContainer(container);
        if (round % 10 == 5)
            gui->SetViewContainer(nullptr);
        if (round % 20 == 10)
            instance->changeSampleRate(round % 40 == 10 ? 44100.0f : 48000.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stopAudio();
    EXPECT_EQ(restored, 60);
    closeGUI(gui);
}

// The host confirms values on a thread of its own while the window is open: the values reach
// the effect at once, and its window only on the main thread.
TEST_F(AaxRealtime, ThreadsConfirmOffTheMainThreadWhileTheWindowIsOpen) {
    AAX_IACFEffectParameters* parameters = instance->parameters();
    AAX_IACFEffectGUI* gui = newGUI();
    startAudio();
    std::atomic<bool> confirming{true};
    std::thread automation([&] {
        for (int round = 0; confirming; ++round) {
            parameters->UpdateParameterNormalizedValue("EfMx", double(round % 10) / 9.0, 0);
            parameters->UpdateParameterNormalizedValue("Tone", double(round % 7) / 6.0, 0);
            parameters->GenerateCoefficients();
        }
        parameters->UpdateParameterNormalizedValue("EfMx", 0.25, 0);
    });
    size_t saved = 0;
    for (int round = 0; round < 60; ++round) {
        if (round % 10 == 0) {
            gui->SetViewContainer(container);
            AAX_Point size = {};
            gui->GetViewSize(&size);
            EXPECT_GT(size.horz, 0.0f) << "the product window did not open";
        }
        if (round % 10 == 7)
            gui->SetViewContainer(nullptr);
        SorvTest::fireTimers();
        saved += !saveChunk().empty();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    confirming = false;
    automation.join();
    stopAudio();
    EXPECT_EQ(saved, 60u);
    double value = -1;
    EXPECT_EQ(parameters->GetParameterNormalizedValue("EfMx", &value), AAX_SUCCESS);
    EXPECT_EQ(value, 0.25);
    closeGUI(gui);
}

} // namespace
