#pragma once
// The editor toolkit's view: a rectangle in its parent's coordinates that draws itself,
// takes mouse and keys, and asks its frame to redraw it.

#include "vstgui/CBitmap.h"
#include "vstgui/VSTGUIBase.h"

namespace VSTGUI {

class CDrawContext;
class CFrame;
class CViewContainer;

// Autosize flags: which edges of a view follow its container's size.
enum CViewAutosizing : int32 {
    kAutosizeNone = 0,
    kAutosizeLeft = 1 << 0,
    kAutosizeTop = 1 << 1,
    kAutosizeRight = 1 << 2,
    kAutosizeBottom = 1 << 3,
    kAutosizeAll = kAutosizeLeft | kAutosizeTop | kAutosizeRight | kAutosizeBottom,
};

class CView : public CBaseObject {
public:
    explicit CView(const CRect& size);
    CView(const CView& other);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    // Draws the view; a container uses the area to skip children outside it.
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);

    // Mouse positions are in the parent's coordinates, as the view size.
    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
    virtual bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons);
    // 1 when the key was used, -1 otherwise.
    virtual int32 onKeyDown(VstKeyCode& key);
    virtual void onIdle() {}
    virtual void takeFocus() {}
    virtual void looseFocus() {}

    virtual void setViewSize(const CRect& rect, bool invalidate = true);
    const CRect& getViewSize() const { return size; }
    CCoord getWidth() const { return size.getWidth(); }
    CCoord getHeight() const { return size.getHeight(); }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    const CRect& getMouseableArea() const { return mouseableArea; }
    virtual void setVisible(bool state);
    bool isVisible() const { return visible; }
    virtual void setMouseEnabled(bool state) { mouseEnabled = state; }
    bool getMouseEnabled() const { return mouseEnabled; }
    void setTransparency(bool state) { transparent = state; }
    bool getTransparency() const { return transparent; }
    void setWantsIdle(bool state) { idle = state; }
    bool wantsIdle() const { return idle; }
    void setAutosizeFlags(int32 flags) { autosize = flags; }
    int32 getAutosizeFlags() const { return autosize; }
    virtual void setDirty(bool state = true) { dirty = state; }
    bool isDirty() const { return dirty; }

    virtual void setBackground(CBitmap* bitmap);
    CBitmap* getBackground() const { return background.get(); }
    CBitmap* getDrawBackground() const { return background.get(); }

    // Asks the frame to redraw the view; nothing while it is in no frame.
    virtual void invalid() { invalidRect(size); }
    virtual void invalidRect(const CRect& rect);

    virtual void attached(CViewContainer* parent);
    virtual void removed();
    CViewContainer* getParentView() const { return parent; }
    CFrame* getFrame() const;
    // From the parent's coordinates to the frame's logical coordinates.
    CPoint localToFrame(const CPoint& point) const;
    CPoint frameToLocal(const CPoint& point) const;

    virtual CView* newCopy() const { return nullptr; }

protected:
    CRect size;
    CRect mouseableArea;
    SharedPointer<CBitmap> background;
    CViewContainer* parent = nullptr;
    bool visible = true;
    bool mouseEnabled = true;
    bool transparent = false;
    bool idle = false;
    bool dirty = false;
    int32 autosize = kAutosizeNone;
};

} // namespace VSTGUI
