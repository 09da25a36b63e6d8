#include "vstgui/CDrawContext.h"

#include "vstgui/CBitmap.h"
#include "vstgui/PlatformResources.h"

// Path coordinates are fractional pixels: keep them as floats, not the font format's shorts.
#define stbtt_vertex_type float
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include "stb_truetype.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace VSTGUI {

const CFontDesc kNormalFontSmall("Arial", 11);

namespace {

// How far a flattened curve may stray from the true one, in pixels.
constexpr float kFlatness = 0.35f;
// The control-point distance that makes a cubic follow a quarter circle.
constexpr double kQuarterCircle = 0.5522847498307936;

int roundToInt(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

uint32_t blendPixel(uint32_t dst, int r, int g, int b, int a) {
    int dr = (dst >> 16) & 0xFF, dg = (dst >> 8) & 0xFF, db = dst & 0xFF;
    int inv = 255 - a;
    dr = (r * a + dr * inv + 127) / 255;
    dg = (g * a + dg * inv + 127) / 255;
    db = (b * a + db * inv + 127) / 255;
    return 0xFF000000u | (uint32_t(dr) << 16) | (uint32_t(dg) << 8) | uint32_t(db);
}

int alphaByte(float alpha) {
    if (!(alpha > 0.0f))
        return 0;
    if (alpha >= 1.0f)
        return 255;
    return static_cast<int>(std::floor(alpha * 255.0f + 0.5f));
}

// A font's data and its parsed tables, kept for the life of the module.
struct FontFace {
    std::vector<uint8_t> data;
    stbtt_fontinfo info{};
    bool usable = false;
};

std::vector<uint8_t> embeddedOpenSans(bool bold) {
    return loadPlatformResource(bold ? "OpenSans-Bold.ttf" : "OpenSans-Regular.ttf", "TTF");
}

FontFace* faceFor(const CFontDesc& font) {
    static std::map<std::string, std::unique_ptr<FontFace>> faces;
    bool bold = (font.getStyle() & kBoldFace) != 0;
    std::string key = font.getName() + (bold ? "\x01" : "\x00");
    auto it = faces.find(key);
    if (it != faces.end())
        return it->second.get();
    auto face = std::make_unique<FontFace>();
    // Open Sans always comes from the module; other families from the system when it has
    // them, else Open Sans stands in.
    if (font.getName() != "Open Sans")
        face->data = loadPlatformFont(font.getName(), bold);
    if (face->data.empty())
        face->data = embeddedOpenSans(bold);
    if (!face->data.empty()) {
        int offset = stbtt_GetFontOffsetForIndex(face->data.data(), 0);
        face->usable = offset >= 0 && stbtt_InitFont(&face->info, face->data.data(), offset);
    }
    FontFace* result = face.get();
    faces.emplace(key, std::move(face));
    return result;
}

// Next code point of UTF-8 text; malformed bytes give U+FFFD.
uint32_t nextCodePoint(const std::string& s, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i++);
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + extra > s.size())
        return 0xFFFD;
    uint32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        unsigned char cc = byte(i);
        if ((cc & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (cc & 0x3F);
        ++i;
    }
    return cp;
}

} // namespace

PixelRect PixelRect::intersect(const PixelRect& o) const {
    PixelRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                std::min(bottom, o.bottom)};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

void CGraphicsPath::beginSubpath(const CPoint& start) {
    paths.push_back({start, {}, false});
}

void CGraphicsPath::addLine(const CPoint& to) {
    if (paths.empty())
        beginSubpath(CPoint());
    paths.back().segments.push_back({false, {}, {}, to});
}

void CGraphicsPath::addBezierCurve(const CPoint& c1, const CPoint& c2, const CPoint& end) {
    if (paths.empty())
        beginSubpath(CPoint());
    paths.back().segments.push_back({true, c1, c2, end});
}

void CGraphicsPath::closeSubpath() {
    if (!paths.empty())
        paths.back().closed = true;
}

void CGraphicsPath::addRect(const CRect& r) {
    beginSubpath({r.left, r.top});
    addLine({r.right, r.top});
    addLine({r.right, r.bottom});
    addLine({r.left, r.bottom});
    closeSubpath();
}

