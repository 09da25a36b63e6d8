#pragma once
// A VST 2.4 test host: loads the built module with LoadLibrary, makes effects through its
// VSTPluginMain or MAIN with a host callback that records every request, and talks to them
// only through their AEffect record.

#include "hosts/LoadedModule.h"
#include "vst2/AEffect.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace SorvTest {

struct HostRequest {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

// What the host callback answers and what it was asked; one host per test process. Effects
// call it from any of the host's threads.
struct Vst2HostState {
    VstIntPtr version = 2400;
    std::string product = "Sorv Test Host";
    std::vector<HostRequest> requests;
    std::mutex lock;
    // A host that calls the effect back from inside its callback; set while no effect runs.
    std::function<void(AEffect*, VstInt32 opcode)> callsBack;

    size_t count(VstInt32 opcode) {
        std::lock_guard<std::mutex> held(lock);
        size_t n = 0;
        for (const HostRequest& request : requests)
            n += request.opcode == opcode;
        return n;
    }
    void clear() {
        std::lock_guard<std::mutex> held(lock);
        requests.clear();
    }
};

inline Vst2HostState& vst2Host() {
    static Vst2HostState state;
    return state;
}

// The kind of thread this is, as the host answers when asked the process level: it knows its
// user, audio and bounce threads; any other is unknown.
inline VstInt32& hostProcessLevel() {
    thread_local VstInt32 level = kVstProcessLevelUnknown;
    return level;
}

// A thread of the host's of this kind.
inline std::thread hostThread(VstInt32 level, std::function<void()> work) {
    return std::thread([level, work] {
        hostProcessLevel() = level;
        work();
    });
}

inline VstIntPtr testHostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt) {
    Vst2HostState& host = vst2Host();
    {
        std::lock_guard<std::mutex> held(host.lock);
        host.requests.push_back({opcode, index, value, opt});
    }
    if (host.callsBack && effect)
        host.callsBack(effect, opcode);
    switch (opcode) {
    case audioMasterVersion:
        return host.version;
    case audioMasterGetProductString:
        if (!ptr)
            return 0;
        std::strncpy(static_cast<char*>(ptr), host.product.c_str(), kVstMaxProductStrLen - 1);
        return 1;
    case audioMasterUpdateDisplay:
        return 1;
    case audioMasterGetCurrentProcessLevel:
        return hostProcessLevel();
    default:
        return 0;
    }
}

using Vst2EntryFunc = AEffect* (*)(audioMasterCallback);

