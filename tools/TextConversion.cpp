#include "TextConversion.h"

namespace SorvTools {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string toUtf8(const Steinberg::char16* text) {
    std::string out;
    for (; text && *text; ++text) {
        char32_t c = char16_t(*text);
        if (c >= 0xD800 && c < 0xDC00 && char16_t(text[1]) >= 0xDC00 &&
            char16_t(text[1]) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char16_t(text[1]) - 0xDC00);
            ++text;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string toUtf16(const std::string& text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = -1;
        char32_t c = kReplacement;
        if (lead < 0x80) {
            extra = 0;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
        }
        size_t used = 1;
        for (int k = 1; k <= extra; ++k) {
            const size_t at = i + size_t(k);
            if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) {
                c = kReplacement;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[at]) & 0x3F);
            used = size_t(k) + 1;
        }
        if (extra < 0 || c > 0x10FFFF)
            c = kReplacement;
        i += used;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

void copyToString128(const std::string& text, Steinberg::Vst::String128 out) {
    const std::u16string wide = toUtf16(text);
    size_t i = 0;
    for (; i < wide.size() && i < 127; ++i)
        out[i] = Steinberg::Vst::TChar(wide[i]);
    out[i] = 0;
}

} // namespace SorvTools