void CGraphicsPath::addRoundRect(const CRect& r, CCoord radius) {
    radius = std::min(radius, std::min(r.getWidth(), r.getHeight()) * 0.5);
    if (radius <= 0.0) {
        addRect(r);
        return;
    }
    double k = radius * kQuarterCircle;
    beginSubpath({r.left + radius, r.top});
    addLine({r.right - radius, r.top});
    addBezierCurve({r.right - radius + k, r.top}, {r.right, r.top + radius - k},
                   {r.right, r.top + radius});
    addLine({r.right, r.bottom - radius});
    addBezierCurve({r.right, r.bottom - radius + k}, {r.right - radius + k, r.bottom},
                   {r.right - radius, r.bottom});
    addLine({r.left + radius, r.bottom});
    addBezierCurve({r.left + radius - k, r.bottom}, {r.left, r.bottom - radius + k},
                   {r.left, r.bottom - radius});
    addLine({r.left, r.top + radius});
    addBezierCurve({r.left, r.top + radius - k}, {r.left + radius - k, r.top},
                   {r.left + radius, r.top});
    closeSubpath();
}

CDrawContext::CDrawContext(PixelBuffer& target, double zoom)
    : target(target), zoom(zoom > 0.0 ? zoom : 1.0), deviceClip{0, 0, target.width, target.height} {
}

PixelRect CDrawContext::toDevice(const CRect& r) const {
    return {roundToInt((r.left + origin.x) * zoom), roundToInt((r.top + origin.y) * zoom),
            roundToInt((r.right + origin.x) * zoom), roundToInt((r.bottom + origin.y) * zoom)};
}

void CDrawContext::setClipRect(const CRect& clip) {
    setDeviceClip(toDevice(clip));
}

CRect CDrawContext::getClipRect() const {
    return {deviceClip.left / zoom - origin.x, deviceClip.top / zoom - origin.y,
            deviceClip.right / zoom - origin.x, deviceClip.bottom / zoom - origin.y};
}

void CDrawContext::setDeviceClip(const PixelRect& clip) {
    deviceClip = clip.intersect({0, 0, target.width, target.height});
}

CGraphicsPath* CDrawContext::createRoundRectGraphicsPath(const CRect& r, CCoord radius) {
    auto* path = new CGraphicsPath;
    path->addRoundRect(r, radius);
    return path;
}

std::vector<std::vector<CDrawContext::DevicePoint>> CDrawContext::flatten(const CGraphicsPath& path,
                                                                          bool) const {
    std::vector<std::vector<DevicePoint>> out;
    auto dev = [&](const CPoint& p) {
        return DevicePoint{static_cast<float>((p.x + origin.x) * zoom),
                           static_cast<float>((p.y + origin.y) * zoom)};
    };
    for (const auto& sub : path.subpaths()) {
        std::vector<DevicePoint> pts{dev(sub.start)};
        CPoint last = sub.start;
        for (const auto& seg : sub.segments) {
            if (!seg.curve) {
                pts.push_back(dev(seg.end));
            } else {
                double chord = std::sqrt((seg.end.x - last.x) * (seg.end.x - last.x) +
                                         (seg.end.y - last.y) * (seg.end.y - last.y)) *
                               zoom;
                int steps = std::min(64, 4 + static_cast<int>(chord / 2.0));
                for (int i = 1; i <= steps; ++i) {
                    double t = double(i) / steps, u = 1.0 - t;
                    double a = u * u * u, b = 3.0 * u * u * t, c = 3.0 * u * t * t, d = t * t * t;
                    pts.push_back(dev({a * last.x + b * seg.c1.x + c * seg.c2.x + d * seg.end.x,
                                       a * last.y + b * seg.c1.y + c * seg.c2.y + d * seg.end.y}));
                }
            }
            last = seg.end;
        }
        out.push_back(std::move(pts));
    }
    return out;
}

std::vector<std::vector<CDrawContext::DevicePoint>>
CDrawContext::strokeOutline(const std::vector<std::vector<DevicePoint>>& lines,
                            const std::vector<bool>& closed, float width) const {
    // One quad per segment, all wound the same way so their overlaps add up, not cancel.
    std::vector<std::vector<DevicePoint>> quads;
    float half = width * 0.5f;
    for (size_t l = 0; l < lines.size(); ++l) {
        const auto& pts = lines[l];
        size_t n = pts.size();
        size_t segments = closed[l] ? n : (n ? n - 1 : 0);
        for (size_t i = 0; i < segments; ++i) {
            DevicePoint a = pts[i], b = pts[(i + 1) % n];
            float dx = b.x - a.x, dy = b.y - a.y;
            float len = std::sqrt(dx * dx + dy * dy);
            if (len <= 0.0f)
                continue;
            float nx = -dy / len * half, ny = dx / len * half;
            quads.push_back({{a.x + nx, a.y + ny},
                             {b.x + nx, b.y + ny},
                             {b.x - nx, b.y - ny},
                             {a.x - nx, a.y - ny}});
        }
    }
    return quads;
}

