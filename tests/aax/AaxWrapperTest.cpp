// The AAX wrapper's run-time objects over the product's effect, in-process, driven by the host
// model the way an AAX host drives them: the effect registered, instances made through its
// procedure, contexts built from the declared fields; parameters, automation, coefficients,
// audio and meters, state chunk and the window.

#include "AAX_CString.h"
#include "AAX_Init.h"
#include "AaxFixture.h"
#include "aaxwrapper/AAXWrapperDescription.h"
#include "aaxwrapper/AAXWrapper_DisplayDelegate.h"
#include "aaxwrapper/AAXWrapper_GUI.h"
#include "aaxwrapper/AAXWrapper_Parameters.h"
#include "core/ClassFactory.h"
#include "core/CoreIds.h"
#include "engine/NoiseModulator.h"
#include "engine/QUOR515Ids.h"
#include "engine/TestParameterChanges.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

using namespace SorvTest;
using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr float kRate = 48000; // the host model's

class AaxWrapperTest : public AaxEffectFixture {
protected:
    static AAXWrapper_Parameters* wrapperOf(const AaxHostInstance& instance) {
        return dynamic_cast<AAXWrapper_Parameters*>(instance.parameters());
    }
};

TEST_F(AaxWrapperTest, ParametersAutomationAndCoefficients) {
    auto instance = newInstance();
    AAX_IACFEffectParameters* parameters = instance->parameters();
    IEditController* edit = wrapperOf(*instance)->GetController();
    int32_t count = 0;
    parameters->GetNumberOfParameters(&count);
    EXPECT_EQ(count, edit->getParameterCount() + 1);
    AAX_CString text;
    // Texts at the host's lengths: numbers lose decimals, rounded, never whole digits; words
    // are cut between characters.
    const struct {
        const char* id;
        double value;
        int32_t length;
        AAX_Result result;
        const char* text;
    } texts[] = {{"Pred", 1.0, 32, AAX_SUCCESS, "150.0"},
                 {"Pred", 1.0, 4, AAX_SUCCESS, "150"},
                 {"Pred", 1.0, 2, AAX_ERROR_INVALID_STRING_CONVERSION, ""},
                 {"EfMx", 0.996, 2, AAX_SUCCESS, "10"},
                 {"Powr", 0.0, 2, AAX_SUCCESS, "Of"}};
    for (const auto& row : texts) {
        SCOPED_TRACE(testing::Message() << row.id << " " << row.length);
        EXPECT_EQ(parameters->GetParameterStringFromValue(row.id, row.value, &text, row.length),
                  row.result);
        EXPECT_STREQ(text.Get(), row.text);
    }
    double value = 7;
    EXPECT_EQ(parameters->GetParameterValueFromString("EfMx", &value, AAX_CString("nonsense")),
              AAX_ERROR_INVALID_STRING_CONVERSION);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(parameters->GetParameterValueFromString("EfMx", &value, AAX_CString("2.5")),
              AAX_SUCCESS);
    EXPECT_EQ(value, 0.25);
    // Text beyond ASCII is decoded, not widened byte by byte, and malformed UTF-8 is refused.
    const char* const wide = "2.5 \xC2\xB5s \xE2\x84\x83 \xF0\x9D\x84\x9E";
    String128 text16 = {};
    ASSERT_TRUE(AAXWrapper_DisplayDelegate::FromUtf8(wide, text16));
    EXPECT_EQ(text16[4], 0xB5);
    EXPECT_EQ(text16[7], 0x2103);
    EXPECT_EQ(text16[9], 0xD834);
    EXPECT_EQ(AAXWrapper_DisplayDelegate::ToUtf8(text16), wide);
    for (const char* bad : {"2\xC2.5", "\xE2\x82", "\xC0\xAE", "\xED\xA0\x80"})
        EXPECT_FALSE(AAXWrapper_DisplayDelegate::FromUtf8(bad, text16)) << bad;

    // The effect's own edits go to the host as automation.
    model.automation.clear();
    static_cast<IComponentHandler*>(wrapperOf(*instance))->performEdit(SorvLib::kToneId, 0.25);
    EXPECT_EQ(model.automation.front(), "touch Tone");
    EXPECT_EQ(edit->getParamNormalized(SorvLib::kToneId), 0.25);
    // Values from outside 0..1 and NaN are clamped before they reach the effect.
    for (double bad : {-1.0, 2.0, std::nan("")}) {
        EXPECT_EQ(parameters->UpdateParameterNormalizedValue("EfMx", bad, 0), AAX_SUCCESS);
        const double stored = edit->getParamNormalized(SorvLib::kFxMixId);
        EXPECT_TRUE(stored == 0.0 || stored == 1.0) << bad;
    }
    // A stepped parameter shows the host the value the effect quantised it to.
    parameters->SetParameterNormalizedValue("Powr", 0.3);
    parameters->GetParameterNormalizedValue("Powr", &value);
    EXPECT_EQ(value, edit->getParamNormalized(SorvLib::kPowerId));
    EXPECT_TRUE(value == 0.0 || value == 1.0);
    // The two bypass parameters and the effect agree, whichever the host confirms.
    const struct {
        const char* id;
        double value;
        double bypass;
    } bypassCases[] = {{kAAX_MasterBypassID, 1.0, 1.0},
                       {"MByp", 0.3, 0.0},
                       {kAAX_MasterBypassID, 0.3, 1.0},
                       {"MByp", 0.0, 0.0},
                       {"MByp", 1.0, 1.0}};
    for (const auto& row : bypassCases) {
        SCOPED_TRACE(testing::Message() << row.id << " " << row.value);
        EXPECT_EQ(parameters->UpdateParameterNormalizedValue(row.id, row.value, 0), AAX_SUCCESS);
        double master = -1, own = -1;
        parameters->GetParameterNormalizedValue(kAAX_MasterBypassID, &master);
        parameters->GetParameterNormalizedValue("MByp", &own);
        EXPECT_EQ(master, row.bypass);
        EXPECT_EQ(own, row.bypass);
        EXPECT_EQ(edit->getParamNormalized(SorvLib::kMasterBypassId), row.bypass);
    }

    // The coefficients go to the port the description declared: the host refuses any other.
    model.packets.clear();
    EXPECT_EQ(parameters->GenerateCoefficients(), AAX_SUCCESS);
    EXPECT_FALSE(model.packets.empty());
}

