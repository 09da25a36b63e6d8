#include "engine/FilterDesign.h"

#include "BiquadResponse.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>

using namespace SorvLib;
using SorvTest::biquadMagnitude;
using SorvTest::biquadResponse;
using SorvTest::ulpDistance;

namespace {

constexpr double fs = 44100.0;
constexpr double pi = 3.14159265358979323846;

BiquadCoefficients design(FilterType type, double frequency, double q, double gain,
                          double q2 = -1.0, double sampleRate = fs) {
    BiquadCoefficients c;
    designBiquad(c, type, sampleRate, frequency, q, gain, q2);
    return c;
}

void expectIdentical(const BiquadCoefficients& a, const BiquadCoefficients& b) {
    EXPECT_EQ(a.b0, b.b0);
    EXPECT_EQ(a.b1, b.b1);
    EXPECT_EQ(a.a1, b.a1);
    EXPECT_EQ(a.b2, b.b2);
    EXPECT_EQ(a.a2, b.a2);
}

// |H1·H2| at a spread of frequencies: 1 when one section undoes the other.
void expectInverse(const BiquadCoefficients& a, const BiquadCoefficients& b, double sampleRate) {
    for (double f : {0.0, 50.0, 400.0, 1000.0, 3000.0, 9000.0, 20000.0})
        EXPECT_NEAR(std::abs(biquadResponse(a, f, sampleRate) * biquadResponse(b, f, sampleRate)),
                    1.0, 1e-12)
            << f << " Hz";
}

// Magnitude of the analog peaking prototype of designFilter, (s² + Gm·ω0/(2q)·s + ω0²) over
// (s² + ω0/(2q)·s + ω0²), at angular frequency omega.
double analogPeak(double frequency, double q, double boost, double omega) {
    const double w0 = 2.0 * pi * frequency;
    const std::complex<double> s(0.0, omega);
    const double bandwidth = w0 / (2.0 * q);
    return std::abs((s * s + boost * bandwidth * s + w0 * w0) / (s * s + bandwidth * s + w0 * w0));
}

BiquadCoefficients peakingFilter(double frequency, double q, double gain, double sampleRate = fs) {
    BiquadCoefficients c;
    designFilter(c, sampleRate, frequency, q, gain);
    return c;
}

} // namespace

TEST(BiquadCoefficients, DefaultIsPassThrough) {
    const BiquadCoefficients c;
    expectIdentical(c, BiquadCoefficients{1.0, 0.0, 0.0, 0.0, 0.0});
}

TEST(DesignBiquad, ReferenceDesigns) {
    expectIdentical(design(FilterType::allPass1, 2000.0, 1.0, 1.0),
                    {-0.7490960131005089, 1.0, -0.7490960131005089, 0.0, 0.0});
    expectIdentical(design(FilterType::highPass1, 40.0, 1.0, 1.0),
                    {0.9971585718615225, -0.9971585718615225, -0.994317143723045, 0.0, 0.0});
}

TEST(DesignBiquad, FrequencyAtOrAboveLimitIsDesignedAtTheLimit) {
    const double limit = 0.4975 * fs;
    for (int type = 0; type <= 12; ++type) {
        const FilterType t = static_cast<FilterType>(type);
        const BiquadCoefficients atLimit = design(t, limit, 0.8, 2.0, 1.5);
        expectIdentical(design(t, 30000.0, 0.8, 2.0, 1.5), atLimit);
        expectIdentical(design(t, limit * 1.0000001, 0.8, 2.0, 1.5), atLimit);
        EXPECT_NE(design(t, limit * 0.999, 0.8, 2.0, 1.5).a1, atLimit.a1) << type;
    }
}

