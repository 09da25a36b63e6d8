// The module under the threads of real VST 2.4 hosts: automation and program changes set on the
// audio thread right before a block, a bounce at offline pace, an instance made on a loader
// thread that has ended, a chunk restored after values from another thread, and set-up changes
// from many threads while a block runs. The main thread never pumps messages unless a case says
// so: nothing that changes the sound may wait for it.

#include "hosts/Vst2Plugin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

using namespace SorvTest;

namespace {

// A host callback that may be called from any thread at once.
VstIntPtr threadedHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

constexpr int kBlock = 128;
constexpr int kBlocks = 200;

class Vst2HostThreads : public Vst2Host {
protected:
    Vst2Plugin& makeThreaded() {
        plugins.push_back({pluginMain(threadedHost)});
        EXPECT_NE(plugins.back().effect, nullptr);
        return plugins.back();
    }

    // Renders kBlocks blocks of a fixed noise and answers, per block, the energy of what the
    // effect added to its input; before each block `before` runs on the calling thread with
    // the block's number.
    static std::vector<double> render(Vst2Plugin& plugin,
                                      const std::function<void(int)>& before) {
        std::vector<float> in[2], out[2];
        std::vector<double> added;
        for (int c = 0; c < 2; ++c) {
            in[c].resize(kBlock);
            out[c].resize(kBlock);
        }
        float* inPtrs[2] = {in[0].data(), in[1].data()};
        float* outPtrs[2] = {out[0].data(), out[1].data()};
        uint32_t noise = 22222;
        for (int block = 0; block < kBlocks; ++block) {
            for (int c = 0; c < 2; ++c)
                for (float& sample : in[c]) {
                    noise = noise * 1664525u + 1013904223u;
                    sample = static_cast<float>(static_cast<int32_t>(noise)) * 1e-10f;
                }
            before(block);
            plugin.effect->processReplacing(plugin.effect, inPtrs, outPtrs, kBlock);
            double energy = 0.0;
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < kBlock; ++i)
                    energy += double(out[c][i] - in[c][i]) * double(out[c][i] - in[c][i]);
            added.push_back(energy);
        }
        return added;
    }
};

TEST_F(Vst2HostThreads, AutomationOnTheAudioThreadIsInTheNextBlock) {
    // Fx Mix to 0 before block 50 and program 3 before block 120, as the host's automation.
    VstInt32 mix = -1;
    const auto automate = [&mix](Vst2Plugin& plugin, int block) {
        if (block == 50)
            plugin.set(mix, 0.0f);
        if (block == 120)
            plugin.dispatch(effSetProgram, 0, 3);
    };
    Vst2Plugin& reference = makeThreaded();
    mix = reference.indexOf("Fx Mix");
    reference.start(44100.0f, kBlock);
    const std::vector<double> expected =
        render(reference, [&](int block) { automate(reference, block); });
    const auto window = [](const std::vector<double>& energies, int from) {
        double sum = 0.0;
        for (int b = from; b < from + 10; ++b)
            sum += energies[b];
        return sum;
    };
    Vst2Plugin& unchanged = makeThreaded();
    unchanged.start(44100.0f, kBlock);
    const std::vector<double> still = render(unchanged, [](int) {});

    // The same on a bounce thread, as fast as it can run; the main thread only waits.
    for (int run = 0; run < 3; ++run) {
        Vst2Plugin& plugin = makeThreaded();
        plugin.start(44100.0f, kBlock);
        std::vector<double> bounced;
        std::thread audio(
            [&] { bounced = render(plugin, [&](int block) { automate(plugin, block); }); });
        audio.join();
        // The shared noise of the delay modulation differs between renders by a few per cent
        // per block; a change one block late moves a window of ten blocks by more than 15 %.
        for (int from = 50; from < kBlocks; from += 10) {
            const double ratio = window(bounced, from) / window(expected, from);
            EXPECT_NEAR(ratio, 1.0, 0.1) << "run " << run << ", blocks from " << from;
        }
    }
    EXPECT_LT(window(expected, 60), 0.5 * window(still, 60)) << "the automation is heard";
}

