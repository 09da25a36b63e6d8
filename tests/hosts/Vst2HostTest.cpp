// The module as a VST 2.4 host sees it: the record from VSTPluginMain and MAIN, the effect's
// parameters, programs, processing and state through the dispatcher, and COM balanced when the
// effect closes.

#include "hosts/Vst2Plugin.h"
#include "support/TestHostContext.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cmath>
#include <cstdint>
#include <random>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvTest;

namespace {

constexpr VstInt32 kSQr5 = 0x53517235;
constexpr VstInt32 kNvEf = 0x4E764566;

// True when this thread has no COM apartment left open by anyone.
bool comIsClosed() {
    const HRESULT result = CoInitialize(nullptr);
    if (SUCCEEDED(result))
        CoUninitialize();
    return result == S_OK;
}

int64_t readInt64(const std::vector<char>& bytes, size_t at) {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= uint64_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return static_cast<int64_t>(value);
}

TEST_F(Vst2Host, EntryGivesTheRecordAndCloseBalancesCom) {
    ASSERT_TRUE(comIsClosed());
    EXPECT_EQ(pluginMain(nullptr), nullptr);
    vst2Host().version = 0;
    EXPECT_EQ(pluginMain(testHostCallback), nullptr) << "a host without a version";
    vst2Host().version = 2400;
    EXPECT_TRUE(comIsClosed());

    for (Vst2EntryFunc entry : {pluginMain, main}) {
        Vst2Plugin plugin{entry(testHostCallback)};
        AEffect* e = plugin.effect;
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->magic, kEffectMagic);
        EXPECT_EQ(e->uniqueID, kSQr5);
        EXPECT_EQ(e->version, 1000);
        EXPECT_EQ(e->numPrograms, 8);
        EXPECT_EQ(e->numParams, 8);
        EXPECT_EQ(e->numInputs, 2);
        EXPECT_EQ(e->numOutputs, 2);
        EXPECT_EQ(e->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanDoubleReplacing |
                                effFlagsProgramChunks);
        EXPECT_EQ(e->ioRatio, 1.0f);
        EXPECT_NE(e->object, nullptr);
        EXPECT_NE(e->processReplacing, nullptr);
        EXPECT_NE(e->processDoubleReplacing, nullptr);

        EXPECT_EQ(plugin.dispatch(effIdentify), kNvEf);
        EXPECT_EQ(plugin.dispatch(effGetVstVersion), 2400);
        EXPECT_EQ(plugin.dispatch(effGetPlugCategory), kPlugCategRoomFx);
        EXPECT_EQ(plugin.text(effGetEffectName), "QUOR-515");
        EXPECT_EQ(plugin.text(effGetProductString), "QUOR-515");
        EXPECT_EQ(plugin.text(effGetVendorString), "Sorv Audio Labs");
        EXPECT_EQ(plugin.dispatch(effGetVendorVersion), 1000);
        for (auto [name, answer] : {std::pair<std::string, int>{"bypass", 1},
                                    {"receiveVstMidiEvent", -1},
                                    {"receiveVstTimeInfo", -1},
                                    {"fly", 0}})
            EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, name.data()), answer) << name;
        // No editor yet: the editor requests answer 0.
        EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, nullptr), 0);

        // Every request with a null pointer and out-of-range numbers is answered safely.
        for (VstInt32 opcode = 0; opcode < 100; ++opcode)
            if (opcode != effClose && opcode != effMainsChanged)
                plugin.dispatch(opcode, -1, 0, nullptr, 0.0f);
        for (VstInt32 opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel})
            EXPECT_EQ(plugin.text(opcode, 99), "");
        EXPECT_EQ(plugin.get(-1), 0.0f);
        plugin.set(99, 1.0f);

        plugin.close();
        EXPECT_TRUE(comIsClosed()) << "each effect ends the COM start it made";
    }
    // The effect asked the host for its version through the record it was handed.
    EXPECT_GE(vst2Host().count(audioMasterVersion), 2u);
}

