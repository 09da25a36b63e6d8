#include "engine/FilterDesign.h"

#include <algorithm>
#include <cmath>

namespace SorvLib {

namespace {

constexpr double twoPi = 6.283185307179586;
// Highest design frequency of designBiquad, as a fraction of the sample rate: close enough to
// Nyquist for any use, far enough that the prewarped sections stay well conditioned.
constexpr double maxFrequencyRatio = 0.4975;

// designFilter: the smallest boost it designs, so that Gpk − 1 never vanishes.
constexpr double minBoost = 1.000001;
// 0.999·π: the analog peak is evaluated no higher than this many radians per sample.
constexpr double maxPeakOmega = 3.1384510609362035;
constexpr double piSquared = 9.869604401089358;
constexpr double twoPiSquared = 39.47841760435743;
constexpr double twoPiFourth = 1558.5454565440389;
// π⁴ with two different last digits in the numerator and denominator of the Nyquist gain;
// both are kept, since either change moves the design's bits.
constexpr double piFourthNumerator = 97.40909103400242;
constexpr double piFourthDenominator = 97.40909103400243;
// Keeps the Nyquist gain just below the peak gain, so Gpk² − GN² stays positive.
constexpr double nyquistGainMargin = 0.999999;

} // namespace

void designBiquad(BiquadCoefficients& out, FilterType type, double sampleRate, double frequency,
                  double q, double gain, double q2) {
    const double shelfGain = gain > 1.0 ? gain : 1.0 / gain;
    const bool cut = gain < 1.0;

    double f = frequency;
    const double maxFrequency = maxFrequencyRatio * sampleRate;
    if (!(frequency < maxFrequency))
        f = maxFrequency;

    const double w = f * twoPi / sampleRate;
    const double s = std::sin(w);
    const double c = std::cos(w);
    const double A = std::sqrt(gain);

    // A cutting second-order shelf mirrors its boost: the two Qs trade places.
    const bool swapQ =
        cut && q2 > 0.0 && (type == FilterType::lowShelf || type == FilterType::highShelf);
    const double qDenominator = swapQ ? q2 : q;
    const double qNumerator = swapQ ? q : q2;
    const double alpha = (0.5 / qDenominator) * s;
    const double alphaN = qNumerator > 0.0 ? (0.5 / qNumerator) * s : alpha;

    double b0 = 1.0, b1 = 0.0, b2 = 0.0;
    double a0 = 1.0, a1 = 0.0, a2 = 0.0;
    double g = gain;

    switch (type) {
    case FilterType::lowPass1:
        b0 = s;
        b1 = s;
        a0 = s + 1.0 + c;
        a1 = s - 1.0 - c;
        break;
    case FilterType::highPass1:
        b0 = 1.0 + c;
        b1 = -1.0 - c;
        a0 = s + 1.0 + c;
        a1 = s - 1.0 - c;
        break;
    case FilterType::lowShelf1:
    case FilterType::highShelf1: {
        const double onePlusC = 1.0 + c;
        if (type == FilterType::lowShelf1) {
            b0 = s * shelfGain + onePlusC;
            b1 = s * shelfGain - onePlusC;
        } else {
            b0 = onePlusC * shelfGain + s;
            b1 = s - onePlusC * shelfGain;
        }
        a0 = onePlusC + s;
        a1 = s - onePlusC;
        // The cut is the exact inverse of the boost by the same G.
        if (cut) {
            std::swap(b0, a0);
            std::swap(b1, a1);
        }
        g = 1.0;
        break;
    }
    case FilterType::allPass1: {
        const double onePlusC = 1.0 + c;
        b0 = s - onePlusC;
        b1 = onePlusC + s;
        a0 = onePlusC + s;
        a1 = s - onePlusC;
        break;
    }
    case FilterType::lowPass:
        b0 = (1.0 - c) * 0.5;
        b1 = 1.0 - c;
        b2 = (1.0 - c) * 0.5;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case FilterType::highPass:
        b0 = (1.0 + c) * 0.5;
        b1 = -(1.0 + c);
        b2 = (1.0 + c) * 0.5;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case FilterType::bandPass:
        b0 = alpha;
        b1 = 0.0;
        b2 = -alpha;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case FilterType::notch:
        b0 = 1.0;
        b1 = -2.0 * c;
        b2 = 1.0;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case FilterType::allPass:
        b0 = 1.0 - alpha;
        b1 = -2.0 * c;
        b2 = 1.0 + alpha;
        a0 = 1.0 + alpha;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha;
        break;
    case FilterType::lowShelf:
    case FilterType::highShelf: {
        const double twoSqrtA = 2.0 * std::sqrt(A);
        const double Ap1 = A + 1.0;
        const double Am1 = A - 1.0;
        if (type == FilterType::lowShelf) {
            b0 = A * (Ap1 - Am1 * c + twoSqrtA * alphaN);
            b1 = 2.0 * A * (Am1 - Ap1 * c);
            b2 = A * (Ap1 - Am1 * c - twoSqrtA * alphaN);
            a0 = Ap1 + Am1 * c + twoSqrtA * alpha;
            a1 = -2.0 * (Am1 + Ap1 * c);
            a2 = Ap1 + Am1 * c - twoSqrtA * alpha;
        } else {
            b0 = A * (Ap1 + Am1 * c + twoSqrtA * alphaN);
            b1 = -2.0 * A * (Am1 + Ap1 * c);
            b2 = A * (Ap1 + Am1 * c - twoSqrtA * alphaN);
            a0 = Ap1 - Am1 * c + twoSqrtA * alpha;
            a1 = 2.0 * (Am1 - Ap1 * c);
            a2 = Ap1 - Am1 * c - twoSqrtA * alpha;
        }
        g = 1.0;
        break;
    }
    case FilterType::peak:
        b0 = 1.0 + alpha * A;
        b1 = -2.0 * c;
        b2 = 1.0 - alpha * A;
        a0 = 1.0 + alpha / A;
        a1 = -2.0 * c;
        a2 = 1.0 - alpha / A;
        g = 1.0;
        break;
    default:
        break;
    }

    const double inv = 1.0 / a0;
    out.b0 = b0 * g * inv;
    out.b1 = b1 * g * inv;
    out.a1 = a1 * inv;
    out.b2 = b2 * g * inv;
    out.a2 = a2 * inv;
}

void designFilter(BiquadCoefficients& out, double sampleRate, double frequency, double q,
                  double gain) {
    const double W = twoPi * frequency;

    double Gm = gain >= 1.0 ? gain : 1.0 / gain;
    if (!(Gm > minBoost))
        Gm = minBoost;

    const double Wc = std::min(W, maxPeakOmega * sampleRate);

    // Every power is formed once and reused: below 0.4995·sampleRate E0 is zero in exact
    // arithmetic, so its rounding (and the whole design) depends on this grouping.
    const double twoQ = 2.0 * q;
    const double q4 = twoQ * twoQ;
    const double frequency2 = frequency * frequency;
    const double frequency4 = frequency2 * frequency2;
    const double Wc2 = Wc * Wc;
    const double Wc4 = Wc2 * Wc2;
    const double Gm2 = Gm * Gm;
    const double P = twoPiSquared * frequency2;
    const double E0 = q4 * Wc4 - 2.0 * Wc2 * q4 * P + q4 * twoPiFourth * frequency4;

    const double Gpk2 = (P * Wc2 * Gm2 + E0) / (P * Wc2 + E0);
    const double Gpk = std::sqrt(Gpk2);

    const double t = std::tan(Wc * (0.5 / sampleRate));

    const double twoQ4 = 2.0 * q4;
    const double fourQ4 = 4.0 * q4;
    const double X = 2.0 *
                     ((twoQ4 * Gpk + Gm2 - Gpk - twoQ4) -
                      std::sqrt((fourQ4 * Gpk - Gpk - fourQ4 + Gm2) * (Gm2 - Gpk))) /
                     (Gpk - 1.0);
    const double tb = std::tan(std::sqrt(X) * W * (0.5 / twoQ) * (0.5 / sampleRate));

    const double F = sampleRate * sampleRate;
    const double F2 = F * F;
    const double N = q4 * piFourthNumerator * F2 - twoQ4 * piSquared * P * F +
                     q4 * twoPiFourth * frequency4 + piSquared * F * P * Gm2;
    const double D = q4 * piFourthDenominator * F2 - twoQ4 * piSquared * P * F +
                     q4 * twoPiFourth * frequency4 + piSquared * F * P;
    const double GN = std::min(std::sqrt(N / D), (Gpk - 1.0) * nyquistGainMargin + 1.0);

    const double t2 = t * t;
    const double GN2 = GN * GN;
    const double W2 = t2 * std::sqrt((Gpk2 - GN2) / (Gpk2 - 1.0));
    const double Dt = 2.0 * W2 * ((Gpk2 - GN) - std::sqrt((Gpk2 - 1.0) * (Gpk2 - GN2)));

    const double tb2 = tb * tb;
    const double edge = tb2 - W2;
    const double edgeN = tb2 * GN - W2;
    const double A2 = (edge * edge * Gpk - edgeN * edgeN + tb2 * Dt) / ((Gpk2 - Gpk) * tb2);
    const double Aa = std::sqrt(A2);
    const double Bb = std::sqrt(Gpk2 * A2 - Dt);

    const double inv = 1.0 / (W2 + 1.0 + Aa);
    const double b0 = (GN + W2 + Bb) * inv;
    const double b1 = -2.0 * (GN - W2) * inv;
    const double b2 = (GN - Bb + W2) * inv;
    const double a1 = -2.0 * (1.0 - W2) * inv;
    const double a2 = (W2 + 1.0 - Aa) * inv;

    if (gain < 1.0) {
        const double r = 1.0 / b0;
        out = BiquadCoefficients{r, a1 * r, b1 * r, a2 * r, b2 * r};
    } else {
        out = BiquadCoefficients{b0, b1, a1, b2, a2};
    }
}

} // namespace SorvLib
