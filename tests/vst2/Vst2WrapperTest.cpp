// The VST 2 wrapper in process: the product under it gives the VST 3 form's output bit for bit,
// values set on another thread wait for the main thread, and the editor path shows an effect's
// view in the host's window.

#include "Vst2Wrapper.h"
#include "CPluginFactory.h"
#include "Vst2Entry.h"
#include "core/ClassFactory.h"
#include "engine/NoiseModulator.h"
#include "support/TestEffect.h"
#include "support/TestHostContext.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/pluginview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<VstInt32> hostOpcodes;
std::vector<std::pair<VstInt32, VstInt32>> sizeRequests;

VstIntPtr host(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*, float) {
    hostOpcodes.push_back(opcode);
    if (opcode == audioMasterSizeWindow)
        sizeRequests.emplace_back(index, static_cast<VstInt32>(value));
    return opcode == audioMasterVersion ? 2400 : 1;
}

constexpr int kBlocks = 40;
constexpr int kFrames = 256;

template <typename Sample> Sample inputSample(int channel, int n) {
    // An impulse and a soft tone, exactly representable in float.
    if (n == 3)
        return Sample(0.5);
    return static_cast<Sample>(static_cast<float>(0.25 * std::sin(0.01 * n + channel)));
}

template <typename Sample>
std::vector<Sample> renderVst3(const std::vector<std::pair<ParamID, float>>& values) {
    IPluginFactory* factory = GetPluginFactory();
    TUID cid;
    SorvLib::kProcessorUID.toTUID(cid);
    IComponent* component = nullptr;
    EXPECT_EQ(factory->createInstance(cid, IComponent::iid, reinterpret_cast<void**>(&component)),
              kResultOk);
    factory->release();
    SorvTest::TestHostContext context;
    component->initialize(context.unknown());
    FUnknownPtr<IAudioProcessor> processor(component);
    FUnknownPtr<IEditController> controller(component);
    for (auto& value : values)
        controller->setParamNormalized(value.first, value.second);
    ProcessSetup setup = {kRealtime, sizeof(Sample) == 4 ? kSample32 : kSample64, 512, 44100.0};
    processor->setupProcessing(setup);
    component->setActive(true);
    processor->setProcessing(true);

    std::vector<Sample> out;
    std::vector<Sample> in[2], buffers[2];
    for (int b = 0; b < kBlocks; ++b) {
        Sample* inPtrs[2];
        Sample* outPtrs[2];
        for (int c = 0; c < 2; ++c) {
            in[c].resize(kFrames);
            buffers[c].assign(kFrames, 0);
            for (int n = 0; n < kFrames; ++n)
                in[c][n] = inputSample<Sample>(c, b * kFrames + n);
            inPtrs[c] = in[c].data();
            outPtrs[c] = buffers[c].data();
        }
        AudioBusBuffers inBus, outBus;
        inBus.numChannels = outBus.numChannels = 2;
        if constexpr (sizeof(Sample) == 4) {
            inBus.channelBuffers32 = inPtrs;
            outBus.channelBuffers32 = outPtrs;
        } else {
            inBus.channelBuffers64 = inPtrs;
            outBus.channelBuffers64 = outPtrs;
        }
        ProcessData data;
        data.symbolicSampleSize = setup.symbolicSampleSize;
        data.numSamples = kFrames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        processor->process(data);
        for (int c = 0; c < 2; ++c)
            out.insert(out.end(), buffers[c].begin(), buffers[c].end());
    }
    component->setActive(false);
    component->terminate();
    component->release();
    return out;
}

