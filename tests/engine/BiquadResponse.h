#pragma once

#include "engine/BiquadCoefficients.h"

#include <complex>
#include <cstdint>
#include <cstring>
#include <vector>

namespace SorvTest {

// H(e^jω) of one section at frequency Hz, evaluated directly from its transfer function.
inline std::complex<double> biquadResponse(const SorvLib::BiquadCoefficients& c, double frequency,
                                           double sampleRate) {
    const double pi = 3.14159265358979323846;
    const std::complex<double> z1 = std::polar(1.0, -2.0 * pi * frequency / sampleRate);
    const std::complex<double> z2 = z1 * z1;
    return (c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2);
}

inline double biquadMagnitude(const SorvLib::BiquadCoefficients& c, double frequency,
                              double sampleRate) {
    return std::abs(biquadResponse(c, frequency, sampleRate));
}

inline std::complex<double> cascadeResponse(const std::vector<SorvLib::BiquadCoefficients>& cs,
                                            double frequency, double sampleRate) {
    std::complex<double> h = 1.0;
    for (const SorvLib::BiquadCoefficients& c : cs)
        h *= biquadResponse(c, frequency, sampleRate);
    return h;
}

// Distance in units in the last place between two finite doubles of the same sign.
inline int64_t ulpDistance(double a, double b) {
    int64_t ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    return ia > ib ? ia - ib : ib - ia;
}

} // namespace SorvTest
