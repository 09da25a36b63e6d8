#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace SorvLib {

// The "Pre-Delay" range parameter: 0 to 150 ms on a fixed curve instead of a straight line,
// so that the lower half of the knob covers 0 to 12.3 ms. Its value texts and text entry go
// through the same curve, since the range parameter calls these two virtually.
class PredelayParameter : public Steinberg::Vst::RangeParameter {
public:
    PredelayParameter(const Steinberg::Vst::TChar* title, Steinberg::Vst::ParamID tag);
    ~PredelayParameter() override;

    // Milliseconds at normalized 0, 0.1 ... 1.0.
    static constexpr int kCurvePoints = 11;
    static const double predelayCurve[kCurvePoints];

    // Any thread; allocate nothing.
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const override;
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue milliseconds) const override;
};

} // namespace SorvLib
