// A VST 2 host's threads at once on an effect made on a loader thread that has ended: the audio
// thread automates values and programs right before each block and now and then changes the
// rate from a host callback inside one, while the main thread saves the state, changes the rate,
// does the timers' work and keeps an editor open. Under ThreadSanitizer it shows that nothing on
// the audio thread races with the main thread or the editor list, and that the hand-overs of
// program and set-up changes are safe.

#include "support/TestEffect.h"
#include "vst2wrapper/Vst2Entry.h"
#include "vst2wrapper/Vst2Wrapper.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::atomic<int> displayUpdates{0};
std::atomic<int> levelQuestions{0};
std::atomic<std::thread::id> audioThread;

// Knows its audio thread, as hosts do, and answers the process-level question of every 64th
// block there with a new rate.
VstIntPtr quietHost(AEffect* e, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterUpdateDisplay)
        ++displayUpdates;
    if (opcode != audioMasterGetCurrentProcessLevel)
        return opcode == audioMasterVersion ? 2400 : 0;
    if (std::this_thread::get_id() != audioThread.load())
        return kVstProcessLevelUnknown;
    if (e && ++levelQuestions % 64 == 0)
        e->dispatcher(e, effSetSampleRate, 0, 0, nullptr,
                      levelQuestions % 128 ? 48000.0f : 44100.0f);
    return kVstProcessLevelRealtime;
}

TEST(Vst2Threads, AutomationProcessingStateAndEditorAtOnce) {
    AudioEffect* effect = nullptr;
    std::thread([&] { effect = createEffectInstance(quietHost); }).join();
    ASSERT_NE(effect, nullptr);
    auto* wrapper = static_cast<Vst2Wrapper*>(effect);
    AEffect* e = effect->getAeffect();
    auto* controller = dynamic_cast<SorvLib::SorvEffect*>(wrapper->getController());
    ASSERT_NE(controller, nullptr);
    auto* view = new SorvTest::TestView(controller);
    view->attachTo(reinterpret_cast<void*>(0x1234));
    controller->editorAttached(view);

    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, effSetBlockSize, 0, 128, nullptr, 0.0f);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);

    std::atomic<bool> running{true};
    std::atomic<int> blocks{0};
    std::thread audio([&] {
        audioThread = std::this_thread::get_id();
        std::vector<float> in(128, 0.1f), out[2] = {in, in};
        float* inPtrs[2] = {in.data(), in.data()};
        float* outPtrs[2] = {out[0].data(), out[1].data()};
        for (int round = 0; running; ++round) {
            for (VstInt32 i = 0; i < e->numParams; ++i) {
                e->setParameter(e, i, static_cast<float>((round * 7 + i) % 10) / 10.0f);
                e->getParameter(e, i);
            }
            if (round % 50 == 0)
                e->dispatcher(e, effSetProgram, 0, round / 50 % e->numPrograms, nullptr, 0.0f);
            e->processReplacing(e, inPtrs, outPtrs, 128);
            ++blocks;
        }
    });
    size_t chunks = 0;
    for (int round = 0; round < 200; ++round) {
        // What the effect's and the wrapper's timers do on the main thread.
        controller->pushPendingValues();
        wrapper->onTimer(nullptr);
        void* data = nullptr;
        chunks += e->dispatcher(e, effGetChunk, 0, 0, &data, 0.0f) > 0;
        if (round % 20 == 0)
            e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, round % 40 ? 48000.0f : 44100.0f);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    running = false;
    audio.join();
    controller->pushPendingValues();
    wrapper->onTimer(nullptr);
    EXPECT_EQ(chunks, 200u);
    EXPECT_GT(blocks, 0);
    EXPECT_GT(displayUpdates, 0) << "the host heard of the audio thread's program changes";
    EXPECT_GE(levelQuestions, 64) << "a block asked for a new rate from inside";
    EXPECT_FALSE(view->pushed.empty()) << "the main thread pushed the automated values";

    controller->editorRemoved(view);
    view->release();
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

} // namespace
