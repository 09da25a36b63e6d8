#include "editor/SorvCallout.h"

#include "vstgui/CDrawContext.h"
#include "core/IUtils.h"

namespace SorvLib {

using namespace VSTGUI;

namespace {
constexpr uint32_t kDefaultHideDelayMs = 400;
constexpr int32 kFrameStyles = k3DIn | k3DOut | kNoFrame;
} // namespace

SorvCallout::SorvCallout(const CRect& size, int32_t tag)
    : CTextEdit(size, nullptr, tag, nullptr, nullptr, 0), hideRequestedAt(0),
      hideDelay(kDefaultHideDelayMs) {
    CTextEdit::setMouseEnabled(false);
    setFrameWidth(1.0);
    setFont(kNormalFontSmall);
    setFontColor(CColor(0, 0, 0, 255));
    setFrameColor(CColor(0, 0, 0, 255));
    setBackColor(CColor(255, 255, 255, 40));
    setHoriAlign(kCenterText);
    CTextEdit::setVisible(false);
    setWantsIdle(true);
}

SorvCallout::~SorvCallout() = default;

void SorvCallout::setVisible(bool state) {
    if (state) {
        CTextEdit::setVisible(true);
        hideRequestedAt = 0;
    } else {
        hideRequestedAt = getUtils()->getMilliseconds();
    }
}

void SorvCallout::setMouseEnabled(bool) {
    CTextEdit::setMouseEnabled(false);
}

void SorvCallout::onIdle() {
    uint32_t now = getUtils()->getMilliseconds();
    if (hideRequestedAt != 0 && now > hideRequestedAt + hideDelay) {
        CTextEdit::setVisible(false);
        hideRequestedAt = 0;
    }
}

void SorvCallout::draw(CDrawContext* context) {
    context->setDrawMode(kAntiAliasing);
    if (!getTransparency()) {
        CCoord lineWidth = getFrameWidth();
        if (lineWidth < 0.0)
            lineWidth = context->getHairlineSize();
        bool stroke = (getStyle() & kFrameStyles) == 0;
        context->setFillColor(getBackColor());
        CRect r = getViewSize();
        // The background filled, and framed unless a frame style says otherwise.
        auto paint = [&](CGraphicsPath* path) {
            context->drawGraphicsPath(path, CGraphicsPath::kPathFilled);
            if (stroke) {
                context->setLineStyle(kLineSolid);
                context->setLineWidth(lineWidth);
                context->setFrameColor(getFrameColor());
                context->drawGraphicsPath(path, CGraphicsPath::kPathStroked);
            }
        };
        if (getStyle() & kRoundRectStyle) {
            CRect inner = r;
            inner.inset(lineWidth / 2.0, lineWidth / 2.0);
            SharedPointer<CGraphicsPath> path =
                makeOwned(context->createRoundRectGraphicsPath(inner, getRoundRectRadius()));
            if (path) {
                context->setDrawMode(kAntiAliasing | kNonIntegralMode);
                paint(path);
            }
        } else {
            context->setDrawMode(kAntiAliasing | kNonIntegralMode);
            SharedPointer<CGraphicsPath> path = makeOwned(context->createGraphicsPath());
            if (path) {
                CRect area = r;
                if (stroke)
                    area.inset(lineWidth / 2.0, lineWidth / 2.0);
                path->addRect(area);
                paint(path);
            } else {
                context->drawRect(r, kDrawFilled);
            }
        }
    }
    drawPlatformText(context, displayText(), getViewSize());
    setDirty(false);
}

} // namespace SorvLib