TEST(DesignBiquad, FirstOrderResponses) {
    const double f0 = 1000.0;
    const BiquadCoefficients lp = design(FilterType::lowPass1, f0, 1.0, 1.0);
    EXPECT_NEAR(biquadMagnitude(lp, 0.0, fs), 1.0, 1e-15);
    EXPECT_EQ(lp.b0 - lp.b1, 0.0); // exact zero at Nyquist
    EXPECT_NEAR(biquadMagnitude(lp, f0, fs), std::sqrt(0.5), 1e-14);

    const BiquadCoefficients hp = design(FilterType::highPass1, f0, 1.0, 1.0);
    EXPECT_EQ(hp.b0 + hp.b1, 0.0); // exact zero at DC
    EXPECT_NEAR(biquadMagnitude(hp, fs / 2, fs), 1.0, 1e-15);
    EXPECT_NEAR(biquadMagnitude(hp, f0, fs), std::sqrt(0.5), 1e-14);

    const BiquadCoefficients ap = design(FilterType::allPass1, f0, 1.0, 1.0);
    EXPECT_EQ(ap.b1, 1.0);
    EXPECT_EQ(ap.b0, ap.a1);
    for (double f : {10.0, f0, 15000.0})
        EXPECT_NEAR(biquadMagnitude(ap, f, fs), 1.0, 1e-14);

    // The plain filters carry the gain; the first-order shelves boost by G.
    EXPECT_NEAR(biquadMagnitude(design(FilterType::lowPass1, f0, 1.0, 3.0), 0.0, fs), 3.0, 1e-14);
    const double G = 4.0;
    const BiquadCoefficients ls = design(FilterType::lowShelf1, f0, 1.0, G);
    const BiquadCoefficients hs = design(FilterType::highShelf1, f0, 1.0, G);
    EXPECT_NEAR(biquadMagnitude(ls, 0.0, fs), G, 1e-14);
    EXPECT_NEAR(biquadMagnitude(ls, fs / 2, fs), 1.0, 1e-14);
    EXPECT_NEAR(biquadMagnitude(hs, 0.0, fs), 1.0, 1e-14);
    EXPECT_NEAR(biquadMagnitude(hs, fs / 2, fs), G, 1e-14);
    // (s + G·ω0)/(s + ω0) at ω0, prewarped onto f0.
    EXPECT_NEAR(biquadMagnitude(ls, f0, fs), std::sqrt((1.0 + G * G) / 2.0), 1e-13);
    EXPECT_NEAR(biquadMagnitude(hs, f0, fs), std::sqrt((1.0 + G * G) / 2.0), 1e-13);
}

TEST(DesignBiquad, FirstOrderShelfCutIsExactInverseOfBoost) {
    for (FilterType t : {FilterType::lowShelf1, FilterType::highShelf1}) {
        const BiquadCoefficients boost = design(t, 700.0, 1.0, 2.0);
        const BiquadCoefficients cut = design(t, 700.0, 1.0, 0.5);
        expectInverse(boost, cut, fs);
        // Numerator and denominator swap: the cut's pole is the boost's zero.
        EXPECT_NEAR(cut.a1, boost.b1 / boost.b0, 1e-15);
    }
}

TEST(DesignBiquad, SecondOrderResponses) {
    const double f0 = 2500.0, q = 3.0;
    // Cookbook magnitudes at the design frequency.
    EXPECT_NEAR(biquadMagnitude(design(FilterType::lowPass, f0, q, 1.0), f0, fs), q, 1e-12);
    EXPECT_NEAR(biquadMagnitude(design(FilterType::highPass, f0, q, 1.0), f0, fs), q, 1e-12);
    EXPECT_NEAR(biquadMagnitude(design(FilterType::bandPass, f0, q, 1.0), f0, fs), 1.0, 1e-13);
    EXPECT_NEAR(biquadMagnitude(design(FilterType::notch, f0, q, 1.0), f0, fs), 0.0, 1e-12);
    EXPECT_NEAR(biquadMagnitude(design(FilterType::lowPass, f0, q, 1.0), 0.0, fs), 1.0, 1e-14);
    EXPECT_NEAR(biquadMagnitude(design(FilterType::highPass, f0, q, 1.0), fs / 2, fs), 1.0, 1e-14);
    EXPECT_NEAR(biquadMagnitude(design(FilterType::bandPass, f0, q, 2.0), f0, fs), 2.0, 1e-13);

    const BiquadCoefficients ap = design(FilterType::allPass, f0, q, 1.0);
    for (double f : {30.0, f0, 12000.0})
        EXPECT_NEAR(biquadMagnitude(ap, f, fs), 1.0, 1e-13);
    EXPECT_NEAR(std::abs(std::arg(biquadResponse(ap, f0, fs))), pi, 1e-12);

    const double gain = 5.0;
    EXPECT_NEAR(biquadMagnitude(design(FilterType::peak, f0, q, gain), f0, fs), gain, 1e-12);
    EXPECT_NEAR(biquadMagnitude(design(FilterType::peak, f0, q, gain), 0.0, fs), 1.0, 1e-14);
    const BiquadCoefficients ls = design(FilterType::lowShelf, f0, 0.7, gain);
    const BiquadCoefficients hs = design(FilterType::highShelf, f0, 0.7, gain);
    EXPECT_NEAR(biquadMagnitude(ls, 0.0, fs), gain, 1e-13);
    EXPECT_NEAR(biquadMagnitude(ls, fs / 2, fs), 1.0, 1e-13);
    EXPECT_NEAR(biquadMagnitude(ls, f0, fs), std::sqrt(gain), 1e-13);
    EXPECT_NEAR(biquadMagnitude(hs, 0.0, fs), 1.0, 1e-13);
    EXPECT_NEAR(biquadMagnitude(hs, fs / 2, fs), gain, 1e-13);
    EXPECT_NEAR(biquadMagnitude(hs, f0, fs), std::sqrt(gain), 1e-13);
}

