#include "editor/SorvOnOffButton.h"

#include "vstgui/CDrawContext.h"

namespace SorvLib {

using namespace VSTGUI;

SorvOnOffButton::SorvOnOffButton(const CRect& size, IControlListener* listener, int32_t tag,
                                 CBitmap* background, int32_t style)
    : COnOffButton(size, listener, tag, background, style), drawOffset(0, 0) {}

SorvOnOffButton::~SorvOnOffButton() = default;

void SorvOnOffButton::setDrawOffset(const CPoint& offset) {
    if (offset == drawOffset)
        return;
    drawOffset = offset;
    invalid();
}

void SorvOnOffButton::draw(CDrawContext* context) {
    if (CBitmap* bitmap = getDrawBackground()) {
        CPoint where = drawOffset;
        // The bitmap holds the off state above the on state.
        if (getValue() == getMax())
            where.y += bitmap->getHeight() * 0.5;
        bitmap->draw(context, getViewSize(), where, 1.0f);
    }
    setDirty(false);
}

} // namespace SorvLib
