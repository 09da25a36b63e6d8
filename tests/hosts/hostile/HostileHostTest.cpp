// A hostile host: every operation called with the indices, values, texts, buffers and state
// chunks a careless or broken host passes, and instances made and run on many threads at once.
// In the Windows build it loads the built module under wine as hosts do; natively the same
// cases run in-process under the sanitizers (and under ThreadSanitizer in its own build).

#include "core/CoreIds.h"
#include "engine/QUOR515Ids.h"
#include "support/TestHostContext.h"

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <objbase.h>
#include <windows.h>
#else
#include "vst/ModuleEntry.h"
#include "core/ClassFactory.h"
#include "support/TestUtils.h"
#endif

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace SorvLib;
using SorvTest::TestHostContext;
using SorvTest::WrapperKind;

namespace {

using Bytes = std::vector<unsigned char>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr ParamID kContinuous[] = {kFxLimiterId, kFxMixId, kToneId, kPreDelayId};

// The module as a host sees it: started, its factory held, and ended in order.
class Module {
public:
    Module() {
#ifdef _WIN32
        std::string path = SORV_MODULE_PATH;
        for (char& c : path)
            if (c == '/')
                c = '\\';
        handle = LoadLibraryA(("Z:" + path).c_str());
        if (!handle)
            return;
        initDll = entry<bool (*)()>("InitDll");
        exitDll = entry<bool (*)()>("ExitDll");
        getFactory = entry<IPluginFactory*(PLUGIN_API*)()>("GetPluginFactory");
#else
        initDll = &InitDll;
        exitDll = &ExitDll;
        getFactory = &GetPluginFactory;
#endif
        started = initDll && initDll();
        factory = started && getFactory ? getFactory() : nullptr;
    }
    ~Module() {
        close();
    }

    // Releases the factory and ends the module; true when ExitDll agreed.
    bool close() {
        bool ended = false;
        if (factory)
            factory->release();
        factory = nullptr;
        if (started)
            ended = exitDll();
        started = false;
#ifdef _WIN32
        if (handle)
            FreeLibrary(handle);
        handle = nullptr;
#endif
        return ended;
    }

    bool started = false;
    IPluginFactory* factory = nullptr;

private:
#ifdef _WIN32
    template <typename Function> Function entry(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
    }
    HMODULE handle = nullptr;
#endif
    bool (*initDll)() = nullptr;
    bool (*exitDll)() = nullptr;
    IPluginFactory*(PLUGIN_API* getFactory)() = nullptr;
};

// One initialised effect with its faces; terminated and released at the end of its scope.
struct Effect {
    explicit Effect(Module& module, WrapperKind kind = WrapperKind::None) : context(kind) {
        PClassInfo info = {};
        if (!module.factory || module.factory->getClassInfo(0, &info) != kResultOk ||
            module.factory->createInstance(info.cid, IComponent::iid,
                                           reinterpret_cast<void**>(&component)) != kResultOk)
            return;
        component->queryInterface(IAudioProcessor::iid, reinterpret_cast<void**>(&processor));
        component->queryInterface(IEditController::iid, reinterpret_cast<void**>(&controller));
        ok = processor && controller && component->initialize(context.unknown()) == kResultOk;
    }
    ~Effect() {
        if (!component)
            return;
        component->setActive(false);
        component->terminate();
        for (FUnknown* face :
             {static_cast<FUnknown*>(processor), static_cast<FUnknown*>(controller)})
            if (face)
                face->release();
        component->release();
    }
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    bool prepare(int32 sampleSize = kSample32, double rate = 44100.0) {
        SpeakerArrangement stereo = SpeakerArr::kStereo;
        ProcessSetup setup = {kRealtime, sampleSize, 512, rate};
        return processor->setBusArrangements(&stereo, 1, &stereo, 1) == kResultOk &&
               processor->setupProcessing(setup) == kResultOk &&
               component->setActive(true) == kResultOk;
    }
    Bytes state() {
        MemoryStream stream;
        if (component->getState(&stream) != kResultOk)
            return {};
        auto* data = reinterpret_cast<const unsigned char*>(stream.getData());
        return Bytes(data, data + stream.getSize());
    }
    tresult load(const Bytes& bytes) {
        MemoryStream stream;
        int32 written = 0;
        if (!bytes.empty())
            stream.write(const_cast<unsigned char*>(bytes.data()), static_cast<int32>(bytes.size()),
                         &written);
        stream.seek(0, IBStream::kIBSeekSet, nullptr);
        return component->setState(&stream);
    }

