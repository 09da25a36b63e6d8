#include "engine/WindowedSinc.h"

#include <cmath>

namespace SorvLib {

namespace {

constexpr double pi = 3.141592653589793;
constexpr double twoPi = 6.283185307179586;
constexpr double fourPi = 12.566370614359172;
constexpr double sixPi = 18.84955592153876;
constexpr double doubleEpsilon = 2.220446049250313e-16;

// Blackman–Nuttall terms: side lobes below −98 dB.
constexpr double nuttall0 = 0.3635819;
constexpr double nuttall1 = 0.4891775;
constexpr double nuttall2 = 0.1365995;
constexpr double nuttall3 = 0.0106411;

// T_order(x), through cosh/arccosh where |x| > 1 and cos/arccos inside.
double chebyshevPolynomial(int order, double x) {
    if (std::fabs(x) <= 1.0)
        return std::cos(order * std::acos(x));
    if (x > 1.0)
        return std::cosh(order * std::acosh(x));
    const double sign = (order % 2 != 0) ? -1.0 : 1.0;
    return sign * std::cosh(order * std::acosh(-x));
}

// The window's cosine series at offset m from the centre, before normalisation.
double chebyshevSeries(double m, int N, double sideLobeRatio, double x0) {
    double sum = 0.0;
    for (int k = 1; k <= (N - 1) / 2; ++k) {
        sum += chebyshevPolynomial(N - 1, x0 * std::cos(pi * k / N)) * std::cos(twoPi * k * m / N);
    }
    return sideLobeRatio + 2.0 * sum;
}

double omegaFor(int phases, double cutoff) {
    return phases == 1 ? pi : cutoff * pi / phases;
}

} // namespace

double hannWindow(double n, int N) {
    if (N < 1 || !(n >= 0.0 && n <= N))
        return 0.0;
    return (1.0 - std::cos(twoPi * n / N)) * 0.5;
}

double blackmanNuttallWindow(double n, int N) {
    if (!(n >= 0.0 && n <= N - 1))
        return 0.0;
    // A window of one sample has no period to divide by; it is all centre.
    if (N == 1)
        return 1.0;
    const double span = N - 1;
    return nuttall0 - nuttall1 * std::cos(twoPi * n / span) +
           nuttall2 * std::cos(fourPi * n / span) - nuttall3 * std::cos(sixPi * n / span);
}

double chebyshevWindow(double n, int N, double sideLobeRatio) {
    if (!(n >= 0.0 && n <= N - 1))
        return 0.0;
    if (N == 1)
        return 1.0;
    const double x0 = std::cosh(std::acosh(sideLobeRatio) / (N - 1));
    const double centre = (N - 1) * 0.5;
    return chebyshevSeries(n - centre, N, sideLobeRatio, x0) /
           chebyshevSeries(0.0, N, sideLobeRatio, x0);
}

double sinc(double x) {
    if (std::fabs(x) <= doubleEpsilon)
        return 1.0;
    return std::sin(x) / x;
}

void designPolyphaseSinc(std::vector<std::vector<double>>& out, int halfLength, int phases,
                         double cutoff, const WindowFunction& window) {
    const double omega = omegaFor(phases, cutoff);
    const int length = 2 * halfLength * phases + 1;
    const double centre = static_cast<double>(halfLength) * phases;
    const int taps = 2 * halfLength + 1;
    out.assign(static_cast<size_t>(phases), std::vector<double>(static_cast<size_t>(taps), 0.0));
    for (int p = 0; p < phases; ++p) {
        for (int i = 0; i < taps; ++i) {
            const double n = p + static_cast<double>(i) * phases;
            out[static_cast<size_t>(p)][static_cast<size_t>(i)] =
                window(n, length) * phases * (omega / pi) * sinc((n - centre) * omega);
        }
    }
}

void designWindowedSinc(std::vector<double>& out, int halfLength, int phases, double cutoff,
                        const WindowFunction& window) {
    const double omega = omegaFor(phases, cutoff);
    const int length = 2 * halfLength * phases + 1;
    const double centre = static_cast<double>(halfLength) * phases;
    out.assign(static_cast<size_t>(length), 0.0);
    for (int n = 0; n < length; ++n)
        out[static_cast<size_t>(n)] = window(n, length) * (omega / pi) * sinc((n - centre) * omega);
}

} // namespace SorvLib
