#include "editor/SorvHorizontalSwitch.h"

#include "vstgui/CDrawContext.h"

namespace SorvLib {

using namespace VSTGUI;

SorvHorizontalSwitch::SorvHorizontalSwitch(const CRect& size, IControlListener* listener,
                                           int32_t tag, int32_t subPixmaps, CCoord heightOfOneImage,
                                           int32_t positions, CBitmap* background,
                                           const CPoint& offset)
    : CHorizontalSwitch(size, listener, tag, subPixmaps, heightOfOneImage, positions, background,
                        offset),
      drawOffset(0, 0) {}

SorvHorizontalSwitch::~SorvHorizontalSwitch() = default;

void SorvHorizontalSwitch::setDrawOffset(const CPoint& offset) {
    if (offset == drawOffset)
        return;
    drawOffset = offset;
    invalid();
}

void SorvHorizontalSwitch::draw(CDrawContext* context) {
    if (CBitmap* bitmap = getDrawBackground()) {
        float v = getValueNormalized();
        if (getInverseBitmap())
            v = 1.0f - v;
        int32_t n = getNumSubPixmaps();
        int32_t index;
        if (CHorizontalSwitch::roundedIndex) {
            index = static_cast<int32_t>(static_cast<float>(n - 1) * v + 0.5f);
        } else {
            index = static_cast<int32_t>(static_cast<float>(n) * v);
            if (index > n - 1)
                index = n - 1;
        }
        bitmap->draw(context, getViewSize(),
                     CPoint(drawOffset.x, index * getHeightOfOneImage() + drawOffset.y), 1.0f);
    }
    setDirty(false);
}

} // namespace SorvLib