template <typename Sample>
std::vector<Sample> renderVst2(const std::vector<std::pair<ParamID, float>>& values) {
    AudioEffect* effect = createEffectInstance(host);
    EXPECT_NE(effect, nullptr);
    AEffect* e = effect->getAeffect();
    auto* wrapper = static_cast<Vst2Wrapper*>(effect);
    // By name, as a host finds them.
    for (auto& value : values)
        for (VstInt32 i = 0; i < e->numParams; ++i) {
            char name[64] = {};
            e->dispatcher(e, effGetParamName, i, 0, name, 0);
            ParameterInfo info = {};
            for (int32 k = 0; k < wrapper->getController()->getParameterCount(); ++k)
                if (wrapper->getController()->getParameterInfo(k, info) == kResultOk &&
                    info.id == value.first) {
                    String title(info.title);
                    title.toMultiByte(kCP_Utf8);
                    if (std::strcmp(title.text8(), name) == 0)
                        e->setParameter(e, i, value.second);
                }
        }
    if (sizeof(Sample) == 8)
        e->dispatcher(e, effSetProcessPrecision, 0, kVstProcessPrecision64, nullptr, 0);
    e->dispatcher(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, effSetBlockSize, 0, 512, nullptr, 0);
    e->dispatcher(e, effMainsChanged, 0, 1, nullptr, 0);
    std::vector<Sample> out;
    std::vector<Sample> in[2], buffers[2];
    for (int b = 0; b < kBlocks; ++b) {
        Sample* inPtrs[2];
        Sample* outPtrs[2];
        for (int c = 0; c < 2; ++c) {
            in[c].resize(kFrames);
            buffers[c].assign(kFrames, 0);
            for (int n = 0; n < kFrames; ++n)
                in[c][n] = inputSample<Sample>(c, b * kFrames + n);
            inPtrs[c] = in[c].data();
            outPtrs[c] = buffers[c].data();
        }
        if constexpr (sizeof(Sample) == 4)
            e->processReplacing(e, inPtrs, outPtrs, kFrames);
        else
            e->processDoubleReplacing(e, inPtrs, outPtrs, kFrames);
        for (int c = 0; c < 2; ++c)
            out.insert(out.end(), buffers[c].begin(), buffers[c].end());
    }
    e->dispatcher(e, effMainsChanged, 0, 0, nullptr, 0);
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
    return out;
}

template <typename Sample> void sameOutputBothForms() {
    const std::vector<std::pair<ParamID, float>> values = {{SorvLib::fourCC("Tone"), 0.25f},
                                                           {SorvLib::fourCC("EfMx"), 0.75f},
                                                           {SorvLib::fourCC("Pred"), 0.5f}};
    const uint32_t seed = SorvLib::getNoiseState();
    const std::vector<Sample> vst3 = renderVst3<Sample>(values);
    SorvLib::setNoiseState(seed);
    const std::vector<Sample> vst2 = renderVst2<Sample>(values);
    ASSERT_EQ(vst3.size(), vst2.size());
    double energy = 0.0;
    for (size_t i = 0; i < vst3.size(); ++i) {
        ASSERT_EQ(std::memcmp(&vst3[i], &vst2[i], sizeof(Sample)), 0) << i;
        energy += double(vst3[i]) * double(vst3[i]);
    }
    EXPECT_GT(energy, 1.0);
}

TEST(Vst2Wrapper, ProductGivesTheVst3OutputBitForBitInFloatAndDouble) {
    sameOutputBothForms<float>();
    sameOutputBothForms<double>();
}

// ---- The wrapper over the framework's test effect, with a view.

class TestPlugView : public CPluginView {
public:
    TestPlugView() : CPluginView(nullptr) { rect = ViewRect(0, 0, 300, 200); }
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override {
        return std::strcmp(type, kPlatformTypeHWND) == 0 ? kResultTrue : kResultFalse;
    }
    tresult PLUGIN_API canResize() override { return kResultTrue; }
    tresult requestSize(ViewRect size) {
        return plugFrame ? plugFrame->resizeView(this, &size) : kResultFalse;
    }
    void* window() const { return systemWindow; }
    static int live;
    ~TestPlugView() override { --live; }
};
int TestPlugView::live = 0;

class ViewEffect : public SorvTest::TestEffect {
public:
    IPlugView* PLUGIN_API createView(FIDString name) override {
        if (!name || std::strcmp(name, ViewType::kEditor) != 0)
            return nullptr;
        ++TestPlugView::live;
        lastView = new TestPlugView;
        return lastView;
    }
    static TestPlugView* lastView;
};
TestPlugView* ViewEffect::lastView = nullptr;

FUnknown* createViewEffect(void*) {
    return static_cast<IAudioProcessor*>(new ViewEffect);
}