    TestHostContext context;
    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;
    bool ok = false;
};

// Channel buffers with guard samples after each, filled with a value the effect never writes.
template <typename Sample> struct Block {
    static constexpr int32 kGuard = 64;
    static constexpr Sample kStale = Sample(7);

    Block(int32 inputs, int32 outputs, int32 frames) : frames(frames) {
        for (int32 c = 0; c < inputs; ++c) {
            in.emplace_back(frames + kGuard, kStale);
            for (int32 s = 0; s < frames; ++s)
                in.back()[s] = Sample(0.9 * std::sin(0.05 * s + c));
        }
        for (int32 c = 0; c < outputs; ++c)
            out.emplace_back(frames + kGuard, kStale);
        for (auto& channel : in)
            inPtrs.push_back(channel.data());
        for (auto& channel : out)
            outPtrs.push_back(channel.data());
        inBus.numChannels = inputs;
        outBus.numChannels = outputs;
        if constexpr (sizeof(Sample) == 4) {
            inBus.channelBuffers32 = inPtrs.data();
            outBus.channelBuffers32 = outPtrs.data();
        } else {
            inBus.channelBuffers64 = inPtrs.data();
            outBus.channelBuffers64 = outPtrs.data();
        }
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = frames;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
    }
    bool guardsIntact() const {
        for (auto* channels : {&in, &out})
            for (auto& channel : *channels)
                for (int32 s = frames; s < frames + kGuard; ++s)
                    if (channel[s] != kStale)
                        return false;
        return true;
    }

    int32 frames;
    std::vector<std::vector<Sample>> in, out;
    std::vector<Sample*> inPtrs, outPtrs;
    AudioBusBuffers inBus = {}, outBus = {};
    ProcessData data;
};

// The texts here are ASCII.
std::string text8(const TChar* text) {
    std::string out;
    for (; *text; ++text)
        out += static_cast<char>(*text);
    return out;
}

struct Text16 {
    explicit Text16(const char* text) {
        for (size_t i = 0; i < 127 && text[i]; ++i)
            chars[i] = static_cast<TChar>(text[i]);
    }
    String128 chars = {};
};

void put(Bytes& bytes, size_t offset, uint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

uint32 get(const Bytes& bytes, size_t offset) {
    return (uint32(bytes[offset]) << 24) | (uint32(bytes[offset + 1]) << 16) |
           (uint32(bytes[offset + 2]) << 8) | uint32(bytes[offset + 3]);
}

float floatAt(const Bytes& bytes, size_t offset) {
    uint32 bits = get(bytes, offset);
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

TEST(HostileHost, ParameterCallsAnswerAnyIndexValueOrTextSafely) {
    Module module;
    for (WrapperKind kind : {WrapperKind::None, WrapperKind::Vst2}) {
        Effect fx(module, kind);
        ASSERT_TRUE(fx.ok);
        IEditController* c = fx.controller;
        const int32 count = c->getParameterCount();
        ParameterInfo info = {};
        for (int32 bad : {-1, count, count + 1, std::numeric_limits<int32>::max(),
                          std::numeric_limits<int32>::min()})
            EXPECT_EQ(c->getParameterInfo(bad, info), kInvalidArgument) << bad;

        const double values[] = {kNaN,   kInf, -kInf, 1e300,
                                 -1e300, -1.0, -0.5,  0.0,
                                 0.35,   1.0,  2.0,   std::numeric_limits<double>::denorm_min()};
        for (int32 i = 0; i < count; ++i) {
            ASSERT_EQ(c->getParameterInfo(i, info), kResultOk);
            const double low = c->normalizedParamToPlain(info.id, 0.0);
            const double high = c->normalizedParamToPlain(info.id, 1.0);
            for (double v : values) {
                struct {
                    String128 text;
                    TChar canary[64];
                } host;
                std::fill(std::begin(host.text), std::end(host.text), TChar('#'));
                std::fill(std::begin(host.canary), std::end(host.canary), TChar('#'));
                const tresult result = c->getParamStringByValue(info.id, v, host.text);
                for (TChar ch : host.canary)
                    ASSERT_EQ(ch, TChar('#')) << text8(info.title) << " " << v;
                const double plain = c->normalizedParamToPlain(info.id, v);
                EXPECT_TRUE(plain >= std::min(low, high) && plain <= std::max(low, high));
                const double normalized = c->plainParamToNormalized(info.id, v * 1000);
                EXPECT_TRUE(normalized >= 0.0 && normalized <= 1.0);
                if (!std::isfinite(v)) {
                    EXPECT_EQ(result, kInvalidArgument) << text8(info.title) << " " << v;
                    continue;
                }
                ASSERT_EQ(result, kResultOk) << text8(info.title) << " " << v;
                ASSERT_NE(std::find(std::begin(host.text), std::end(host.text), 0),
                          std::end(host.text));
                // A value outside 0 to 1 reads as the value it would be kept as.
                String128 clamped = {};
                c->getParamStringByValue(info.id, std::min(1.0, std::max(0.0, v)), clamped);
                EXPECT_EQ(text8(host.text), text8(clamped)) << text8(info.title) << " " << v;
            }
            ParamValue untouched = -7.0;
            for (const char* garbage :
                 {"abc", "seven", "-", "x", "ms", "nan", "inf", "5,5", "7abc", "", " ", "1e309",
                  "--1", "+-1", "1e", ".", "0x10", "On Off", "5 dB"})
                EXPECT_EQ(c->getParamValueByString(info.id, Text16(garbage).chars, untouched),
                          kResultFalse)
                    << text8(info.title) << " '" << garbage << "'";
            EXPECT_EQ(untouched, -7.0);
        }
        struct {
            ParamID id;
            const char* text;
            double normalized;
        } const good[] = {{kFxMixId, "5", 0.5},         {kFxMixId, " 2.5 ", 0.25},
                          {kFxMixId, "+1e0", 0.1},      {kFxMixId, "11", 1.0},
                          {kFxMixId, "-3", 0.0},        {kPreDelayId, "12.3 ms", 0.5},
                          {kPreDelayId, "12.3ms", 0.5}, {kPowerId, "On", 1.0},
                          {kPowerId, "Off", 0.0},       {kMasterBypassId, "On", 1.0}};
        for (const auto& row : good) {
            ParamValue value = -7.0;
            EXPECT_EQ(c->getParamValueByString(row.id, Text16(row.text).chars, value), kResultOk);
            EXPECT_EQ(value, row.normalized) << row.text;
        }

        // Units and program lists: only the VST 2 wrapper has them.
        IUnitInfo* units = nullptr;
        ASSERT_EQ(fx.component->queryInterface(IUnitInfo::iid, reinterpret_cast<void**>(&units)),
                  kResultOk);
        UnitInfo unit = {};
        ProgramListInfo list = {};
        String128 name = {};
        EXPECT_EQ(units->getUnitInfo(-1, unit), kInvalidArgument);
        EXPECT_EQ(units->getUnitInfo(units->getUnitCount(), unit), kInvalidArgument);
        EXPECT_EQ(units->getProgramListInfo(units->getProgramListCount(), list), kInvalidArgument);
        for (int32 bad : {-1, 8, std::numeric_limits<int32>::max()}) {
            EXPECT_EQ(units->getProgramName(kProgramId, bad, name), kInvalidArgument);
            EXPECT_EQ(units->getProgramInfo(kProgramId, bad, "name", name), kInvalidArgument);
            EXPECT_EQ(units->hasProgramPitchNames(kProgramId, bad), kInvalidArgument);
            EXPECT_EQ(units->getProgramPitchName(kProgramId, bad, 60, name), kInvalidArgument);
        }
        EXPECT_EQ(units->getProgramName(0xBAD, 0, name), kInvalidArgument);
        if (kind == WrapperKind::Vst2) {
            ASSERT_EQ(units->getProgramName(kProgramId, 7, name), kResultOk);
            EXPECT_EQ(text8(name), "08 Echo Chamber");
        }
        units->release();
        EXPECT_EQ(fx.component->queryInterface(IComponent::iid, nullptr), kInvalidArgument);
    }
}

TEST(HostileHost, BusCallsRefuseWhatTheEffectDoesNotHave) {
    Module module;
    Effect fx(module);
    ASSERT_TRUE(fx.ok);
    IAudioProcessor* p = fx.processor;
    SpeakerArrangement stereo[2] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
    SpeakerArrangement mono = SpeakerArr::kMono;
    EXPECT_EQ(p->setBusArrangements(stereo, 2, stereo, 1), kResultFalse);
    EXPECT_EQ(p->setBusArrangements(stereo, 1, stereo, 2), kResultFalse);
    EXPECT_EQ(p->setBusArrangements(stereo, -1, stereo, 1), kInvalidArgument);
    EXPECT_EQ(p->setBusArrangements(nullptr, 1, stereo, 1), kResultFalse);
    EXPECT_EQ(p->setBusArrangements(&mono, 1, nullptr, 1), kResultFalse);
    SpeakerArrangement arrangement = 0;
    ASSERT_EQ(p->getBusArrangement(kInput, 0, arrangement), kResultTrue);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);
    for (BusDirection bad : {2, 5, -1}) {
        EXPECT_EQ(p->getBusArrangement(bad, 0, arrangement), kInvalidArgument) << bad;
        EXPECT_EQ(fx.component->getBusCount(kAudio, bad), 0) << bad;
        BusInfo info = {};
        EXPECT_EQ(fx.component->getBusInfo(kAudio, bad, 0, info), kInvalidArgument) << bad;
        EXPECT_EQ(fx.component->activateBus(kAudio, bad, 0, true), kInvalidArgument) << bad;
    }
    EXPECT_EQ(fx.component->getBusCount(kAudio, 9), 0);
    EXPECT_EQ(fx.component->getBusCount(kAudio, kOutput), 1);
}

template <typename Sample> void blocksAreSafe(Module& module) {
    Effect fx(module);
    ASSERT_TRUE(fx.ok);
    ASSERT_TRUE(fx.prepare(sizeof(Sample) == 4 ? kSample32 : kSample64));

    // Only the two sample sizes are processed; anything else touches no buffer.
    for (int32 size : {2, 99, -1}) {
        Block<Sample> block(2, 2, 64);
        block.data.symbolicSampleSize = size;
        EXPECT_EQ(fx.processor->process(block.data), kInvalidArgument) << size;
        EXPECT_TRUE(block.guardsIntact()) << size;
        EXPECT_EQ(block.out[1][0], Block<Sample>::kStale) << size;
    }

    // Channel counts that disagree with the stereo arrangement: what is not produced is silent.
    const int32 layouts[][2] = {{1, 2}, {2, 3}, {8, 8}, {2, 1}, {1, 1}, {2, 2}, {0, 2}};
    for (auto& layout : layouts) {
        Block<Sample> block(layout[0], layout[1], 64);
        EXPECT_EQ(fx.processor->process(block.data), kResultOk);
        EXPECT_TRUE(block.guardsIntact());
        const int32 produced = std::min(std::min(layout[0], layout[1]), 2);
        for (int32 c = 0; c < layout[1]; ++c)
            for (int32 s = 0; s < 64; ++s) {
                const Sample sample = block.out[c][s];
                if (c >= produced)
                    ASSERT_EQ(sample, Sample(0)) << layout[0] << " in, " << layout[1] << " out";
                else
                    ASSERT_TRUE(std::isfinite(sample) && sample != Block<Sample>::kStale);
            }
    }
}

TEST(HostileHost, BlocksWithBadSampleSizesOrChannelCountsAreSafe) {
    Module module;
    blocksAreSafe<float>(module);
    blocksAreSafe<double>(module);
}

// Which chunks the effect must take: the checks are restated here from the chunk's layout.
bool isValidChunk(const Bytes& bytes) {
    if (bytes.empty())
        return true; // nothing to restore
    if (bytes.size() < 16 || get(bytes, 0) != kStateChunkMagic)
        return false;
    const uint32 version = get(bytes, 4), size = get(bytes, 8), rows = get(bytes, 12);
    if (version == 0 || version > 0x7FFFFFFF || size < 16 || size > 16 + 8 * 4096 || rows > 4096 ||
        bytes.size() < 16 + 8 * size_t(rows))
        return false;
    for (uint32 k = 0; k < rows; ++k)
        if (get(bytes, 16 + 8 * k) != kProgramId && !std::isfinite(floatAt(bytes, 20 + 8 * k)))
            return false;
    return true;
}

struct FuzzCounts {
    long chunks = 0, accepted = 0, refused = 0, wrongAnswers = 0, changedOnRefusal = 0,
         wrongValues = 0;
};

Bytes mutate(const Bytes& good, std::mt19937& random) {
    static const uint32 special[] = {0,          1,          2,         16,         80,
                                     88,         4096,       4097,      0x7FFFFFFF, 0x80000000,
                                     0xFFFFFFFF, 0x7FC00000, 0x7F800000};
    Bytes bytes = good;
    auto pick = [&](size_t n) { return size_t(random() % n); };
    switch (random() % 6) {
    case 0: // flipped bits
        for (int flips = 1 + int(random() % 4); flips > 0; --flips)
            bytes[pick(bytes.size())] ^= static_cast<unsigned char>(1u << (random() % 8));
        break;
    case 1: // truncated
        bytes.resize(pick(bytes.size()));
        break;
    case 2: // a header field replaced
        put(bytes, 4 + 4 * pick(3), special[pick(std::size(special))]);
        break;
    case 3: // a row's id or value replaced
        put(bytes, 16 + 4 * pick((bytes.size() - 16) / 4),
            random() % 2 ? special[pick(std::size(special))] : uint32(random()));
        break;
    case 4: // rows added or removed, the count following or not
    {
        const uint32 rows = get(bytes, 12);
        const uint32 newRows = uint32(pick(rows + 4));
        bytes.resize(16 + 8 * size_t(newRows), 0x3F);
        if (random() % 2)
            put(bytes, 12, newRows);
        break;
    }
    default: // random bytes after a good header
        for (size_t i = 16; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>(random());
        break;
    }
    return bytes;
}

void fuzz(Effect& fx, bool hasProgramList, long chunks, unsigned seed, FuzzCounts& counts) {
    std::mt19937 random(seed);
    const Bytes good = fx.state();
    ASSERT_FALSE(good.empty());
    for (long i = 0; i < chunks; ++i) {
        const Bytes chunk = mutate(good, random);
        const Bytes before = fx.state();
        const bool valid = isValidChunk(chunk);
        const tresult result = fx.load(chunk);
        ++counts.chunks;
        if (result == kResultOk)
            ++counts.accepted;
        else
            ++counts.refused;
        if (result != (valid ? kResultOk : kResultFalse))
            ++counts.wrongAnswers;
        if (result != kResultOk && fx.state() != before)
            ++counts.changedOnRefusal;
        if (result != kResultOk || hasProgramList || chunk.empty())
            continue;
        // Without a program list, each continuous parameter holds its last row's value.
        const uint32 rows = get(chunk, 12);
        for (ParamID id : kContinuous) {
            double expected = -1.0;
            for (uint32 k = 0; k < rows; ++k)
                if (get(chunk, 16 + 8 * k) == id)
                    expected = std::min(1.0, std::max(0.0, double(floatAt(chunk, 20 + 8 * k))));
            if (expected >= 0.0 && fx.controller->getParamNormalized(id) != expected)
                ++counts.wrongValues;
        }
    }
}

long envNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtol(text, nullptr, 10) : fallback;
}

TEST(HostileHost, StateChunksAreTakenWholeOrNotAtAll) {
    Module module;
    Effect vst3(module);
    Effect vst2(module, WrapperKind::Vst2);
    ASSERT_TRUE(vst3.ok && vst2.ok);
    for (auto [id, value] : {std::pair{kFxLimiterId, 0.1}, std::pair{kFxMixId, 0.2},
                             std::pair{kToneId, 0.3}, std::pair{kPreDelayId, 0.4}})
        vst3.controller->setParamNormalized(id, value);
    ASSERT_EQ(vst2.controller->setParamNormalized(kProgramId, 1.0), kResultOk);
    const Bytes ours = vst3.state();
    const Bytes wrapped = vst2.state();
    ASSERT_EQ(ours.size(), 80u);
    ASSERT_EQ(wrapped.size(), 88u);

    // What the product writes, and what it has always read, loads.
    Bytes tolerated = ours;
    put(tolerated, 4, 2);
    put(tolerated, 8, 99);
    for (const Bytes* chunk : {&ours, static_cast<const Bytes*>(&tolerated)}) {
        Effect fresh(module);
        EXPECT_EQ(fresh.load(*chunk), kResultOk);
        EXPECT_EQ(fresh.state(), ours);
    }
    EXPECT_EQ(vst3.load(wrapped), kResultOk);
    EXPECT_EQ(vst3.controller->getParamNormalized(kFxMixId), double(0.785f));
    EXPECT_EQ(vst3.load(ours), kResultOk);
    // An empty stream (a preset's controller state) has nothing to restore and is no error.
    {
        Effect fresh(module);
        const Bytes before = fresh.state();
        EXPECT_EQ(fresh.load(Bytes()), kResultOk);
        EXPECT_EQ(fresh.state(), before);
    }

    // Impossible chunks change nothing.
    std::vector<Bytes> refused;
    for (size_t length = 1; length < ours.size(); ++length)
        refused.emplace_back(ours.begin(), ours.begin() + length);
    for (auto [offset, value] : {std::pair{4, 0u},
                                 {4, 0xFFFFFFFFu},
                                 {8, 0u},
                                 {8, 15u},
                                 {8, 0xFFFFFFFFu},
                                 {12, 9u},
                                 {12, 0x80000000u},
                                 {12, 0xFFFFFFFFu},
                                 {36, 0x7FC00000u},
                                 {28, 0xFF800000u},
                                 {0, 0u}}) {
        refused.push_back(ours);
        put(refused.back(), size_t(offset), value);
    }
    Effect target(module);
    ASSERT_EQ(target.load(ours), kResultOk);
    for (const Bytes& chunk : refused) {
        EXPECT_EQ(target.load(chunk), kResultFalse) << chunk.size();
        EXPECT_EQ(target.state(), ours) << chunk.size();
    }

    // Mutated chunks; scripts/stress.sh runs many more.
    const long chunks = envNumber("SORV_STATE_FUZZ_CHUNKS", 10000);
    const unsigned seed = unsigned(envNumber("SORV_STATE_FUZZ_SEED", 515));
    FuzzCounts counts;
    fuzz(vst3, false, chunks / 2, seed, counts);
    fuzz(vst2, true, chunks - chunks / 2, seed + 1, counts);
    std::printf("state fuzz: %ld chunks, %ld accepted, %ld refused; %ld wrong answers, %ld "
                "changed on refusal, %ld wrong values\n",
                counts.chunks, counts.accepted, counts.refused, counts.wrongAnswers,
                counts.changedOnRefusal, counts.wrongValues);
    EXPECT_EQ(counts.wrongAnswers, 0);
    EXPECT_EQ(counts.changedOnRefusal, 0);
    EXPECT_EQ(counts.wrongValues, 0);
    EXPECT_GT(counts.accepted, chunks / 20);
    EXPECT_GT(counts.refused, chunks / 4);
}

#ifdef _WIN32
// Dispatches the calling thread's pending messages, its timer ticks among them.
void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
#endif

// What a host thread does while loading a project: make, set up, play, save and end effects.
// Returns the number of failed steps.
int runInstances(Module& module, int count) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        Effect fx(module);
        if (!fx.ok || !fx.prepare(i % 2 ? kSample64 : kSample32)) {
            ++failures;
            continue;
        }
        fx.controller->setParamNormalized(kFxLimiterId, 1.0);
        for (int b = 0; b < 8; ++b) {
            Block<float> block(2, 2, 128);
            Block<double> wide(2, 2, 128);
            failures += fx.processor->process(i % 2 ? wide.data : block.data) != kResultOk;
        }
        const Bytes saved = fx.state();
        failures += saved.size() != 80 || fx.load(saved) != kResultOk;
#ifdef _WIN32
        // The meter timer ticks only through the thread that made the effect: nothing while
        // it does not dispatch, the overload of the loud blocks once it does.
        Sleep(20);
        failures += fx.controller->getParamNormalized(kOverloadId) != 0.0;
        for (int wait = 0; wait < 400 && fx.controller->getParamNormalized(kOverloadId) == 0.0;
             ++wait) {
            pumpMessages();
            Sleep(5);
        }
        failures += !(fx.controller->getParamNormalized(kOverloadId) > 0.0);
#endif
    }
    return failures;
}