// The same input and values through the AAX procedure and through the VST 3 effect directly,
// in blocks of the host's lengths, one of them longer than the effect is set up for.
TEST_F(AaxWrapperTest, ProcessAndMetersEqualTheVst3PathBitForBit) {
    constexpr int32_t kLongBlock = 2500;
    const int32_t lengths[] = {256, 256, kLongBlock, 64, 1024, 256};
    const size_t total = 256 + 256 + kLongBlock + 64 + 1024 + 256;
    constexpr uint32_t kSeed = 0x1234567u;
    using Buffers = std::vector<std::vector<float>>;
    for (int32_t channels : {1, 2}) {
        SCOPED_TRACE(channels);
        std::mt19937 random{uint32_t(channels)};
        std::uniform_real_distribution<float> sample(-1.5f, 1.5f);
        Buffers input(size_t(channels), std::vector<float>(total, 0.0f));
        // Silent from the second piece of the long block on: its first piece reduces the most.
        for (auto& channel : input)
            for (size_t i = 0; i < 256 + 256 + AAXWrapper_Parameters::kMaxBlock; ++i)
                channel[i] = sample(random);
        // Each path its own input: a path that wrote into it cannot silence the other's.
        Buffers aaxIn = input, vstIn = input;
        Buffers aaxOut(size_t(channels), std::vector<float>(total, 0.0f)), vstOut = aaxOut;
        std::vector<float> aaxMeters, vstMeters;
        {
            auto instance = newInstance(size_t(channels - 1));
            ASSERT_EQ(instance->channels(), channels);
            ASSERT_EQ(instance->sampleRate, kRate);
            instance->parameters()->SetParameterNormalizedValue("EfMx", 0.6);
            instance->parameters()->SetParameterNormalizedValue("EfLm", 0.9);
            instance->parameters()->GenerateCoefficients();
            SorvLib::noiseState = kSeed;
            size_t at = 0;
            for (int32_t length : lengths) {
                instance->render(aaxIn.data(), aaxOut.data(), length, at);
                ASSERT_EQ(instance->meterValues.size(), 1u);
                aaxMeters.push_back(instance->meterValues[0]);
                at += size_t(length);
            }
        }

        IPluginFactory* factory = GetPluginFactory();
        IComponent* component = nullptr;
        ASSERT_EQ(factory->createInstance(SorvLib::kProcessorUID.toTUID(), IComponent::iid,
                                          reinterpret_cast<void**>(&component)),
                  kResultOk);
        factory->release();
        component->initialize(nullptr);
        FUnknownPtr<IAudioProcessor> processor(component);
        FUnknownPtr<IEditController> edit(component);
        SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
        processor->setBusArrangements(&arrangement, 1, &arrangement, 1);
        // The VST 3 host hands each block whole: it set up for the longest.
        ProcessSetup setup = {kRealtime, kSample32, kLongBlock, kRate};
        processor->setupProcessing(setup);
        component->setActive(true);
        processor->setProcessing(true);
        edit->setParamNormalized(SorvLib::kFxMixId, 0.6);
        edit->setParamNormalized(SorvLib::kFxLimiterId, 0.9);
        SorvLib::noiseState = kSeed;
        size_t at = 0;
        for (int32_t length : lengths) {
            float *in[2] = {}, *out[2] = {};
            for (size_t c = 0; c < size_t(channels); ++c) {
                in[c] = vstIn[c].data() + at;
                out[c] = vstOut[c].data() + at;
            }
            AudioBusBuffers inBus = {}, outBus = {};
            inBus.numChannels = outBus.numChannels = channels;
            inBus.channelBuffers32 = in;
            outBus.channelBuffers32 = out;
            TestParameterChanges changes;
            ProcessData data;
            data.symbolicSampleSize = kSample32;
            data.numSamples = length;
            data.numInputs = data.numOutputs = 1;
            data.inputs = &inBus;
            data.outputs = &outBus;
            data.outputParameterChanges = &changes;
            processor->process(data);
            vstMeters.push_back(float(changes.lastValue(SorvLib::kGrMeterId)));
            at += size_t(length);
        }
        processor->setProcessing(false);
        component->setActive(false);
        component->terminate();
        component->release();

        for (size_t c = 0; c < size_t(channels); ++c) {
            EXPECT_EQ(std::memcmp(aaxOut[c].data(), vstOut[c].data(), sizeof(float) * total), 0)
                << "channel " << c;
            EXPECT_NE(aaxOut[c], std::vector<float>(total, 0.0f)) << "channel " << c << " silent";
        }
        EXPECT_EQ(aaxMeters, vstMeters);
        EXPECT_GT(*std::max_element(aaxMeters.begin(), aaxMeters.end()), 0.0f)
            << "the limiter never reduced";
    }
}

