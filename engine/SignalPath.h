#pragma once

namespace SorvLib {

// The fixed values of the steps around the chains, shared by the steps of one channel and the
// stereo steps.
namespace SignalPath {

constexpr double kLimiterKnee = 54.0;
constexpr double kHighFeedbackShare = 0.17;
constexpr double kResonatorDryShare = 0.12589254117941673;
constexpr double kDirectShare = 0.001;
constexpr double kLowPassWetShare = 0.7071067811865476;
constexpr double kPeakWetShare = kLowPassWetShare * 0.001;
static_assert(kPeakWetShare == 0.0007071067811865476, "the product is formed in double");

// Indices of the two loops, and of the two kinds of modulation noise: the dispersion loops'
// and the high loops'.
constexpr int kLoopA = 0;
constexpr int kLoopB = 1;
enum NoiseKind { kDispersionNoise = 0, kHighNoise = 1 };

// A delay that comes from a value (the pre-delay), brought within 0 ... longest where its line
// of longest + 1 samples is read, whatever rate or race brought it there; not a number becomes
// the longest. Always inlined: the stereo steps are compiled once per instruction set.
__attribute__((always_inline)) inline double withinLine(double delay, double longest) {
    const double below = delay < longest ? delay : longest;
    return below > 0.0 ? below : 0.0;
}

} // namespace SignalPath
} // namespace SorvLib