TEST_F(Vst2Host, ParametersAndProgramsByIndex) {
    Vst2Plugin& plugin = make();
    ASSERT_NE(plugin.effect, nullptr);
    const std::vector<std::string> names = {"Master Bypass", "Power",     "Fx Limiter", "Fx Mix",
                                            "Tone",          "Pre-Delay", "Overload",   "GR Meter"};
    std::vector<std::string> seen;
    for (VstInt32 i = 0; i < plugin.effect->numParams; ++i) {
        seen.push_back(plugin.text(effGetParamName, i));
        EXPECT_FALSE(plugin.text(effGetParamDisplay, i).empty()) << seen.back();
        EXPECT_LE(plugin.text(effGetParamLabel, i).size(), size_t(kVstMaxParamStrLen));
    }
    EXPECT_EQ(seen, names);
    const VstInt32 mix = plugin.indexOf("Fx Mix");
    const VstInt32 meter = plugin.indexOf("GR Meter");
    const VstInt32 predelay = plugin.indexOf("Pre-Delay");
    EXPECT_EQ(plugin.dispatch(effCanBeAutomated, mix), 1);
    EXPECT_EQ(plugin.dispatch(effCanBeAutomated, meter), 0);
    EXPECT_EQ(plugin.text(effGetParamLabel, predelay), "ms");

    // Programs: the factory patches by name, selected by index.
    char name[kVstMaxProgNameLen + 1];
    for (VstInt32 p = 0; p < 8; ++p)
        EXPECT_EQ(plugin.dispatch(effGetProgramNameIndexed, p, 0, name), 1);
    EXPECT_EQ(plugin.text(effGetProgramNameIndexed, 0), "01 Default");
    EXPECT_EQ(plugin.text(effGetProgramNameIndexed, 7), "08 Echo Chamber");
    vst2Host().clear();
    plugin.dispatch(effSetProgram, 0, 7);
    EXPECT_EQ(plugin.dispatch(effGetProgram), 7);
    EXPECT_EQ(plugin.text(effGetProgramName), "08 Echo Chamber");
    EXPECT_EQ(plugin.get(mix), 0.785f);
    EXPECT_GE(vst2Host().count(audioMasterUpdateDisplay), 1u);
    for (VstIntPtr outside : {VstIntPtr(8), VstIntPtr(-1)}) {
        plugin.dispatch(effSetProgram, 0, outside);
        EXPECT_EQ(plugin.dispatch(effGetProgram), 7);
    }
    plugin.dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(plugin.dispatch(effGetProgram), 1);
    EXPECT_NE(plugin.get(mix), 0.785f);

    // Values round trip; read-only parameters and bad values are left alone.
    plugin.set(mix, 0.25f);
    EXPECT_EQ(plugin.get(mix), 0.25f);
    const float meterValue = plugin.get(meter);
    plugin.set(mix, NAN);
    plugin.set(meter, meterValue == 0.5f ? 0.25f : 0.5f);
    EXPECT_EQ(plugin.get(mix), 0.25f);
    EXPECT_EQ(plugin.get(meter), meterValue);
    char typed[] = "75";
    EXPECT_EQ(plugin.dispatch(effString2Parameter, predelay, 0, typed), 1);
    EXPECT_EQ(plugin.text(effGetParamDisplay, predelay).substr(0, 2), "75");
    EXPECT_EQ(plugin.dispatch(effSetBypass, 0, 1), 1);
    EXPECT_EQ(plugin.get(plugin.indexOf("Master Bypass")), 1.0f);
}

// An impulse through blocks of the sizes in turn for a second; answers the energy of all but
// the first quarter second.
double runImpulse(Vst2Plugin& plugin, int channels, bool doubles, const std::vector<int>& sizes) {
    double tailEnergy = 0.0;
    bool first = true;
    for (int round = 0, done = 0; done < 44100; ++round) {
        const int frames = sizes[round % sizes.size()];
        Vst2Plugin::Channels in(channels, std::vector<double>(frames));
        if (first && frames > 0)
            for (auto& channel : in)
                channel[0] = 0.5;
        first = first && frames == 0;
        for (const std::vector<double>& channel : plugin.process(in, doubles))
            for (double sample : channel) {
                EXPECT_TRUE(std::isfinite(sample));
                if (done > 11025)
                    tailEnergy += sample * sample;
            }
        done += frames;
    }
    return tailEnergy;
}

TEST_F(Vst2Host, ProcessesFloatAndDoubleMonoAndStereoInBlocksOfAnySize) {
    const std::vector<int> sizes = {512, 1, 17, 0, 300, 64};
    for (int channels : {1, 2}) {
        for (bool doubles : {false, true}) {
            Vst2Plugin& plugin = make();
            ASSERT_NE(plugin.effect, nullptr);
            // Before resume the host hears silence.
            EXPECT_EQ(plugin.process({{1, 1}, {1, 1}}, false, true)[0][0], 0.0);

            EXPECT_EQ(plugin.arrange(channels, channels), 1);
            EXPECT_EQ(plugin.effect->numInputs, channels);
            EXPECT_EQ(plugin.effect->numOutputs, channels);
            if (doubles) {
                EXPECT_EQ(plugin.dispatch(effSetProcessPrecision, 0, kVstProcessPrecision64), 1);
            }
            plugin.start(44100.0f, 512);
            const double energy = runImpulse(plugin, channels, doubles, sizes);
            // An impulse still rings a quarter of a second after it was played.
            EXPECT_GT(energy, 1e-8) << channels << " channels, doubles " << doubles;
            plugin.close();
            plugins.pop_back();
        }
    }

    // Layouts the effect does not take are refused, and the record keeps its widths.
    Vst2Plugin& plugin = make();
    for (auto [inputs, outputs] : {std::pair{2, 1}, {0, 0}, {9, 9}, {1, 0}})
        EXPECT_EQ(plugin.arrange(inputs, outputs), 0) << inputs << " in, " << outputs << " out";
    EXPECT_EQ(plugin.dispatch(effSetSpeakerArrangement, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin.effect->numInputs, 2);
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(plugin.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out),
              1);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->numChannels, 2);
    EXPECT_EQ(out->type, kSpeakerArrStereo);
    // 3.5 seconds of tail at the rate the host set.
    plugin.start(48000.0f, 256);
    EXPECT_EQ(plugin.dispatch(effGetTailSize), 168000);
}

