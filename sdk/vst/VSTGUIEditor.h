#pragma once
// An IPlugView that shows a toolkit frame: it opens the editor when the host attaches it
// to a window, asks the host for the frame's size, idles the frame on its timer and closes
// it when the host removes it. getSize reports a new size only once the host has taken it:
// hosts compare their request with getSize. Main thread only.

#include "vstgui/CFrame.h"
#include "vstgui/CVSTGUITimer.h"
#include "vstgui/VSTGUIEditorInterface.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class VSTGUIEditor : public EditorView,
                     public VSTGUI::VSTGUIEditorInterface,
                     public VSTGUI::CBaseObject {
public:
    VSTGUIEditor(EditController* controller, ViewRect* size = nullptr);
    ~VSTGUIEditor() override;

    // Builds the frame in the parent window; true when it opened.
    virtual bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) = 0;
    virtual void PLUGIN_API close() = 0;

    // Period of the idle timer while the view is attached.
    void setIdleRate(int32 milliseconds);

    // The controller's edit bracket.
    void beginEdit(VSTGUI::int32 index) override;
    void endEdit(VSTGUI::int32 index) override;

    // IPlugView
    tresult PLUGIN_API isPlatformTypeSupported(FIDString type) SMTG_OVERRIDE;
    tresult PLUGIN_API attached(void* parent, FIDString type) SMTG_OVERRIDE;
    tresult PLUGIN_API removed() SMTG_OVERRIDE;
    // Confirms a size asked for by resizeHost. The frame cannot be resized freely, so any
    // other size leaves it as it is, and getSize keeps reporting the frame's size.
    tresult PLUGIN_API onSize(ViewRect* newSize) SMTG_OVERRIDE;

    // Idles the frame on the timer.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender,
                                  VSTGUI::IdStringPtr message) override;

    OBJ_METHODS(VSTGUIEditor, EditorView)
    REFCOUNT_METHODS(EditorView)

protected:
    // Asks the host to make the view width × height; the host's answer. From then on getSize
    // reports that size: the host confirmed it (by onSize, or by answering kResultTrue
    // without calling onSize, as some hosts do), or refused it and the caller fits the
    // host's windows itself.
    tresult resizeHost(int32 width, int32 height);

private:
    VSTGUI::int32 idleRate = 100;
    // The size asked for while the host's resizeView runs.
    ViewRect requested;
    bool requesting = false;
    VSTGUI::CVSTGUITimer* timer = nullptr;
};

} // namespace Vst
} // namespace Steinberg
