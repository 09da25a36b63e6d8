#include "engine/PredelayParameter.h"

namespace SorvLib {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kMaxMilliseconds = 150.0;
constexpr int kLastPoint = PredelayParameter::kCurvePoints - 1;
constexpr double kSegmentWidth = 0.1;
constexpr int32 kDisplayPrecision = 1;

} // namespace

const double PredelayParameter::predelayCurve[kCurvePoints] = {0.0,  1.65, 2.72, 4.5,  7.4,  12.3,
                                                               20.2, 33.4, 55.1, 90.9, 150.0};

PredelayParameter::PredelayParameter(const TChar* title, ParamID tag)
    : RangeParameter(title, tag, STR16("ms"), 0.0, kMaxMilliseconds, 0.0, 0,
                     ParameterInfo::kCanAutomate) {
    // The base constructor mapped the default through the straight line, not the curve.
    info.defaultNormalizedValue = 0.0;
    setNormalized(0.0);
    setPrecision(kDisplayPrecision);
}

PredelayParameter::~PredelayParameter() = default;

ParamValue PredelayParameter::toPlain(ParamValue normalized) const {
    // A value that is not a number fails both tests and counts as 0.
    double clamped = 0.0;
    if (normalized > 1.0)
        clamped = 1.0;
    else if (normalized > 0.0)
        clamped = normalized;
    const double x = clamped * kLastPoint;
    const int i = static_cast<int>(x);
    const int next = i + 1 < kLastPoint ? i + 1 : kLastPoint;
    return (predelayCurve[next] - predelayCurve[i]) * (x - i) + predelayCurve[i];
}

ParamValue PredelayParameter::toNormalized(ParamValue milliseconds) const {
    // Written as "at most 0" so that a value that is not a number falls through every
    // segment and ends at the top.
    if (milliseconds <= 0.0)
        return 0.0;
    double base = 0.0;
    for (int k = 1; k <= kLastPoint; ++k) {
        const double low = predelayCurve[k - 1];
        const double high = predelayCurve[k];
        if (low <= milliseconds && milliseconds < high)
            return (milliseconds - low) * (kSegmentWidth / (high - low)) + base;
        // Added segment by segment, not multiplied: the bases are the sums the curve was
        // tuned with.
        base += kSegmentWidth;
    }
    return 1.0;
}

} // namespace SorvLib
