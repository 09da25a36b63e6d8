#include "vstgui/CBitmapControls.h"

#include "vstgui/CDrawContext.h"

namespace VSTGUI {

COnOffButton::COnOffButton(const CRect& size, IControlListener* listener, int32 tag,
                           CBitmap* background, int32 style)
    : CControl(size, listener, tag, background), style(style) {}

void COnOffButton::draw(CDrawContext* context) {
    if (background) {
        CCoord y = value == vmax ? background->getHeight() * 0.5 : 0.0;
        background->draw(context, size, CPoint(0, y));
    }
    setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    float next = value == vmax ? vmin : vmax;
    if (style & kPostListenerUpdate) {
        valueChanged();
        setValue(next);
    } else {
        setValue(next);
        valueChanged();
    }
    endEdit();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMovieBitmap::CMovieBitmap(const CRect& size, IControlListener* listener, int32 tag,
                           CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset) {
    autoCompute(background, size.getHeight());
}

void CMovieBitmap::draw(CDrawContext* context) {
    if (background && subPixmaps > 0) {
        int32 frame = static_cast<int32>(getValueNormalized() * (subPixmaps - 1) + 0.5f);
        background->draw(context, size, CPoint(offset.x, offset.y + frame * heightOfOneImage));
    }
    setDirty(false);
}

CKickButton::CKickButton(const CRect& size, IControlListener* listener, int32 tag,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset) {}

void CKickButton::draw(CDrawContext* context) {
    if (background) {
        CCoord y = value == vmax ? getHeight() : 0.0;
        background->draw(context, size, CPoint(offset.x, offset.y + y));
    }
    setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!isEditing())
        return kMouseEventNotHandled;
    if (buttons.getButtonState()) {
        float next = size.pointInside(where) ? vmax : vmin;
        if (next != value) {
            setValue(next);
            invalid();
        }
    }
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&) {
    if (!isEditing())
        return kMouseEventNotHandled;
    if (value == vmax) {
        valueChanged();
        setValue(vmin);
        valueChanged();
        invalid();
    }
    endEdit();
    return kMouseEventHandled;
}

bool CHorizontalSwitch::roundedIndex = false;

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, IControlListener* listener, int32 tag,
                                     int32 subPixmaps, CCoord heightOfOneImage, int32 iMaxPositions,
                                     CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), positions(iMaxPositions), offset(offset) {
    setNumSubPixmaps(subPixmaps);
    setHeightOfOneImage(heightOfOneImage);
}

void CHorizontalSwitch::draw(CDrawContext* context) {
    if (background && subPixmaps > 0) {
        float v = getValueNormalized();
        int32 index = roundedIndex ? static_cast<int32>((subPixmaps - 1) * v + 0.5f)
                                   : static_cast<int32>(subPixmaps * v);
        if (index > subPixmaps - 1)
            index = subPixmaps - 1;
        background->draw(context, size, CPoint(offset.x, offset.y + index * heightOfOneImage));
    }
    setDirty(false);
}

void CHorizontalSwitch::setFromPoint(const CPoint& where) {
    if (positions <= 1)
        return;
    double step = getWidth() / positions;
    int32 index = static_cast<int32>((where.x - size.left) / step);
    index = index < 0 ? 0 : index >= positions ? positions - 1 : index;
    float next = vmin + (vmax - vmin) * index / static_cast<float>(positions - 1);
    if (next != value) {
        setValue(next);
        valueChanged();
        invalid();
    }
}

CMouseEventResult CHorizontalSwitch::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (checkDefaultValue(buttons))
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    beginEdit();
    setFromPoint(where);
    return kMouseEventHandled;
}

CMouseEventResult CHorizontalSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!isEditing())
        return kMouseEventNotHandled;
    if (buttons.isLeftButton())
        setFromPoint(where);
    return kMouseEventHandled;
}

CMouseEventResult CHorizontalSwitch::onMouseUp(CPoint&, const CButtonState&) {
    if (isEditing())
        endEdit();
    return kMouseEventHandled;
}

} // namespace VSTGUI
