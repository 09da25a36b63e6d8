#pragma once
// The framework's film-strip knob: an exact frame for every value, a draw offset, and a
// right click away from the centre that sets the value at the click's angle.

#include "vstgui/CKnobBase.h"

namespace SorvLib {

class SorvAnimKnob : public VSTGUI::CAnimKnob {
public:
    SorvAnimKnob(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
                 VSTGUI::CBitmap* background, const VSTGUI::CPoint& offset);
    ~SorvAnimKnob() override;

    VSTGUI::CView* newCopy() const override { return new SorvAnimKnob(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;

    // Logical pixels from the centre; 0 or less switches the jump off.
    void setJumpRadius(double radius) { jumpRadius = radius; }
    double getJumpRadius() const { return jumpRadius; }
    void setDrawOffset(const VSTGUI::CPoint& offset);
    const VSTGUI::CPoint& getDrawOffset() const { return drawOffset; }

private:
    VSTGUI::CPoint drawOffset;
    double jumpRadius;
};

} // namespace SorvLib