void CDrawContext::blendCoverage(const uint8_t* coverage, int stride, const PixelRect& area,
                                 const CColor& color) {
    PixelRect r = area.intersect(deviceClip);
    int colorAlpha = alphaByte(globalAlpha) * color.alpha;
    for (int y = r.top; y < r.bottom; ++y) {
        const uint8_t* row = coverage + size_t(y - area.top) * stride - area.left;
        uint32_t* out = target.pixels.data() + size_t(y) * target.width;
        for (int x = r.left; x < r.right; ++x) {
            int c = row[x];
            if (!c)
                continue;
            int a = (c * colorAlpha + 32512) / 65025;
            out[x] = blendPixel(out[x], color.red, color.green, color.blue, a);
        }
    }
}

void CDrawContext::fillPolygons(const std::vector<std::vector<DevicePoint>>& polygons,
                                const CColor& color) {
    if (color.alpha == 0 || polygons.empty())
        return;
    float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
    std::vector<stbtt_vertex> vertices;
    for (const auto& poly : polygons) {
        for (size_t i = 0; i < poly.size(); ++i) {
            stbtt_vertex v{};
            v.type = i == 0 ? STBTT_vmove : STBTT_vline;
            v.x = poly[i].x;
            v.y = poly[i].y;
            vertices.push_back(v);
            minX = std::min(minX, poly[i].x);
            minY = std::min(minY, poly[i].y);
            maxX = std::max(maxX, poly[i].x);
            maxY = std::max(maxY, poly[i].y);
        }
    }
    PixelRect box{static_cast<int>(std::floor(minX)), static_cast<int>(std::floor(minY)),
                  static_cast<int>(std::floor(maxX)) + 1, static_cast<int>(std::floor(maxY)) + 1};
    // Rasterize the whole shape, so that its coverage does not depend on the clip.
    if (box.intersect(deviceClip).isEmpty())
        return;
    std::vector<uint8_t> coverage(size_t(box.right - box.left) * (box.bottom - box.top));
    stbtt__bitmap bitmap{box.right - box.left, box.bottom - box.top, box.right - box.left,
                         coverage.data()};
    stbtt_Rasterize(&bitmap, kFlatness, vertices.data(), static_cast<int>(vertices.size()), 1.0f,
                    1.0f, 0.0f, 0.0f, box.left, box.top, 0, nullptr);
    blendCoverage(coverage.data(), bitmap.stride, box, color);
}

void CDrawContext::drawGraphicsPath(CGraphicsPath* path, CGraphicsPath::PathDrawMode mode) {
    if (!path)
        return;
    auto lines = flatten(*path, mode != CGraphicsPath::kPathStroked);
    if (mode != CGraphicsPath::kPathStroked) {
        fillPolygons(lines, fillColor);
        return;
    }
    std::vector<bool> closed;
    for (const auto& sub : path->subpaths())
        closed.push_back(sub.closed);
    float width = static_cast<float>(std::max(lineWidth, getHairlineSize()) * zoom);
    fillPolygons(strokeOutline(lines, closed, width), frameColor);
}

void CDrawContext::drawRect(const CRect& r, CDrawStyle style) {
    CGraphicsPath path;
    path.addRect(r);
    if (style != kDrawStroked)
        drawGraphicsPath(&path, CGraphicsPath::kPathFilled);
    if (style != kDrawFilled)
        drawGraphicsPath(&path, CGraphicsPath::kPathStroked);
}

void CDrawContext::drawLine(const CPoint& from, const CPoint& to) {
    CGraphicsPath path;
    path.beginSubpath(from);
    path.addLine(to);
    drawGraphicsPath(&path, CGraphicsPath::kPathStroked);
}

