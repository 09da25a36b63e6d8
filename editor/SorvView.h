#pragma once
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace SorvLib {

// The framework's editor base: the effect pushes parameter changes into attached views.
class SorvView : public Steinberg::Vst::EditorView {
public:
    explicit SorvView(Steinberg::Vst::EditController* controller,
                      Steinberg::ViewRect* size = nullptr)
        : EditorView(controller, size) {}

    // Main thread: shows a parameter's new normalized value in the control bound to its tag.
    virtual void setControlValue(Steinberg::Vst::ParamID tag, double value) = 0;
    // The native handle of the editor's window, or null while not attached.
    virtual void* getPlatformHandle() const { return systemWindow; }

    OBJ_METHODS(SorvView, EditorView)
};

} // namespace SorvLib
