#pragma once
// The product's editor opened on a live QUOR515Effect the way a host does: view from
// createView, a plug frame, attached to a parent window with platform type "HWND".

#include "vstgui/CFrame.h"
#include "editor/SorvView.h"
#include "engine/QUOR515Effect.h"
#include "engine/QUOR515Ids.h"
#include "support/TestHostContext.h"

#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace SorvTest {

// The host's side of edits: every call with its value.
struct RecordingHandler : public Steinberg::Vst::IComponentHandler {
    struct Call {
        char kind;
        Steinberg::Vst::ParamID id;
        double value;
    };
    std::vector<Call> calls;

    Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override {
        calls.push_back({'b', id, 0.0});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                              Steinberg::Vst::ParamValue v) override {
        calls.push_back({'p', id, v});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override {
        calls.push_back({'e', id, 0.0});
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32) override {
        return Steinberg::kResultOk;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

// The host's window frame: answers resize requests as told and can run code inside them.
struct TestPlugFrame : public Steinberg::IPlugFrame {
    Steinberg::tresult answer = Steinberg::kResultOk;
    std::vector<Steinberg::ViewRect> requests;
    std::function<void()> during;

    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* r) override {
        requests.push_back(*r);
        if (during)
            during();
        if (answer == Steinberg::kResultOk)
            view->onSize(r);
        return answer;
    }
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID, void** obj) override {
        *obj = nullptr;
        return Steinberg::kNoInterface;
    }
    Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
    Steinberg::uint32 PLUGIN_API release() override { return 1; }
};

class OpenEditor {
public:
    explicit OpenEditor(WrapperKind kind = WrapperKind::None)
        : context(kind), effect(new SorvLib::QUOR515Effect) {
        EXPECT_EQ(effect->initialize(context.unknown()), Steinberg::kResultOk);
        effect->setComponentHandler(&handler);
        plugView = effect->createView("editor");
        view = dynamic_cast<SorvLib::SorvView*>(plugView);
        plugView->setFrame(&plugFrame);
        attachResult = plugView->attached(&parentWindow, Steinberg::kPlatformTypeHWND);
    }
    ~OpenEditor() {
        if (view && view->isAttached())
            plugView->removed();
        plugView->setFrame(nullptr);
        EXPECT_EQ(plugView->release(), 0u);
        effect->terminate();
        effect->release();
    }
    OpenEditor(const OpenEditor&) = delete;
    OpenEditor& operator=(const OpenEditor&) = delete;

    VSTGUI::CFrame* frame() const { return view->getFrame(); }
    // The controls of the product's container, in the order the window adds them.
    VSTGUI::CView* child(int index) const {
        auto* container = dynamic_cast<VSTGUI::CViewContainer*>(frame()->getView(0));
        return container ? container->getView(index) : nullptr;
    }
    // Mouse input at logical coordinates of the unzoomed window.
    void mouseDown(double x, double y, int buttons) {
        double z = frame()->getZoom();
        frame()->platformMouseDown(VSTGUI::CPoint(x * z, y * z), buttons);
    }
    void mouseMoved(double x, double y, int buttons) {
        double z = frame()->getZoom();
        frame()->platformMouseMoved(VSTGUI::CPoint(x * z, y * z), buttons);
    }
    void mouseUp(double x, double y, int buttons) {
        double z = frame()->getZoom();
        frame()->platformMouseUp(VSTGUI::CPoint(x * z, y * z), buttons);
    }
    // The colour of a pixel of the whole window drawn afresh, at logical coordinates.
    uint32_t pixel(double x, double y) {
        frame()->drawAll();
        double z = frame()->getZoom();
        return frame()->getBuffer().at(static_cast<int>(x * z), static_cast<int>(y * z));
    }

    TestHostContext context;
    RecordingHandler handler;
    TestPlugFrame plugFrame;
    SorvLib::QUOR515Effect* effect;
    Steinberg::IPlugView* plugView = nullptr;
    SorvLib::SorvView* view = nullptr;
    int parentWindow = 0;
    Steinberg::tresult attachResult = Steinberg::kResultFalse;
};

inline int red(uint32_t p) {
    return (p >> 16) & 0xFF;
}
inline int green(uint32_t p) {
    return (p >> 8) & 0xFF;
}
inline int blue(uint32_t p) {
    return p & 0xFF;
}

} // namespace SorvTest