TEST_F(Vst2HostThreads, InstanceMadeOnAnEndedThreadObeysItsHost) {
    Vst2Plugin* plugin = nullptr;
    std::thread loader([&] {
        plugin = &makeThreaded();
        plugin->start(44100.0f, kBlock);
    });
    loader.join();
    ASSERT_NE(plugin->effect, nullptr);
    const VstInt32 mix = plugin->indexOf("Fx Mix");
    plugin->dispatch(effSetProgram, 0, 3);
    plugin->set(mix, 0.0f);
    EXPECT_EQ(plugin->get(mix), 0.0f);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 3);

    Vst2Plugin& restored = makeThreaded();
    ASSERT_EQ(restored.setChunk(plugin->chunk()), 1);
    EXPECT_EQ(restored.get(mix), 0.0f);
    EXPECT_EQ(restored.dispatch(effGetProgram), 3);
}

TEST_F(Vst2HostThreads, ChunkRestoredAfterValuesFromAnotherThreadIsWhatIsSavedNext) {
    Vst2Plugin& source = makeThreaded();
    const std::vector<char> saved = source.chunk();
    Vst2Plugin& plugin = makeThreaded();
    plugin.start(44100.0f, kBlock);
    std::thread audio([&] {
        plugin.set(plugin.indexOf("Fx Mix"), 0.1f);
        plugin.set(plugin.indexOf("Tone"), 0.9f);
        plugin.dispatch(effSetProgram, 0, 5);
    });
    audio.join();
    ASSERT_EQ(plugin.setChunk(saved), 1);
    // Whatever timers the module runs get their turn.
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
         std::chrono::steady_clock::now() < end;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(5);
    }
    EXPECT_EQ(plugin.chunk(), saved);
    EXPECT_EQ(plugin.dispatch(effGetProgram), 0);
}

TEST_F(Vst2HostThreads, SetUpChangesFromManyThreadsWhileABlockRuns) {
    Vst2Plugin& plugin = makeThreaded();
    plugin.start(44100.0f, 512);
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        std::vector<double> buffers[4];
        for (auto& buffer : buffers)
            buffer.assign(64, 0.25);
        float* floats[2] = {reinterpret_cast<float*>(buffers[0].data()),
                            reinterpret_cast<float*>(buffers[1].data())};
        double* doubles[2] = {buffers[2].data(), buffers[3].data()};
        for (long n = 0; running; ++n) {
            if (n % 2)
                plugin.effect->processDoubleReplacing(plugin.effect, doubles, doubles, 64);
            else
                plugin.effect->processReplacing(plugin.effect, floats, floats, 64);
            ++blocks;
        }
    });
    std::vector<std::thread> changers;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (int t = 0; t < 8; ++t)
        changers.emplace_back([&, t] {
            VstSpeakerArrangement stereo = {};
            stereo.numChannels = 2;
            stereo.type = kSpeakerArrStereo;
            for (int n = t; std::chrono::steady_clock::now() < end; ++n) {
                switch (n % 6) {
                case 0:
                    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, n % 4 ? 48000.0f : 96000.0f);
                    break;
                case 1:
                    plugin.dispatch(effSetBlockSize, 0, 64 << (n % 5));
                    break;
                case 2:
                    plugin.dispatch(effMainsChanged, 0, 0);
                    plugin.dispatch(effSetSpeakerArrangement, 0,
                                    reinterpret_cast<VstIntPtr>(&stereo), &stereo);
                    plugin.dispatch(effMainsChanged, 0, 1);
                    break;
                case 3:
                    plugin.dispatch(effSetProcessPrecision, 0, n % 2);
                    break;
                case 4:
                    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
                    break;
                default:
                    plugin.dispatch(effSetBlockSize, 0, 512);
                }
            }
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
    const std::vector<double> added = render(plugin, [](int) {});
    EXPECT_GT(added.back(), 0.0);
}

} // namespace
