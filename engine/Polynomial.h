#pragma once

#include <complex>
#include <vector>

namespace SorvLib {

// Polynomials are coefficient vectors in ascending powers: c[i] multiplies x^i.

// d[i] = (i + 1)·c[i + 1]: one coefficient fewer than c (none for a constant).
void polynomialDerivative(const std::vector<double>& c, std::vector<double>& d);

// The roots of c as the eigenvalues of its companion matrix; returns 1/leading coefficient.
// Zero leading coefficients are dropped first, so the degree m is that of the non-zero part and
// roots gets m entries; a polynomial that is all zero has no roots and returns infinity.
// Real roots come back with an imaginary part of exactly 0. Allocates.
double polynomialRoots(const std::vector<double>& c, std::vector<std::complex<double>>& roots);

// Power coefficients of sum t[k]·T_k(a·x), T_k the Chebyshev polynomials of the first kind:
// p[i] = a^i · (coefficient of x^i in sum t[k]·T_k(x)). Returns false, leaving p alone, when the
// degree t.size() − 1 is below 1. Allocates.
bool chebyshevToPolynomial(const std::vector<double>& t, double a, std::vector<double>& p);

// The stationary points of c nearest to zero on either side: the largest negative and the
// smallest positive real root of the derivative. Returns true when both exist; a missing one is
// reported as −infinity or +infinity. Allocates.
bool stationaryPointsAroundZero(const std::vector<double>& c, double& lower, double& upper);

} // namespace SorvLib
