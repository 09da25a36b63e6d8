#pragma once

#include <functional>
#include <vector>

namespace SorvLib {

// A window of length N evaluated at position n; zero outside its support.
using WindowFunction = std::function<double(double n, int N)>;

// (1 − cos(2π·n/N))·0.5 on 0 ≤ n ≤ N: zero at both ends, 1 at n = N/2.
double hannWindow(double n, int N);

// Four-term Blackman–Nuttall window on 0 ≤ n ≤ N − 1, 1 at the centre.
double blackmanNuttallWindow(double n, int N);

// Dolph–Chebyshev window on 0 ≤ n ≤ N − 1 with main lobe to side lobe ratio sideLobeRatio
// (linear, > 1), 1 at the centre.
double chebyshevWindow(double n, int N, double sideLobeRatio);

// sin(x)/x, and 1 where that is 0/0 in double precision.
double sinc(double x);

// Polyphase low-pass for upsampling by phases: out[p] holds the 2·halfLength + 1 taps of phase p,
// tap i being sample p + i·phases of the windowed sinc of length 2·halfLength·phases + 1 with its
// cutoff at cutoff·(Nyquist)/phases, scaled by phases so each phase has unit gain at DC. With
// one phase the filter is the unit impulse delayed by halfLength. Allocates.
void designPolyphaseSinc(std::vector<std::vector<double>>& out, int halfLength, int phases,
                         double cutoff, const WindowFunction& window);

// The same windowed sinc as one filter of 2·halfLength·phases + 1 taps, unit gain at DC.
// Allocates.
void designWindowedSinc(std::vector<double>& out, int halfLength, int phases, double cutoff,
                        const WindowFunction& window);

} // namespace SorvLib
