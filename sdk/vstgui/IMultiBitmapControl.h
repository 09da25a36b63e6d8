#pragma once
// A control that draws one of several images stacked top to bottom in its bitmap.

#include "vstgui/CBitmap.h"

namespace VSTGUI {

class IMultiBitmapControl {
public:
    virtual ~IMultiBitmapControl() = default;
    virtual void setHeightOfOneImage(const CCoord& height) { heightOfOneImage = height; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }
    virtual void setNumSubPixmaps(int32 count) { subPixmaps = count; }
    int32 getNumSubPixmaps() const { return subPixmaps; }

protected:
    // Images as tall as the view, as many as the bitmap holds.
    void autoCompute(CBitmap* bitmap, CCoord viewHeight) {
        heightOfOneImage = viewHeight;
        subPixmaps =
            bitmap && viewHeight > 0.0 ? static_cast<int32>(bitmap->getHeight() / viewHeight) : 0;
    }
    CCoord heightOfOneImage = 0.0;
    int32 subPixmaps = 0;
};

} // namespace VSTGUI
