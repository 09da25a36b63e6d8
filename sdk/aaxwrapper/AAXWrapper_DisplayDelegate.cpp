#include "aaxwrapper/AAXWrapper_DisplayDelegate.h"

#include "AAX_CString.h"

#include <cstdio>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length in bytes of the text's first `characters` characters (a continuation byte starts
// none); the whole length when it has no more.
size_t endOfCharacters(const std::string& text, size_t characters) {
    size_t end = 0;
    for (size_t seen = 0; end < text.size(); ++end)
        if (!isContinuation(static_cast<unsigned char>(text[end])) && seen++ == characters)
            break;
    return end;
}

// Decimals after the point of a plain decimal number, or -1 for any other text.
int decimalsOf(const std::string& text) {
    size_t i = text[0] == '-' ? 1 : 0;
    size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        ++digits;
    if (digits == 0)
        return -1;
    if (i == text.size())
        return 0;
    if (text[i] != '.')
        return -1;
    const size_t point = i++;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    }
    return i == text.size() ? int(i - point - 1) : -1;
}

} // namespace

AAXWrapper_DisplayDelegate* AAXWrapper_DisplayDelegate::Clone() const {
    return new AAXWrapper_DisplayDelegate(*this);
}

bool AAXWrapper_DisplayDelegate::ValueToString(double value, AAX_CString* text) const {
    String128 display = {};
    if (mController->getParamStringByValue(mId, value, display) != kResultOk)
        return false;
    text->Set(ToUtf8(display).c_str());
    return true;
}

bool AAXWrapper_DisplayDelegate::ValueToString(double value, int32_t maxLength,
                                               AAX_CString* text) const {
    if (!ValueToString(value, text))
        return false;
    const size_t room = maxLength < 0 ? 0 : size_t(maxLength);
    const std::string full = text->Get();
    const size_t cut = endOfCharacters(full, room);
    if (cut == full.size())
        return true;
    const int decimals = decimalsOf(full);
    if (decimals < 0) {
        text->Set(full.substr(0, cut).c_str());
        return true;
    }
    const double number = std::strtod(full.c_str(), nullptr);
    for (int kept = decimals - 1; kept >= 0; --kept) {
        char shorter[64];
        const int length = std::snprintf(shorter, sizeof(shorter), "%.*f", kept, number);
        if (length > 0 && size_t(length) <= room) {
            text->Set(shorter);
            return true;
        }
    }
    text->Set("");
    return false;
}

bool AAXWrapper_DisplayDelegate::StringToValue(const AAX_CString& text, double* value) const {
    String128 text16 = {};
    ParamValue parsed = 0;
    if (!FromUtf8(text.Get(), text16) ||
        mController->getParamValueByString(mId, text16, parsed) != kResultOk ||
        !(parsed >= 0.0 && parsed <= 1.0)) {
        *value = 0;
        return false;
    }
    *value = parsed;
    return true;
}

std::string AAXWrapper_DisplayDelegate::ToUtf8(const TChar* text) {
    std::string out;
    for (; text && *text; ++text) {
        uint32_t c = static_cast<uint16_t>(*text);
        const uint32_t next = static_cast<uint16_t>(text[1]);
        if (c >= 0xD800 && c < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
            ++text;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool AAXWrapper_DisplayDelegate::FromUtf8(const char* text, String128 out) {
    constexpr size_t kRoom = sizeof(String128) / sizeof(TChar) - 1;
    size_t used = 0;
    const auto* in = reinterpret_cast<const unsigned char*>(text ? text : "");
    while (*in) {
        const unsigned char lead = *in++;
        const int more = lead < 0x80                   ? 0
                         : lead >= 0xC2 && lead < 0xE0 ? 1
                         : lead >= 0xE0 && lead < 0xF0 ? 2
                         : lead >= 0xF0 && lead < 0xF5 ? 3
                                                       : -1;
        if (more < 0)
            return false;
        uint32_t c = more == 0 ? lead : lead & (0x3F >> more);
        for (int k = 0; k < more; ++k, ++in) {
            if (!isContinuation(*in))
                return false;
            c = c << 6 | (*in & 0x3F);
        }
        // Overlong forms, surrogates and code points past the last one are not characters.
        if ((more == 2 && c < 0x800) || (more == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c < 0xE000))
            return false;
        if (used + (c >= 0x10000 ? 2 : 1) > kRoom)
            return false;
        if (c >= 0x10000) {
            out[used++] = static_cast<TChar>(0xD800 + ((c - 0x10000) >> 10));
            out[used++] = static_cast<TChar>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out[used++] = static_cast<TChar>(c);
        }
    }
    out[used] = 0;
    return true;
}
