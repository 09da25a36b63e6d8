#include "vstgui/CFrame.h"

#include "vstgui/IPlatformFrame.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

namespace {
// Anti-aliased edges may reach one pixel past a view's rounded rectangle.
constexpr int kInvalidMargin = 1;
} // namespace

CFrame::CFrame(const CRect& size, VSTGUIEditorInterface* editor)
    : CViewContainer(size), editor(editor), baseSize(size) {
    buffer.resize(pixelWidth(), pixelHeight());
}

CFrame::~CFrame() {
    focusView = nullptr;
    mouseDownView = nullptr;
    hoverView = nullptr;
    removeAll();
    if (platformFrame)
        platformFrame->close();
}

bool CFrame::open(void* parent, PlatformType type) {
    if (platformFrame)
        return false;
    platformFrame =
        makeOwned(IPlatformFrame::create(this, pixelWidth(), pixelHeight(), parent, type));
    if (!platformFrame)
        return false;
    invalid();
    return true;
}

void CFrame::close() {
    focusView = nullptr;
    mouseDownView = nullptr;
    hoverView = nullptr;
    mouseObservers.clear();
    removeAll();
    if (platformFrame) {
        platformFrame->close();
        platformFrame = nullptr;
    }
    forget();
}

int CFrame::pixelWidth() const {
    return static_cast<int>(baseSize.getWidth() * zoom);
}
int CFrame::pixelHeight() const {
    return static_cast<int>(baseSize.getHeight() * zoom);
}

bool CFrame::setZoom(double factor) {
    if (!(factor > 0.0))
        return false;
    if (factor == zoom)
        return true;
    CRect newSize(0, 0, baseSize.getWidth() * factor, baseSize.getHeight() * factor);
    if (editor && !editor->beforeSizeChange(newSize, size))
        return false;
    applySize(baseSize, factor);
    return true;
}

bool CFrame::setSize(CCoord width, CCoord height) {
    if (!(width > 0.0) || !(height > 0.0))
        return false;
    CRect newSize(0, 0, width, height);
    if (newSize == size)
        return true;
    if (editor && !editor->beforeSizeChange(newSize, size))
        return false;
    applySize(CRect(0, 0, width / zoom, height / zoom), zoom);
    return true;
}

void CFrame::applySize(const CRect& newBase, double newZoom) {
    baseSize = newBase;
    zoom = newZoom;
    size = CRect(0, 0, baseSize.getWidth() * zoom, baseSize.getHeight() * zoom);
    mouseableArea = size;
    buffer.resize(pixelWidth(), pixelHeight());
    if (platformFrame)
        platformFrame->setSize(pixelWidth(), pixelHeight());
    dirty.clear();
    invalidChildRect(baseSize);
}

void CFrame::setBitmapInterpolationQuality(BitmapInterpolationQuality q) {
    if (q == quality)
        return;
    quality = q;
    invalidChildRect(baseSize);
}

void CFrame::registerMouseObserver(IMouseObserver* observer) {
    if (observer &&
        std::find(mouseObservers.begin(), mouseObservers.end(), observer) == mouseObservers.end())
        mouseObservers.push_back(observer);
}

void CFrame::unregisterMouseObserver(IMouseObserver* observer) {
    mouseObservers.erase(std::remove(mouseObservers.begin(), mouseObservers.end(), observer),
                         mouseObservers.end());
}

void CFrame::updateHover(const CPoint& logical) {
    SharedPointer<CView> now = mouseTarget(logical);
    if (now.get() == hoverView.get())
        return;
    SharedPointer<CView> old = hoverView;
    hoverView = now;
    auto observers = mouseObservers;
    for (IMouseObserver* observer : observers) {
        if (old)
            observer->onMouseExited(old, this);
        if (now)
            observer->onMouseEntered(now, this);
    }
}

void CFrame::setFocusView(CView* view) {
    if (view == focusView)
        return;
    CView* old = focusView;
    focusView = view;
    if (old)
        old->looseFocus();
    if (view)
        view->takeFocus();
}

void CFrame::beginEdit(int32 index) {
    if (editor)
        editor->beginEdit(index);
}

void CFrame::endEdit(int32 index) {
    if (editor)
        editor->endEdit(index);
}

void CFrame::idle() {
    idleChildren();
}

void CFrame::invalidChildRect(const CRect& rect) {
    CDrawContext context(buffer, zoom);
    PixelRect area = context.toDevice(rect);
    area = {area.left - kInvalidMargin, area.top - kInvalidMargin, area.right + kInvalidMargin,
            area.bottom + kInvalidMargin};
    area = area.intersect({0, 0, pixelWidth(), pixelHeight()});
    if (area.isEmpty())
        return;
    // The window keeps its own invalid region and may have been painted since; it is told
    // every area, pending or not.
    if (platformFrame)
        platformFrame->invalidRect(area);
    for (const auto& d : dirty)
        if (d.contains(area))
            return;
    dirty.push_back(area);
}

