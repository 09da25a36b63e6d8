#pragma once
// A two-colour linear gradient and the view that fills its rectangle with one.

#include "CView.h"
#include "CViewContainer.h"

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
    void draw(CDrawContext* context) override;

private:
    SharedPointer<CGradient> gradient;
    double angle = 90.0;
};

// Autosize flags: which edges of a view follow its container's size.
enum CViewAutosizing : int32 {
    kAutosizeNone = 0,
    kAutosizeLeft = 1 << 0,
    kAutosizeTop = 1 << 1,
    kAutosizeRight = 1 << 2,
    kAutosizeBottom = 1 << 3,
    kAutosizeAll = kAutosizeLeft | kAutosizeTop | kAutosizeRight | kAutosizeBottom,
};

// A container that lays out its children itself: layoutViews runs when it is attached and
// when its size changes.
class CAutoLayoutContainerView : public CViewContainer {
public:
    explicit CAutoLayoutContainerView(const CRect& size) : CViewContainer(size) {}
    virtual void layoutViews() {}
    void attached(CViewContainer* parent) override {
        CViewContainer::attached(parent);
        layoutViews();
    }
    void setViewSize(const CRect& rect, bool invalidate = true) override {
        CViewContainer::setViewSize(rect, invalidate);
        layoutViews();
    }
    void setAutosizeFlags(int32 flags) { autosize = flags; }
    int32 getAutosizeFlags() const { return autosize; }

private:
    int32 autosize = kAutosizeNone;
};

} // namespace VSTGUI