struct TestFactory {
    TestFactory() : factory(PFactoryInfo("Test", "", "", PFactoryInfo::kUnicode)) {
        SorvLib::convertVst2UidToFuid(0x54657374, "Test", false).toTUID(cid);
        static PClassInfo2 info(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, "Test", 0,
                                "Fx", "", "1.2.0.0", "VST 3.7.1");
        factory.registerClass(&info, createViewEffect);
    }
    CPluginFactory factory;
    TUID cid;
};

TEST(Vst2Wrapper, ValuesFromOtherThreadsWaitForTheMainThread) {
    TestFactory made;
    AudioEffect* effect = Vst2Wrapper::create(&made.factory, made.cid, 0x54657374, host);
    ASSERT_NE(effect, nullptr);
    auto* wrapper = static_cast<Vst2Wrapper*>(effect);
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->version, 1200);
    ASSERT_EQ(e->numParams, 4); // bypass, level, steps, meter; the program list is the programs
    EXPECT_EQ(e->numPrograms, 3);
    const ParamID level = SorvTest::kLevelId;
    IEditController* controller = wrapper->getController();

    std::thread audio([e] { e->setParameter(e, 1, 0.125f); });
    audio.join();
    EXPECT_EQ(e->getParameter(e, 1), 0.125f) << "the host reads what it set";
    EXPECT_NE(controller->getParamNormalized(level), 0.125) << "not yet on the main thread";
    wrapper->onTimer(nullptr);
    EXPECT_EQ(controller->getParamNormalized(level), 0.125);

    std::thread programs([e] { e->dispatcher(e, effSetProgram, 0, 2, nullptr, 0); });
    programs.join();
    EXPECT_EQ(e->dispatcher(e, effGetProgram, 0, 0, nullptr, 0), 2);
    wrapper->onTimer(nullptr);
    EXPECT_EQ(controller->getParamNormalized(level), static_cast<double>(0.75f));

    // The effect's own edits become the host's automation of the same index.
    hostOpcodes.clear();
    static_cast<EditController*>(controller)->beginEdit(level);
    static_cast<EditController*>(controller)->performEdit(level, 0.5);
    static_cast<EditController*>(controller)->endEdit(level);
    EXPECT_EQ(hostOpcodes, (std::vector<VstInt32>{audioMasterBeginEdit, audioMasterAutomate,
                                                  audioMasterEndEdit}));
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
}

TEST(Vst2Wrapper, EditorShowsTheEffectViewInTheHostWindow) {
    TestFactory made;
    AudioEffect* effect = Vst2Wrapper::create(&made.factory, made.cid, 0x54657374, host);
    ASSERT_NE(effect, nullptr);
    AEffect* e = effect->getAeffect();
    EXPECT_NE(e->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(TestPlugView::live, 0) << "the probe view is gone";

    ERect* rect = nullptr;
    ASSERT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 300);
    EXPECT_EQ(rect->bottom - rect->top, 200);
    int parentWindow = 0;
    ASSERT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parentWindow, 0), 1);
    TestPlugView* view = ViewEffect::lastView;
    ASSERT_TRUE(view->isAttached());
    EXPECT_EQ(view->window(), &parentWindow);

    // The view asks to grow: the host is asked for the new size, then the view takes it.
    sizeRequests.clear();
    EXPECT_EQ(view->requestSize(ViewRect(0, 0, 600, 400)), kResultTrue);
    EXPECT_EQ(sizeRequests, (std::vector<std::pair<VstInt32, VstInt32>>{{600, 400}}));
    EXPECT_EQ(view->getRect().getWidth(), 600);

    EXPECT_EQ(e->dispatcher(e, effEditClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(TestPlugView::live, 0);
    ASSERT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parentWindow, 0), 1);
    view = ViewEffect::lastView;
    ASSERT_NE(view->window(), nullptr);
    EXPECT_EQ(e->dispatcher(e, effEditOpen, 0, 0, &parentWindow, 0), 0) << "already open";
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0), 1);
    EXPECT_EQ(TestPlugView::live, 0) << "closing the effect removes and releases its view";
}

} // namespace
