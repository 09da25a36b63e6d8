#include "engine/Polynomial.h"

#include <Eigen/Dense>
#include <Eigen/Eigenvalues>
#include <limits>

namespace SorvLib {

void polynomialDerivative(const std::vector<double>& c, std::vector<double>& d) {
    const size_t n = c.empty() ? 0 : c.size() - 1;
    d.resize(n);
    for (size_t i = 0; i < n; ++i)
        d[i] = static_cast<double>(i + 1) * c[i + 1];
}

double polynomialRoots(const std::vector<double>& c, std::vector<std::complex<double>>& roots) {
    // A zero leading coefficient would put infinities into the companion matrix; the
    // polynomial simply has a lower degree.
    size_t m = c.size();
    while (m > 0 && c[m - 1] == 0.0)
        --m;
    roots.clear();
    if (m == 0)
        return std::numeric_limits<double>::infinity();
    --m;
    const double leading = c[m];
    if (m == 0)
        return 1.0 / leading;

    const Eigen::Index size = static_cast<Eigen::Index>(m);
    Eigen::MatrixXd companion = Eigen::MatrixXd::Zero(size, size);
    for (Eigen::Index i = 1; i < size; ++i)
        companion(i, i - 1) = 1.0;
    for (Eigen::Index i = 0; i < size; ++i)
        companion(i, size - 1) = -c[static_cast<size_t>(i)] / leading;

    const Eigen::EigenSolver<Eigen::MatrixXd> solver(companion, false);
    const Eigen::VectorXcd& values = solver.eigenvalues();
    roots.reserve(m);
    for (Eigen::Index i = 0; i < values.size(); ++i)
        roots.push_back(values[i]);
    return 1.0 / leading;
}

bool chebyshevToPolynomial(const std::vector<double>& t, double a, std::vector<double>& p) {
    if (t.size() < 2)
        return false;
    const size_t n = t.size() - 1;

    // Three rows of power coefficients: T(k−1), T(k) and the one being built.
    std::vector<double> previous(n + 1, 0.0), current(n + 1, 0.0), next(n + 1, 0.0);
    std::vector<double> sum(n + 1, 0.0);
    previous[0] = 1.0;
    current[1] = 1.0;
    sum[0] = t[0];
    for (size_t k = 1; k <= n; ++k) {
        for (size_t i = 0; i <= k; ++i)
            sum[i] += t[k] * current[i];
        if (k == n)
            break;
        next[0] = -previous[0];
        for (size_t i = 1; i <= k + 1; ++i)
            next[i] = 2.0 * current[i - 1] - previous[i];
        previous.swap(current);
        current.swap(next);
    }

    double power = 1.0;
    for (size_t i = 0; i <= n; ++i) {
        sum[i] *= power;
        power *= a;
    }
    p.swap(sum);
    return true;
}

bool stationaryPointsAroundZero(const std::vector<double>& c, double& lower, double& upper) {
    std::vector<double> derivative;
    polynomialDerivative(c, derivative);
    std::vector<std::complex<double>> roots;
    polynomialRoots(derivative, roots);

    lower = -std::numeric_limits<double>::infinity();
    upper = std::numeric_limits<double>::infinity();
    for (const std::complex<double>& root : roots) {
        if (root.imag() != 0.0)
            continue;
        const double x = root.real();
        if (x < 0.0 && x > lower)
            lower = x;
        if (x > 0.0 && x < upper)
            upper = x;
    }
    return lower != -std::numeric_limits<double>::infinity() &&
           upper != std::numeric_limits<double>::infinity();
}

} // namespace SorvLib
