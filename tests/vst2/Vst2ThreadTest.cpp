// A VST 2 host's threads at once on the product: one automates through setParameter, one
// processes, and the main thread hands the values over, saves the state and keeps an editor
// open that every value is pushed into. Run under ThreadSanitizer, it shows that nothing on the
// audio thread reaches the editor list or races with the main thread.

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
    auto* controller = dynamic_cast<EditController*>(wrapper->getController());
    ASSERT_NE(controller, nullptr);
    auto* view = new SorvTest::TestView(controller);
    view->attachTo(reinterpret_cast<void*>(0x1234));
    controller->editorAttached(view);

    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, effSetBlockSize, 0, 128, nullptr, 0.0f);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0.0f);

    std::atomic<bool> running{true};
    std::thread automation([&] {
        for (int round = 0; running; ++round)
            for (VstInt32 i = 0; i < e->numParams; ++i) {
                e->setParameter(e, i, static_cast<float>((round * 7 + i) % 10) / 10.0f);
                e->getParameter(e, i);
            }
    });
    std::thread audio([&] {
        std::vector<float> in[2], out[2];
        for (auto* buffers : {in, out})
            for (int c = 0; c < 2; ++c)
                buffers[c].assign(128, 0.1f);
        float* inPtrs[2] = {in[0].data(), in[1].data()};
        float* outPtrs[2] = {out[0].data(), out[1].data()};
        while (running)
            e->processReplacing(e, inPtrs, outPtrs, 128);
    });
    size_t chunks = 0;
    for (int round = 0; round < 200; ++round) {
        wrapper->onTimer(nullptr);
        void* data = nullptr;
        chunks += e->dispatcher(e, effGetChunk, 0, 0, &data, 0.0f) > 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    running = false;
    automation.join();
    audio.join();
    wrapper->onTimer(nullptr);
    EXPECT_EQ(chunks, 200u);
    EXPECT_FALSE(view->pushed.empty()) << "the main thread pushed the automated values";

    controller->editorRemoved(view);
    view->release();
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
}

} // namespace