// Blocks that cannot be processed leave the host's buffers defined: silence, or the input
// while the effect is bypassed, whether or not the host runs them in place; and no gain
// reduction, whatever the meter cell held.
TEST_F(AaxWrapperTest, UnprocessableBlocksGiveSilenceOrTheInput) {
    constexpr int32_t kFrames = 64;
    const std::vector<float> input(kFrames, 0.25f), silence(kFrames, 0.0f), stale(kFrames, 9.0f);
    for (bool inPlace : {false, true}) {
        for (bool bypassed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "in place " << inPlace << ", bypassed " << bypassed);
            AaxHostInstance instance(model, *effect, 0);
            instance.stemFormat = AAX_eStemFormat_Stereo; // not the mono component's width
            ASSERT_TRUE(instance.create());
            instance.parameters()->UpdateParameterNormalizedValue(kAAX_MasterBypassID,
                                                                  bypassed ? 1.0 : 0.0, 0);
            instance.parameters()->GenerateCoefficients();
            std::vector<float> out = inPlace ? input : stale;
            const std::vector<float>* in = inPlace ? &out : &input;
            instance.render(in, &out, kFrames);
            EXPECT_EQ(out, bypassed ? input : silence);
            EXPECT_EQ(instance.meterValues, std::vector<float>{0.0f});
            // The host reports the width it really runs: the next block is processed.
            instance.changeStemFormat(AAX_eStemFormat_Mono);
            out = inPlace ? input : stale;
            instance.render(in, &out, kFrames);
            EXPECT_NE(out[kFrames - 1], 9.0f);
            EXPECT_NE(out, silence);
        }
    }
}

