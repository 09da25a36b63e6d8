#pragma once
// A film-strip switch whose bitmap can be shifted by an offset.

#include "vstgui/CBitmapControls.h"

namespace SorvLib {

class SorvHorizontalSwitch : public VSTGUI::CHorizontalSwitch {
public:
    SorvHorizontalSwitch(const VSTGUI::CRect& size, VSTGUI::IControlListener* listener, int32_t tag,
                         int32_t subPixmaps, VSTGUI::CCoord heightOfOneImage, int32_t positions,
                         VSTGUI::CBitmap* background,
                         const VSTGUI::CPoint& offset = VSTGUI::CPoint());
    ~SorvHorizontalSwitch() override;
    void draw(VSTGUI::CDrawContext* context) override;
    virtual void setDrawOffset(const VSTGUI::CPoint& offset);
    const VSTGUI::CPoint& getDrawOffset() const { return drawOffset; }

private:
    VSTGUI::CPoint drawOffset;
};

} // namespace SorvLib
