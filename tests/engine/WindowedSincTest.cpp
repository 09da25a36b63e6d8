#include "engine/WindowedSinc.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numeric>

using namespace SorvLib;

namespace {

constexpr double pi = 3.14159265358979323846;

// |sum w[n]·e^(−jωn)|
double dtftMagnitude(const std::vector<double>& w, double omega) {
    std::complex<double> sum = 0.0;
    for (size_t n = 0; n < w.size(); ++n)
        sum += w[n] * std::polar(1.0, -omega * static_cast<double>(n));
    return std::abs(sum);
}

std::vector<double> sampled(const WindowFunction& window, int N) {
    std::vector<double> w(static_cast<size_t>(N));
    for (int n = 0; n < N; ++n)
        w[static_cast<size_t>(n)] = window(n, N);
    return w;
}

} // namespace

TEST(Windows, Hann) {
    const int N = 16;
    EXPECT_EQ(hannWindow(0.0, N), 0.0);
    EXPECT_EQ(hannWindow(N / 2, N), 1.0);
    EXPECT_NEAR(hannWindow(N, N), 0.0, 1e-15);
    EXPECT_NEAR(hannWindow(N / 4, N), 0.5, 1e-15);
    for (double n = 0.0; n <= N; n += 0.75)
        EXPECT_NEAR(hannWindow(n, N), hannWindow(N - n, N), 1e-15) << n;
    EXPECT_EQ(hannWindow(-0.5, N), 0.0);
    EXPECT_EQ(hannWindow(N + 0.5, N), 0.0);
}

TEST(Windows, BlackmanNuttall) {
    const int N = 33;
    EXPECT_NEAR(blackmanNuttallWindow(16.0, N), 1.0, 1e-15);
    EXPECT_NEAR(blackmanNuttallWindow(0.0, N), 0.0003628, 1e-15);
    for (int n = 0; n < N; ++n)
        EXPECT_NEAR(blackmanNuttallWindow(n, N), blackmanNuttallWindow(N - 1 - n, N), 1e-15);
    EXPECT_EQ(blackmanNuttallWindow(-1.0, N), 0.0);
    EXPECT_EQ(blackmanNuttallWindow(N, N), 0.0);
    EXPECT_EQ(blackmanNuttallWindow(0.0, 1), 1.0);
}

TEST(Windows, ChebyshevHasEqualSideLobesAtTheRatio) {
    const int N = 31;
    const double ratio = 1000.0; // 60 dB
    const std::vector<double> w =
        sampled([ratio](double n, int length) { return chebyshevWindow(n, length, ratio); }, N);
    EXPECT_NEAR(w[15], 1.0, 1e-14);
    for (int n = 0; n < N; ++n)
        EXPECT_NEAR(w[static_cast<size_t>(n)], w[static_cast<size_t>(N - 1 - n)], 1e-14);

    // Past the main lobe the spectrum ripples at exactly 1/ratio of its peak.
    const double x0 = std::cosh(std::acosh(ratio) / (N - 1));
    const double mainLobe = 2.0 * std::acos(1.0 / x0);
    const double peak = dtftMagnitude(w, 0.0);
    double highest = 0.0;
    for (double omega = mainLobe * 1.02; omega <= pi; omega += 1e-4)
        highest = std::max(highest, dtftMagnitude(w, omega) / peak);
    EXPECT_NEAR(highest, 1.0 / ratio, 1e-3 / ratio);

    EXPECT_EQ(chebyshevWindow(-1.0, N, ratio), 0.0);
    EXPECT_EQ(chebyshevWindow(N, N, ratio), 0.0);
    EXPECT_EQ(chebyshevWindow(0.0, 1, ratio), 1.0);
}

TEST(Sinc, ValuesAndOrigin) {
    EXPECT_EQ(sinc(0.0), 1.0);
    EXPECT_EQ(sinc(2.220446049250313e-16), 1.0);
    EXPECT_EQ(sinc(-2.220446049250313e-16), 1.0);
    EXPECT_NEAR(sinc(pi), 0.0, 1e-16);
    EXPECT_NEAR(sinc(pi / 2), 2.0 / pi, 1e-16);
    EXPECT_EQ(sinc(-1.3), sinc(1.3));
}

TEST(WindowedSinc, LowPassWithUnitDcGain) {
    std::vector<double> taps;
    const int h = 8, P = 4;
    designWindowedSinc(taps, h, P, 1.0, blackmanNuttallWindow); // cutoff at fs/8
    ASSERT_EQ(taps.size(), static_cast<size_t>(2 * h * P + 1));
    for (size_t n = 0; n < taps.size(); ++n)
        EXPECT_NEAR(taps[n], taps[taps.size() - 1 - n], 1e-15);
    EXPECT_NEAR(std::accumulate(taps.begin(), taps.end(), 0.0), 1.0, 1e-5);
    EXPECT_NEAR(dtftMagnitude(taps, 0.5 * pi / P), 1.0, 1e-3); // pass band
    EXPECT_LT(dtftMagnitude(taps, 2.0 * pi / P), 1e-4);        // stop band

    // One phase is no resampling: the unit impulse.
    designWindowedSinc(taps, h, 1, 0.5, blackmanNuttallWindow);
    ASSERT_EQ(taps.size(), static_cast<size_t>(2 * h + 1));
    for (size_t n = 0; n < taps.size(); ++n)
        EXPECT_NEAR(taps[n], n == static_cast<size_t>(h) ? 1.0 : 0.0, 1e-16);
}

TEST(WindowedSinc, PolyphaseRowsAreTheInterleavedFilter) {
    const int h = 6, P = 3;
    const double cutoff = 0.9;
    std::vector<double> taps;
    std::vector<std::vector<double>> rows;
    designWindowedSinc(taps, h, P, cutoff, hannWindow);
    designPolyphaseSinc(rows, h, P, cutoff, hannWindow);
    ASSERT_EQ(rows.size(), static_cast<size_t>(P));
    for (int p = 0; p < P; ++p) {
        const std::vector<double>& row = rows[static_cast<size_t>(p)];
        ASSERT_EQ(row.size(), static_cast<size_t>(2 * h + 1));
        for (int i = 0; i <= 2 * h; ++i) {
            const size_t n = static_cast<size_t>(p + i * P);
            const double expected = n < taps.size() ? P * taps[n] : 0.0;
            EXPECT_NEAR(row[static_cast<size_t>(i)], expected, 1e-15) << p << " " << i;
        }
        // Each phase passes DC at unit gain.
        EXPECT_NEAR(std::accumulate(row.begin(), row.end(), 0.0), 1.0, 5e-3) << p;
    }
}