TEST(HostileHost, InstancesMadeAndRunOnEightThreadsAtOnce) {
    Module module;
    ASSERT_NE(module.factory, nullptr);
    const int rounds = int(envNumber("SORV_THREAD_ROUNDS", 3));
    for (int round = 0; round < rounds; ++round) {
        std::atomic<int> failures{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&] { failures += runInstances(module, 4); });
        for (auto& thread : threads)
            thread.join();
        ASSERT_EQ(failures.load(), 0) << "round " << round;
    }
}

TEST(HostileHost, AutomationOnTheAudioThreadWhileTheHostSaves) {
    Module module;
    Effect fx(module);
    ASSERT_TRUE(fx.ok && fx.prepare());
    std::atomic<int> failures{0};
    std::thread audio([&] {
        Block<float> block(2, 2, 64);
        for (int i = 0; i < 2000; ++i) {
            fx.controller->setParamNormalized(kFxMixId, (i % 101) / 100.0);
            fx.controller->setParamNormalized(kPowerId, i % 7 ? 1.0 : 0.0);
            fx.controller->setParamNormalized(kPreDelayId, (i % 11) / 10.0);
            failures += fx.processor->process(block.data) != kResultOk;
        }
    });
    for (int i = 0; i < 2000; ++i) {
        fx.controller->setParamNormalized(kMasterBypassId, i % 3 ? 0.0 : 1.0);
        const Bytes saved = fx.state();
        failures += saved.size() != 80;
        for (size_t offset = 20; offset < saved.size(); offset += 8) {
            const float value = floatAt(saved, offset);
            failures += !(value >= 0.0f && value <= 1.0f);
        }
    }
    audio.join();
    EXPECT_EQ(failures.load(), 0);
}

