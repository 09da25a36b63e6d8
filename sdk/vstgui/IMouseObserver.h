#pragma once
// Told by a frame about the mouse before its views are: entering and leaving views, moves
// and clicks.

#include "vstgui/VSTGUIBase.h"

namespace VSTGUI {

class CFrame;
class CView;

class IMouseObserver {
public:
    virtual ~IMouseObserver() = default;
    virtual void onMouseEntered(CView* view, CFrame* frame) = 0;
    virtual void onMouseExited(CView* view, CFrame* frame) = 0;
    // kMouseEventHandled from onMouseDown keeps the click from the views.
    virtual CMouseEventResult onMouseMoved(CFrame* frame, const CPoint& where,
                                           const CButtonState& buttons) = 0;
    virtual CMouseEventResult onMouseDown(CFrame* frame, const CPoint& where,
                                          const CButtonState& buttons) = 0;
};

} // namespace VSTGUI
