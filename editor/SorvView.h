#pragma once
// The framework's editor base: opens the frame in the host's window, zooms it by the user's
// size times the display scale, binds every control to the parameter whose id is its tag,
// carries edits to the effect and the effect's values back, polls read-only parameters on
// the editor timer and shows the value callouts around edits. Main thread only.

#include "vstgui/CControl.h"
#include "vst/VSTGUIEditor.h"
#include "editor/SorvToolbar.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

#include <map>
#include <string>

namespace SorvLib {

class SorvView : public Steinberg::Vst::VSTGUIEditor,
                 public VSTGUI::IControlListener,
                 public Steinberg::IPlugViewContentScaleSupport {
public:
    using ParamID = Steinberg::Vst::ParamID;

    // The strip under the product's views that holds the toolbar, in logical pixels.
    static constexpr int32_t kToolbarHeight = 24;

    explicit SorvView(Steinberg::Vst::EditController* controller);
    ~SorvView() override;

    bool PLUGIN_API open(void* parent, const VSTGUI::PlatformType& type) override;
    void PLUGIN_API close() override;

    // Edits of controls: the effect's bracket, and the callouts of that parameter.
    void beginEdit(VSTGUI::int32 index) override;
    void endEdit(VSTGUI::int32 index) override;
    // Asks the host for the new size; fits the host's windows when it says no.
    bool beforeSizeChange(const VSTGUI::CRect& newSize, const VSTGUI::CRect& oldSize) override;
    // The editor timer: idles the frame and re-reads the read-only parameters.
    VSTGUI::CMessageResult notify(VSTGUI::CBaseObject* sender,
                                  VSTGUI::IdStringPtr message) override;
    // An edit by the user on a bound control.
    void valueChanged(VSTGUI::CControl* control) override;
    Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) SMTG_OVERRIDE;

    // The product window adds its views to the frame.
    virtual void createUI() = 0;
    // Called by the effect after each change of an ordinary parameter.
    virtual void setControlValue(ParamID id, double value);
    virtual void refreshReadOnlyControls();
    virtual Steinberg::ViewRect getScaledRect() const { return scaledRect; }
    // The unscaled window size without the toolbar strip, which is added here.
    virtual void setBaseSize(const Steinberg::ViewRect& rect);
    virtual double getZoom() const { return uiSizeFactor * contentScaleFactor; }
    virtual void setUISize(double factor);
    // The frame's native window, null without a frame.
    virtual void* getPlatformHandle() const;
    virtual bool setContentSize(const VSTGUI::CPoint& size);
    virtual void createToolbar();

    double getContentScaleFactor() const { return contentScaleFactor; }
    double getUISizeFactor() const { return uiSizeFactor; }
    SorvToolbar* getToolbar() const { return toolbar.get(); }
    const std::map<VSTGUI::CControl*, ParamID>& getEditableControls() const {
        return editableControls;
    }
    const std::map<VSTGUI::CControl*, ParamID>& getReadOnlyControls() const {
        return readOnlyControls;
    }

    OBJ_METHODS(SorvView, VSTGUIEditor)
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid,
                                                 void** obj) SMTG_OVERRIDE;
    REFCOUNT_METHODS(VSTGUIEditor)

private:
    void rescale();
    void showValue(ParamID id, double value);
    std::string valueText(ParamID id, double value);
    // " " and the units when the parameter is found (also for empty units).
    bool appendUnits(ParamID id, std::string& text, bool onlyNonEmpty);

    double contentScaleFactor;
    double uiSizeFactor;
    std::map<VSTGUI::CControl*, ParamID> editableControls;
    std::map<VSTGUI::CControl*, ParamID> readOnlyControls;
    VSTGUI::SharedPointer<SorvToolbar> toolbar;
    // The unzoomed window with the toolbar strip; `rect`, the size the host reads, is the
    // zoomed one.
    Steinberg::ViewRect baseRect;
    Steinberg::ViewRect scaledRect;
    bool resizing;
};

} // namespace SorvLib
