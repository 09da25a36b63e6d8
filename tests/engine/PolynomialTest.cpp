#include "engine/Polynomial.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace SorvLib;

namespace {

using Roots = std::vector<std::complex<double>>;

Roots sortedRoots(const std::vector<double>& c, double* result = nullptr) {
    Roots roots;
    const double r = polynomialRoots(c, roots);
    if (result)
        *result = r;
    std::sort(roots.begin(), roots.end(), [](auto a, auto b) {
        return a.real() != b.real() ? a.real() < b.real() : a.imag() < b.imag();
    });
    return roots;
}

} // namespace

TEST(Polynomial, Derivative) {
    std::vector<double> d;
    polynomialDerivative({5.0, -1.0, 3.0, 2.0}, d); // 5 − x + 3x² + 2x³
    EXPECT_EQ(d, (std::vector<double>{-1.0, 6.0, 6.0}));
    polynomialDerivative({7.0}, d);
    EXPECT_TRUE(d.empty());
}

TEST(Polynomial, RootsOfKnownPolynomials) {
    double result = 0.0;
    // 2·(x − 1)(x − 2)(x − 3)
    Roots r = sortedRoots({-12.0, 22.0, -12.0, 2.0}, &result);
    EXPECT_EQ(result, 0.5);
    ASSERT_EQ(r.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(r[static_cast<size_t>(i)].real(), i + 1.0, 1e-12);
        EXPECT_EQ(r[static_cast<size_t>(i)].imag(), 0.0);
    }

    // x² + 2x + 5 = (x + 1 − 2i)(x + 1 + 2i): an exact conjugate pair.
    r = sortedRoots({5.0, 2.0, 1.0});
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0].real(), -1.0, 1e-14);
    EXPECT_NEAR(r[0].imag(), -2.0, 1e-14);
    EXPECT_EQ(r[1], std::conj(r[0]));

    // x⁴ − 1
    r = sortedRoots({-1.0, 0.0, 0.0, 0.0, 1.0});
    ASSERT_EQ(r.size(), 4u);
    for (const auto& root : r)
        EXPECT_NEAR(std::abs(root), 1.0, 1e-14);
}

TEST(Polynomial, RootsIgnoreZeroLeadingCoefficients) {
    double result = 0.0;
    Roots r = sortedRoots({-6.0, 3.0, 0.0, 0.0}, &result); // 3x − 6
    EXPECT_EQ(result, 1.0 / 3.0);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_NEAR(r[0].real(), 2.0, 1e-15);

    r = sortedRoots({4.0}, &result);
    EXPECT_TRUE(r.empty());
    EXPECT_EQ(result, 0.25);
    r = sortedRoots({0.0, 0.0}, &result);
    EXPECT_TRUE(r.empty());
    EXPECT_TRUE(std::isinf(result));
}

TEST(Polynomial, ChebyshevToPolynomial) {
    std::vector<double> p;
    ASSERT_TRUE(chebyshevToPolynomial({0.0, 0.0, 0.0, 1.0}, 1.0, p)); // T3 = 4x³ − 3x
    EXPECT_EQ(p, (std::vector<double>{0.0, -3.0, 0.0, 4.0}));
    ASSERT_TRUE(chebyshevToPolynomial({0.0, 0.0, 0.0, 1.0}, 2.0, p)); // T3(2x)
    EXPECT_EQ(p, (std::vector<double>{0.0, -6.0, 0.0, 32.0}));

    // sum t[k]·T_k(cos θ) = sum t[k]·cos(kθ)
    const std::vector<double> t{0.5, -1.25, 2.0, 0.75, -0.5, 0.125};
    ASSERT_TRUE(chebyshevToPolynomial(t, 1.0, p));
    ASSERT_EQ(p.size(), t.size());
    for (double theta : {0.1, 0.7, 1.9, 3.0}) {
        double series = 0.0, poly = 0.0;
        for (size_t k = 0; k < t.size(); ++k)
            series += t[k] * std::cos(static_cast<double>(k) * theta);
        for (size_t i = p.size(); i > 0; --i)
            poly = poly * std::cos(theta) + p[i - 1];
        EXPECT_NEAR(poly, series, 1e-13) << theta;
    }

    p = {9.0};
    EXPECT_FALSE(chebyshevToPolynomial({1.0}, 1.0, p));
    EXPECT_EQ(p, std::vector<double>{9.0});
}

TEST(Polynomial, StationaryPointsAroundZero) {
    double lower = 0.0, upper = 0.0;
    // x⁴/4 − 5x²/2: stationary at −√5, 0 (an exact root of the derivative, neither side), √5.
    EXPECT_TRUE(stationaryPointsAroundZero({0.0, 0.0, -2.5, 0.0, 0.25}, lower, upper));
    EXPECT_NEAR(lower, -std::sqrt(5.0), 1e-13);
    EXPECT_NEAR(upper, std::sqrt(5.0), 1e-13);

    // (x − 1)(x − 2)(x − 3)(x − 4) has all its stationary points on the positive side.
    EXPECT_FALSE(stationaryPointsAroundZero({24.0, -50.0, 35.0, -10.0, 1.0}, lower, upper));
    EXPECT_TRUE(std::isinf(lower));
    EXPECT_GT(upper, 1.0);
    EXPECT_LT(upper, 2.0);

    // x³/3 + x: derivative x² + 1 has only complex roots.
    EXPECT_FALSE(stationaryPointsAroundZero({0.0, 1.0, 0.0, 1.0 / 3.0}, lower, upper));
    EXPECT_TRUE(std::isinf(lower) && std::isinf(upper));
}
