#pragma once
// Bitmaps decoded from PNG data, with a scale factor: a bitmap of scale 2 has half its
// pixel size in logical pixels.

#include "vstgui/VSTGUIBase.h"

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

namespace VSTGUI {

class CDrawContext;

// Decoded pixels (RGBA, rows top to bottom) and the scale factor they are drawn at.
class IPlatformBitmap : public CBaseObject {
public:
    // Null when the data is not a decodable image.
    static SharedPointer<IPlatformBitmap> createFromMemory(const void* data, uint32 size);
    // Null when the module has no such PNG resource or it does not decode.
    static SharedPointer<IPlatformBitmap> createFromResource(const CResourceDescription& desc);

    int width() const { return w; }
    int height() const { return h; }
    const uint8_t* rgba() const { return pixels.data(); }
    void setScaleFactor(double factor) { scale = factor; }
    double getScaleFactor() const { return scale; }

    // The pixels of a source rectangle scaled to a size, kept for the next draws.
    struct Rendition {
        int sx, sy, sw, sh, dw, dh;
        bool smooth;
        std::vector<uint8_t> rgba;
    };
    const Rendition& rendition(int sx, int sy, int sw, int sh, int dw, int dh, bool smooth);

private:
    IPlatformBitmap(int w, int h, std::vector<uint8_t> pixels)
        : w(w), h(h), pixels(std::move(pixels)) {}
    int w;
    int h;
    std::vector<uint8_t> pixels;
    double scale = 1.0;
    std::list<Rendition> renditions; // most recently used first
};

class CBitmap : public CBaseObject {
public:
    CBitmap() = default;
    explicit CBitmap(const CResourceDescription& desc);

    // Logical size: pixel size divided by the scale factor; 0 without pixels.
    CCoord getWidth() const;
    CCoord getHeight() const;
    IPlatformBitmap* getPlatformBitmap() const { return platformBitmap.get(); }
    void setPlatformBitmap(const SharedPointer<IPlatformBitmap>& bitmap) {
        platformBitmap = bitmap;
    }
    const CResourceDescription& getResourceDescription() const { return resource; }

    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint(),
                      float alpha = 1.0f);

private:
    CResourceDescription resource;
    SharedPointer<IPlatformBitmap> platformBitmap;
};

} // namespace VSTGUI
