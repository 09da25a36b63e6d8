// The AAX wrapper's run-time objects over the product's effect, in-process, driven through the
// host model the way an AAX host drives them: parameters, automation, coefficients, audio,
// state chunk and the window.

#include "aaxwrapper/AAXWrapperDescription.h"
#include "aaxwrapper/AAXWrapper_GUI.h"
#include "aaxwrapper/AAXWrapper_Parameters.h"
#include "AAX_CString.h"
#include "AaxFixture.h"
#include "core/ClassFactory.h"
#include "core/CoreIds.h"
#include "engine/NoiseModulator.h"
#include "engine/QUOR515Ids.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using namespace SorvTest;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kRate = 48000;
constexpr int32_t kFrames = 256;
constexpr int kBlocks = 8;

class AaxWrapperTest : public AaxFixture {
protected:
    void SetUp() override {
        AaxFixture::SetUp();
        startHostServices();
        controller = model.newController();
    }
    void TearDown() override {
        controller->Release();
        AaxFixture::TearDown();
    }
    // A new initialised instance; the host confirms its set requests.
    AAXWrapper_Parameters* newInstance() {
        IACFUnknown* made = AAXWrapper_Parameters::Create();
        EXPECT_NE(made, nullptr);
        auto* wrapper =
            dynamic_cast<AAXWrapper_Parameters*>(static_cast<AAX_IACFEffectParameters_V4*>(made));
        model.confirmTo = wrapper;
        EXPECT_EQ(wrapper->Initialize(controller), AAX_SUCCESS);
        return wrapper;
    }
    static void destroy(AAXWrapper_Parameters* wrapper) {
        wrapper->Uninitialize();
        wrapper->Release();
    }
    std::vector<unsigned char> saveChunk(AAXWrapper_Parameters* wrapper) {
        uint32_t size = 0;
        EXPECT_EQ(wrapper->GetChunkSize(AAXWrapper_Parameters::kStateChunkID, &size), AAX_SUCCESS);
        std::vector<unsigned char> record(kAAX_ChunkHeaderSize + size);
        auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
        EXPECT_EQ(wrapper->GetChunk(AAXWrapper_Parameters::kStateChunkID, chunk), AAX_SUCCESS);
        chunk->fChunkID = AAXWrapper_Parameters::kStateChunkID;
        return record;
    }
    IACFUnknown* controller = nullptr;
};

