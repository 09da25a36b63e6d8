#pragma once
// A needle meter drawn as two lines (shadow and needle) from a pivot below the view's middle.

#include "vstgui/CControl.h"

namespace SorvLib {

class SorvVUNeedle : public VSTGUI::CControl {
public:
    SorvVUNeedle(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag);
    ~SorvVUNeedle() override;
    VSTGUI::CView* newCopy() const override { return new SorvVUNeedle(*this); }
    void draw(VSTGUI::CDrawContext* context) override;

    void setPivotOffset(const VSTGUI::CPoint& offset) { pivotOffset = offset; }
    void setShadowOffset(const VSTGUI::CPoint& offset) { shadowOffset = offset; }
    void setAngleRange(double degrees) { angleRange = degrees; }
    void setNeedleLength(double pixels) { needleLength = pixels; }
    void setNeedleColor(const VSTGUI::CColor& color) { needleColor = color; }
    void setShadowColor(const VSTGUI::CColor& color) { shadowColor = color; }

private:
    double needleLength;
    double angleRange;
    VSTGUI::CPoint pivotOffset;
    VSTGUI::CPoint shadowOffset;
    VSTGUI::CColor needleColor;
    VSTGUI::CColor shadowColor;
};

} // namespace SorvLib
