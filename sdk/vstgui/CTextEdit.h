#pragma once
// A text label the user can type into: a click gives it the keyboard, Return commits the
// text to the listener, Escape or a click elsewhere drops the typing.

#include "vstgui/CParamDisplay.h"

namespace VSTGUI {

class CTextEdit : public CTextLabel {
public:
    CTextEdit(const CRect& size, IControlListener* listener, int32 tag,
              UTF8StringPtr text = nullptr, CBitmap* background = nullptr, int32 style = 0);

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    int32 onKeyDown(VstKeyCode& key) override;
    void takeFocus() override;
    void looseFocus() override;
    bool isEditingText() const { return editing; }

protected:
    std::string displayText() const override { return editing ? typed : text; }
    bool editing = false;
    bool selected = false;
    std::string typed;
};

} // namespace VSTGUI
