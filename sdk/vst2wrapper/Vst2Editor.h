#pragma once
// The VST 2 editor of a wrapped VST 3 effect: it shows the effect's view in the window the host
// hands to open, reports the view's rectangle and passes resize requests of the view to the
// host. Main thread only.

#include "vst2/AEffEditor.h"

#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {
namespace Vst {

class Vst2Wrapper;

class Vst2Editor : public AEffEditor, public IPlugFrame {
public:
    explicit Vst2Editor(Vst2Wrapper* wrapper);
    ~Vst2Editor() override;

    bool getRect(ERect** rect) override;
    bool open(void* parent) override;
    void close() override;
    void idle() override;
    bool onKeyDown(VstKeyCode& key) override;
    bool onKeyUp(VstKeyCode& key) override;
    bool onWheel(float distance) override;
    bool setKnobMode(VstInt32 mode) override;

    // IPlugFrame
    tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) SMTG_OVERRIDE;

    // Owned by the wrapper; not reference counted.
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) SMTG_OVERRIDE;
    uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

private:
    // The effect's view, made on the first request and kept until close.
    bool makeView();
    void releaseView();

    Vst2Wrapper* wrapper;
    IPlugView* view = nullptr;
    bool attached = false;
    ERect rect = {};
};

} // namespace Vst
} // namespace Steinberg
