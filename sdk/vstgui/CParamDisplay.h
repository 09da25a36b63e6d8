#pragma once
// Controls that show text: the display's look (font, colours, frame, round corners) and
// the label that holds a text.

#include "vstgui/CControl.h"
#include "vstgui/CFontDesc.h"

#include <string>

namespace VSTGUI {

// Style bits of text controls.
enum CParamDisplayStyle : int32 {
    k3DIn = 1 << 1,
    k3DOut = 1 << 2,
    kShadowText = 1 << 3,
    kNoTextStyle = 1 << 4,
    kRoundRectStyle = 1 << 5,
    kNoFrame = 1 << 6,
    kNoDrawStyle = 1 << 7,
};

class CParamDisplay : public CControl {
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32 style = 0);

    void setFont(const CFontDesc& f) { font = f; }
    const CFontDesc& getFont() const { return font; }
    void setFontColor(const CColor& c) { fontColor = c; }
    CColor getFontColor() const { return fontColor; }
    void setBackColor(const CColor& c) { backColor = c; }
    CColor getBackColor() const { return backColor; }
    void setFrameColor(const CColor& c) { frameColor = c; }
    CColor getFrameColor() const { return frameColor; }
    void setHoriAlign(CHoriTxtAlign a) { horiAlign = a; }
    CHoriTxtAlign getHoriAlign() const { return horiAlign; }
    void setStyle(int32 s) { style = s; }
    int32 getStyle() const { return style; }
    void setRoundRectRadius(CCoord r) { roundRectRadius = r; }
    CCoord getRoundRectRadius() const { return roundRectRadius; }
    void setFrameWidth(CCoord w) { frameWidth = w; }
    CCoord getFrameWidth() const { return frameWidth; }

    void draw(CDrawContext* context) override;

protected:
    // The text in the control's font, colour and alignment.
    void drawPlatformText(CDrawContext* context, const std::string& text, const CRect& rect);
    void drawBack(CDrawContext* context);
    // What the control shows: its value, or a label's text.
    virtual std::string displayText() const;

    CFontDesc font;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CHoriTxtAlign horiAlign = kCenterText;
    int32 style;
    CCoord roundRectRadius = 6.0;
    CCoord frameWidth = 1.0;
};

class CTextLabel : public CParamDisplay {
public:
    CTextLabel(const CRect& size, UTF8StringPtr text = nullptr, CBitmap* background = nullptr,
               int32 style = 0);
    virtual void setText(const std::string& text);
    const std::string& getText() const { return text; }

protected:
    std::string displayText() const override { return text; }
    std::string text;
};

} // namespace VSTGUI