// A description without meters: the host builds contexts without a meter slot, and blocks,
// processed or not, read no slot past the ones declared.
AAX_Result describeWithoutMeters(AAX_ICollection* collection) {
    static AAX_Effect_Desc description;
    static AAX_Plugin_Desc layouts[3];
    description = *AAXWrapper_GetDescription();
    for (int row = 0; row < 2; ++row) {
        layouts[row] = description.mPluginDesc[row];
        layouts[row].mMeters = nullptr;
    }
    description.mPluginDesc = layouts;
    return AAXWrapper_DescribeEffect(collection, &description);
}

TEST_F(AaxWrapperTest, ALayoutWithoutMetersReadsOnlyItsSlots) {
    IACFPluginDefinition* bare = nullptr;
    ASSERT_EQ(AAX_RegisterPluginWith(host, &bare, &describeWithoutMeters), ACF_OK);
    {
        AaxHostInstance instance(model, *model.collections.back()->effects.at(0).second, 1);
        ASSERT_TRUE(instance.create());
        EXPECT_TRUE(instance.meterValues.empty());
        const std::vector<float> silence(256, 0.0f), loud(256, 0.5f), in[2] = {loud, loud};
        std::vector<float> out[2] = {silence, silence};
        instance.render(in, out, 256);
        EXPECT_NE(out[0], silence);
        instance.changeStemFormat(AAX_eStemFormat_Mono);
        instance.render(in, out, 256);
        EXPECT_EQ(out[0], silence);
    }
    bare->Release();
}

TEST_F(AaxWrapperTest, ChunkRestoresEveryValueAndRefusesBadOnes) {
    auto firstInstance = newInstance();
    AAX_IACFEffectParameters* first = firstInstance->parameters();
    std::vector<unsigned char> early(kAAX_ChunkHeaderSize + 64);
    EXPECT_EQ(first->GetChunk(AAXWrapper_Parameters::kStateChunkID,
                              reinterpret_cast<AAX_SPlugInChunk*>(early.data())),
              AAX_ERROR_INCORRECT_CHUNK_SIZE);
    first->SetParameterNormalizedValue("EfMx", 0.125);
    first->SetParameterNormalizedValue("Pred", 0.5);
    first->SetParameterNormalizedValue("Powr", 0.0);
    std::vector<unsigned char> record = firstInstance->saveChunk();
    ASSERT_FALSE(record.empty());
    const auto values = [](AAX_IACFEffectParameters* parameters) {
        int32_t count = 0;
        parameters->GetNumberOfParameters(&count);
        std::vector<double> all(size_t(count), -1.0);
        AAX_CString id;
        for (int32_t i = 0; i < count; ++i)
            if (parameters->GetParameterIDFromIndex(i, &id) == AAX_SUCCESS)
                parameters->GetParameterNormalizedValue(id.Get(), &all[size_t(i)]);
        return all;
    };
    std::vector<double> saved = values(first);
    for (double& value : saved)
        value = double(float(value)); // the state keeps each value as a 32-bit float
    firstInstance.reset();

    auto secondInstance = newInstance();
    AAX_IACFEffectParameters* second = secondInstance->parameters();
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    EXPECT_EQ(second->SetChunk(0x12345678, chunk), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ(second->SetChunk(AAXWrapper_Parameters::kStateChunkID, chunk), AAX_SUCCESS);
    EXPECT_EQ(values(second), saved);
    AAX_CBoolean equal = 0;
    EXPECT_EQ(second->CompareActiveChunk(chunk, &equal), AAX_SUCCESS);
    EXPECT_EQ(equal, 1);

    // Cut or scrambled chunks: refused as a whole or taken whole, never a crash, never half.
    std::mt19937 random(515);
    const std::vector<unsigned char> before = secondInstance->saveChunk();
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
            EXPECT_EQ(secondInstance->saveChunk(), before);
        } else {
            ASSERT_EQ(second->SetChunk(AAXWrapper_Parameters::kStateChunkID, chunk), AAX_SUCCESS);
        }
    }
}

