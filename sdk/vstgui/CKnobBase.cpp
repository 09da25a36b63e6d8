#include "vstgui/CKnobBase.h"

#include "vstgui/CDrawContext.h"

#include <cmath>

namespace VSTGUI {

namespace {
constexpr double kPi = 3.14159265358979323846;
// Pixels of mouse travel for the whole range in linear mode.
constexpr float kLinearRange = 200.0f;
} // namespace

CKnobBase::CKnobBase(const CRect& size, IControlListener* listener, int32 tag, CBitmap* bitmap)
    : CControl(size, listener, tag, bitmap), startAngle(static_cast<float>(3.0 * kPi / 4.0)),
      rangeAngle(static_cast<float>(3.0 * kPi / 2.0)) {}

float CKnobBase::valueFromPoint(CPoint& point) const {
    double dx = point.x - getWidth() * 0.5;
    double dy = point.y - getHeight() * 0.5;
    double a = std::atan2(dy, dx) - startAngle;
    a = std::fmod(a, 2.0 * kPi);
    if (a < 0.0)
        a += 2.0 * kPi;
    double range = rangeAngle;
    double v;
    if (a <= range)
        v = range > 0.0 ? a / range : 0.0;
    else
        v = a < range + (2.0 * kPi - range) * 0.5 ? 1.0 : 0.0;
    return static_cast<float>(vmin + v * (vmax - vmin));
}

CMouseEventResult CKnobBase::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (checkDefaultValue(buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginEdit();
    dragging = true;
    dragStart = where;
    dragStartValue = getValueNormalized();
    dragFine = (buttons.getModifierState() & kZoomModifier) != 0;
    return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!dragging)
        return kMouseEventNotHandled;
    bool fine = (buttons.getModifierState() & kZoomModifier) != 0;
    if (fine != dragFine) {
        // A changed modifier continues from where the knob is, at the new speed.
        dragFine = fine;
        dragStart = where;
        dragStartValue = getValueNormalized();
    }
    float range = fine ? kLinearRange * zoomFactor : kLinearRange;
    float moved = static_cast<float>((where.x - dragStart.x) + (dragStart.y - where.y));
    float v = dragStartValue + moved / range;
    v = v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v;
    if (v != getValueNormalized()) {
        setValueNormalized(v);
        valueChanged();
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKnobBase::onMouseUp(CPoint&, const CButtonState&) {
    if (!dragging)
        return kMouseEventNotHandled;
    dragging = false;
    endEdit();
    return kMouseEventHandled;
}

bool CKnobBase::onWheel(const CPoint&, const float& distance, const CButtonState& buttons) {
    float step = wheelInc * (vmax - vmin);
    if (buttons.getModifierState() & kZoomModifier)
        step /= zoomFactor;
    float v = value + distance * step;
    v = v < vmin ? vmin : v > vmax ? vmax : v;
    if (v == value)
        return true;
    beginEdit();
    setValue(v);
    valueChanged();
    endEdit();
    invalid();
    return true;
}

CAnimKnob::CAnimKnob(const CRect& size, IControlListener* listener, int32 tag, CBitmap* bitmap,
                     const CPoint& offset)
    : CKnobBase(size, listener, tag, bitmap), offset(offset) {
    autoCompute(bitmap, size.getHeight());
}

void CAnimKnob::draw(CDrawContext* context) {
    if (background && subPixmaps > 0) {
        float v = inverseBitmap ? 1.0f - getValueNormalized() : getValueNormalized();
        int32 frame = static_cast<int32>(v * (subPixmaps - 1) + 0.5f);
        background->draw(context, size, CPoint(offset.x, offset.y + frame * heightOfOneImage));
    }
    setDirty(false);
}

} // namespace VSTGUI
