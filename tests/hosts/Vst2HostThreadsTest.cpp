// The module under the threads of real VST 2.4 hosts: automation and programs set on the audio
// thread right before a block, a bounce at offline pace, an instance made on a loader thread
// that has ended, set-up changes while blocks run and from a host callback inside one, and
// values set from several threads at once. The main thread pumps messages only where a case
// says so: nothing that changes the sound may wait for it.

#include "hosts/Vst2Plugin.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

using namespace SorvTest;

namespace {

constexpr int kBlock = 128;
constexpr int kBlocks = 200;
constexpr float kHighRate = 192000.0f;
constexpr float kLowRate = 22050.0f;
using Clock = std::chrono::steady_clock;

// Pumps this thread's messages for a while, or until done answers true.
void pumpMessages(int milliseconds, const std::function<bool()>& done = nullptr) {
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (; Clock::now() < end && !(done && done()); Sleep(5)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

double window(const std::vector<double>& energies, int from) {
    double sum = 0.0;
    for (int b = from; b < from + 10; ++b)
        sum += energies[b];
    return sum;
}

TEST_F(Vst2Host, AutomationOnTheAudioThreadIsInTheNextBlock) {
    // Fx Mix to 0 before block 50 and program 3 before block 120.
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

    // The same bounced as fast as it runs; the main thread only waits.
    for (int run = 0; run < 3; ++run) {
        Vst2Plugin& plugin = make();
        plugin.start(44100.0f, kBlock);
        std::vector<double> bounced;
        hostThread(kVstProcessLevelOffline, [&] {
            bounced =
                plugin.render(kBlocks, kBlock, [&](int block) { automate(plugin, mix, block); });
        }).join();
        // Renders differ by a few per cent per block (shared modulation noise); a change one
        // block late moves a ten-block window by more than 15 %.
        for (int from = 50; from < kBlocks; from += 10)
            EXPECT_NEAR(window(bounced, from) / window(expected, from), 1.0, 0.1)
                << "run " << run << ", blocks from " << from;
    }
}

TEST_F(Vst2Host, InstanceMadeOnAnEndedThreadObeysItsHostAndRestoredStateWins) {
    Vst2Plugin* plugin = nullptr;
    std::vector<char> saved;
    std::thread([&] {
        plugin = &make();
        plugin->start(44100.0f, kBlock);
        saved = plugin->chunk();
    }).join();
    ASSERT_NE(plugin->effect, nullptr);
    const VstInt32 mix = plugin->indexOf("Fx Mix");
    // A program change is the first call on the host's user thread, then one on its audio
    // thread: the host hears of each, at once or on its user thread.
    const size_t displays = vst2Host().count(audioMasterUpdateDisplay);
    const auto heard = [&](size_t n) {
        const auto count = [&] { return vst2Host().count(audioMasterUpdateDisplay) - displays; };
        pumpMessages(1000, [&] { return count() >= n; });
        return count();
    };
    plugin->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(heard(1), 1u);
    hostThread(kVstProcessLevelRealtime, [&] { plugin->dispatch(effSetProgram, 0, 4); }).join();
    EXPECT_EQ(heard(2), 2u);

    plugin->dispatch(effSetProgram, 0, 3);
    plugin->set(mix, 0.0f);
    Vst2Plugin& restored = make();
    restored.start(44100.0f, kBlock);
    ASSERT_EQ(restored.setChunk(plugin->chunk()), 1);
    EXPECT_EQ(restored.get(mix), 0.0f);
    EXPECT_EQ(restored.dispatch(effGetProgram), 3);

    // Values from the audio thread, then a chunk from the main thread: the chunk stays.
    hostThread(kVstProcessLevelRealtime, [&] {
        restored.set(mix, 0.1f);
        restored.set(restored.indexOf("Tone"), 0.9f);
        restored.dispatch(effSetProgram, 0, 5);
    }).join();
    ASSERT_EQ(restored.setChunk(saved), 1);
    pumpMessages(200); // whatever timers the module runs
    EXPECT_EQ(restored.chunk(), saved);
    EXPECT_EQ(restored.dispatch(effGetProgram), 0);
}

TEST_F(Vst2Host, SetUpChangesWhileTheAudioThreadAutomatesPreDelay) {
    Vst2Plugin& plugin = make();
    plugin.start(44100.0f, 512);
    const VstInt32 preDelay = plugin.indexOf("Pre-Delay");
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::atomic<bool> sane{true};
    // Blocks in place on a steady input, floats and doubles in turn.
    std::thread audio = hostThread(kVstProcessLevelRealtime, [&] {
        const Vst2Plugin::Channels steady(2, std::vector<double>(64, 0.25));
        for (long n = 0; running; ++n, ++blocks) {
            plugin.set(preDelay, n % 2 ? 1.0f : 0.9f);
            for (const std::vector<double>& channel : plugin.process(steady, n % 2, true))
                for (double sample : channel)
                    if (!(std::fabs(sample) <= 4.0))
                        sane = false;
        }
    });
    const std::function<void(int)> changes[] = {
        [&](int n) {
            plugin.dispatch(effSetSampleRate, 0, 0, nullptr, n % 4 ? kLowRate : kHighRate);
        },
        [&](int n) { plugin.dispatch(effSetBlockSize, 0, 64 << (n % 5)); },
        [&](int) {
            plugin.dispatch(effMainsChanged, 0, 0);
            plugin.arrange(2, 2);
            plugin.dispatch(effMainsChanged, 0, 1);
        },
        [&](int n) { plugin.dispatch(effSetProcessPrecision, 0, n % 2); },
        [&](int) { plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f); },
        [&](int) { plugin.dispatch(effSetBlockSize, 0, 512); },
    };
    // The main thread and two of the host's other threads, each through every change.
    const auto end = Clock::now() + std::chrono::seconds(5);
    const auto change = [&](int first) {
        for (int n = first; Clock::now() < end; ++n)
            changes[n % 6](n);
    };
    std::thread others[] = {std::thread(change, 1), std::thread(change, 2)};
    change(0);
    for (std::thread& other : others)
        other.join();
    running = false;
    audio.join();
    EXPECT_GT(blocks, 0);
    EXPECT_TRUE(sane) << "every output sample finite and bounded";
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    plugin.dispatch(effSetBlockSize, 0, kBlock);
    plugin.dispatch(effMainsChanged, 0, 1);
    EXPECT_GT(plugin.render(kBlocks, kBlock).back(), 0.0) << "still sounds after all that";
}

TEST_F(Vst2Host, SetUpFromAHostCallbackInsideABlockReturns) {
    Vst2Plugin& plugin = make();
    plugin.start(44100.0f, kBlock);
    // The host answers the block's question for the process level by changing the rate.
    vst2Host().callsBack = [](AEffect* effect, VstInt32 opcode) {
        if (opcode == audioMasterGetCurrentProcessLevel)
            effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    };
    std::atomic<bool> returned{false};
    std::thread audio = hostThread(kVstProcessLevelRealtime, [&] {
        plugin.render(2, kBlock);
        returned = true;
    });
    for (int ms = 0; ms < 10000 && !returned; ms += 10)
        Sleep(10);
    // A thread that never returns would end the test program at exit.
    ASSERT_TRUE(returned) << "the block never returned";
    audio.join();
    vst2Host().callsBack = nullptr;
    // The change was made once the block had ended, and later ones from elsewhere go through.
    EXPECT_EQ(plugin.dispatch(effGetTailSize), 168000);
    plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    EXPECT_EQ(plugin.dispatch(effGetTailSize), 154350);
}

TEST_F(Vst2Host, PreDelayFromThreadsWhileTheRateChanges) {
    Vst2Plugin& plugin = make();
    plugin.start(kLowRate, kBlock);
    const VstInt32 preDelay = plugin.indexOf("Pre-Delay");
    plugin.set(preDelay, 1.0f);
    std::atomic<bool> setting{true};
    std::thread setters[2];
    for (std::thread& setter : setters)
        setter = std::thread([&] {
            while (setting)
                plugin.set(preDelay, 1.0f);
        });
    // The active effect's rate changes, then an impulse plays at the new rate: the wet signal
    // starts 150 ms later (a sample after, as the high chains hand on).
    Vst2Plugin::Channels in(2, std::vector<double>(kBlock));
    int wrongOnsets = 0;
    bool sane = true;
    for (int change = 0; change < 100; ++change) {
        const float rate = change % 2 ? kLowRate : kHighRate;
        plugin.dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        const int delay = static_cast<int>(std::floor(0.15 * rate));
        int onset = -1;
        for (int block = 0; block * kBlock < delay + 2 * kBlock; ++block) {
            in[0][0] = in[1][0] = block == 0 ? 1.0 : 0.0;
            for (const std::vector<double>& channel : plugin.process(in, true))
                for (int i = 0; i < kBlock; ++i) {
                    sane = sane && std::fabs(channel[i]) <= 1.0;
                    if (onset < 0 && channel[i] != 0.0 && block * kBlock + i > 0)
                        onset = block * kBlock + i;
                }
        }
        wrongOnsets += onset != delay + 1;
    }
    setting = false;
    for (std::thread& setter : setters)
        setter.join();
    EXPECT_TRUE(sane) << "every output sample finite and within the impulse's size";
    EXPECT_EQ(wrongOnsets, 0);
}

TEST_F(Vst2Host, OneValueFromTwoThreadsAtOnceIsTheOneHeard) {
    Vst2Plugin& plugin = make();
    // A low rate: the mix glides for the same time in fewer samples.
    plugin.start(8000.0f, kBlock);
    const VstInt32 mix = plugin.indexOf("Fx Mix");
    constexpr int kRounds = 500;
    // Each round two threads set the mix to 0 and to 1 over and over until the same moment.
    std::atomic<int> round{-1};
    std::atomic<int> finished{0};
    std::atomic<Clock::time_point> end{Clock::now()};
    std::vector<std::thread> setters;
    for (float value : {0.0f, 1.0f})
        setters.emplace_back([&, value] {
            for (int mine = 0; mine < kRounds; ++mine) {
                while (round < mine)
                    std::this_thread::yield();
                while (Clock::now() < end.load())
                    plugin.set(mix, value);
                ++finished;
            }
        });
    int disagreements = 0;
    for (int r = 0; r < kRounds; ++r) {
        end = Clock::now() + std::chrono::microseconds(300);
        round = r;
        while (finished < 2 * (r + 1))
            std::this_thread::yield();
        // A quarter of a second to glide, then what the effect adds to a block of energy about
        // 4: all but nothing at a mix of 0, about as much again at 1.
        const bool dry = plugin.render(16, kBlock).back() < 0.05;
        disagreements += dry != (plugin.get(mix) == 0.0f);
    }
    for (std::thread& setter : setters)
        setter.join();
    EXPECT_EQ(disagreements, 0);
}

} // namespace
