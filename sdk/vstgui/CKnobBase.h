#pragma once
// Knobs: a value turned by dragging (linear), the wheel, or set from an angle; and the
// knob that shows its value as one frame of a film-strip bitmap.

#include "vstgui/CControl.h"
#include "vstgui/IMultiBitmapControl.h"

namespace VSTGUI {

class CKnobBase : public CControl {
public:
    CKnobBase(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background);

    // Angles in radians, x right and y down, from +x towards +y.
    virtual void setStartAngle(float angle) { startAngle = angle; }
    float getStartAngle() const { return startAngle; }
    virtual void setRangeAngle(float angle) { rangeAngle = angle; }
    float getRangeAngle() const { return rangeAngle; }
    virtual void setZoomFactor(float factor) { zoomFactor = factor; }
    float getZoomFactor() const { return zoomFactor; }

    // The value at the angle of a point given relative to the knob's top left corner;
    // points in the gap below the knob go to the nearer end.
    virtual float valueFromPoint(CPoint& point) const;

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;

protected:
    float startAngle;
    float rangeAngle;
    float zoomFactor = 1.5f;

private:
    CPoint dragStart;
    float dragStartValue = 0.0f;
    bool dragFine = false;
    bool dragging = false;
};

class CAnimKnob : public CKnobBase, public IMultiBitmapControl {
public:
    CAnimKnob(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background,
              const CPoint& offset = CPoint());

    void setInverseBitmap(bool state) { inverseBitmap = state; }
    bool getInverseBitmap() const { return inverseBitmap; }
    void draw(CDrawContext* context) override;

protected:
    CPoint offset;
    bool inverseBitmap = false;
};

} // namespace VSTGUI
