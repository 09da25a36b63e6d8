#include "vstgui/CParamDisplay.h"

#include "vstgui/CDrawContext.h"

#include <cstdio>

namespace VSTGUI {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32 style)
    : CControl(size, nullptr, -1, background), font(kNormalFontSmall), style(style) {}

std::string CParamDisplay::displayText() const {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(value));
    return text;
}

void CParamDisplay::drawBack(CDrawContext* context) {
    if (background) {
        background->draw(context, size);
        return;
    }
    if (transparent || (style & kNoDrawStyle))
        return;
    context->setFillColor(backColor);
    context->setFrameColor(frameColor);
    context->setLineWidth(frameWidth);
    bool frame = (style & kNoFrame) == 0;
    if (style & kRoundRectStyle) {
        SharedPointer<CGraphicsPath> path =
            makeOwned(context->createRoundRectGraphicsPath(size, roundRectRadius));
        context->drawGraphicsPath(path, CGraphicsPath::kPathFilled);
        if (frame)
            context->drawGraphicsPath(path, CGraphicsPath::kPathStroked);
    } else {
        context->drawRect(size, frame ? kDrawFilledAndStroked : kDrawFilled);
    }
}

void CParamDisplay::drawPlatformText(CDrawContext* context, const std::string& text,
                                     const CRect& rect) {
    if (style & kNoTextStyle)
        return;
    context->setFont(font);
    context->setFontColor(fontColor);
    context->drawString(text, rect, horiAlign);
}

void CParamDisplay::draw(CDrawContext* context) {
    drawBack(context);
    drawPlatformText(context, displayText(), size);
    setDirty(false);
}

CTextLabel::CTextLabel(const CRect& size, UTF8StringPtr txt, CBitmap* background, int32 style)
    : CParamDisplay(size, background, style), text(txt ? txt : "") {}

void CTextLabel::setText(const std::string& t) {
    if (t == text)
        return;
    text = t;
    invalid();
}

} // namespace VSTGUI
