#pragma once
// A two-colour linear gradient and the view that fills its rectangle with one.

#include "vstgui/CView.h"
#include "vstgui/CViewContainer.h"

namespace VSTGUI {

class CGradient : public CBaseObject {
public:
    // From the start colour at offset `start` to the end colour at offset `end` (0 to 1).
    static CGradient* create(double start, double end, const CColor& startColor,
                             const CColor& endColor);
    static CGradient* create(const CColor& startColor, const CColor& endColor) {
        return create(0.0, 1.0, startColor, endColor);
    }
    // The colour at an offset from 0 to 1 along the gradient.
    CColor colorAt(double offset) const;

private:
    CGradient(double s, double e, const CColor& c1, const CColor& c2)
        : start(s), end(e), startColor(c1), endColor(c2) {}
    double start, end;
    CColor startColor, endColor;
};

class CGradientView : public CView {
public:
    explicit CGradientView(const CRect& size) : CView(size) {}
    void setGradient(CGradient* g) {
        gradient = g;
        invalid();
    }
    CGradient* getGradient() const { return gradient.get(); }
    // Degrees: 0 runs left to right, 90 top to bottom.
    void setGradientAngle(double degrees) {
        angle = degrees;
        invalid();
    }
    // The frame drawn around the gradient; a width of 0 draws none.
    void setFrameColor(const CColor& c) { frameColor = c; }
    CColor getFrameColor() const { return frameColor; }
    void setFrameWidth(CCoord w) { frameWidth = w; }
    CCoord getFrameWidth() const { return frameWidth; }
    void setRoundRectRadius(CCoord r) { roundRectRadius = r; }
    CCoord getRoundRectRadius() const { return roundRectRadius; }
    void setDrawAntialiased(bool state) { antialiased = state; }
    bool getDrawAntialiased() const { return antialiased; }
    void draw(CDrawContext* context) override;

private:
    SharedPointer<CGradient> gradient;
    double angle = 90.0;
    CColor frameColor = kBlackCColor;
    CCoord frameWidth = 0.0;
    CCoord roundRectRadius = 0.0;
    bool antialiased = true;
};

// A container that lays out its children itself: layoutViews runs when it is attached
// (before it counts as attached), when its size changes and, once attached, after every view
// added to it.
class CAutoLayoutContainerView : public CViewContainer {
public:
    explicit CAutoLayoutContainerView(const CRect& size) : CViewContainer(size) {}
    virtual void layoutViews() {}
    void attached(CViewContainer* parent) override {
        layoutViews();
        CViewContainer::attached(parent);
        isAttachedToParent = true;
    }
    void removed() override {
        isAttachedToParent = false;
        CViewContainer::removed();
    }
    void setViewSize(const CRect& rect, bool invalidate = true) override {
        CViewContainer::setViewSize(rect, invalidate);
        layoutViews();
    }
    bool addView(CView* view) override {
        if (!CViewContainer::addView(view))
            return false;
        if (isAttachedToParent)
            layoutViews();
        return true;
    }

private:
    bool isAttachedToParent = false;
};

} // namespace VSTGUI
