#include "core/ParameterText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr size_t kTextChars = 128; // a String128, its terminator included

// Length of a host text, or kTextChars when it has no terminator within a String128.
size_t boundedLength(const TChar* text) {
    size_t length = 0;
    while (length < kTextChars && text[length])
        ++length;
    return length;
}

bool isBlank(TChar c) {
    return c == ' ' || c == '\t';
}

double clampNormalized(double value) {
    // A value that is not a number fails both tests and becomes 0.
    if (value > 1.0)
        return 1.0;
    return value > 0.0 ? value : 0.0;
}

bool sameText(const TChar* a, size_t length, const TChar* b) {
    return boundedLength(b) == length && std::equal(a, a + length, b);
}

} // namespace

tresult ParameterText::toString(const Parameter& parameter, ParamValue normalized, String128 text) {
    if (!text || !std::isfinite(normalized))
        return kInvalidArgument;
    // The parameter formats into scratch space; only a terminated String128 reaches the host.
    // Inside 0 to 1 every parameter's text is short, so the scratch space cannot overflow.
    String128 scratch = {};
    parameter.toString(clampNormalized(normalized), scratch);
    scratch[kTextChars - 1] = 0;
    const size_t length = boundedLength(scratch);
    std::copy(scratch, scratch + length, text);
    text[length] = 0;
    return kResultOk;
}

tresult ParameterText::fromString(const Parameter& parameter, const TChar* text,
                                  ParamValue& normalized) {
    if (!text)
        return kInvalidArgument;
    const int32 steps = parameter.getInfo().stepCount;
    if (steps > 0 && parameter.isTypeOf(StringListParameter::getFClassID())) {
        // A list answers to its entries only, as it shows them.
        size_t begin = 0;
        size_t end = boundedLength(text);
        while (begin < end && isBlank(text[begin]))
            ++begin;
        while (end > begin && isBlank(text[end - 1]))
            --end;
        for (int32 step = 0; step <= steps; ++step) {
            const double value = static_cast<double>(step) / steps;
            String128 entry = {};
            if (toString(parameter, value, entry) == kResultOk &&
                sameText(text + begin, end - begin, entry)) {
                normalized = value;
                return kResultOk;
            }
        }
        return kResultFalse;
    }
    double plain = 0.0;
    if (!parseNumber(text, parameter.getInfo().units, plain))
        return kResultFalse;
    normalized = toNormalized(parameter, plain);
    return kResultOk;
}

ParamValue ParameterText::toPlain(const Parameter& parameter, ParamValue normalized) {
    return parameter.toPlain(clampNormalized(normalized));
}

ParamValue ParameterText::toNormalized(const Parameter& parameter, ParamValue plain) {
    if (std::isnan(plain))
        return 0.0;
    const double a = parameter.toPlain(0.0);
    const double b = parameter.toPlain(1.0);
    const double clamped = std::min(std::max(plain, std::min(a, b)), std::max(a, b));
    return clampNormalized(parameter.toNormalized(clamped));
}

bool ParameterText::parseNumber(const TChar* text, const TChar* units, double& value) {
    if (!text)
        return false;
    size_t begin = 0;
    size_t end = boundedLength(text);
    if (end == kTextChars)
        return false;
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const size_t unitLength = units ? boundedLength(units) : 0;
    if (unitLength > 0 && unitLength < kTextChars && end - begin > unitLength &&
        std::equal(units, units + unitLength, text + end - unitLength)) {
        end -= unitLength;
        while (end > begin && isBlank(text[end - 1]))
            --end;
    }

    // The parser below takes no plus sign and must not meet a second sign or a letter
    // other than the exponent's.
    char number[kTextChars] = {};
    size_t length = 0;
    bool negative = false;
    if (begin < end && (text[begin] == '+' || text[begin] == '-'))
        negative = text[begin++] == '-';
    if (begin == end || !(text[begin] == '.' || (text[begin] >= '0' && text[begin] <= '9')))
        return false;
    for (size_t i = begin; i < end; ++i) {
        const TChar c = text[i];
        const bool allowed =
            (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
        if (!allowed)
            return false;
        number[length++] = static_cast<char>(c);
    }
    double parsed = 0.0;
    const auto result = std::from_chars(number, number + length, parsed);
    if (result.ec != std::errc() || result.ptr != number + length || !std::isfinite(parsed))
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

} // namespace SorvLib
