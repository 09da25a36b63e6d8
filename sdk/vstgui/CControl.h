#pragma once
// A view with a value and a tag that reports changes to its listener and brackets the
// user's edits with begin and end.

#include "vstgui/CView.h"

namespace VSTGUI {

class CControl;

class IControlListener {
public:
    virtual ~IControlListener() = default;
    virtual void valueChanged(CControl* control) = 0;
    virtual int32 controlModifierClicked(CControl*, CButtonState) { return 0; }
    virtual void controlBeginEdit(CControl*) {}
    virtual void controlEndEdit(CControl*) {}
};

class CControl : public CView {
public:
    CControl(const CRect& size, IControlListener* listener = nullptr, int32 tag = -1,
             CBitmap* background = nullptr);

    // Held with the mouse button: resets to the default value.
    static int32 kDefaultValueModifier;
    // Held while dragging: finer steps by the control's zoom factor.
    static int32 kZoomModifier;

    virtual void setValue(float value);
    float getValue() const { return value; }
    virtual void setValueNormalized(float normalized);
    float getValueNormalized() const;
    virtual void setMin(float v) { vmin = v; }
    float getMin() const { return vmin; }
    virtual void setMax(float v) { vmax = v; }
    float getMax() const { return vmax; }
    virtual void setDefaultValue(float v) { defaultValue = v; }
    float getDefaultValue() const { return defaultValue; }
    virtual void setWheelInc(float v) { wheelInc = v; }
    float getWheelInc() const { return wheelInc; }
    void bounceValue();

    virtual void setTag(int32 t) { tag = t; }
    int32 getTag() const { return tag; }
    void setListener(IControlListener* l) { listener = l; }
    IControlListener* getListener() const { return listener; }

    // The user starts or ends changing the value; counted, so edits may nest.
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editCount > 0; }
    int32 getEditCount() const { return editCount; }
    // Tells the listener about the value.
    virtual void valueChanged();

    // A left click with the default-value modifier resets the value as one edit; true then.
    bool checkDefaultValue(const CButtonState& buttons);

    void removed() override;

protected:
    IControlListener* listener;
    int32 tag;
    float value = 0.0f;
    float vmin = 0.0f;
    float vmax = 1.0f;
    float defaultValue = 0.5f;
    float wheelInc = 0.1f;
    int32 editCount = 0;
};

} // namespace VSTGUI