// One effect seen through its record.
struct Vst2Plugin {
    AEffect* effect = nullptr;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    // A text request; the effect writes its text and one terminator, nothing behind them.
    std::string text(VstInt32 opcode, VstInt32 index = 0) {
        char buffer[256];
        std::memset(buffer, 0x7F, sizeof(buffer));
        buffer[0] = 0;
        dispatch(opcode, index, 0, buffer);
        const std::string text = buffer;
        EXPECT_EQ(std::count(buffer, buffer + sizeof(buffer), 0x7F), long(255 - text.size()))
            << "opcode " << opcode << ", index " << index;
        return text;
    }
    // Asks for these input and output widths, stereo where two, else of type mono.
    VstIntPtr arrange(int inputs, int outputs) {
        VstSpeakerArrangement in = {}, out = {};
        in.numChannels = inputs;
        out.numChannels = outputs;
        in.type = inputs == 2 ? kSpeakerArrStereo : kSpeakerArrMono;
        out.type = outputs == 2 ? kSpeakerArrStereo : kSpeakerArrMono;
        return dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    }
    float get(VstInt32 index) { return effect->getParameter(effect, index); }
    void set(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
    // The index of the parameter with this name, or -1.
    VstInt32 indexOf(const std::string& name) {
        for (VstInt32 i = 0; i < effect->numParams; ++i)
            if (text(effGetParamName, i) == name)
                return i;
        return -1;
    }
    std::vector<char> chunk() {
        void* data = nullptr;
        const VstIntPtr size = dispatch(effGetChunk, 0, 0, &data);
        if (size <= 0 || !data)
            return {};
        return std::vector<char>(static_cast<char*>(data), static_cast<char*>(data) + size);
    }
    VstIntPtr setChunk(std::vector<char> bytes) {
        return dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
    }
    using Channels = std::vector<std::vector<double>>;
    // One block through processReplacing or processDoubleReplacing, in place or into outputs
    // that start as NaN, so that a sample left unwritten shows.
    Channels process(const Channels& in, bool doubles = false, bool inPlace = false) {
        return doubles ? processAs<double>(in, inPlace) : processAs<float>(in, inPlace);
    }
    template <typename Sample> Channels processAs(const Channels& in, bool inPlace) {
        const size_t frames = in.at(0).size();
        std::vector<std::vector<Sample>> buffers;
        std::vector<Sample*> ins, outs;
        for (const std::vector<double>& channel : in) {
            // A spare sample each: no channel pointer is null, even in a block of no frames.
            ins.push_back(buffers.emplace_back(frames + 1).data());
            std::copy(channel.begin(), channel.end(), ins.back());
            outs.push_back(inPlace ? ins.back() : buffers.emplace_back(frames + 1, NAN).data());
        }
        if constexpr (sizeof(Sample) == sizeof(double))
            effect->processDoubleReplacing(effect, ins.data(), outs.data(), VstInt32(frames));
        else
            effect->processReplacing(effect, ins.data(), outs.data(), VstInt32(frames));
        Channels out;
        for (Sample* channel : outs)
            out.emplace_back(channel, channel + frames);
        return out;
    }
    // Renders blocks of a fixed noise and answers, per block, the energy of what the effect added
    // to its input; `before` runs first with the block's number, as a host applies automation.
    std::vector<double> render(int blocks, int frames,
                               const std::function<void(int)>& before = nullptr) {
        Channels in(2, std::vector<double>(frames));
        std::vector<double> added;
        uint32_t noise = 22222;
        for (int block = 0; block < blocks; ++block) {
            for (auto& channel : in)
                for (double& sample : channel)
                    sample = static_cast<int32_t>(noise = noise * 1664525u + 1013904223u) * 1e-10f;
            if (before)
                before(block);
            const Channels out = process(in);
            added.push_back(0.0);
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < frames; ++i)
                    added.back() += (out[c][i] - in[c][i]) * (out[c][i] - in[c][i]);
        }
        return added;
    }
    void start(float rate, VstInt32 block) {
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        dispatch(effSetBlockSize, 0, block);
        dispatch(effMainsChanged, 0, 1);
    }
    // Closes through the record: the effect deletes itself.
    void close() {
        if (!effect)
            return;
        dispatch(effMainsChanged, 0, 0);
        EXPECT_EQ(dispatch(effClose), 1);
        effect = nullptr;
    }
};

class Vst2Host : public ::testing::Test {
protected:
    void SetUp() override {
        vst2Host().version = 2400;
        vst2Host().callsBack = nullptr;
        hostProcessLevel() = kVstProcessLevelUser;
        vst2Host().clear();
        module = LoadLibraryA(windowsPath(SORV_MODULE_PATH).c_str());
        ASSERT_NE(module, nullptr) << "cannot load " << SORV_MODULE_PATH;
        pluginMain = procAddress<Vst2EntryFunc>(module, "VSTPluginMain");
        main = procAddress<Vst2EntryFunc>(module, "MAIN");
        ASSERT_NE(pluginMain, nullptr);
        ASSERT_NE(main, nullptr);
    }
    void TearDown() override {
        for (Vst2Plugin& plugin : plugins)
            plugin.close();
        plugins.clear();
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }

    Vst2Plugin& make() {
        plugins.push_back({pluginMain(testHostCallback)});
        EXPECT_NE(plugins.back().effect, nullptr);
        return plugins.back();
    }

    HMODULE module = nullptr;
    Vst2EntryFunc pluginMain = nullptr;
    Vst2EntryFunc main = nullptr;
    std::deque<Vst2Plugin> plugins; // stable references
};

} // namespace SorvTest