// A window of our own where the product has none: records what the wrapper does with it.
class StandInView final : public IPlugView {
public:
    std::vector<std::string>& log;
    ViewRect rect{0, 0, 512, 493};
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
        *size = rect;
        return kResultOk;
    }
    tresult PLUGIN_API onSize(ViewRect* size) SMTG_OVERRIDE {
        rect = *size;
        return kResultOk;
    }
    tresult PLUGIN_API onFocus(TBool) SMTG_OVERRIDE { return kResultOk; }
    tresult PLUGIN_API setFrame(IPlugFrame* frame) SMTG_OVERRIDE {
        this->frame = frame;
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
    IPlugFrame* frame = nullptr;

private:
    virtual ~StandInView() = default;
};

class StandInGUI : public AAXWrapper_GUI {
public:
    std::vector<std::string> log;
    int updates = 0;
    StandInView* view = nullptr;
    AAX_Result ACFMETHODCALLTYPE ParameterUpdated(AAX_CParamID) override {
        ++updates;
        return AAX_SUCCESS;
    }

protected:
    IPlugView* CreateView() override {
        // The product's own view is made and dropped: the stand-in records in its place.
        if (IPlugView* own = AAXWrapper_GUI::CreateView())
            own->release();
        return view = new StandInView(log);
    }
};

TEST_F(AaxWrapperTest, WindowOpensResizesInTheViewContainerAndCloses) {
    auto instance = newInstance();
    auto* gui = new StandInGUI;
    gui->AddRef();
    EXPECT_EQ(gui->Initialize(nullptr), AAX_ERROR_NOT_INITIALIZED);
    ASSERT_EQ(gui->Initialize(instance->controller()), AAX_SUCCESS);
    int window = 0;
    model.nativeWindow = &window;
    IACFUnknown* container = model.newViewContainer();
    int32_t count = 0;
    instance->parameters()->GetNumberOfParameters(&count);
    EXPECT_EQ(gui->SetViewContainer(container), AAX_SUCCESS);
    EXPECT_EQ(gui->updates, count);
    // Sizes as vertical and horizontal.
    const auto viewSize = [gui] {
        AAX_Point size = {};
        EXPECT_EQ(gui->GetViewSize(&size), AAX_SUCCESS);
        return std::make_pair(size.vert, size.horz);
    };
    EXPECT_EQ(viewSize(), std::make_pair(493.0f, 512.0f));

    // The editor asks its frame for a new size (its size menu): the host's container is
    // asked, vertical first, and the view takes the size only when the host agrees.
    ASSERT_NE(gui->view->frame, nullptr);
    ViewRect larger(0, 0, 768, 740);
    EXPECT_EQ(gui->view->frame->resizeView(gui->view, &larger), kResultOk);
    ASSERT_EQ(model.viewSizes.size(), 1u);
    EXPECT_EQ(std::make_pair(model.viewSizes[0].vert, model.viewSizes[0].horz),
              std::make_pair(740.0f, 768.0f));
    EXPECT_EQ(viewSize(), std::make_pair(740.0f, 768.0f));
    model.viewSizeResult = AAX_ERROR_INVALID_VIEW_SIZE;
    ViewRect smaller(0, 0, 256, 246);
    EXPECT_EQ(gui->view->frame->resizeView(gui->view, &smaller), kResultFalse);
    EXPECT_EQ(viewSize(), std::make_pair(740.0f, 768.0f));

    // The same container again: the window is built anew and every value pushed again.
    EXPECT_EQ(gui->SetViewContainer(container), AAX_SUCCESS);
    EXPECT_EQ(gui->updates, 2 * count);
    EXPECT_EQ(gui->SetViewContainer(nullptr), AAX_SUCCESS);
    EXPECT_EQ(gui->SetViewContainer(nullptr), AAX_SUCCESS);
    const std::vector<std::string> once = {"frame", "attached HWND window", "removed", "no frame",
                                           "released"};
    std::vector<std::string> expected = once;
    expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(gui->log, expected);
    // A window still open at Uninitialize is closed first.
    gui->SetViewContainer(container);
    gui->Uninitialize();
    EXPECT_EQ(gui->log.back(), "released");
    gui->Release();
    container->Release();
}

} // namespace
