#pragma once
// The chains' kernel, written once over a vector type V of four lanes and compiled once per
// instruction set. V provides load (32-byte aligned), loadu, store, storeu and add, sub and mul
// as free functions. Each translation unit gives its own V in an anonymous namespace, so every
// instantiation here is its own code: nothing compiled for a wider set can be shared with the
// baseline kernel through the linker.

#include "engine/ChainKernel.h"

namespace SorvLib {
namespace ChainKernelBody {

// One stretched allpass stage on four lanes. The stage's allpass output a·w + u is not
// formed: the next stage's w update absorbs it, and only a chain's last output is formed.
// `newer` holds S1 of the previous sample (t1), `older` the one before (t2, which is S2) and
// receives this sample's S1.
template <class V> struct Stages {
    V w, x, u;

    inline void stage(const double* a, const double* c, const double* newer, double* older,
                      double* held) {
        const V t1c = mul(V::load(newer), V::loadu(c));
        u = add(V::load(older), t1c);
        V::store(older, sub(V::load(held), t1c));
        w = add(mul(sub(w, u), V::loadu(a)), x);
        V::store(held, w);
        x = u;
    }
};

// A high section that is a first-order allpass squared, {b², 2b, 2b, 1, b²}: its b1 equals its
// a1, its b0 its a2 and its b2 is 1. Then a section's y·a1 and y·a2 are the next section's x·b1
// and x·b0, the very same products, and x·b2 is x, so the chain runs with three
// multiplications fewer per section and the same bits.
template <class V> struct SquaredSections {
    SquaredSections(const ChainKernelData& d, V in)
        : a1(d.highA1), a2(d.highA2), x(in), xb0(mul(in, V::loadu(a2))),
          xb1(mul(in, V::loadu(a1))) {}

    inline void section(double* state) {
        const V y = add(xb0, V::load(state));
        const V ya1 = mul(y, V::loadu(a1));
        V::store(state, add(sub(xb1, ya1), V::load(state + ChainKernelData::kLanes)));
        const V ya2 = mul(y, V::loadu(a2));
        V::store(state + ChainKernelData::kLanes, sub(x, ya2));
        x = y;
        xb0 = ya2;
        xb1 = ya1;
    }

    const double* a1;
    const double* a2;
    V x, xb0, xb1; // x and its products with b0 and b1
};

// Any second-order section in transposed direct form II, every product formed.
template <class V> struct GeneralSections {
    GeneralSections(const ChainKernelData& d, V in) : k(d), x(in) {}

    inline void section(double* state) {
        double* s2 = state + ChainKernelData::kLanes;
        const V y = add(mul(x, V::loadu(k.highB0)), V::load(state));
        V::store(state,
                 add(sub(mul(x, V::loadu(k.highB1)), mul(y, V::loadu(k.highA1))), V::load(s2)));
        V::store(s2, sub(mul(x, V::loadu(k.highB2)), mul(y, V::loadu(k.highA2))));
        x = y;
    }

    const ChainKernelData& k;
    V x;
};

// The coefficients are read from memory at each use: the stores into the states may alias
// them, so the compiler cannot keep them in registers anyway, and the 32-bit target has only
// eight vector registers for the running values.
template <class V, class High> inline void run(ChainKernelData& d) {
    constexpr int32_t kLanes = ChainKernelData::kLanes;

    // Chains' input high-pass: y = x·b0 + s; s = x·b1 − y·a1.
    const V in = V::loadu(&d.chainInput[0][0]);
    const V h = add(mul(in, V::loadu(d.highPassB0)), V::loadu(&d.chainHighPassState[0][0]));
    V::storeu(&d.chainHighPassState[0][0],
              sub(mul(in, V::loadu(d.highPassB1)), mul(h, V::loadu(d.highPassA1))));

    Stages<V> chains;
    chains.x = h;
    chains.w = V::zero();
    chains.u = V::zero();
    High high(d, V::loadu(&d.highInput[0][0]));

    const double* const a = d.chainCoefficient;
    const double* const c = d.fractionCoefficient;
    const double* const newer = d.stageState + kLanes * d.stageStateSlot;
    double* const older = d.stageState + kLanes * (1 - d.stageStateSlot);
    double* const held =
        d.stageBuffers + static_cast<size_t>(d.stagePosition) * ChainKernelData::kStages * kLanes;
    double* const highState = d.highState;

    // The four chains side by side let the latency of each hide behind the others. The high
    // chains are unrolled in groups of ten with one allpass stage per section; the allpass
    // chains' last ten stages follow on their own.
    int32_t i = 0;
    for (int32_t group = 0; group < ChainKernelData::kHighSections / 10; ++group) {
#pragma GCC unroll 10
        for (int32_t step = 0; step < 10; ++step, ++i) {
            chains.stage(a, c, newer + 2 * kLanes * i, older + 2 * kLanes * i, held + kLanes * i);
            high.section(highState + 2 * kLanes * i);
        }
    }
#pragma GCC unroll 10
    for (; i < ChainKernelData::kStages; ++i)
        chains.stage(a, c, newer + 2 * kLanes * i, older + 2 * kLanes * i, held + kLanes * i);

    V::storeu(&d.chainOutput[0][0], add(mul(chains.w, V::loadu(a)), chains.u));
    V::storeu(&d.highOutput[0][0], high.x);
    const int32_t next = d.stagePosition + 1;
    d.stagePosition = next == d.stageDelay ? 0 : next;
    d.stageStateSlot ^= 1;
}

template <class V> inline void run(ChainKernelData& d) {
    if (d.squaredAllpass)
        run<V, SquaredSections<V>>(d);
    else
        run<V, GeneralSections<V>>(d);
}

} // namespace ChainKernelBody
} // namespace SorvLib