TEST_F(Vst2Host, ChunksRoundTripBetweenInstancesAndWithTheVst3Form) {
    Vst2Plugin& first = make();
    first.dispatch(effSetProgram, 0, 3);
    first.set(first.indexOf("Tone"), 0.125f);
    const std::vector<char> saved = first.chunk();
    ASSERT_EQ(saved.size(), 16u + 88u);
    EXPECT_EQ(readInt64(saved, 0), 88);
    EXPECT_EQ(readInt64(saved, 8), 0) << "no controller state of its own";
    EXPECT_EQ(std::string(saved.begin() + 16, saved.begin() + 20), "SvCk");

    Vst2Plugin& second = make();
    EXPECT_EQ(second.setChunk(saved), 1);
    for (VstInt32 i = 0; i < first.effect->numParams; ++i)
        EXPECT_EQ(second.get(i), first.get(i)) << second.text(effGetParamName, i);
    EXPECT_EQ(second.dispatch(effGetProgram), 3);
    EXPECT_EQ(second.chunk(), saved);

    // Bad chunks are refused and leave the state as it was.
    std::mt19937 random(515);
    for (size_t cut : {size_t(0), size_t(8), size_t(15), size_t(16), size_t(40), saved.size() - 1})
        EXPECT_EQ(second.setChunk(std::vector<char>(saved.begin(), saved.begin() + cut)), 0) << cut;
    for (int round = 0; round < 50; ++round) {
        std::vector<char> noise(16 + random() % 200);
        for (char& byte : noise)
            byte = static_cast<char>(random());
        EXPECT_EQ(second.setChunk(noise), 0);
        ASSERT_EQ(second.chunk(), saved) << round;
    }
    // Sizes that fit, over a state cut short: the effect refuses it part-way through.
    for (size_t cut : {size_t(4), size_t(20), size_t(40), size_t(87)}) {
        std::vector<char> shortState(16 + cut, 0);
        shortState[0] = static_cast<char>(cut);
        std::copy(saved.begin() + 16, saved.begin() + 16 + cut, shortState.begin() + 16);
        EXPECT_EQ(second.setChunk(shortState), 0) << cut;
        ASSERT_EQ(second.chunk(), saved) << cut;
    }

    // The component state inside the chunk is the VST 3 form's state, both ways.
    EntryFunc initDll = procAddress<EntryFunc>(module, "InitDll");
    EntryFunc exitDll = procAddress<EntryFunc>(module, "ExitDll");
    FactoryFunc getFactory = procAddress<FactoryFunc>(module, "GetPluginFactory");
    ASSERT_TRUE(initDll());
    IPluginFactory* factory = getFactory();
    Component vst3 = createComponent(factory);
    ASSERT_NE(vst3.component, nullptr);
    TestHostContext context;
    ASSERT_EQ(vst3.component->initialize(context.unknown()), kResultOk);
    MemoryStream in(const_cast<char*>(saved.data()) + 16, 88);
    ASSERT_EQ(vst3.component->setState(&in), kResultOk);
    for (VstInt32 i = 0; i < first.effect->numParams; ++i) {
        ParameterInfo info = {};
        ASSERT_EQ(vst3.controller->getParameterInfo(i, info), kResultOk);
        EXPECT_EQ(static_cast<float>(vst3.controller->getParamNormalized(info.id)), first.get(i))
            << utf8(info.title);
    }
    vst3.controller->setParamNormalized(0x45664D78 /* EfMx */, 0.0);
    MemoryStream out;
    ASSERT_EQ(vst3.component->getState(&out), kResultOk);
    std::vector<char> fromVst3(16 + out.getSize(), 0);
    fromVst3[0] = static_cast<char>(out.getSize());
    std::memcpy(fromVst3.data() + 16, out.getData(), out.getSize());
    EXPECT_EQ(second.setChunk(fromVst3), 1);
    EXPECT_EQ(second.get(second.indexOf("Fx Mix")), 0.0f);
    EXPECT_EQ(second.get(second.indexOf("Tone")), 0.125f);
    EXPECT_EQ(vst3.component->terminate(), kResultOk);
    vst3.release();
    factory->release();
    EXPECT_TRUE(exitDll());
}

TEST_F(Vst2Host, EditorOpensInTheHostWindow) {
    Vst2Plugin& plugin = make();
    ASSERT_NE(plugin.effect, nullptr);
    ERect* rect = nullptr;
    ASSERT_TRUE(plugin.effect->flags & effFlagsHasEditor);
    ASSERT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_GT(rect->right - rect->left, 0);
    EXPECT_GT(rect->bottom - rect->top, 0);
    HWND parent = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0,
                                  rect->right - rect->left, rect->bottom - rect->top, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, parent), 1);
    EXPECT_NE(GetWindow(parent, GW_CHILD), nullptr) << "the view made its window in the host's";
    plugin.dispatch(effEditIdle);
    plugin.dispatch(effEditClose);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
    DestroyWindow(parent);
}

} // namespace
