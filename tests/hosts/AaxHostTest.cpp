// Loads the built module the way an AAX host does: LoadLibrary, the seven ACF exports by
// their standard-call decorated names (the same entries as ordinals 1 to 7), then start-up,
// SDK version, registration, the unload query and shut-down against the host model, with
// every host object and the module's COM start accounted for at the end. The effect then runs
// through the procedures it registered: its parameters and GUI objects, automation,
// coefficients, audio, the session chunk and the product window.

#include "AAX_IEffectGUI.h"
#include "AAX_IString.h"
#include "hosts/LoadedModule.h"
#include "support/AaxExpectedDescription.h"
#include "support/AaxHostModel.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace SorvTest;

namespace {

using HostCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*);
using ClassFactoryCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*, const acfCLSID&, const acfIID&,
                                                       void**);
using VersionCall = ACFRESULT(ACFMETHODCALLTYPE*)(acfUInt64*);
using ComponentCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*, acfUInt32, IACFUnknown**);
using PluginCall = ACFRESULT(ACFMETHODCALLTYPE*)(IACFUnknown*, IACFPluginDefinition**);

const char* const kExportNames[7] = {"_ACFCanUnloadNow@4",   "_ACFGetClassFactory@16",
                                     "_ACFGetSDKVersion@4",  "_ACFRegisterComponent@12",
                                     "_ACFRegisterPlugin@8", "_ACFShutdown@4",
                                     "_ACFStartup@4"};

class AaxHost : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryA(windowsPath(SORV_MODULE_PATH).c_str());
        ASSERT_NE(module, nullptr) << "cannot load " << SORV_MODULE_PATH;
        for (int ordinal = 1; ordinal <= 7; ++ordinal) {
            const char* name = kExportNames[ordinal - 1];
            entries[ordinal - 1] = reinterpret_cast<void*>(GetProcAddress(module, name));
            ASSERT_NE(entries[ordinal - 1], nullptr) << name;
            EXPECT_EQ(entries[ordinal - 1],
                      reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))))
                << name << " is not at ordinal " << ordinal;
        }
        canUnloadNow = reinterpret_cast<HostCall>(entries[0]);
        getClassFactory = reinterpret_cast<ClassFactoryCall>(entries[1]);
        getSDKVersion = reinterpret_cast<VersionCall>(entries[2]);
        registerComponent = reinterpret_cast<ComponentCall>(entries[3]);
        registerPlugin = reinterpret_cast<PluginCall>(entries[4]);
        shutdown = reinterpret_cast<HostCall>(entries[5]);
        startup = reinterpret_cast<HostCall>(entries[6]);
        host = model.newHost();
    }
    void TearDown() override {
        if (host) {
            EXPECT_EQ(host->Release(), 0u);
        }
        EXPECT_EQ(model.liveObjects, 0) << "the module kept host objects";
        if (module)
            FreeLibrary(module);
    }

    // Whether COM is started on this thread (the test host itself never starts it).
    static bool comStarted() {
        const HRESULT result = CoInitialize(nullptr);
        CoUninitialize();
        return result == S_FALSE;
    }

    HMODULE module = nullptr;
    void* entries[7] = {};
    HostCall canUnloadNow = nullptr, shutdown = nullptr, startup = nullptr;
    ClassFactoryCall getClassFactory = nullptr;
    VersionCall getSDKVersion = nullptr;
    ComponentCall registerComponent = nullptr;
    PluginCall registerPlugin = nullptr;
    AaxHostModel model;
    IACFUnknown* host = nullptr;
};

