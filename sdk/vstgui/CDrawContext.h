#pragma once
// Drawing into the frame's own 32-bit pixel buffer: anti-aliased paths and text, bitmaps
// scaled with a chosen interpolation quality. Coordinates are logical pixels; the context's
// zoom maps them to buffer pixels. Main thread only.

#include "vstgui/CFontDesc.h"
#include "vstgui/VSTGUIBase.h"

#include <cstdint>
#include <vector>

namespace VSTGUI {

class CBitmap;
class IPlatformBitmap;

// Pixels as 0xAARRGGBB words, rows top to bottom: the layout of a 32-bit GDI bitmap.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    // Keeps the old pixels and size when the new ones cannot be had.
    void resize(int w, int h) {
        w = w > 0 ? w : 0;
        h = h > 0 ? h : 0;
        std::vector<uint32_t> fresh(static_cast<size_t>(w) * static_cast<size_t>(h), 0xFF000000u);
        pixels.swap(fresh);
        width = w;
        height = h;
    }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Integer rectangle of buffer pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool isEmpty() const { return right <= left || bottom <= top; }
    PixelRect intersect(const PixelRect& o) const;
    bool contains(const PixelRect& o) const {
        return left <= o.left && top <= o.top && right >= o.right && bottom >= o.bottom;
    }
};

enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };
enum CLineStyle { kLineSolid = 0 };
enum CDrawModeFlags : int32 {
    kAliasing = 0,
    kAntiAliasing = 1,
    kNonIntegralMode = 0xF000000,
};
enum class BitmapInterpolationQuality { kDefault = 0, kLow = 1, kMedium = 2, kHigh = 3 };

// A shape of straight and cubic segments; closed figures fill, open ones only stroke.
class CGraphicsPath : public CBaseObject {
public:
    enum PathDrawMode { kPathFilled = 0, kPathFilledEvenOdd, kPathStroked };

    void beginSubpath(const CPoint& start);
    void addLine(const CPoint& to);
    void addBezierCurve(const CPoint& control1, const CPoint& control2, const CPoint& end);
    void closeSubpath();
    void addRect(const CRect& r);
    void addRoundRect(const CRect& r, CCoord radius);

    struct Segment {
        bool curve;
        CPoint c1, c2, end;
    };
    struct Subpath {
        CPoint start;
        std::vector<Segment> segments;
        bool closed = false;
    };
    const std::vector<Subpath>& subpaths() const { return paths; }

private:
    std::vector<Subpath> paths;
};

class CDrawContext {
public:
    CDrawContext(PixelBuffer& target, double zoom);

    double getZoom() const { return zoom; }
    CCoord getHairlineSize() const { return 1.0 / zoom; }

    // Logical origin of the views being drawn (a container's children draw in its space).
    void setOffset(const CPoint& o) { origin = o; }
    CPoint getOffset() const { return origin; }
    // Clip in logical coordinates relative to the current offset.
    void setClipRect(const CRect& clip);
    CRect getClipRect() const;
    void setDeviceClip(const PixelRect& clip);
    PixelRect getDeviceClip() const { return deviceClip; }

    void setDrawMode(int32 mode) { drawMode = mode; }
    int32 getDrawMode() const { return drawMode; }
    void setLineStyle(CLineStyle style) { lineStyle = style; }
    void setLineWidth(CCoord width) { lineWidth = width; }
    CCoord getLineWidth() const { return lineWidth; }
    void setFillColor(const CColor& c) { fillColor = c; }
    void setFrameColor(const CColor& c) { frameColor = c; }
    void setFontColor(const CColor& c) { fontColor = c; }
    void setFont(const CFontDesc& f) { font = f; }
    void setGlobalAlpha(float a) { globalAlpha = a; }
    void setBitmapQuality(BitmapInterpolationQuality q) { quality = q; }
    BitmapInterpolationQuality getBitmapQuality() const { return quality; }

    CGraphicsPath* createGraphicsPath() { return new CGraphicsPath; }
    CGraphicsPath* createRoundRectGraphicsPath(const CRect& r, CCoord radius);
    void drawGraphicsPath(CGraphicsPath* path, CGraphicsPath::PathDrawMode mode);
    void drawRect(const CRect& r, CDrawStyle style = kDrawStroked);
    void drawLine(const CPoint& from, const CPoint& to);
    // One line of UTF-8 text in the rectangle, vertically centred.
    void drawString(const std::string& text, const CRect& r, CHoriTxtAlign align);
    // The part of the bitmap at offset (logical) drawn into the rectangle.
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha);

    // Buffer pixels of a logical rectangle (offset applied), edges rounded.
    PixelRect toDevice(const CRect& r) const;

private:
    struct DevicePoint {
        float x, y;
    };
    void fillPolygons(const std::vector<std::vector<DevicePoint>>& polygons, const CColor& color);
    std::vector<std::vector<DevicePoint>> flatten(const CGraphicsPath& path, bool closeAll) const;
    std::vector<std::vector<DevicePoint>>
    strokeOutline(const std::vector<std::vector<DevicePoint>>& lines,
                  const std::vector<bool>& closed, float width) const;
    void blendCoverage(const uint8_t* coverage, int stride, const PixelRect& area,
                       const CColor& color);

    PixelBuffer& target;
    double zoom;
    CPoint origin;
    PixelRect deviceClip;
    int32 drawMode = kAliasing;
    CLineStyle lineStyle = kLineSolid;
    CCoord lineWidth = 1.0;
    CColor fillColor = kWhiteCColor;
    CColor frameColor = kBlackCColor;
    CColor fontColor = kBlackCColor;
    CFontDesc font;
    float globalAlpha = 1.0f;
    BitmapInterpolationQuality quality = BitmapInterpolationQuality::kHigh;
};

} // namespace VSTGUI
