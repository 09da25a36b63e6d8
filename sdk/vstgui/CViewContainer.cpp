#include "vstgui/CViewContainer.h"

#include "vstgui/CDrawContext.h"

#include <algorithm>

namespace VSTGUI {

CViewContainer::CViewContainer(const CRect& size) : CView(size) {}

CViewContainer::~CViewContainer() {
    removeAll();
}

bool CViewContainer::addView(CView* view) {
    if (!view || view->getParentView())
        return false;
    children.push_back(makeOwned(view));
    view->attached(this);
    view->invalid();
    return true;
}

bool CViewContainer::removeView(CView* view) {
    auto it = std::find_if(children.begin(), children.end(),
                           [view](const SharedPointer<CView>& c) { return c.get() == view; });
    if (it == children.end())
        return false;
    view->invalid();
    SharedPointer<CView> keep = *it;
    children.erase(it);
    keep->removed();
    return true;
}

void CViewContainer::removeAll() {
    auto old = std::move(children);
    children.clear();
    for (auto& child : old)
        child->removed();
}

CView* CViewContainer::getView(int32 index) const {
    return index >= 0 && index < getNbViews() ? children[size_t(index)].get() : nullptr;
}

void CViewContainer::setBackgroundColor(const CColor& color) {
    backgroundColor = color;
    invalid();
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    if (backgroundColor.alpha > 0) {
        context->setFillColor(backgroundColor);
        context->drawRect(size, kDrawFilled);
    }
    if (background)
        background->draw(context, size);
    CPoint savedOffset = context->getOffset();
    PixelRect savedClip = context->getDeviceClip();
    context->setOffset({savedOffset.x + size.left, savedOffset.y + size.top});
    CRect localUpdate = updateRect;
    localUpdate.offset(-size.left, -size.top);
    for (const auto& child : children) {
        if (!child->isVisible())
            continue;
        PixelRect area = context->toDevice(child->getViewSize()).intersect(savedClip);
        if (area.isEmpty())
            continue;
        context->setDeviceClip(area);
        child->drawRect(context, localUpdate);
    }
    context->setDeviceClip(savedClip);
    context->setOffset(savedOffset);
    setDirty(false);
}

CView* CViewContainer::getViewAt(const CPoint& where) const {
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        CView* child = it->get();
        if (!child->isVisible() || !child->getMouseEnabled())
            continue;
        if (auto* container = dynamic_cast<CViewContainer*>(child)) {
            if (!container->getViewSize().pointInside(where))
                continue;
            CPoint inner(where.x - container->getViewSize().left,
                         where.y - container->getViewSize().top);
            if (CView* hit = container->getViewAt(inner))
                return hit;
            continue;
        }
        if (child->getMouseableArea().pointInside(where))
            return child;
    }
    return nullptr;
}

CMouseEventResult CViewContainer::onMouseDown(CPoint&, const CButtonState&) {
    return kMouseEventNotHandled;
}

void CViewContainer::idleChildren() {
    auto copy = children;
    for (const auto& child : copy) {
        if (child->wantsIdle())
            child->onIdle();
        if (auto* c = dynamic_cast<CViewContainer*>(child.get()))
            c->idleChildren();
    }
}

void CViewContainer::invalidChildRect(const CRect& rect) {
    CRect r = rect;
    r.offset(size.left, size.top);
    invalidRect(r);
}

} // namespace VSTGUI
