#include "vstgui/CGradientView.h"

#include "vstgui/CDrawContext.h"

#include <cmath>

namespace VSTGUI {

namespace {
constexpr double kPi = 3.14159265358979323846;

uint8_t mix(uint8_t a, uint8_t b, double t) {
    return static_cast<uint8_t>(std::floor(a + (b - a) * t + 0.5));
}
} // namespace

CGradient* CGradient::create(double start, double end, const CColor& c1, const CColor& c2) {
    return new CGradient(start, end, c1, c2);
}

CColor CGradient::colorAt(double offset) const {
    double t = end > start ? (offset - start) / (end - start) : (offset >= end ? 1.0 : 0.0);
    t = t < 0.0 ? 0.0 : t > 1.0 ? 1.0 : t;
    return CColor(mix(startColor.red, endColor.red, t), mix(startColor.green, endColor.green, t),
                  mix(startColor.blue, endColor.blue, t), mix(startColor.alpha, endColor.alpha, t));
}

void CGradientView::draw(CDrawContext* context) {
    if (gradient) {
        // One-pixel bands across the direction of the gradient.
        double a = angle * kPi / 180.0;
        double dx = std::cos(a), dy = std::sin(a);
        double length = std::fabs(dx) * size.getWidth() + std::fabs(dy) * size.getHeight();
        int bands = static_cast<int>(std::ceil(length * context->getZoom()));
        bool horizontal = std::fabs(dx) >= std::fabs(dy);
        for (int i = 0; i < bands && bands > 0; ++i) {
            double t = (i + 0.5) / bands;
            double from = double(i) / bands, to = double(i + 1) / bands;
            bool reversed = horizontal ? dx < 0 : dy < 0;
            CRect band = size;
            double first = reversed ? 1.0 - to : from, last = reversed ? 1.0 - from : to;
            if (horizontal) {
                band.left = size.left + size.getWidth() * first;
                band.right = size.left + size.getWidth() * last;
            } else {
                band.top = size.top + size.getHeight() * first;
                band.bottom = size.top + size.getHeight() * last;
            }
            context->setFillColor(gradient->colorAt(t));
            context->drawRect(band, kDrawFilled);
        }
    }
    if (frameWidth > 0.0 && frameColor.alpha > 0) {
        // The frame lies inside the view, its line centred half a width in from the edge.
        CRect edge = size;
        edge.inset(frameWidth * 0.5, frameWidth * 0.5);
        int32 mode = context->getDrawMode();
        context->setDrawMode(antialiased ? kAntiAliasing : kAliasing);
        context->setLineWidth(frameWidth);
        context->setFrameColor(frameColor);
        if (roundRectRadius > 0.0) {
            SharedPointer<CGraphicsPath> path =
                makeOwned(context->createRoundRectGraphicsPath(edge, roundRectRadius));
            context->drawGraphicsPath(path, CGraphicsPath::kPathStroked);
        } else {
            context->drawRect(edge, kDrawStroked);
        }
        context->setDrawMode(mode);
    }
    setDirty(false);
}

} // namespace VSTGUI
