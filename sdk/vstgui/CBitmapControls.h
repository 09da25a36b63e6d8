#pragma once
// Controls drawn from a bitmap: an on/off button (off state above on state), a film strip
// that shows a value, a button that fires while pressed, and a horizontal multi-way switch.

#include "vstgui/CControl.h"
#include "vstgui/IMultiBitmapControl.h"

namespace VSTGUI {

class COnOffButton : public CControl {
public:
    enum Style { kPreListenerUpdate = 0, kPostListenerUpdate = 1 };
    COnOffButton(const CRect& size, IControlListener* listener = nullptr, int32 tag = -1,
                 CBitmap* background = nullptr, int32 style = kPreListenerUpdate);

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32 getStyle() const { return style; }

protected:
    int32 style;
};

class CMovieBitmap : public CControl, public IMultiBitmapControl {
public:
    CMovieBitmap(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background,
                 const CPoint& offset = CPoint());
    void draw(CDrawContext* context) override;

protected:
    CPoint offset;
};

class CKickButton : public CControl {
public:
    CKickButton(const CRect& size, IControlListener* listener, int32 tag, CBitmap* background,
                const CPoint& offset = CPoint());
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

protected:
    CPoint offset;
};

class CHorizontalSwitch : public CControl, public IMultiBitmapControl {
public:
    CHorizontalSwitch(const CRect& size, IControlListener* listener, int32 tag, int32 subPixmaps,
                      CCoord heightOfOneImage, int32 iMaxPositions, CBitmap* background,
                      const CPoint& offset = CPoint());
    // Process-wide: switches pick the nearest image instead of truncating.
    static bool roundedIndex;
    void setInverseBitmap(bool state) { inverseBitmap = state; }
    bool getInverseBitmap() const { return inverseBitmap; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

protected:
    void setFromPoint(const CPoint& where);
    int32 positions;
    CPoint offset;
    bool inverseBitmap = false;
};

} // namespace VSTGUI
