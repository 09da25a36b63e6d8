#pragma once

#include "engine/BiquadCoefficients.h"

namespace SorvLib {

// The type argument of designBiquad. Values outside 0 .. 12 are allowed and design a plain gain.
enum class FilterType : int {
    lowPass1 = 0,
    highPass1 = 1,
    lowShelf1 = 2,
    highShelf1 = 3,
    allPass1 = 4,
    lowPass = 5,
    highPass = 6,
    bandPass = 7,
    notch = 8,
    allPass = 9,
    lowShelf = 10,
    highShelf = 11,
    peak = 12,
};

// Bilinear-transform designs of the usual first- and second-order sections. gain is linear;
// q2 > 0 gives the numerator of a second-order shelf its own Q (for a cut, the denominator's).
// Expects sampleRate, frequency, q and gain > 0. Frequencies at or above 0.4975·sampleRate
// are designed at 0.4975·sampleRate. Allocates nothing; callable from any thread.
void designBiquad(BiquadCoefficients& out, FilterType type, double sampleRate, double frequency,
                  double q, double gain, double q2);

// Peaking section with unit gain at DC whose gain at the Nyquist frequency follows its analog
// prototype instead of being forced to 1. gain is linear (1 = flat); a gain below 1 gives the
// exact inverse of the boost by 1/gain. Expects sampleRate, frequency and q > 0 and gain > 0.
// Allocates nothing; callable from any thread.
void designFilter(BiquadCoefficients& out, double sampleRate, double frequency, double q,
                  double gain);

} // namespace SorvLib
