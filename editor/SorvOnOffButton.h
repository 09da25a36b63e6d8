#pragma once
// An on/off button whose bitmap can be shifted by an offset.

#include "vstgui/CBitmapControls.h"

namespace SorvLib {

class SorvOnOffButton : public VSTGUI::COnOffButton {
public:
    SorvOnOffButton(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
                    VSTGUI::CBitmap* background, int32_t style = kPreListenerUpdate);
    ~SorvOnOffButton() override;
    VSTGUI::CView* newCopy() const override { return new SorvOnOffButton(*this); }
    void draw(VSTGUI::CDrawContext* context) override;
    void setDrawOffset(const VSTGUI::CPoint& offset);
    const VSTGUI::CPoint& getDrawOffset() const { return drawOffset; }

private:
    VSTGUI::CPoint drawOffset;
};

} // namespace SorvLib
