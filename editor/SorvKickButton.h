#pragma once
// A kick button that answers only to the chosen mouse buttons (the right one at first).

#include "vstgui/CBitmapControls.h"

namespace SorvLib {

class SorvKickButton : public VSTGUI::CKickButton {
public:
    SorvKickButton(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
                   VSTGUI::CBitmap* background, const VSTGUI::CPoint& offset = VSTGUI::CPoint());
    ~SorvKickButton() override;
    VSTGUI::CView* newCopy() const override { return new SorvKickButton(*this); }
    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint& where,
                                          const VSTGUI::CButtonState& buttons) override;
    // Button bits of VSTGUI::CButtonState.
    virtual void setMouseButtonMask(int32_t mask) { mouseButtonMask = mask; }
    int32_t getMouseButtonMask() const { return mouseButtonMask; }

private:
    int32_t mouseButtonMask;
};

} // namespace SorvLib