TEST_F(AaxHost, StartsRegistersAndShutsDownLeavingNothingAlive) {
    ASSERT_FALSE(comStarted());
    ASSERT_EQ(startup(host), ACF_OK);
    EXPECT_TRUE(comStarted());
    // The host unknown and one host-services component per version the module asked for.
    EXPECT_EQ(model.liveObjects, 4);

    acfUInt64 version = 0;
    EXPECT_EQ(getSDKVersion(&version), ACF_OK);
    const uint8_t expected[8] = {0xB4, 0xE5, 0xD5, 0x00, 0x03, 0x02, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(&version, expected, sizeof(expected)), 0);
    void* factory = &version;
    EXPECT_EQ(getClassFactory(host, AAXCompID_AAXCollection, IID_IACFUnknown, &factory),
              AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(factory, nullptr);
    IACFUnknown* component = host;
    EXPECT_EQ(registerComponent(host, 0, &component), ACF_OK);
    EXPECT_EQ(component, nullptr);

    IACFPluginDefinition* definition = nullptr;
    ASSERT_EQ(registerPlugin(host, &definition), ACF_OK);
    ASSERT_NE(definition, nullptr);
    EXPECT_TRUE(model.traces.empty());
    ASSERT_EQ(model.collections.size(), 1u);
    expectQuor515Description(*model.collections[0], "all");
    EXPECT_TRUE(comStarted()) << "registration ended the start-up's COM start";
    EXPECT_EQ(definition->Release(), 0u);
    EXPECT_TRUE(model.collections.empty()) << "the module kept the host's collection";

    EXPECT_EQ(canUnloadNow(host), 0);
    EXPECT_EQ(shutdown(host), ACF_OK);
    EXPECT_EQ(model.liveObjects, 1) << "the host services were not released";
    EXPECT_FALSE(comStarted());
}

TEST_F(AaxHost, SecondStartUpKeepsTheFirstHostServices) {
    AaxHostModel other;
    IACFUnknown* otherHost = other.newHost();
    ASSERT_EQ(startup(host), ACF_OK);
    ASSERT_EQ(startup(otherHost), ACF_OK);
    EXPECT_EQ(other.liveObjects, 1);
    // A failing registration through the second host traces.
    other.omitted = {IID_IACFPluginDefinition};
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(registerPlugin(otherHost, &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE(other.traces.empty()) << "traces go to the first host's services";
    EXPECT_EQ(model.traces.size(), 2u);
    EXPECT_EQ(shutdown(otherHost), ACF_OK);
    EXPECT_EQ(shutdown(host), ACF_OK);
    EXPECT_EQ(otherHost->Release(), 0u);
    EXPECT_EQ(other.liveObjects, 0);
    EXPECT_FALSE(comStarted());
}

TEST_F(AaxHost, BadInputAndOlderHostsGetAnswersNotCrashes) {
    model.omitted = {IID_IACFComponentFactory, IID_IAAXDescriptionHostV1};
    ASSERT_EQ(startup(host), ACF_OK);
    EXPECT_EQ(model.liveObjects, 1) << "no factory: no host services";
    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ(registerPlugin(host, &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(registerPlugin(host, nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(registerPlugin(nullptr, &definition), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(getSDKVersion(nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ(getClassFactory(nullptr, AAXCompID_AAXCollection, IID_IACFUnknown, nullptr),
              AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(registerComponent(nullptr, 0, nullptr), ACF_OK);
    EXPECT_EQ(canUnloadNow(nullptr), 0);
    EXPECT_EQ(shutdown(host), ACF_OK);

    EXPECT_EQ(startup(nullptr), ACF_OK);
    EXPECT_EQ(shutdown(nullptr), ACF_OK);
    EXPECT_FALSE(comStarted());
}

} // namespace

namespace {

// The host's own text object for the texts the effect writes.
class HostString final : public AAX_IString {
public:
    uint32_t Length() const override { return uint32_t(text.size()); }
    uint32_t MaxLength() const override { return 0xFFFF; }
    const char* Get() const override { return text.c_str(); }
    void Set(const char* value) override { text = value ? value : ""; }
    AAX_IString& operator=(const char* value) override {
        Set(value);
        return *this;
    }
    AAX_IString& operator=(const AAX_IString& other) override {
        Set(other.Get());
        return *this;
    }
    std::string text;
};

class AaxHostRun : public AaxHost {
protected:
    void SetUp() override {
        AaxHost::SetUp();
        ASSERT_EQ(startup(host), ACF_OK);
        ASSERT_EQ(registerPlugin(host, &definition), ACF_OK);
        ASSERT_EQ(model.collections.size(), 1u);
        ASSERT_EQ(model.collections[0]->effects.size(), 1u);
        effect = model.collections[0]->effects[0].second;
        ASSERT_EQ(effect->components.size(), 2u);
    }
    void TearDown() override {
        if (definition)
            definition->Release();
        EXPECT_EQ(canUnloadNow(host), 0) << "library objects left alive";
        EXPECT_EQ(shutdown(host), ACF_OK);
        EXPECT_FALSE(comStarted()) << "the module's COM starts are not balanced";
        AaxHost::TearDown();
    }

    // A new instance on the mono (0) or stereo (1) component, made through the registered
    // procedure and initialised with its own controller, whose set requests the host confirms.
    std::unique_ptr<AaxHostInstance> newInstance(size_t component = 1) {
        auto instance = std::make_unique<AaxHostInstance>(model, *effect, component);
        EXPECT_TRUE(instance->create());
        return instance;
    }
    static std::vector<double> values(AAX_IACFEffectParameters* parameters,
                                      const std::vector<std::string>& ids) {
        std::vector<double> out;
        for (const std::string& id : ids) {
            double value = -1;
            EXPECT_EQ(parameters->GetParameterNormalizedValue(id.c_str(), &value), AAX_SUCCESS);
            out.push_back(value);
        }
        return out;
    }

    IACFPluginDefinition* definition = nullptr;
    AaxHostEffectDescriptor* effect = nullptr;
};

// Every parameter the host lists, in its order, as worked out from the product's tables.
struct ExpectedParameter {
    const char* id;
    const char* name;
    int32_t steps;
    double defaultValue;
    const char* valueText; // at the default
};
const ExpectedParameter kExpectedParameters[] = {
    {"MByp", "Master Bypass", 2, 0.0, "Off"},
    {"Powr", "Power", 2, 1.0, "On"},
    {"EfLm", "Fx Limiter", 128, 0.3, "3.0"},
    {"EfMx", "Fx Mix", 128, 0.5, "5.0"},
    {"Tone", "Tone", 128, 0.5, "5.0"},
    {"Pred", "Pre-Delay", 128, 0.0, "0.0"},
    {"OlLp", "Overload", 128, 0.0, nullptr},
    {"GrMt", "GR Meter", 128, 1.0, nullptr},
    {"MasterBypassID", "Master Bypass", 2, 0.0, "off"},
};

TEST_F(AaxHostRun, ParametersAutomationCoefficientsAudioAndChunk) {
    auto firstInstance = newInstance();
    AAX_IACFEffectParameters* first = firstInstance->parameters();
    ASSERT_NE(first, nullptr);

    int32_t count = 0;
    ASSERT_EQ(first->GetNumberOfParameters(&count), AAX_SUCCESS);
    ASSERT_EQ(count, int32_t(std::size(kExpectedParameters)));
    std::vector<std::string> ids;
    for (int32_t index = 0; index < count; ++index) {
        const ExpectedParameter& row = kExpectedParameters[index];
        SCOPED_TRACE(row.id);
        HostString text;
        ASSERT_EQ(first->GetParameterIDFromIndex(index, &text), AAX_SUCCESS);
        EXPECT_EQ(text.text, row.id);
        ids.push_back(text.text);
        EXPECT_EQ(first->GetParameterName(row.id, &text), AAX_SUCCESS);
        EXPECT_EQ(text.text, row.name);
        int32_t steps = 0;
        EXPECT_EQ(first->GetParameterNumberOfSteps(row.id, &steps), AAX_SUCCESS);
        EXPECT_EQ(steps, row.steps);
        double value = -1;
        EXPECT_EQ(first->GetParameterDefaultNormalizedValue(row.id, &value), AAX_SUCCESS);
        EXPECT_NEAR(value, row.defaultValue, 1e-9);
        EXPECT_EQ(first->GetParameterNormalizedValue(row.id, &value), AAX_SUCCESS);
        EXPECT_NEAR(value, row.defaultValue, 1e-9);
        EXPECT_EQ(first->GetParameterValueString(row.id, &text, 32), AAX_SUCCESS);
        if (row.valueText) {
            EXPECT_EQ(text.text, row.valueText);
        }
    }
    HostString text;
    EXPECT_EQ(first->GetMasterBypassParameter(&text), AAX_SUCCESS);
    EXPECT_EQ(text.text, "MasterBypassID");
    int32_t steps = 7;
    EXPECT_EQ(first->GetParameterNumberOfSteps("nope", &steps), AAX_ERROR_INVALID_PARAMETER_ID);
    EXPECT_EQ(steps, 7);

    // "Fx Mix" automated by the host: touch, set, release through the automation delegate,
    // and the host's confirmation reaches the effect, whose own text shows it.
    model.automation.clear();
    EXPECT_EQ(first->TouchParameter("EfMx"), AAX_SUCCESS);
    EXPECT_EQ(first->SetParameterNormalizedValue("EfMx", 0.75), AAX_SUCCESS);
    EXPECT_EQ(first->ReleaseParameter("EfMx"), AAX_SUCCESS);
    // The set itself is bracketed by a touch and a release of its own.
    EXPECT_EQ(model.automation,
              (std::vector<std::string>{"touch EfMx", "touch EfMx", "set EfMx 0.75",
                                        "post EfMx 0.75", "release EfMx", "release EfMx"}));
    EXPECT_EQ(first->GetParameterValueString("EfMx", &text, 32), AAX_SUCCESS);
    EXPECT_EQ(text.text, "7.5");
    // The bypass pair follows the host's switch.
    EXPECT_EQ(first->SetParameterNormalizedValue("MasterBypassID", 1.0), AAX_SUCCESS);
    double bypass = 0;
    EXPECT_EQ(first->GetParameterNormalizedValue("MByp", &bypass), AAX_SUCCESS);
    EXPECT_EQ(bypass, 1.0);
    EXPECT_EQ(first->SetParameterNormalizedValue("MasterBypassID", 0.0), AAX_SUCCESS);
    EXPECT_EQ(first->SetParameterNormalizedValue("Tone", 0.25), AAX_SUCCESS);

    // Mono and stereo blocks through the contexts the host built from the description: a
    // finite reverb tail after an impulse, and the gain reduction in the meter slot of every
    // block, far more on a loud block than on the quiet one before it.
    ASSERT_EQ(first->GenerateCoefficients(), AAX_SUCCESS);
    constexpr int32_t kFrames = 512;
    constexpr int kBlocks = 16;
    auto mono = newInstance(0);
    mono->parameters()->GenerateCoefficients();
    for (AaxHostInstance* instance : {mono.get(), firstInstance.get()}) {
        const int32_t channels = instance->channels();
        SCOPED_TRACE(channels);
        std::vector<float> in[2], out[2];
        for (int c = 0; c < channels; ++c) {
            in[c].assign(size_t(kFrames) * kBlocks, 0.0f);
            out[c].assign(in[c].size(), 0.0f);
            in[c][size_t(c) * 7] = 0.5f;
            for (size_t i = size_t(kFrames) * (kBlocks - 1); i < in[c].size(); ++i)
                in[c][i] = (i & 8) ? 1.5f : -1.5f;
        }
        std::vector<float> meters;
        for (int block = 0; block < kBlocks; ++block) {
            instance->render(in, out, kFrames, size_t(block * kFrames));
            ASSERT_EQ(instance->meterValues.size(), 1u);
            meters.push_back(instance->meterValues[0]);
            EXPECT_TRUE(meters.back() >= 0.0f && meters.back() <= 1.0f) << meters.back();
        }
        EXPECT_GT(meters[kBlocks - 1], 2 * meters[kBlocks - 2])
            << "the loud block shows no more gain reduction than the quiet one before it";
        for (int c = 0; c < channels; ++c) {
            SCOPED_TRACE(c);
            double tail = 0;
            for (size_t i = 0; i < out[c].size(); ++i) {
                ASSERT_TRUE(std::isfinite(out[c][i])) << i;
                if (i > size_t(kFrames) && i < size_t(kFrames) * (kBlocks - 1))
                    tail += std::fabs(out[c][i]);
            }
            EXPECT_GT(tail, 0.0) << "no reverberation after the impulse";
        }
    }

    // The saved chunk restores every value into a second instance.
    const std::vector<double> saved = values(first, ids);
    std::vector<unsigned char> record = firstInstance->saveChunk();
    ASSERT_FALSE(record.empty());
    firstInstance.reset();
    auto secondInstance = newInstance();
    AAX_IACFEffectParameters* second = secondInstance->parameters();
    ASSERT_NE(second, nullptr);
    auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
    EXPECT_EQ(second->SetChunk(chunk->fChunkID + 1, chunk), AAX_ERROR_INVALID_CHUNK_ID);
    EXPECT_EQ(values(second, ids)[3], 0.5) << "a refused chunk changed the instance";
    ASSERT_EQ(second->SetChunk(chunk->fChunkID, chunk), AAX_SUCCESS);
    const std::vector<double> restored = values(second, ids);
    for (size_t i = 0; i < ids.size(); ++i)
        EXPECT_EQ(restored[i], double(float(saved[i]))) << ids[i];
    EXPECT_EQ(restored[3], 0.75);
    AAX_CBoolean equal = 0;
    EXPECT_EQ(second->CompareActiveChunk(chunk, &equal), AAX_SUCCESS);
    EXPECT_EQ(equal, 1);
}

TEST_F(AaxHostRun, ProductWindowOpensInTheViewContainerAndCloses) {
    auto instance = newInstance();
    AAX_IACFEffectGUI* gui = instance->newGUI();
    ASSERT_NE(gui, nullptr);

    HWND window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    model.nativeWindow = window;
    model.windowType = AAX_eViewContainer_Type_HWND;
    IACFUnknown* container = model.newViewContainer();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(gui->SetViewContainer(container), AAX_SUCCESS);
        HWND view = GetWindow(window, GW_CHILD);
        EXPECT_NE(view, nullptr) << "the product window is not in the host's";
        AAX_Point size = {};
        EXPECT_EQ(gui->GetViewSize(&size), AAX_SUCCESS);
        RECT client = {};
        GetClientRect(view, &client);
        EXPECT_EQ(size.horz, 512.0f);
        EXPECT_EQ(size.horz, float(client.right));
        EXPECT_EQ(size.vert, float(client.bottom));
        EXPECT_EQ(gui->TimerWakeup(), AAX_SUCCESS);
        EXPECT_EQ(gui->SetViewContainer(nullptr), AAX_SUCCESS);
        EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr) << "the product window stayed";
    }
    // A window still open when the host uninitialises is closed with it.
    EXPECT_EQ(gui->SetViewContainer(container), AAX_SUCCESS);
    EXPECT_EQ(gui->Uninitialize(), AAX_SUCCESS);
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
    EXPECT_EQ(gui->Release(), 0u);
    EXPECT_EQ(container->Release(), 0u);
    DestroyWindow(window);
}

} // namespace
