// A VST 2 host's threads at once on the product: the audio thread automates through
// setParameter and setProgram right before each block, as VST 2 hosts do, while the main thread
// saves the state, changes the sample rate and keeps an editor open that the values are pushed
// into. Run under ThreadSanitizer, it shows that nothing on the audio thread reaches the editor
// list or races with the main thread.

#include "vst2wrapper/Vst2Entry.h"
#include "vst2wrapper/Vst2Wrapper.h"
#include "support/TestEffect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(Vst2Threads, AutomationProcessingStateAndEditorAtOnce) {
    AudioEffect* effect = createEffectInstance(quietHost);
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
        std::vector<float> in[2], out[2];
        for (auto* buffers : {in, out})
            for (int c = 0; c < 2; ++c)
                buffers[c].assign(128, 0.1f);
        float* inPtrs[2] = {in[0].data(), in[1].data()};
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
    EXPECT_EQ(chunks, 200u);
    EXPECT_GT(blocks, 0);
    EXPECT_FALSE(view->pushed.empty()) << "the main thread pushed the automated values";

    controller->editorRemoved(view);
    view->release();
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

} // namespace
