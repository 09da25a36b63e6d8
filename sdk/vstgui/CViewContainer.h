#pragma once
// A view that holds child views in its own coordinates, draws them in order (later above
// earlier) and hands the mouse to the topmost one under it.

#include "vstgui/CView.h"

#include <vector>

namespace VSTGUI {

class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRect& size);
    ~CViewContainer() override;

    // Takes over the view's reference; false for null or a view that has a parent.
    virtual bool addView(CView* view);
    virtual bool removeView(CView* view);
    virtual void removeAll();
    int32 getNbViews() const { return static_cast<int32>(children.size()); }
    CView* getView(int32 index) const;

    // The views of type T below this one, in drawing order; with deep search also inside
    // child containers (a container's children follow it).
    template <class T> void getChildViewsOfType(std::vector<T*>& result, bool deep = false) const {
        for (const auto& child : children) {
            if (auto* t = dynamic_cast<T*>(child.get()))
                result.push_back(t);
            if (deep)
                if (auto* c = dynamic_cast<CViewContainer*>(child.get()))
                    c->getChildViewsOfType(result, deep);
        }
    }

    // Fills the container under its children; fully transparent (the default) fills nothing.
    void setBackgroundColor(const CColor& color);
    CColor getBackgroundColor() const { return backgroundColor; }

    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    // The topmost visible, mouse-enabled view whose mouseable area holds the point (in this
    // container's own coordinates); containers are searched, not returned.
    CView* getViewAt(const CPoint& where) const;
    // Calls onIdle of every view below this one that wants idle.
    void idleChildren();

    // A child's area (in this container's coordinates) needs drawing.
    virtual void invalidChildRect(const CRect& rect);

protected:
    std::vector<SharedPointer<CView>> children;
    CColor backgroundColor = CColor(0, 0, 0, 0);
};

} // namespace VSTGUI
