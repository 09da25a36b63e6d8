#include "editor/SorvKickButton.h"

namespace SorvLib {

using namespace VSTGUI;

SorvKickButton::SorvKickButton(const CRect& size, IControlListener* listener, int32_t tag,
                               CBitmap* background, const CPoint& offset)
    : CKickButton(size, listener, tag, background, offset), mouseButtonMask(kRButton) {}

SorvKickButton::~SorvKickButton() = default;

CMouseEventResult SorvKickButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if ((buttons.state & mouseButtonMask) == 0)
        return kMouseEventNotHandled;
    beginEdit();
    return onMouseMoved(where, buttons);
}

} // namespace SorvLib
