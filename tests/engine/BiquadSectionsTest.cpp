#include "engine/BiquadSections.h"
#include "engine/FilterDesign.h"

#include "BiquadResponse.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace SorvLib;
using SorvTest::cascadeResponse;

namespace {

using Roots = std::vector<std::complex<double>>;
constexpr double fs = 48000.0;
constexpr double pi = 3.14159265358979323846;

// Poles of the order-n Butterworth low-pass with corner w0 (rad/s), as exact conjugate pairs
// and, for odd orders, an exactly real pole.
Roots butterworthPoles(int order, double w0) {
    Roots poles;
    for (int k = 0; k < order / 2; ++k) {
        const std::complex<double> p = std::polar(w0, pi * (2.0 * k + order + 1) / (2.0 * order));
        poles.push_back(p);
        poles.push_back(std::conj(p));
    }
    if (order % 2 != 0)
        poles.push_back(-w0);
    return poles;
}

// The analog response at the frequency the bilinear transform (prewarped at f0) maps onto f.
std::complex<double> warpedAnalog(const Roots& zeros, const Roots& poles, double gain, double f,
                                  double f0) {
    const double K = 2.0 * pi * f0 / std::tan(pi * f0 / fs);
    const std::complex<double> s(0.0, K * std::tan(pi * f / fs));
    std::complex<double> h = gain;
    for (const auto& z : zeros)
        h *= s - z;
    for (const auto& p : poles)
        h /= s - p;
    return h;
}

void expectMatchesAnalog(const std::vector<BiquadCoefficients>& sections, const Roots& zeros,
                         const Roots& poles, double gain, double f0) {
    for (double f : {0.0, 100.0, 0.5 * f0, f0, 1.7 * f0, 9000.0, 20000.0}) {
        const std::complex<double> expected = warpedAnalog(zeros, poles, gain, f, f0);
        const std::complex<double> actual = cascadeResponse(sections, f, fs);
        EXPECT_NEAR(std::abs(actual - expected), 0.0, 1e-9 * std::max(1.0, std::abs(expected)))
            << f << " Hz";
    }
}

bool isAbsent(double realPart) {
    return std::isnan(realPart);
}

} // namespace

TEST(BilinearSection, MatchesTheDirectDesigns) {
    const double f0 = 1200.0, w0 = 2.0 * pi * f0;
    BiquadCoefficients mapped, direct;
    bilinearSection(mapped, fs, f0, {1.0, 0.0, 0.0}, {1.0, 1.0 / w0, 0.0});
    designBiquad(direct, FilterType::lowPass1, fs, f0, 1.0, 1.0, -1.0);
    EXPECT_NEAR(mapped.b0, direct.b0, 1e-15);
    EXPECT_NEAR(mapped.b1, direct.b1, 1e-15);
    EXPECT_NEAR(mapped.a1, direct.a1, 1e-15);
    EXPECT_EQ(mapped.b2, 0.0);
    EXPECT_EQ(mapped.a2, 0.0);

    const double q = 2.5;
    bilinearSection(mapped, fs, f0, {0.0, 0.0, 1.0}, {w0 * w0, w0 / q, 1.0}); // high-pass
    designBiquad(direct, FilterType::highPass, fs, f0, q, 1.0, -1.0);
    EXPECT_NEAR(mapped.b0, direct.b0, 1e-14);
    EXPECT_NEAR(mapped.b1, direct.b1, 1e-14);
    EXPECT_NEAR(mapped.a1, direct.a1, 1e-14);
    EXPECT_NEAR(mapped.b2, direct.b2, 1e-14);
    EXPECT_NEAR(mapped.a2, direct.a2, 1e-14);
}

TEST(BilinearSection, ConstantAndClamp) {
    BiquadCoefficients c;
    bilinearSection(c, fs, 1000.0, {3.0, 0.0, 0.0}, {2.0, 0.0, 0.0});
    EXPECT_EQ(c.b0, 1.5);
    EXPECT_EQ(c.b1, 0.0);
    EXPECT_EQ(c.a1, 0.0);

    BiquadCoefficients atLimit;
    bilinearSection(atLimit, fs, 0.4975 * fs, {1.0, 0.0, 0.0}, {1.0, 1e-4, 0.0});
    bilinearSection(c, fs, fs, {1.0, 0.0, 0.0}, {1.0, 1e-4, 0.0});
    EXPECT_EQ(c.b0, atLimit.b0);
    EXPECT_EQ(c.a1, atLimit.a1);
}

TEST(SectionPairing, ConjugatesStayTogether) {
    const Roots poles{{-1.0, 0.0}, {-3.0, 2.0}, {-2.0, 0.5}, {-3.0, -2.0}, {-2.0, -0.5}};
    const Roots zeros{{0.0, 5.0}, {0.0, -5.0}};
    std::vector<SectionRecord> records = pairRootsIntoSections(zeros, poles);
    ASSERT_EQ(records.size(), 3u);
    int singles = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const SectionRecord& r = records[i];
        if (i > 0) {
            EXPECT_LT(records[i - 1].key, r.key);
        }
        if (isAbsent(r.poles[2])) {
            ++singles;
            EXPECT_EQ(r.poles[0], -1.0);
            continue;
        }
        // Two poles: a conjugate pair.
        EXPECT_EQ(r.poles[0], r.poles[2]);
        EXPECT_EQ(r.poles[1], -r.poles[3]);
    }
    EXPECT_EQ(singles, 1);

    sortSections(records);
    // The single pole goes last, the rest stay in key order.
    EXPECT_TRUE(isAbsent(records[2].poles[2]));
    EXPECT_LT(records[0].key, records[1].key);
    EXPECT_TRUE(compareByNinthValue(records[0], records[1]));
    EXPECT_FALSE(compareByNinthValue(records[1], records[0]));
    // Every zero was placed once.
    int zerosPlaced = 0;
    for (const SectionRecord& r : records)
        zerosPlaced += !isAbsent(r.zeros[0]) + !isAbsent(r.zeros[2]);
    EXPECT_EQ(zerosPlaced, 2);
}

