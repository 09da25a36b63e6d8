#include "editor/SorvVUNeedle.h"

#include "vstgui/CDrawContext.h"

#include <cmath>

namespace SorvLib {

using namespace VSTGUI;

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kDefaultAngleRange = 60.0;
constexpr double kShadowWidth = 1.75;
constexpr double kNeedleWidth = 1.35;
} // namespace

SorvVUNeedle::SorvVUNeedle(const CRect& size, IControlListener* listener, int32_t tag)
    : CControl(size, listener, tag, nullptr), needleLength(size.getHeight()),
      angleRange(kDefaultAngleRange), pivotOffset(0, 0), shadowOffset(-1.0, 1.0),
      needleColor(0, 0, 0, 255), shadowColor(255, 255, 255, 0) {
    setMouseEnabled(false);
}

SorvVUNeedle::~SorvVUNeedle() = default;

void SorvVUNeedle::draw(CDrawContext* context) {
    const CRect& r = getViewSize();
    double px = r.left + (r.right - r.left) * 0.5 + 0.5 + pivotOffset.x;
    double py = r.bottom + pivotOffset.y + 0.5;
    double a = (getValueNormalized() - 0.5) * (kPi / 180.0) * angleRange;
    double tx = px + needleLength * std::sin(a);
    double ty = py - needleLength * std::cos(a);
    context->setDrawMode(kAntiAliasing);
    context->setLineStyle(kLineSolid);
    context->setLineWidth(kShadowWidth);
    context->setFrameColor(shadowColor);
    context->drawLine(CPoint(px + shadowOffset.x, py + shadowOffset.y),
                      CPoint(tx + shadowOffset.x, ty + shadowOffset.y));
    context->setLineWidth(kNeedleWidth);
    context->setFrameColor(needleColor);
    context->drawLine(CPoint(px, py), CPoint(tx, ty));
    setDirty(false);
}

} // namespace SorvLib
