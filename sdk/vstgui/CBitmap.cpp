#include "vstgui/CBitmap.h"

#include "vstgui/CDrawContext.h"
#include "vstgui/PlatformResources.h"

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include "stb_image_resize.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace VSTGUI {

namespace {
// Renditions kept per bitmap: every frame of the 121-frame knob strip at one size (about
// 7 MB at zoom 1.25), so that a drag scales each frame once.
constexpr size_t kMaxRenditions = 128;
// Larger images are refused rather than decoded into hundreds of megabytes.
constexpr int kMaxPixels = 64 * 1024 * 1024;
// The source span [begin, end) that each of `out` target pixels covers when `in` pixels are
// shrunk to `out`, as whole pixels with fractional weights at both ends.
struct Coverage {
    int first;
    std::vector<float> weights;
};

std::vector<Coverage> coverage(int in, int out) {
    std::vector<Coverage> result(static_cast<size_t>(out));
    double step = double(in) / out;
    for (int i = 0; i < out; ++i) {
        double begin = i * step, end = (i + 1) * step;
        int first = static_cast<int>(std::floor(begin));
        int last = std::min(in, static_cast<int>(std::ceil(end)));
        Coverage& c = result[size_t(i)];
        c.first = first;
        for (int k = first; k < last; ++k) {
            double lo = std::max<double>(k, begin), hi = std::min<double>(k + 1, end);
            c.weights.push_back(static_cast<float>((hi - lo) / step));
        }
    }
    return result;
}

// Shrinks premultiplied RGBA by the mean of the source area under each target pixel: first
// along rows, then along columns.
void shrinkByArea(const uint8_t* source, int stride, int sw, int sh, uint8_t* target, int dw,
                  int dh) {
    std::vector<Coverage> across = coverage(sw, dw), down = coverage(sh, dh);
    std::vector<float> rows(size_t(dw) * sh * 4);
    for (int y = 0; y < sh; ++y) {
        const uint8_t* in = source + size_t(y) * stride;
        float* out = rows.data() + size_t(y) * dw * 4;
        for (int x = 0; x < dw; ++x) {
            const Coverage& c = across[size_t(x)];
            float r = 0, g = 0, b = 0, a = 0;
            for (size_t k = 0; k < c.weights.size(); ++k) {
                const uint8_t* p = in + size_t(c.first + int(k)) * 4;
                float w = c.weights[k] * p[3];
                r += w * p[0];
                g += w * p[1];
                b += w * p[2];
                a += c.weights[k] * p[3];
            }
            out[x * 4] = r;
            out[x * 4 + 1] = g;
            out[x * 4 + 2] = b;
            out[x * 4 + 3] = a;
        }
    }
    for (int y = 0; y < dh; ++y) {
        const Coverage& c = down[size_t(y)];
        uint8_t* out = target + size_t(y) * dw * 4;
        for (int x = 0; x < dw; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (size_t k = 0; k < c.weights.size(); ++k) {
                const float* p = rows.data() + (size_t(c.first + int(k)) * dw + x) * 4;
                for (int ch = 0; ch < 4; ++ch)
                    sum[ch] += c.weights[k] * p[ch];
            }
            float alpha = sum[3];
            for (int ch = 0; ch < 3; ++ch) {
                float v = alpha > 0.0f ? sum[ch] / alpha : 0.0f;
                out[x * 4 + ch] = static_cast<uint8_t>(std::min(255.0f, std::floor(v + 0.5f)));
            }
            out[x * 4 + 3] = static_cast<uint8_t>(std::min(255.0f, std::floor(alpha + 0.5f)));
        }
    }
}

} // namespace

SharedPointer<IPlatformBitmap> IPlatformBitmap::createFromMemory(const void* data, uint32 size) {
    if (!data || size == 0 || size > static_cast<uint32>(INT_MAX))
        return {};
    int w = 0, h = 0, channels = 0;
    auto* bytes = static_cast<const stbi_uc*>(data);
    if (!stbi_info_from_memory(bytes, static_cast<int>(size), &w, &h, &channels) || w <= 0 ||
        h <= 0 || static_cast<long long>(w) * h > kMaxPixels)
        return {};
    stbi_uc* decoded = stbi_load_from_memory(bytes, static_cast<int>(size), &w, &h, &channels, 4);
    if (!decoded)
        return {};
    std::vector<uint8_t> pixels(decoded, decoded + static_cast<size_t>(w) * h * 4);
    stbi_image_free(decoded);
    return makeOwned(new IPlatformBitmap(w, h, std::move(pixels)));
}