#ifdef _WIN32
TEST(HostileHost, ModuleStartsOnAHostThreadInTheMultithreadedApartment) {
    std::thread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            Module module;
            EXPECT_TRUE(module.started);
            EXPECT_NE(module.factory, nullptr);
            EXPECT_TRUE(module.close());
        }
        // The host's own start is still in force: another start on this thread is counted,
        // not made.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    }).join();
}
#else
TEST(HostileHost, AboutBoxShowsAnySampleRateAHostSet) {
    Module module;
    const std::pair<double, const char*> rates[] = {{44100.7, "44100"}, {kNaN, "nan"},
                                                    {kInf, "inf"},      {-kInf, "-inf"},
                                                    {1e300, nullptr},   {-1e300, nullptr}};
    for (auto [rate, shown] : rates) {
        Effect fx(module);
        ASSERT_TRUE(fx.ok);
        ProcessSetup setup = {kRealtime, kSample32, 512, rate};
        fx.processor->setupProcessing(setup);
        IEditController2* controller2 = nullptr;
        ASSERT_EQ(fx.component->queryInterface(IEditController2::iid,
                                               reinterpret_cast<void**>(&controller2)),
                  kResultOk);
        SorvTest::activeTestUtils()->reset();
        EXPECT_EQ(controller2->openAboutBox(false), kResultOk);
        controller2->release();
        const std::string& text = SorvTest::activeTestUtils()->lastMessageText;
        const size_t start = text.find("Samplerate: ") + 12;
        const size_t end = text.find("Hz\n", start);
        ASSERT_NE(end, std::string::npos) << rate;
        const std::string number = text.substr(start, end - start);
        if (shown)
            EXPECT_EQ(number, shown);
        else // every digit of the whole part
            EXPECT_EQ(std::strtod(number.c_str(), nullptr), rate) << number;
    }
}
#endif

} // namespace