TEST(SectionPairing, NoRootsNoSections) {
    EXPECT_TRUE(pairRootsIntoSections({}, {}).empty());
    EXPECT_TRUE(zpkToBiquads({}, {}, 1.0, fs, 1000.0).empty());
}

TEST(ZpkToBiquads, ButterworthCascades) {
    const double f0 = 2000.0, w0 = 2.0 * pi * f0;
    for (int order : {2, 4, 5, 8}) {
        const Roots poles = butterworthPoles(order, w0);
        const double gain = std::pow(w0, order);
        const std::vector<BiquadCoefficients> sections = zpkToBiquads({}, poles, gain, fs, f0);
        ASSERT_EQ(sections.size(), static_cast<size_t>((order + 1) / 2));
        expectMatchesAnalog(sections, {}, poles, gain, f0);
        EXPECT_NEAR(std::abs(cascadeResponse(sections, f0, fs)), std::sqrt(0.5), 1e-12) << order;
        EXPECT_NEAR(std::abs(cascadeResponse(sections, 0.0, fs)), 1.0, 1e-12) << order;
        if (order % 2 != 0) {
            EXPECT_EQ(sections.back().a2, 0.0) << "first-order section last";
        }
    }
}

TEST(ZpkToBiquads, NumeratorsShareTheGain) {
    const Roots poles = butterworthPoles(6, 2.0 * pi * 500.0);
    const Roots zeros{{0.0, 20000.0}, {0.0, -20000.0}, {-100.0, 0.0}, {-300.0, 0.0}};
    const std::vector<BiquadCoefficients> sections = zpkToBiquads(zeros, poles, 1e9, fs, 500.0);
    ASSERT_EQ(sections.size(), 3u);
    const auto size = [](const BiquadCoefficients& c) {
        return std::fabs(c.b0) + std::fabs(c.b1) + std::fabs(c.b2);
    };
    for (const BiquadCoefficients& c : sections)
        EXPECT_NEAR(size(c), size(sections[0]), 1e-12 * size(sections[0]));
    expectMatchesAnalog(sections, zeros, poles, 1e9, 500.0);
}

TEST(TransferToBiquads, MatchesTheAnalogTransferFunction) {
    // −3·(s² + 4e8)(s + 5000) / ((s + 2000)(s² + 3000 s + 9e7)(s² + 800 s + 4e8)(s + 700)):
    // zeros on the axis, a negative leading ratio, an odd number of real poles.
    const Roots zeros{{0.0, 20000.0}, {0.0, -20000.0}, {-5000.0, 0.0}};
    const Roots poles{{-2000.0, 0.0},
                      {-1500.0, 9367.496997597597},
                      {-1500.0, -9367.496997597597},
                      {-400.0, 19995.99959991998},
                      {-400.0, -19995.99959991998},
                      {-700.0, 0.0}};
    // Ascending coefficients of ∏(s − r), r real or in conjugate pairs.
    const auto expand = [](const Roots& roots, double lead) {
        std::vector<std::complex<double>> c{lead};
        for (const auto& r : roots) {
            c.push_back(0.0);
            for (size_t i = c.size() - 1; i > 0; --i)
                c[i] = c[i - 1] - r * c[i];
            c[0] = -r * c[0];
        }
        std::vector<double> real;
        for (const auto& x : c)
            real.push_back(x.real());
        return real;
    };
    const std::vector<double> numerator = expand(zeros, -3.0);
    const std::vector<double> denominator = expand(poles, 1.0);

    Roots z, p;
    EXPECT_DOUBLE_EQ(zerosPolesGain(numerator, denominator, z, p), -3.0);
    EXPECT_EQ(z.size(), 3u);
    EXPECT_EQ(p.size(), 6u);

    const double f0 = 1500.0;
    const std::vector<BiquadCoefficients> sections =
        transferToBiquads(numerator, denominator, 2.0, fs, f0);
    ASSERT_EQ(sections.size(), 3u);
    expectMatchesAnalog(sections, zeros, poles, -6.0, f0);
}

TEST(ZpkToBiquads, ZeroGainIsSilenceNotNaN) {
    const std::vector<BiquadCoefficients> sections =
        zpkToBiquads({}, butterworthPoles(4, 2.0 * pi * 1000.0), 0.0, fs, 1000.0);
    ASSERT_EQ(sections.size(), 2u);
    for (const BiquadCoefficients& c : sections) {
        EXPECT_EQ(c.b0, 0.0);
        EXPECT_EQ(c.b1, 0.0);
        EXPECT_EQ(c.b2, 0.0);
        EXPECT_TRUE(std::isfinite(c.a1) && std::isfinite(c.a2));
    }
}
