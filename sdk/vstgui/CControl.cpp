#include "vstgui/CControl.h"

#include "vstgui/CFrame.h"

namespace VSTGUI {

int32 CControl::kDefaultValueModifier = kControl;
int32 CControl::kZoomModifier = kShift;

CControl::CControl(const CRect& size, IControlListener* listener, int32 tag, CBitmap* bitmap)
    : CView(size), listener(listener), tag(tag) {
    background = bitmap;
}

void CControl::setValue(float v) {
    value = v;
}

void CControl::setValueNormalized(float normalized) {
    if (normalized > 1.0f)
        normalized = 1.0f;
    else if (normalized < 0.0f)
        normalized = 0.0f;
    setValue(vmin + normalized * (vmax - vmin));
}

float CControl::getValueNormalized() const {
    float range = vmax - vmin;
    return range == 0.0f ? 0.0f : (value - vmin) / range;
}

void CControl::bounceValue() {
    if (value > vmax)
        value = vmax;
    else if (value < vmin)
        value = vmin;
}

void CControl::beginEdit() {
    ++editCount;
    if (editCount != 1)
        return;
    if (listener)
        listener->controlBeginEdit(this);
    if (CFrame* frame = getFrame())
        frame->beginEdit(tag);
}

void CControl::endEdit() {
    if (editCount <= 0)
        return;
    --editCount;
    if (editCount != 0)
        return;
    if (CFrame* frame = getFrame())
        frame->endEdit(tag);
    if (listener)
        listener->controlEndEdit(this);
}

void CControl::valueChanged() {
    if (listener)
        listener->valueChanged(this);
}

bool CControl::checkDefaultValue(const CButtonState& buttons) {
    if (!buttons.isLeftButton() || (buttons.getModifierState() & kDefaultValueModifier) == 0 ||
        (buttons.getModifierState() & ~kDefaultValueModifier & ~kZoomModifier) != 0)
        return false;
    beginEdit();
    setValue(defaultValue);
    valueChanged();
    endEdit();
    invalid();
    return true;
}

void CControl::removed() {
    // A control taken away in mid-edit still closes its edit.
    while (editCount > 0)
        endEdit();
    CView::removed();
}

} // namespace VSTGUI
