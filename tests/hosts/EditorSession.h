#pragma once
// What the editor test hosts share: the module loaded, one effect with a recording component
// handler, a host window to attach its view to, and stereo blocks of a sine through it.

#include "hosts/HostWindow.h"
#include "hosts/LoadedModule.h"
#include "support/TestHostContext.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace SorvTest {

// The product's parameters.
constexpr ParamID kPower = 0x506F7772;    // Powr
constexpr ParamID kLimiter = 0x45664C6D;  // EfLm
constexpr ParamID kMix = 0x45664D78;      // EfMx
constexpr ParamID kTone = 0x546F6E65;     // Tone
constexpr ParamID kPreDelay = 0x50726564; // Pred
constexpr ParamID kOverload = 0x4F6C4C70; // OlLp

// The host's component handler: records the edits it receives.
struct RecordingHandler : public IComponentHandler {
    struct Call {
        char kind;
        ParamID id;
        double value;
    };
    std::vector<Call> calls;
    tresult record(char kind, ParamID id, double value) {
        calls.push_back({kind, id, value});
        return kResultOk;
    }
    tresult PLUGIN_API beginEdit(ParamID id) override { return record('b', id, 0); }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue v) override { return record('p', id, v); }
    tresult PLUGIN_API endEdit(ParamID id) override { return record('e', id, 0); }
    tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
    tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

// A preference of the editors of this prefix, as the product stores it; null forgets it.
inline void setPreference(const char* name, const char* value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Sorv Audio Labs", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (value)
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       DWORD(std::strlen(value)));
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

inline std::string preference(const char* name) {
    char text[256] = {};
    DWORD size = sizeof text - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, "SOFTWARE\\Sorv Audio Labs", name, RRF_RT_REG_SZ, nullptr,
                     text, &size) != ERROR_SUCCESS)
        return "(missing)";
    return text;
}

constexpr char kSizePreference[] = "QUOR-515 UI Size";
constexpr char kQualityPreference[] = "QUOR-515 UI Scaling Quality";

// The size title the editors of this prefix open at; null forgets it.
inline void storeSize(const char* title) {
    setPreference(kSizePreference, title);
}

class EditorSession : public Vst3Host {
protected:
    void start() {
        ASSERT_TRUE(initDll());
        factory = getFactory();
        effect = createComponent(factory);
        ASSERT_NE(effect.controller, nullptr);
        ASSERT_EQ(effect.component->initialize(context.unknown()), kResultOk);
        effect.controller->setComponentHandler(&handler);
        parent = makeHostWindow();
        ASSERT_NE(parent, nullptr);
    }
    IPlugView* create() {
        IPlugView* view = effect.controller->createView("editor");
        EXPECT_NE(view, nullptr);
        if (view)
            view->setFrame(&plugFrame);
        return view;
    }
    IPlugView* open(HWND window) {
        IPlugView* view = create();
        EXPECT_TRUE(view && plugFrame.attach(view, window) == kResultOk);
        return view;
    }
    HWND editorWindow(HWND window) const { return GetWindow(window, GW_CHILD); }
    // getSize, the host's window and the editor's window all have that size, and the whole
    // editor lies inside the host's window.
    void expectWindowsAgree(int width, int height) {
        ViewRect size;
        ASSERT_EQ(view->getSize(&size), kResultOk);
        RECT host{}, editor{};
        GetClientRect(parent, &host);
        GetWindowRect(editorWindow(parent), &editor);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&editor), 2);
        for (const RECT& r : {RECT{0, 0, size.getWidth(), size.getHeight()}, host, editor}) {
            EXPECT_EQ(r.right - r.left, width);
            EXPECT_EQ(r.bottom - r.top, height);
        }
        EXPECT_TRUE(editor.left >= 0 && editor.top >= 0 && editor.right <= host.right &&
                    editor.bottom <= host.bottom)
            << "the editor reaches out of the host's window";
    }
    void close(IPlugView*& view) {
        if (!view)
            return;
        view->removed();
        view->setFrame(nullptr);
        plugFrame.windows.erase(view);
        EXPECT_EQ(view->release(), 0u);
        view = nullptr;
    }
    void TearDown() override {
        close(view);
        if (parent)
            DestroyWindow(parent);
        if (effect.component) {
            effect.component->setActive(false);
            effect.component->terminate();
            effect.release();
        }
        if (factory) {
            factory->release();
            EXPECT_TRUE(exitDll());
        }
        // Later editors of this prefix open at the default size again.
        storeSize(nullptr);
        Vst3Host::TearDown();
    }
    // Blocks of a sine of that amplitude, stereo at 44.1 kHz.
    void process(float amplitude, int blocks) {
        SpeakerArrangement stereo = SpeakerArr::kStereo;
        ASSERT_EQ(effect.processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
        ProcessSetup setup = {kRealtime, kSample32, 512, 44100.0};
        ASSERT_EQ(effect.processor->setupProcessing(setup), kResultOk);
        ASSERT_EQ(effect.component->setActive(true), kResultOk);
        std::vector<float> in(512), outL(512), outR(512);
        for (int i = 0; i < 512; ++i)
            in[size_t(i)] = amplitude * float(std::sin(i * 0.05));
        float* inputs[2] = {in.data(), in.data()};
        float* outputs[2] = {outL.data(), outR.data()};
        AudioBusBuffers inBus{}, outBus{};
        inBus.numChannels = outBus.numChannels = 2;
        inBus.channelBuffers32 = inputs;
        outBus.channelBuffers32 = outputs;
        ProcessData data{};
        data.numSamples = 512;
        data.symbolicSampleSize = kSample32;
        data.numInputs = data.numOutputs = 1;
        data.inputs = &inBus;
        data.outputs = &outBus;
        for (int b = 0; b < blocks; ++b)
            ASSERT_EQ(effect.processor->process(data), kResultOk);
    }

    IPluginFactory* factory = nullptr;
    Component effect;
    TestHostContext context;
    RecordingHandler handler;
    PlugFrame plugFrame;
    HWND parent = nullptr;
    IPlugView* view = nullptr;
};

} // namespace SorvTest