void CFrame::drawPixels(const PixelRect& requested) {
    PixelRect area = requested.intersect({0, 0, buffer.width, buffer.height});
    if (area.isEmpty())
        return;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            buffer.pixels[size_t(y) * buffer.width + x] = 0xFF000000u;
    CDrawContext context(buffer, zoom);
    context.setBitmapQuality(quality);
    context.setDeviceClip(area);
    CRect logical(area.left / zoom, area.top / zoom, area.right / zoom, area.bottom / zoom);
    // The frame's children are in its own (logical) coordinates, at no offset.
    PixelRect savedClip = context.getDeviceClip();
    for (const auto& child : children) {
        if (!child->isVisible())
            continue;
        PixelRect childArea = context.toDevice(child->getViewSize()).intersect(savedClip);
        if (childArea.isEmpty())
            continue;
        context.setDeviceClip(childArea);
        child->drawRect(&context, logical);
    }
    setDirty(false);
    // What was drawn is no longer pending: later invalidations inside it must reach the
    // window again. A window's paint covers every area invalidated before it.
    dirty.erase(std::remove_if(dirty.begin(), dirty.end(),
                               [&](const PixelRect& d) { return area.contains(d); }),
                dirty.end());
}

PixelRect CFrame::drawDirty() {
    PixelRect all{0, 0, 0, 0};
    auto areas = std::move(dirty);
    dirty.clear();
    for (const auto& area : areas) {
        drawPixels(area);
        if (all.isEmpty())
            all = area;
        else
            all = {std::min(all.left, area.left), std::min(all.top, area.top),
                   std::max(all.right, area.right), std::max(all.bottom, area.bottom)};
    }
    return all;
}

CView* CFrame::mouseTarget(const CPoint& logical) const {
    return getViewAt(logical);
}

CMouseEventResult CFrame::platformMouseDown(CPoint where, const CButtonState& buttons) {
    CPoint logical(where.x / zoom, where.y / zoom);
    auto observers = mouseObservers;
    for (IMouseObserver* observer : observers)
        if (observer->onMouseDown(this, logical, buttons) == kMouseEventHandled)
            return kMouseEventHandled;
    SharedPointer<CView> target = mouseTarget(logical);
    if (focusView && focusView != target.get())
        setFocusView(nullptr);
    if (!target)
        return kMouseEventNotHandled;
    CPoint local = target->frameToLocal(logical);
    CMouseEventResult result = target->onMouseDown(local, buttons);
    if (result == kMouseEventHandled && target->getParentView())
        mouseDownView = target;
    return result;
}

CMouseEventResult CFrame::platformMouseMoved(CPoint where, const CButtonState& buttons) {
    CPoint logical(where.x / zoom, where.y / zoom);
    if (!mouseDownView)
        updateHover(logical);
    auto observers = mouseObservers;
    for (IMouseObserver* observer : observers)
        observer->onMouseMoved(this, logical, buttons);
    if (!mouseDownView)
        return kMouseEventNotHandled;
    SharedPointer<CView> target = mouseDownView;
    CPoint local = target->frameToLocal(CPoint(where.x / zoom, where.y / zoom));
    CMouseEventResult result = target->onMouseMoved(local, buttons);
    if (result == kMouseMoveEventHandledButDontNeedMoreEvents || result == kMouseEventNotHandled)
        mouseDownView = nullptr;
    return result;
}

CMouseEventResult CFrame::platformMouseUp(CPoint where, const CButtonState& buttons) {
    if (!mouseDownView)
        return kMouseEventNotHandled;
    SharedPointer<CView> target = mouseDownView;
    mouseDownView = nullptr;
    CPoint local = target->frameToLocal(CPoint(where.x / zoom, where.y / zoom));
    return target->onMouseUp(local, buttons);
}

bool CFrame::platformWheel(CPoint where, float distance, const CButtonState& buttons) {
    CPoint logical(where.x / zoom, where.y / zoom);
    SharedPointer<CView> target = mouseTarget(logical);
    if (!target)
        return false;
    CPoint local = target->frameToLocal(logical);
    return target->onWheel(local, distance, buttons);
}

bool CFrame::platformKeyDown(VstKeyCode& key) {
    SharedPointer<CView> target = focusView;
    return target && target->onKeyDown(key) >= 0;
}

} // namespace VSTGUI
