// The AAX process procedure as a real-time host needs it: no block allocates (so none sets the
// effect up), and the audio thread runs blocks while the main thread automates, saves and
// restores the state, changes the rate and opens and closes the window. Run under
// ThreadSanitizer, the threaded case shows that nothing the blocks use races with the main
// thread.

#include "AAX_CEffectParameters.h"
#include "AAX_IEffectGUI.h"
#include "AAX_Init.h"
#include "support/AaxHostModel.h"
#include "tests/aax/AaxFixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
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
    void* memory = alignment > alignof(std::max_align_t)
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
    model.effectParameters = parameters;
    const auto createGUI = reinterpret_cast<AaxHostInstance::CreateProc>(
        effect->procPtrs.at(kAAX_ProcPtrID_Create_EffectGUI));
    IACFUnknown* made = createGUI();
    ASSERT_NE(made, nullptr);
    void* face = nullptr;
    ASSERT_EQ(made->QueryInterface(IID_IAAXEffectGUIV1, &face), ACF_OK);
    made->Release();
    auto* gui = static_cast<AAX_IACFEffectGUI*>(face);
    ASSERT_EQ(gui->Initialize(instance->controller()), AAX_SUCCESS);
    int window = 0;
    model.nativeWindow = &window;
    IACFUnknown* container = model.newViewContainer();

    std::atomic<bool> running{true};
    std::atomic<bool> finite{true};
    std::thread audio([&] {
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
    const char* const ids[] = {"EfMx", "Tone", "Pred", "EfLm", "Powr", kAAX_MasterBypassID};
    int restored = 0;
    for (int round = 0; round < 120; ++round) {
        for (size_t i = 0; i < std::size(ids); ++i)
            parameters->SetParameterNormalizedValue(ids[i], double((round + int(i)) % 10) / 9.0);
        parameters->GenerateCoefficients();
        uint32_t size = 0;
        parameters->GetChunkSize(kStateChunk, &size);
        std::vector<unsigned char> record(kAAX_ChunkHeaderSize + size);
        auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
        if (parameters->GetChunk(kStateChunk, chunk) == AAX_SUCCESS &&
            parameters->SetChunk(kStateChunk, chunk) == AAX_SUCCESS)
            ++restored;
        if (round % 10 == 0)
            gui->SetViewContainer(container);
        if (round % 10 == 5)
            gui->SetViewContainer(nullptr);
        if (round % 40 == 20)
            instance->changeSampleRate(round % 80 == 20 ? 44100.0f : 48000.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    running = false;
    audio.join();
    EXPECT_EQ(restored, 120);
    EXPECT_TRUE(finite);
    EXPECT_GT(instance->blocks, 0);
    EXPECT_EQ(instance->meterValues.size(), 1u);

    EXPECT_EQ(gui->Uninitialize(), AAX_SUCCESS);
    EXPECT_EQ(gui->Release(), 0u);
    EXPECT_EQ(container->Release(), 0u);
    model.effectParameters = nullptr;
}

} // namespace