TEST_F(AaxWrapperTest, ParametersAutomationAndCoefficients) {
    AAXWrapper_Parameters* wrapper = newInstance();
    IEditController* effect = wrapper->GetController();
    int32_t count = 0;
    wrapper->GetNumberOfParameters(&count);
    EXPECT_EQ(count, effect->getParameterCount() + 1);
    AAX_CString text;
    wrapper->GetMasterBypassParameter(&text);
    EXPECT_STREQ(text.Get(), kAAX_MasterBypassID);

    struct Row {
        const char* id;
        const char* name;
        int32_t steps;
    } rows[] = {{"EfMx", "Fx Mix", 128},
                {"Powr", "Power", 2},
                {"MByp", "Master Bypass", 2},
                {kAAX_MasterBypassID, "Master Bypass", 2}};
    for (const Row& row : rows) {
        int32_t steps = 0;
        EXPECT_EQ(wrapper->GetParameterName(row.id, &text), AAX_SUCCESS);
        EXPECT_STREQ(text.Get(), row.name);
        EXPECT_EQ(wrapper->GetParameterNumberOfSteps(row.id, &steps), AAX_SUCCESS) << row.id;
        EXPECT_EQ(steps, row.steps) << row.id;
        EXPECT_EQ(wrapper->GetParameterValueString(row.id, &text, 32), AAX_SUCCESS) << row.id;
        EXPECT_GT(text.Length(), 0u) << row.id;
    }
    // The value text is the effect's own.
    String128 own = {};
    effect->getParamStringByValue(SorvLib::kFxMixId, 0.5, own);
    EXPECT_EQ(wrapper->GetParameterStringFromValue("EfMx", 0.5, &text, 64), AAX_SUCCESS);
    EXPECT_EQ(text.Length() > 0 && text.Get()[0] == char(own[0]), true);
    double value = 7;
    EXPECT_EQ(wrapper->GetParameterValueFromString("EfMx", &value, AAX_CString("nonsense")),
              AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ(value, 7);

    // Touch, set, release: the host sees the automation, and the value reaches the effect.
    model.automation.clear();
    EXPECT_EQ(wrapper->TouchParameter("EfMx"), AAX_SUCCESS);
    EXPECT_EQ(wrapper->SetParameterNormalizedValue("EfMx", 0.75), AAX_SUCCESS);
    EXPECT_EQ(wrapper->ReleaseParameter("EfMx"), AAX_SUCCESS);
    EXPECT_EQ(model.automation,
              (std::vector<std::string>{"touch EfMx", "touch EfMx", "set EfMx 0.75",
                                        "post EfMx 0.75", "release EfMx", "release EfMx"}));
    EXPECT_EQ(effect->getParamNormalized(SorvLib::kFxMixId), 0.75);
    // The effect's own edits go to the host as automation.
    model.automation.clear();
    static_cast<IComponentHandler*>(wrapper)->performEdit(SorvLib::kToneId, 0.25);
    EXPECT_EQ(model.automation.front(), "touch Tone");
    EXPECT_EQ(effect->getParamNormalized(SorvLib::kToneId), 0.25);
    // Values from outside 0..1 and NaN are clamped before they reach the effect.
    for (double bad : {-1.0, 2.0, std::nan("")}) {
        EXPECT_EQ(wrapper->UpdateParameterNormalizedValue("EfMx", bad, 0), AAX_SUCCESS);
        const double stored = effect->getParamNormalized(SorvLib::kFxMixId);
        EXPECT_TRUE(stored == 0.0 || stored == 1.0) << bad;
    }
    // A stepped parameter shows the host the value the effect quantised it to.
    wrapper->SetParameterNormalizedValue("Powr", 0.3);
    wrapper->GetParameterNormalizedValue("Powr", &value);
    EXPECT_EQ(value, effect->getParamNormalized(SorvLib::kPowerId));
    EXPECT_TRUE(value == 0.0 || value == 1.0);
    // Bypass both ways.
    wrapper->SetParameterNormalizedValue(kAAX_MasterBypassID, 1.0);
    EXPECT_EQ(effect->getParamNormalized(SorvLib::kMasterBypassId), 1.0);
    wrapper->GetParameterNormalizedValue("MByp", &value);
    EXPECT_EQ(value, 1.0);

    EXPECT_EQ(wrapper->GenerateCoefficients(), AAX_SUCCESS);
    ASSERT_FALSE(model.packets.empty());
    EXPECT_EQ(model.packets.back().field, AAXWrapper_Parameters::kInstanceField);
    AAXWrapper_Parameters* posted = nullptr;
    ASSERT_EQ(model.packets.back().data.size(), sizeof(posted));
    std::memcpy(&posted, model.packets.back().data.data(), sizeof(posted));
    EXPECT_EQ(posted, wrapper);
    destroy(wrapper);
}

// The same input and values through the AAX procedure and through the VST 3 effect directly.
TEST_F(AaxWrapperTest, ProcessEqualsTheVst3PathBitForBit) {
    for (int32_t channels : {1, 2}) {
        std::mt19937 random{uint32_t(channels)};
        std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
        std::vector<std::vector<float>> input(size_t(channels),
                                              std::vector<float>(kFrames * kBlocks));
        for (auto& channel : input)
            for (float& x : channel)
                x = sample(random);

        const uint32_t seed = 0x1234567u | 1u;
        std::vector<std::vector<float>> aaxOut(size_t(channels),
                                               std::vector<float>(kFrames * kBlocks));
        {
            AAXWrapper_Parameters* wrapper = newInstance();
            wrapper->SetParameterNormalizedValue("EfMx", 0.6);
            wrapper->SetParameterNormalizedValue("Tone", 0.3);
            wrapper->GenerateCoefficients();
            AAXWrapper_Parameters* instance = nullptr;
            std::memcpy(&instance, model.packets.back().data.data(), sizeof(instance));
            SorvLib::noiseState = seed;
            for (int block = 0; block < kBlocks; ++block) {
                float* in[2] = {};
                float* out[2] = {};
                for (int32_t c = 0; c < channels; ++c) {
                    in[c] = input[size_t(c)].data() + block * kFrames;
                    out[c] = aaxOut[size_t(c)].data() + block * kFrames;
                }
                const int32_t frames = kFrames;
                AAXWrapper_Context context = {in, out, &frames, &instance, channels, kRate};
                void* contexts[] = {&context};
                AAXWrapper_AlgorithmProcessFunction(contexts, contexts + 1);
            }
            destroy(wrapper);
        }

        std::vector<std::vector<float>> vstOut(size_t(channels),
                                               std::vector<float>(kFrames * kBlocks));
        IPluginFactory* factory = GetPluginFactory();
        IComponent* component = nullptr;
        ASSERT_EQ(factory->createInstance(SorvLib::kProcessorUID.toTUID(), IComponent::iid,
                                          reinterpret_cast<void**>(&component)),
                  kResultOk);
        factory->release();
        component->initialize(nullptr);
        FUnknownPtr<IAudioProcessor> processor(component);
        FUnknownPtr<IEditController> edit(component);
        edit->setParamNormalized(SorvLib::kFxMixId, 0.6);
        edit->setParamNormalized(SorvLib::kToneId, 0.3);
        SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        processor->setBusArrangements(&arrangement, 1, &arrangement, 1);
        ProcessSetup setup = {kRealtime, kSample32, 1024, kRate};
        processor->setupProcessing(setup);
        component->setActive(true);
        processor->setProcessing(true);
        SorvLib::noiseState = seed;
        for (int block = 0; block < kBlocks; ++block) {
            float* in[2] = {};
            float* out[2] = {};
            for (int32_t c = 0; c < channels; ++c) {
                in[c] = input[size_t(c)].data() + block * kFrames;
                out[c] = vstOut[size_t(c)].data() + block * kFrames;
            }
            AudioBusBuffers inBus = {}, outBus = {};
            inBus.numChannels = outBus.numChannels = channels;
            inBus.channelBuffers32 = in;
            outBus.channelBuffers32 = out;
            ProcessData data;
            data.symbolicSampleSize = kSample32;
            data.numSamples = kFrames;
            data.numInputs = data.numOutputs = 1;
            data.inputs = &inBus;
            data.outputs = &outBus;
            processor->process(data);
        }
        processor->setProcessing(false);
        component->setActive(false);
        component->terminate();
        component->release();

        bool nonSilent = false;
        for (int32_t c = 0; c < channels; ++c) {
            EXPECT_EQ(std::memcmp(aaxOut[size_t(c)].data(), vstOut[size_t(c)].data(),
                                  sizeof(float) * kFrames * kBlocks),
                      0)
                << channels << " channels, channel " << c;
            for (float x : aaxOut[size_t(c)])
                nonSilent = nonSilent || x != 0.0f;
        }
        EXPECT_TRUE(nonSilent);
    }
}

TEST_F(AaxWrapperTest, ChunkRestoresEveryValueAndRefusesBadOnes) {
    AAXWrapper_Parameters* first = newInstance();
    std::vector<unsigned char> early(kAAX_ChunkHeaderSize + 64);
    EXPECT_EQ(first->GetChunk(AAXWrapper_Parameters::kStateChunkID,
                              reinterpret_cast<AAX_SPlugInChunk*>(early.data())),
              AAX_ERROR_INCORRECT_CHUNK_SIZE);
    first->SetParameterNormalizedValue("EfMx", 0.125);
    first->SetParameterNormalizedValue("Pred", 0.5);
    first->SetParameterNormalizedValue("Powr", 0.0);
    std::vector<unsigned char> record = saveChunk(first);
    int32_t count = 0;
    first->GetNumberOfParameters(&count);
    std::vector<double> values;
    AAX_CString id;
    for (int32_t i = 0; i < count; ++i) {
        double value = 0;
        first->GetParameterIDFromIndex(i, &id);
        first->GetParameterNormalizedValue(id.Get(), &value);
        values.push_back(value);
    }
    destroy(first);

    AAXWrapper_Parameters* second = newInstance();
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    EXPECT_EQ(second->SetChunk(0x12345678, chunk), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ(second->SetChunk(AAXWrapper_Parameters::kStateChunkID, chunk), AAX_SUCCESS);
    for (int32_t i = 0; i < count; ++i) {
        double value = -1;
        second->GetParameterIDFromIndex(i, &id);
        second->GetParameterNormalizedValue(id.Get(), &value);
        // The state keeps each value as a 32-bit float.
        EXPECT_EQ(value, double(float(values[size_t(i)]))) << id.Get();
    }
    AAX_CBoolean equal = 0;
    EXPECT_EQ(second->CompareActiveChunk(chunk, &equal), AAX_SUCCESS);
    EXPECT_EQ(equal, 1);

    // Cut or scrambled chunks: refused as a whole or taken whole, never a crash, never half.
    std::mt19937 random(515);
    const std::vector<unsigned char> before = saveChunk(second);
    for (int round = 0; round < 200; ++round) {
        std::vector<unsigned char> bad(record);
        const size_t data = record.size() - kAAX_ChunkHeaderSize;
        const size_t cut = random() % (data + 1);
        for (size_t k = kAAX_ChunkHeaderSize; k < bad.size(); ++k)
            if (random() % 8 == 0)
                bad[k] = static_cast<unsigned char>(random());
        bad.resize(std::max(kAAX_ChunkHeaderSize + cut, sizeof(AAX_SPlugInChunk)));
        auto* badChunk = reinterpret_cast<AAX_SPlugInChunk*>(bad.data());
        badChunk->fSize = int32_t(cut);
        const AAX_Result result = second->SetChunk(AAXWrapper_Parameters::kStateChunkID, badChunk);
        if (result != AAX_SUCCESS) {
            EXPECT_TRUE(result == AAX_ERROR_MALFORMED_CHUNK ||
                        result == AAX_ERROR_INCORRECT_CHUNK_SIZE);
            EXPECT_EQ(saveChunk(second), before);
        } else {
            ASSERT_EQ(second->SetChunk(AAXWrapper_Parameters::kStateChunkID, chunk), AAX_SUCCESS);
        }
    }
    destroy(second);
}

// A window of our own where the product has none yet: records what the wrapper does with it.
class StandInView final : public IPlugView {
public:
    std::vector<std::string>& log;
    explicit StandInView(std::vector<std::string>& log) : log(log) {}
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) SMTG_OVERRIDE {
        return std::strcmp(type, "HWND") == 0 ? kResultTrue : kResultFalse;
    }
    tresult PLUGIN_API attached(void* parent, FIDString type) SMTG_OVERRIDE {
        log.push_back(std::string("attached ") + type + (parent ? " window" : " null"));
        return kResultOk;
    }
    tresult PLUGIN_API removed() SMTG_OVERRIDE {
        log.push_back("removed");
        return kResultOk;
    }
    tresult PLUGIN_API onWheel(float) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API onKeyDown(char16, int16, int16) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API onKeyUp(char16, int16, int16) SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API getSize(ViewRect* size) SMTG_OVERRIDE {
        *size = ViewRect(0, 0, 512, 493);
        return kResultOk;
    }
    tresult PLUGIN_API onSize(ViewRect*) SMTG_OVERRIDE { return kResultOk; }
    tresult PLUGIN_API onFocus(TBool) SMTG_OVERRIDE { return kResultOk; }
    tresult PLUGIN_API setFrame(IPlugFrame* frame) SMTG_OVERRIDE {
        log.push_back(frame ? "frame" : "no frame");
        return kResultOk;
    }
    tresult PLUGIN_API canResize() SMTG_OVERRIDE { return kResultFalse; }
    tresult PLUGIN_API checkSizeConstraint(ViewRect*) SMTG_OVERRIDE { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) SMTG_OVERRIDE {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return ++references; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE {
        if (--references == 0) {
            log.push_back("released");
            delete this;
            return 0;
        }
        return references;
    }
    uint32 references = 1;

private:
    virtual ~StandInView() = default;
};

class StandInGUI : public AAXWrapper_GUI {
public:
    std::vector<std::string> log;
    int updates = 0;
    AAX_Result ACFMETHODCALLTYPE ParameterUpdated(AAX_CParamID) override {
        ++updates;
        return AAX_SUCCESS;
    }

protected:
    IPlugView* CreateView() override {
        // The product's own view when it has one, else the stand-in.
        if (IPlugView* own = AAXWrapper_GUI::CreateView()) {
            own->release();
            log.push_back("product view");
        }
        return new StandInView(log);
    }
};

TEST_F(AaxWrapperTest, WindowOpensInTheViewContainerAndCloses) {
    AAXWrapper_Parameters* wrapper = newInstance();
    model.effectParameters = static_cast<AAX_IACFEffectParameters_V4*>(wrapper);
    auto* gui = new StandInGUI;
    gui->AddRef();
    EXPECT_EQ(gui->Initialize(nullptr), AAX_ERROR_NOT_INITIALIZED);
    ASSERT_EQ(gui->Initialize(controller), AAX_SUCCESS);
    int window = 0;
    model.nativeWindow = &window;
    IACFUnknown* container = model.newViewContainer();
    int32_t count = 0;
    wrapper->GetNumberOfParameters(&count);
    EXPECT_EQ(gui->SetViewContainer(container), AAX_SUCCESS);
    EXPECT_EQ(gui->updates, count);
    AAX_Point size = {};
    EXPECT_EQ(gui->GetViewSize(&size), AAX_SUCCESS);
    EXPECT_EQ(size.horz, 512.0f);
    EXPECT_EQ(size.vert, 493.0f);
    // The same container again: the window is built anew and every value pushed again.
    EXPECT_EQ(gui->SetViewContainer(container), AAX_SUCCESS);
    EXPECT_EQ(gui->updates, 2 * count);
    EXPECT_EQ(gui->SetViewContainer(nullptr), AAX_SUCCESS);
    EXPECT_EQ(gui->SetViewContainer(nullptr), AAX_SUCCESS);
    std::vector<std::string> log;
    for (const std::string& line : gui->log)
        if (line != "product view")
            log.push_back(line);
    const std::vector<std::string> once = {"frame", "attached HWND window", "removed", "no frame",
                                           "released"};
    std::vector<std::string> expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(log, expected);
    // A window still open at Uninitialize is closed first.
    gui->SetViewContainer(container);
    gui->Uninitialize();
    EXPECT_EQ(gui->log.back(), "released");
    gui->Release();
    container->Release();
    model.effectParameters = nullptr;
    destroy(wrapper);
}

} // namespace