SharedPointer<IPlatformBitmap>
IPlatformBitmap::createFromResource(const CResourceDescription& desc) {
    std::vector<uint8_t> data = loadPlatformResource(desc.getName(), "PNG");
    if (data.empty())
        return {};
    return createFromMemory(data.data(), static_cast<uint32>(data.size()));
}

const IPlatformBitmap::Rendition& IPlatformBitmap::rendition(int sx, int sy, int sw, int sh, int dw,
                                                             int dh, bool smooth) {
    for (auto it = renditions.begin(); it != renditions.end(); ++it) {
        if (it->sx == sx && it->sy == sy && it->sw == sw && it->sh == sh && it->dw == dw &&
            it->dh == dh && it->smooth == smooth) {
            renditions.splice(renditions.begin(), renditions, it);
            return renditions.front();
        }
    }
    Rendition r{sx, sy, sw, sh, dw, dh, smooth, std::vector<uint8_t>(size_t(dw) * dh * 4)};
    const uint8_t* source = pixels.data() + (static_cast<size_t>(sy) * w + sx) * 4;
    if (dw == sw && dh == sh) {
        for (int y = 0; y < dh; ++y)
            std::copy(source + size_t(y) * w * 4, source + size_t(y) * w * 4 + size_t(sw) * 4,
                      r.rgba.begin() + size_t(y) * dw * 4);
    } else if (smooth && sw == 2 * dw && sh == 2 * dh) {
        // Exactly half size (every bitmap at zoom 1): the alpha-weighted mean of each 2 × 2
        // block, in integers.
        for (int y = 0; y < dh; ++y) {
            const uint8_t* row0 = source + size_t(2 * y) * w * 4;
            const uint8_t* row1 = row0 + size_t(w) * 4;
            uint8_t* out = r.rgba.data() + size_t(y) * dw * 4;
            for (int x = 0; x < dw; ++x) {
                const uint8_t* p[4] = {row0 + x * 8, row0 + x * 8 + 4, row1 + x * 8,
                                       row1 + x * 8 + 4};
                unsigned alpha = p[0][3] + p[1][3] + p[2][3] + p[3][3];
                for (int c = 0; c < 3; ++c) {
                    unsigned sum = p[0][c] * p[0][3] + p[1][c] * p[1][3] + p[2][c] * p[2][3] +
                                   p[3][c] * p[3][3];
                    out[x * 4 + c] = alpha ? static_cast<uint8_t>((sum + alpha / 2) / alpha) : 0;
                }
                out[x * 4 + 3] = static_cast<uint8_t>((alpha + 2) / 4);
            }
        }
    } else if (smooth && dw <= sw && dh <= sh) {
        shrinkByArea(source, w * 4, sw, sh, r.rgba.data(), dw, dh);
    } else if (smooth) {
        stbir_resize_uint8_generic(source, sw, sh, w * 4, r.rgba.data(), dw, dh, dw * 4, 4, 3, 0,
                                   STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR,
                                   nullptr);
    } else {
        // Nearest neighbour: the source pixel under each target pixel's centre.
        for (int y = 0; y < dh; ++y) {
            int yy = static_cast<int>((2LL * y + 1) * sh / (2LL * dh));
            for (int x = 0; x < dw; ++x) {
                int xx = static_cast<int>((2LL * x + 1) * sw / (2LL * dw));
                const uint8_t* p = source + (size_t(yy) * w + xx) * 4;
                std::copy(p, p + 4, r.rgba.begin() + (size_t(y) * dw + x) * 4);
            }
        }
    }
    renditions.push_front(std::move(r));
    if (renditions.size() > kMaxRenditions)
        renditions.pop_back();
    return renditions.front();
}

CBitmap::CBitmap(const CResourceDescription& desc)
    : resource(desc), platformBitmap(IPlatformBitmap::createFromResource(desc)) {}

CCoord CBitmap::getWidth() const {
    return platformBitmap ? platformBitmap->width() / platformBitmap->getScaleFactor() : 0.0;
}

CCoord CBitmap::getHeight() const {
    return platformBitmap ? platformBitmap->height() / platformBitmap->getScaleFactor() : 0.0;
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha) {
    if (context)
        context->drawBitmap(this, rect, offset, alpha);
}

} // namespace VSTGUI
