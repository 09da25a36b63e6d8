#pragma once

#include "engine/BiquadCoefficients.h"
#include "engine/SectionRecord.h"

#include <array>
#include <complex>
#include <vector>

namespace SorvLib {

// Analog designs in s (radians per second) turned into cascades of biquads. Polynomials are in
// ascending powers. Every mapping prewarps at frequency, clamped to 0.4975·sampleRate, so the
// analog response at 2π·frequency lands exactly on frequency.

// One analog section n(s)/d(s) of at most second order mapped by the bilinear transform
// s = K·(1 − z⁻¹)/(1 + z⁻¹), K = 2π·f/tan(π·f/sampleRate). The result is second order when
// n[2] or d[2] is non-zero, else first order when n[1] or d[1] is, else a constant.
void bilinearSection(BiquadCoefficients& out, double sampleRate, double frequency,
                     const std::array<double, 3>& n, const std::array<double, 3>& d);

// Groups roots into sections: conjugate pairs together, the rest in real pairs, each section
// taking the roots nearest to its key on the real axis. One record per two poles or two zeros,
// whichever needs more. Allocates.
std::vector<SectionRecord> pairRootsIntoSections(const std::vector<std::complex<double>>& zeros,
                                                 const std::vector<std::complex<double>>& poles);

bool compareByNinthValue(const SectionRecord& a, const SectionRecord& b);

// Orders the records by key, then moves the first one with a single pole or a single zero to
// the end.
void sortSections(std::vector<SectionRecord>& records);

// The biquads of the records, the overall gain spread evenly over them and each numerator
// brought to a similar size, so the cascade neither overflows nor loses precision between
// sections. Allocates.
std::vector<BiquadCoefficients> sectionsToBiquads(const std::vector<SectionRecord>& records,
                                                  double sampleRate, double frequency, double gain);

// Roots of numerator and denominator; returns leading(numerator)/leading(denominator).
double zerosPolesGain(const std::vector<double>& numerator, const std::vector<double>& denominator,
                      std::vector<std::complex<double>>& zeros,
                      std::vector<std::complex<double>>& poles);

// gain·∏(s − zero)/∏(s − pole) as a cascade of biquads.
std::vector<BiquadCoefficients> zpkToBiquads(const std::vector<std::complex<double>>& zeros,
                                             const std::vector<std::complex<double>>& poles,
                                             double gain, double sampleRate, double frequency);

// gain·numerator(s)/denominator(s) as a cascade of biquads.
std::vector<BiquadCoefficients> transferToBiquads(const std::vector<double>& numerator,
                                                  const std::vector<double>& denominator,
                                                  double gain, double sampleRate, double frequency);

} // namespace SorvLib