void CDrawContext::drawString(const std::string& text, const CRect& r, CHoriTxtAlign align) {
    FontFace* face = faceFor(font);
    if (!face->usable || text.empty() || fontColor.alpha == 0)
        return;
    const stbtt_fontinfo* info = &face->info;
    float scale = stbtt_ScaleForMappingEmToPixels(info, static_cast<float>(font.getSize() * zoom));
    std::vector<int> codes;
    for (size_t i = 0; i < text.size();)
        codes.push_back(static_cast<int>(nextCodePoint(text, i)));
    float width = 0.0f;
    for (size_t i = 0; i < codes.size(); ++i) {
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(info, codes[i], &advance, &bearing);
        width += advance * scale;
        if (i + 1 < codes.size())
            width += stbtt_GetCodepointKernAdvance(info, codes[i], codes[i + 1]) * scale;
    }
    int ascent = 0, descent = 0, gap = 0;
    stbtt_GetFontVMetrics(info, &ascent, &descent, &gap);
    float left = static_cast<float>((r.left + origin.x) * zoom);
    float right = static_cast<float>((r.right + origin.x) * zoom);
    float centreY = static_cast<float>(((r.top + r.bottom) * 0.5 + origin.y) * zoom);
    float x = align == kLeftText    ? left
              : align == kRightText ? right - width
                                    : left + (right - left - width) * 0.5f;
    int baseline = static_cast<int>(std::floor(centreY + (ascent + descent) * 0.5f * scale + 0.5f));

    PixelRect saved = deviceClip;
    deviceClip = deviceClip.intersect(toDevice(r));
    std::vector<uint8_t> glyph;
    for (size_t i = 0; i < codes.size(); ++i) {
        int ix = static_cast<int>(std::floor(x));
        float sub = x - ix;
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(info, codes[i], scale, scale, sub, 0.0f, &x0, &y0, &x1,
                                            &y1);
        int gw = x1 - x0, gh = y1 - y0;
        if (gw > 0 && gh > 0) {
            glyph.assign(size_t(gw) * gh, 0);
            stbtt_MakeCodepointBitmapSubpixel(info, glyph.data(), gw, gh, gw, scale, scale, sub,
                                              0.0f, codes[i]);
            blendCoverage(glyph.data(), gw,
                          {ix + x0, baseline + y0, ix + x0 + gw, baseline + y0 + gh}, fontColor);
        }
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(info, codes[i], &advance, &bearing);
        x += advance * scale;
        if (i + 1 < codes.size())
            x += stbtt_GetCodepointKernAdvance(info, codes[i], codes[i + 1]) * scale;
    }
    deviceClip = saved;
}

void CDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset,
                              float alpha) {
    IPlatformBitmap* pb = bitmap ? bitmap->getPlatformBitmap() : nullptr;
    if (!pb)
        return;
    double s = pb->getScaleFactor();
    PixelRect d = toDevice(dest);
    if (d.isEmpty())
        return;
    // Source in bitmap pixels, cut to the bitmap; the target shrinks in proportion.
    double sx0 = offset.x * s, sy0 = offset.y * s;
    double sx1 = sx0 + dest.getWidth() * s, sy1 = sy0 + dest.getHeight() * s;
    double fx = (d.right - d.left) / (sx1 - sx0), fy = (d.bottom - d.top) / (sy1 - sy0);
    double cx0 = std::max(0.0, sx0), cy0 = std::max(0.0, sy0);
    double cx1 = std::min<double>(pb->width(), sx1), cy1 = std::min<double>(pb->height(), sy1);
    if (cx1 <= cx0 || cy1 <= cy0)
        return;
    PixelRect part{d.left + roundToInt((cx0 - sx0) * fx), d.top + roundToInt((cy0 - sy0) * fy),
                   d.left + roundToInt((cx1 - sx0) * fx), d.top + roundToInt((cy1 - sy0) * fy)};
    int isx = roundToInt(cx0), isy = roundToInt(cy0);
    int isw = std::min(pb->width() - isx, roundToInt(cx1 - cx0));
    int ish = std::min(pb->height() - isy, roundToInt(cy1 - cy0));
    if (part.isEmpty() || isw <= 0 || ish <= 0)
        return;
    PixelRect visible = part.intersect(deviceClip);
    if (visible.isEmpty())
        return;
    int pw = part.right - part.left, ph = part.bottom - part.top;
    const auto& image =
        pb->rendition(isx, isy, isw, ish, pw, ph, quality != BitmapInterpolationQuality::kLow);
    int global = alphaByte(alpha * globalAlpha);
    for (int y = visible.top; y < visible.bottom; ++y) {
        const uint8_t* src = image.rgba.data() + (size_t(y - part.top) * pw) * 4;
        uint32_t* out = target.pixels.data() + size_t(y) * target.width;
        for (int x = visible.left; x < visible.right; ++x) {
            const uint8_t* p = src + size_t(x - part.left) * 4;
            int a = global == 255 ? p[3] : (p[3] * global + 127) / 255;
            if (a == 255)
                out[x] = 0xFF000000u | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
            else if (a)
                out[x] = blendPixel(out[x], p[0], p[1], p[2], a);
        }
    }
}

} // namespace VSTGUI