TEST(DesignBiquad, ShelfQChoice) {
    for (FilterType t : {FilterType::lowShelf, FilterType::highShelf}) {
        // The cut with q2 swaps the Qs, which makes it the inverse of the boost with q2.
        expectInverse(design(t, 900.0, 0.7, 3.0, 2.0), design(t, 900.0, 0.7, 1.0 / 3.0, 2.0), fs);
        // A boost with q2 keeps q in its denominator.
        const BiquadCoefficients both = design(t, 900.0, 0.7, 3.0, 2.0);
        const BiquadCoefficients plain = design(t, 900.0, 0.7, 3.0);
        EXPECT_EQ(both.a1, plain.a1);
        EXPECT_EQ(both.a2, plain.a2);
        EXPECT_NE(both.b0, plain.b0);
        // q2 ≤ 0 means "same as q".
        expectIdentical(design(t, 900.0, 0.7, 0.4, 0.0), design(t, 900.0, 0.7, 0.4, 0.7));
        expectIdentical(design(t, 900.0, 0.7, 3.0, -1.0), design(t, 900.0, 0.7, 3.0, 0.7));
    }
    // Only the second-order shelves use q2.
    expectIdentical(design(FilterType::peak, 900.0, 0.7, 0.4, 2.0),
                    design(FilterType::peak, 900.0, 0.7, 0.4));
}

TEST(DesignBiquad, UnknownTypeIsPlainGain) {
    for (int type : {13, 14, 1000, -1, -100})
        expectIdentical(design(static_cast<FilterType>(type), 1000.0, 1.0, 2.0), {2, 0, 0, 0, 0});
}

TEST(DesignFilter, ReferenceCalls) {
    struct Case {
        double frequency, q, gain, nyquistGain;
    };
    for (const Case& c : {Case{7310.0, 8.4, 37.0, 1.2930761776186142},
                          Case{14620.0, 5.0, 6.0, 1.2178742343028952}}) {
        const BiquadCoefficients p = peakingFilter(c.frequency, c.q, c.gain);
        EXPECT_NEAR(biquadMagnitude(p, c.frequency, fs), c.gain, c.gain * 1e-13);
        EXPECT_NEAR(biquadMagnitude(p, 0.0, fs), 1.0, 1e-14);
        const double nyquist = (p.b0 - p.b1 + p.b2) / (1.0 - p.a1 + p.a2);
        EXPECT_NEAR(nyquist, c.nyquistGain, 1e-14);
        // The Nyquist gain is the analog prototype's at π·fs.
        EXPECT_NEAR(analogPeak(c.frequency, c.q, c.gain, pi * fs), c.nyquistGain, 1e-12);
        // The design frequency is the top of the peak.
        EXPECT_LT(biquadMagnitude(p, c.frequency * 0.999, fs), c.gain);
        EXPECT_LT(biquadMagnitude(p, c.frequency * 1.001, fs), c.gain);
    }
}

