#pragma once
// The AAX wrapper's window object: the effect's VST 3 editor ("editor") attached into the
// native window of the host's view container. Host's main thread only.

#include "AAX_CEffectGUI.h"
#include "pluginterfaces/gui/iplugview.h"

class AAXWrapper_Parameters;

class AAXWrapper_GUI : public AAX_CEffectGUI, public Steinberg::IPlugFrame {
public:
    // The host's creation procedure: a new object with one reference.
    static IACFUnknown* Create();

    AAX_Result ACFMETHODCALLTYPE GetViewSize(AAX_Point* size) const override;
    AAX_Result ACFMETHODCALLTYPE TimerWakeup() override;
    AAX_Result ACFMETHODCALLTYPE SetControlHighlightInfo(AAX_CParamID id, AAX_CBoolean highlighted,
                                                         int32_t colour) override;

    // IPlugFrame: the view asks for a new size; the host's view container is asked for it,
    // and only when it agrees does the view take it (GetViewSize then answers it).
    Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                             Steinberg::ViewRect* newSize) SMTG_OVERRIDE;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid,
                                                 void** obj) SMTG_OVERRIDE;
    Steinberg::uint32 PLUGIN_API addRef() SMTG_OVERRIDE { return 1; }
    Steinberg::uint32 PLUGIN_API release() SMTG_OVERRIDE { return 1; }

    Steinberg::IPlugView* GetView() const { return mView; }

protected:
    ~AAXWrapper_GUI() override;
    void CreateViewContents() override {}
    void CreateViewContainer() override;
    void DeleteViewContainer() override;
    // The effect's editor view, or null; a new reference for the caller.
    virtual Steinberg::IPlugView* CreateView();
    AAXWrapper_Parameters* GetWrapper() const;

private:
    Steinberg::IPlugView* mView = nullptr;
};
