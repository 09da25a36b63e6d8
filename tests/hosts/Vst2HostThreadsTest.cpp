// The module under the threads of real VST 2.4 hosts: automation and program changes set on the
// audio thread right before a block, a bounce at offline pace, an instance made on a loader
// thread that has ended, a chunk restored after values from another thread, and set-up changes
// from many threads while a block runs. The main thread never pumps messages unless a case says
// so: nothing that changes the sound may wait for it.

#include "hosts/Vst2Plugin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using namespace SorvTest;

namespace {

constexpr int kBlock = 128;
constexpr int kBlocks = 200;

double window(const std::vector<double>& energies, int from) {
    double sum = 0.0;
    for (int b = from; b < from + 10; ++b)
        sum += energies[b];
    return sum;
}

TEST_F(Vst2Host, AutomationOnTheAudioThreadIsInTheNextBlock) {
    // Fx Mix to 0 before block 50 and program 3 before block 120, as the host's automation.
    const auto automate = [](Vst2Plugin& plugin, VstInt32 mix, int block) {
        if (block == 50)
            plugin.set(mix, 0.0f);
        if (block == 120)
            plugin.dispatch(effSetProgram, 0, 3);
    };
    Vst2Plugin& reference = make();
    const VstInt32 mix = reference.indexOf("Fx Mix");
    reference.start(44100.0f, kBlock);
    const std::vector<double> expected =
        reference.render(kBlocks, kBlock, [&](int block) { automate(reference, mix, block); });
    EXPECT_LT(window(expected, 60), 0.5 * window(expected, 40)) << "the automation is heard";

    // The same on a bounce thread, as fast as it can run; the main thread only waits.
    for (int run = 0; run < 3; ++run) {
        Vst2Plugin& plugin = make();
        plugin.start(44100.0f, kBlock);
        std::vector<double> bounced;
        std::thread([&] {
            bounced =
                plugin.render(kBlocks, kBlock, [&](int block) { automate(plugin, mix, block); });
        }).join();
        // The shared noise of the delay modulation differs between renders by a few per cent
        // per block; a change one block late moves a window of ten blocks by more than 15 %.
        for (int from = 50; from < kBlocks; from += 10)
            EXPECT_NEAR(window(bounced, from) / window(expected, from), 1.0, 0.1)
                << "run " << run << ", blocks from " << from;
    }
}

TEST_F(Vst2Host, InstanceMadeOnAnEndedThreadObeysItsHostAndRestoredStateWins) {
    Vst2Plugin* plugin = nullptr;
    std::thread([&] {
        plugin = &make();
        plugin->start(44100.0f, kBlock);
    }).join();
    ASSERT_NE(plugin->effect, nullptr);
    const std::vector<char> saved = plugin->chunk();
    const VstInt32 mix = plugin->indexOf("Fx Mix");
    plugin->dispatch(effSetProgram, 0, 3);
    plugin->set(mix, 0.0f);
    EXPECT_EQ(plugin->get(mix), 0.0f);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 3);
    Vst2Plugin& restored = make();
    restored.start(44100.0f, kBlock);
    ASSERT_EQ(restored.setChunk(plugin->chunk()), 1);
    EXPECT_EQ(restored.get(mix), 0.0f);
    EXPECT_EQ(restored.dispatch(effGetProgram), 3);

    // Values from the audio thread, then a chunk from the main thread: the chunk is what stays.
    std::thread([&] {
        restored.set(mix, 0.1f);
        restored.set(restored.indexOf("Tone"), 0.9f);
        restored.dispatch(effSetProgram, 0, 5);
    }).join();
    ASSERT_EQ(restored.setChunk(saved), 1);
    // Whatever timers the module runs get their turn.
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
         std::chrono::steady_clock::now() < end; Sleep(5)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    EXPECT_EQ(restored.chunk(), saved);
    EXPECT_EQ(restored.dispatch(effGetProgram), 0);
}

TEST_F(Vst2Host, SetUpChangesFromManyThreadsWhileABlockRuns) {
    Vst2Plugin& plugin = make();
    plugin.start(44100.0f, 512);
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        std::vector<double> doubleBuffers[2] = {std::vector<double>(64, 0.25),
                                                std::vector<double>(64, 0.25)};
        std::vector<float> floatBuffers[2] = {std::vector<float>(64, 0.25f),
                                              std::vector<float>(64, 0.25f)};
        double* doubles[2] = {doubleBuffers[0].data(), doubleBuffers[1].data()};
        float* floats[2] = {floatBuffers[0].data(), floatBuffers[1].data()};
        for (long n = 0; running; ++n, ++blocks)
            if (n % 2)
                plugin.effect->processDoubleReplacing(plugin.effect, doubles, doubles, 64);
            else
                plugin.effect->processReplacing(plugin.effect, floats, floats, 64);
    });
    VstSpeakerArrangement stereo = {};
    stereo.numChannels = 2;
    stereo.type = kSpeakerArrStereo;
    const std::function<void(int)> changes[] = {
        [&](int n) {
            plugin.dispatch(effSetSampleRate, 0, 0, nullptr, n % 4 ? 48000.0f : 96000.0f);
        },
        [&](int n) { plugin.dispatch(effSetBlockSize, 0, 64 << (n % 5)); },
        [&](int) {
            plugin.dispatch(effMainsChanged, 0, 0);
            plugin.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&stereo),
                            &stereo);
            plugin.dispatch(effMainsChanged, 0, 1);
        },
        [&](int n) { plugin.dispatch(effSetProcessPrecision, 0, n % 2); },
        [&](int) { plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f); },
        [&](int) { plugin.dispatch(effSetBlockSize, 0, 512); },
    };
    std::vector<std::thread> changers;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int t = 0; t < 8; ++t)
        changers.emplace_back([&, t] {
            for (int n = t; std::chrono::steady_clock::now() < end; ++n)
                changes[n % 6](n);
        });
    for (std::thread& changer : changers)
        changer.join();
    running = false;
    audio.join();
    EXPECT_GT(blocks, 0);
    // The effect still renders sound after all that.
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    plugin.dispatch(effSetBlockSize, 0, kBlock);
    plugin.dispatch(effMainsChanged, 0, 1);
    EXPECT_GT(plugin.render(kBlocks, kBlock, [](int) {}).back(), 0.0);
}

} // namespace