TEST(DesignFilter, KeepsItsOrderOfOperations) {
    // Recorded from this design with a correctly rounded tan (glibc) after the checks above
    // passed. Below 0.4995·fs E0 is zero in exact arithmetic, so regrouping its powers moves
    // the 14620 Hz section by up to 29 ulps. MinGW's tan is one ulp off for that call's
    // argument, which moves it by up to 3 ulps.
    constexpr int64_t mathLibraryUlps = 3;
    struct Case {
        double frequency, q, gain;
        BiquadCoefficients expected;
    };
    for (const Case& c : {Case{7310.0,
                               8.4,
                               37.0,
                               {2.2768789503492362, -1.4080017477878088, -0.98002374086864219,
                                0.091667568518934692, 0.94056851194900459}},
                          Case{14620.0,
                               5.0,
                               6.0,
                               {1.4938878186530211, 0.78548806366048407, 0.887101951876344,
                                0.4276036526741574, 0.81987758311131853}}}) {
        const BiquadCoefficients p = peakingFilter(c.frequency, c.q, c.gain);
        EXPECT_LE(ulpDistance(p.b0, c.expected.b0), mathLibraryUlps) << c.frequency;
        EXPECT_LE(ulpDistance(p.b1, c.expected.b1), mathLibraryUlps) << c.frequency;
        EXPECT_LE(ulpDistance(p.a1, c.expected.a1), mathLibraryUlps) << c.frequency;
        EXPECT_LE(ulpDistance(p.b2, c.expected.b2), mathLibraryUlps) << c.frequency;
        EXPECT_LE(ulpDistance(p.a2, c.expected.a2), mathLibraryUlps) << c.frequency;
    }
}

TEST(DesignFilter, PeakAndNyquistAcrossRates) {
    for (double rate : {22050.0, 44100.0, 48000.0, 96000.0, 192000.0}) {
        for (double f : {500.0, 3000.0, 7310.0}) {
            const double q = 2.0, gain = 4.0;
            const BiquadCoefficients p = peakingFilter(f, q, gain, rate);
            EXPECT_NEAR(biquadMagnitude(p, f, rate), gain, 1e-11) << rate << " " << f;
            // Low f/fs leaves 1 + a1 + a2 small, so DC is evaluated with some cancellation.
            EXPECT_NEAR(biquadMagnitude(p, 0.0, rate), 1.0, 1e-11);
            EXPECT_NEAR(biquadMagnitude(p, rate / 2, rate), analogPeak(f, q, gain, pi * rate), 1e-9)
                << rate << " " << f;
        }
    }
}

TEST(DesignFilter, UnityGainIsAlmostFlat) {
    const BiquadCoefficients p = peakingFilter(7310.0, 8.4, 1.0);
    for (double f : {0.0, 1000.0, 7310.0, 15000.0, fs / 2}) {
        const double m = biquadMagnitude(p, f, fs);
        EXPECT_TRUE(std::isfinite(m));
        EXPECT_NEAR(m, 1.0, 2e-6) << f;
    }
    EXPECT_NEAR(biquadMagnitude(p, 7310.0, fs), 1.000001, 1e-12);
}

TEST(DesignFilter, CutIsInverseOfBoost) {
    const BiquadCoefficients boost = peakingFilter(7310.0, 8.4, 37.0);
    const BiquadCoefficients cut = peakingFilter(7310.0, 8.4, 1.0 / 37.0);
    ASSERT_EQ(1.0 / (1.0 / 37.0), 37.0); // so both designs see the same boost ratio
    const double r = 1.0 / boost.b0;
    expectIdentical(cut, {r, boost.a1 * r, boost.b1 * r, boost.a2 * r, boost.b2 * r});
    expectInverse(boost, cut, fs);
}

TEST(DesignFilter, PeakAboveLimitIsEvaluatedAtLimit) {
    // Above 0.4995·fs the analog peak is read at 0.999·π·fs and placed there.
    const double f = 0.4998 * fs, q = 1.5, gain = 3.0;
    const BiquadCoefficients p = peakingFilter(f, q, gain);
    const double top = 0.4995 * fs;
    const double expected = analogPeak(f, q, gain, 0.999 * pi * fs);
    EXPECT_LT(expected, gain);
    EXPECT_NEAR(biquadMagnitude(p, top, fs), expected, 1e-9);
    EXPECT_LT(biquadMagnitude(p, top * 0.99, fs), expected);
    EXPECT_NEAR(biquadMagnitude(p, 0.0, fs), 1.0, 1e-12);
}
