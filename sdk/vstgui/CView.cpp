#include "vstgui/CView.h"

#include "vstgui/CDrawContext.h"
#include "vstgui/CFrame.h"
#include "vstgui/CViewContainer.h"

namespace VSTGUI {

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::CView(const CView& other)
    : CBaseObject(other), size(other.size), mouseableArea(other.mouseableArea),
      background(other.background), visible(other.visible), mouseEnabled(other.mouseEnabled),
      transparent(other.transparent), idle(other.idle), autosize(other.autosize) {}

CView::~CView() = default;

void CView::draw(CDrawContext* context) {
    if (background)
        background->draw(context, size);
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect&) {
    draw(context);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint&, const CButtonState&) {
    return kMouseEventNotImplemented;
}
bool CView::onWheel(const CPoint&, const float&, const CButtonState&) {
    return false;
}
int32 CView::onKeyDown(VstKeyCode&) {
    return -1;
}

void CView::setViewSize(const CRect& rect, bool invalidate) {
    if (invalidate)
        invalid();
    size = rect;
    if (invalidate)
        invalid();
}

void CView::setVisible(bool state) {
    if (visible == state)
        return;
    if (!state)
        invalid();
    visible = state;
    if (state)
        invalid();
}

void CView::setBackground(CBitmap* bitmap) {
    background = bitmap;
    invalid();
}

void CView::invalidRect(const CRect& rect) {
    if (parent)
        parent->invalidChildRect(rect);
}

void CView::attached(CViewContainer* p) {
    parent = p;
}

void CView::removed() {
    parent = nullptr;
}

CFrame* CView::getFrame() const {
    const CView* v = this;
    while (v->parent)
        v = v->parent;
    return dynamic_cast<CFrame*>(const_cast<CView*>(v));
}

CPoint CView::localToFrame(const CPoint& point) const {
    CPoint p = point;
    for (CViewContainer* c = parent; c && c->getParentView(); c = c->getParentView())
        p.offset(c->getViewSize().left, c->getViewSize().top);
    return p;
}

CPoint CView::frameToLocal(const CPoint& point) const {
    CPoint p = point;
    for (CViewContainer* c = parent; c && c->getParentView(); c = c->getParentView())
        p.offset(-c->getViewSize().left, -c->getViewSize().top);
    return p;
}

} // namespace VSTGUI
