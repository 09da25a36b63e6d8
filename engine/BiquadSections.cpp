#include "engine/BiquadSections.h"

#include "engine/Polynomial.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace SorvLib {

namespace {

constexpr double pi = 3.141592653589793;
constexpr double twoPi = 6.283185307179586;
constexpr double maxFrequencyRatio = 0.4975;

using Roots = std::vector<std::complex<double>>;

bool absent(double realPart) {
    return std::isnan(realPart);
}

double leadingCoefficient(const std::vector<double>& c) {
    for (size_t i = c.size(); i > 0; --i) {
        if (c[i - 1] != 0.0)
            return c[i - 1];
    }
    return 0.0;
}

// The untaken root nearest to point among those that pass accept; −1 when there is none.
template <typename Accept>
int nearestRoot(const Roots& roots, const std::vector<bool>& taken, std::complex<double> point,
                Accept accept) {
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < roots.size(); ++i) {
        if (taken[i] || !accept(roots[i]))
            continue;
        const double distance = std::abs(roots[i] - point);
        if (best < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

// Takes up to two roots for one record: a conjugate pair when one is left, else real roots;
// whatever is left over once those run out (an unpaired complex root) still gets used.
void takeTwo(const Roots& roots, std::vector<bool>& taken, double key, double (&slot)[4]) {
    const std::complex<double> point(key, 0.0);
    const auto any = [](std::complex<double>) { return true; };
    const auto isReal = [](std::complex<double> r) { return r.imag() == 0.0; };

    int first =
        nearestRoot(roots, taken, point, [](std::complex<double> r) { return r.imag() > 0.0; });
    int second = -1;
    if (first >= 0) {
        taken[static_cast<size_t>(first)] = true;
        second =
            nearestRoot(roots, taken, point, [](std::complex<double> r) { return r.imag() < 0.0; });
        if (second < 0)
            second = nearestRoot(roots, taken, point, any);
    } else {
        first = nearestRoot(roots, taken, point, isReal);
        if (first < 0)
            first = nearestRoot(roots, taken, point, any);
        if (first >= 0) {
            taken[static_cast<size_t>(first)] = true;
            second = nearestRoot(roots, taken, point, isReal);
            if (second < 0)
                second = nearestRoot(roots, taken, point, any);
        }
    }
    if (second >= 0)
        taken[static_cast<size_t>(second)] = true;

    const int picked[2] = {first, second};
    for (int j = 0; j < 2; ++j) {
        if (picked[j] >= 0) {
            slot[2 * j] = roots[static_cast<size_t>(picked[j])].real();
            slot[2 * j + 1] = roots[static_cast<size_t>(picked[j])].imag();
        } else {
            slot[2 * j] = std::numeric_limits<double>::quiet_NaN();
            slot[2 * j + 1] = 0.0;
        }
    }
}

// The monic polynomial with the (one or two) roots of slot, ascending; 1 when there are none.
std::array<double, 3> sectionPolynomial(const double (&slot)[4]) {
    const std::complex<double> r1(slot[0], slot[1]);
    const std::complex<double> r2(slot[2], slot[3]);
    if (absent(slot[0]))
        return {1.0, 0.0, 0.0};
    if (absent(slot[2]))
        return {-r1.real(), 1.0, 0.0};
    return {(r1 * r2).real(), -(r1 + r2).real(), 1.0};
}

bool singleRoot(const double (&slot)[4]) {
    return !absent(slot[0]) && absent(slot[2]);
}

} // namespace

void bilinearSection(BiquadCoefficients& out, double sampleRate, double frequency,
                     const std::array<double, 3>& n, const std::array<double, 3>& d) {
    double f = frequency;
    const double maxFrequency = maxFrequencyRatio * sampleRate;
    if (!(frequency < maxFrequency))
        f = maxFrequency;
    const double K = twoPi * f / std::tan(pi * f / sampleRate);

    double b0 = n[0], b1 = 0.0, b2 = 0.0;
    double a0 = d[0], a1 = 0.0, a2 = 0.0;
    if (n[2] != 0.0 || d[2] != 0.0) {
        const double K2 = K * K;
        b0 = n[0] + n[1] * K + n[2] * K2;
        b1 = 2.0 * (n[0] - n[2] * K2);
        b2 = n[0] - n[1] * K + n[2] * K2;
        a0 = d[0] + d[1] * K + d[2] * K2;
        a1 = 2.0 * (d[0] - d[2] * K2);
        a2 = d[0] - d[1] * K + d[2] * K2;
    } else if (n[1] != 0.0 || d[1] != 0.0) {
        b0 = n[0] + n[1] * K;
        b1 = n[0] - n[1] * K;
        a0 = d[0] + d[1] * K;
        a1 = d[0] - d[1] * K;
    }
    const double inv = 1.0 / a0;
    out = BiquadCoefficients{b0 * inv, b1 * inv, a1 * inv, b2 * inv, a2 * inv};
}

std::vector<SectionRecord> pairRootsIntoSections(const Roots& zeros, const Roots& poles) {
    const size_t count = std::max((zeros.size() + 1) / 2, (poles.size() + 1) / 2);
    std::vector<SectionRecord> records;
    if (count == 0)
        return records;

    double lowest = std::numeric_limits<double>::infinity();
    double highest = -std::numeric_limits<double>::infinity();
    for (const Roots* roots : {&zeros, &poles}) {
        for (const std::complex<double>& root : *roots) {
            lowest = std::min(lowest, root.real());
            highest = std::max(highest, root.real());
        }
    }
    const double range = highest - lowest;

    std::vector<bool> zeroTaken(zeros.size(), false);
    std::vector<bool> poleTaken(poles.size(), false);
    records.resize(count);
    for (size_t k = 0; k < count; ++k) {
        SectionRecord& record = records[k];
        record.key = lowest + static_cast<double>(k + 1) * range / static_cast<double>(count + 1);
        takeTwo(poles, poleTaken, record.key, record.poles);
        takeTwo(zeros, zeroTaken, record.key, record.zeros);
    }
    return records;
}

bool compareByNinthValue(const SectionRecord& a, const SectionRecord& b) {
    return a.key < b.key;
}

void sortSections(std::vector<SectionRecord>& records) {
    // Stable, so records with equal keys (all roots on one vertical line) keep their order.
    std::stable_sort(records.begin(), records.end(), compareByNinthValue);
    const auto odd = std::find_if(records.begin(), records.end(), [](const SectionRecord& r) {
        return singleRoot(r.poles) || singleRoot(r.zeros);
    });
    if (odd != records.end())
        std::rotate(odd, odd + 1, records.end());
}

std::vector<BiquadCoefficients> sectionsToBiquads(const std::vector<SectionRecord>& records,
                                                  double sampleRate, double frequency,
                                                  double gain) {
    std::vector<BiquadCoefficients> sections(records.size());
    if (records.empty())
        return sections;
    const double count = static_cast<double>(records.size());

    // The n-th root of a negative gain does not exist: spread its size and give the sign to
    // the first section.
    const double perSection = std::pow(std::fabs(gain), 1.0 / count);
    double removed = 1.0;
    for (size_t i = 0; i < records.size(); ++i) {
        BiquadCoefficients& s = sections[i];
        bilinearSection(s, sampleRate, frequency, sectionPolynomial(records[i].zeros),
                        sectionPolynomial(records[i].poles));
        s.b0 *= perSection;
        s.b1 *= perSection;
        s.b2 *= perSection;
        const double size = std::fabs(s.b0) + std::fabs(s.b1) + std::fabs(s.b2);
        // A numerator that is all zero (gain 0) has no size to remove.
        if (size > 0.0 && std::isfinite(size)) {
            s.b0 /= size;
            s.b1 /= size;
            s.b2 /= size;
            removed *= size;
        }
    }
    const double restore = std::pow(removed, 1.0 / count);
    for (BiquadCoefficients& s : sections) {
        s.b0 *= restore;
        s.b1 *= restore;
        s.b2 *= restore;
    }
    if (gain < 0.0) {
        sections[0].b0 = -sections[0].b0;
        sections[0].b1 = -sections[0].b1;
        sections[0].b2 = -sections[0].b2;
    }
    return sections;
}

double zerosPolesGain(const std::vector<double>& numerator, const std::vector<double>& denominator,
                      Roots& zeros, Roots& poles) {
    polynomialRoots(numerator, zeros);
    polynomialRoots(denominator, poles);
    return leadingCoefficient(numerator) / leadingCoefficient(denominator);
}

std::vector<BiquadCoefficients> zpkToBiquads(const Roots& zeros, const Roots& poles, double gain,
                                             double sampleRate, double frequency) {
    std::vector<SectionRecord> records = pairRootsIntoSections(zeros, poles);
    sortSections(records);
    return sectionsToBiquads(records, sampleRate, frequency, gain);
}

std::vector<BiquadCoefficients> transferToBiquads(const std::vector<double>& numerator,
                                                  const std::vector<double>& denominator,
                                                  double gain, double sampleRate,
                                                  double frequency) {
    Roots zeros, poles;
    gain *= zerosPolesGain(numerator, denominator, zeros, poles);
    return zpkToBiquads(zeros, poles, gain, sampleRate, frequency);
}

} // namespace SorvLib
