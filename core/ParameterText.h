#pragma once
// Conversions between a parameter's values and texts for the host, safe for any input: values
// outside 0 to 1 are clamped as the parameter path clamps them, values that are not numbers
// are refused, every text stays inside its String128, and a text is read as a value only when
// it is wholly a number in the parameter's unit (or, for a list, one of its entries).

#include "public.sdk/source/vst/vstparameters.h"

namespace SorvLib {

class ParameterText {
public:
    using Parameter = Steinberg::Vst::Parameter;
    using ParamValue = Steinberg::Vst::ParamValue;
    using TChar = Steinberg::Vst::TChar;

    // kInvalidArgument for a value that is not a finite number or a null buffer.
    static Steinberg::tresult toString(const Parameter& parameter, ParamValue normalized,
                                       Steinberg::Vst::String128 text);
    // kResultFalse for a text that is not a value of the parameter; the value is then unchanged.
    static Steinberg::tresult fromString(const Parameter& parameter, const TChar* text,
                                         ParamValue& normalized);
    // Clamped to the parameter's range; a value that is not a number counts as its minimum.
    static ParamValue toPlain(const Parameter& parameter, ParamValue normalized);
    static ParamValue toNormalized(const Parameter& parameter, ParamValue plain);

    // A decimal number, optionally signed, with optional fraction and exponent, surrounded by
    // blanks and followed by `units` when given. False for anything else, and for numbers
    // beyond the range of a double.
    static bool parseNumber(const TChar* text, const TChar* units, double& value);
};

} // namespace SorvLib
