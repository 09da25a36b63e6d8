#include "editor/SorvAnimKnob.h"

#include "vstgui/CDrawContext.h"

#include <cmath>

namespace SorvLib {

using namespace VSTGUI;

namespace {
constexpr float kFrameEpsilon = 1.1920929e-07f;           // 2^-23
constexpr double kInverseOne = 0.99999988079071044921875; // 1 - 2^-23
constexpr int32 kJumpButtonMask = kLButton | kMButton | kRButton | kButton4 | kButton5;
} // namespace

SorvAnimKnob::SorvAnimKnob(const CRect& size, IControlListener* listener, int32_t tag,
                           CBitmap* background, const CPoint& offset)
    : CAnimKnob(size, listener, tag, background, offset), drawOffset(0, 0), jumpRadius(-1.0) {}

SorvAnimKnob::~SorvAnimKnob() = default;

void SorvAnimKnob::setDrawOffset(const CPoint& offset) {
    if (offset.x == drawOffset.x && offset.y == drawOffset.y)
        return;
    drawOffset = offset;
    invalid();
}

void SorvAnimKnob::draw(CDrawContext* context) {
    if (CBitmap* bitmap = getDrawBackground()) {
        float v = getValueNormalized();
        CPoint where(0, 0);
        double h = getHeightOfOneImage();
        if (v >= 0.0f && h > 0.0) {
            double range = h * (getNumSubPixmaps() - 1);
            double y = getInverseBitmap() ? std::floor((kInverseOne - double(v)) * range)
                                          : std::floor(double(v + kFrameEpsilon) * range);
            // Down to the top of the frame the value falls in.
            y -= static_cast<int32>(y) % static_cast<int32>(h);
            where.y = y;
        }
        where.offset(drawOffset.x, drawOffset.y);
        bitmap->draw(context, getViewSize(), where, 1.0f);
    }
    setDirty(false);
}

CMouseEventResult SorvAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (jumpRadius > 0.0 && (buttons.state & kJumpButtonMask) == kRButton) {
        const CRect& r = getViewSize();
        double cx = r.left + (r.right - r.left) * 0.5;
        double cy = r.top + (r.bottom - r.top) * 0.5;
        double d = std::sqrt((where.x - cx) * (where.x - cx) + (where.y - cy) * (where.y - cy));
        if (d >= jumpRadius) {
            CPoint local(where.x - r.left, where.y - r.top);
            value = valueFromPoint(local);
            beginEdit();
            valueChanged();
            endEdit();
            invalid();
            return kMouseEventHandled;
        }
    }
    return CKnobBase::onMouseDown(where, buttons);
}

} // namespace SorvLib
