#pragma once
// The chains' kernel, written once over a vector type V of four lanes and compiled once per
// instruction set. V provides load (32-byte aligned), loadu, store, storeu, kRegisters (the
// vector registers a V takes) and add, sub and mul as free functions. Each translation unit
// gives its own V in an anonymous namespace, so every instantiation here is its own code:
// nothing compiled for a wider set can be shared with the baseline kernel through the linker.

#include "engine/ChainKernel.h"

namespace SorvLib {
namespace ChainKernelBody {

constexpr int32_t kLanes = ChainKernelData::kLanes;
constexpr int32_t kStages = ChainKernelData::kStages;
constexpr int32_t kSplit = ChainKernelData::kFirstHalfStages;
constexpr int32_t kHighSections = ChainKernelData::kHighSections;
constexpr int32_t kHighSplit = ChainKernelData::kFirstHalfSections;

// The x86-64 targets have sixteen vector registers, the 32-bit target eight, and a V takes one
// or (as two SSE2 halves) two of them. Where they hold the running values of four chains and
// the coefficients, the four chains run side by side stage by stage. Where they do not, the
// allpass halves and the high halves take turns in groups of nine steps, which the processor
// still runs side by side, and within a group only its own chains' values need registers.
#if defined(__x86_64__)
constexpr int32_t kVectorRegisters = 16;
#else
constexpr int32_t kVectorRegisters = 8;
#endif
template <class V> constexpr int32_t stepGroup() {
    return kVectorRegisters / V::kRegisters >= 16 ? 1 : 9;
}

// One sample's two stretched allpass chains on four lanes, stage by stage. The stage's allpass
// output a·w + u is not formed: the next stage's w update absorbs it, and only a chain's last
// output is formed. A stage's state keeps S1 of the last two samples, [stage][slot][lane]: slot
// kSlot holds S1 of the previous sample (t1), the other slot the one before (t2, which is S2)
// and receives this sample's S1. The slot is a constant of the code, so that the two chains'
// states and, beside them, the next sample's are all reached from one pointer.
template <class V, int32_t kSlot> struct Chains {
    static constexpr int32_t kNewer = kLanes * kSlot;
    static constexpr int32_t kOlder = kLanes * (1 - kSlot);

    Chains(const ChainKernelData& d, int32_t position)
        : a(V::loadu(d.chainCoefficient)), c(V::loadu(d.fractionCoefficient)), state(d.stageState),
          held(d.stageBuffers + static_cast<size_t>(position) * kStages * kLanes) {}

    inline void stage(int32_t i) {
        double* const s = state + 2 * kLanes * i;
        const V t1c = mul(V::load(s + kNewer), c);
        const V u = add(V::load(s + kOlder), t1c);
        V::store(s + kOlder, sub(V::load(held + kLanes * i), t1c));
        w = add(mul(sub(w, u), a), x);
        V::store(held + kLanes * i, w);
        x = u;
    }
    V output() const { return add(mul(w, a), x); }

    V a, c;
    double* state;
    double* held;
    V w, x;
};

// A high section that is a first-order allpass squared, {b², 2b, 2b, 1, b²}: its b1 equals its
// a1, its b0 its a2 and its b2 is 1. Then a section's y·a1 and y·a2 are the next section's x·b1
// and x·b0, the very same products, and x·b2 is x, so the chain runs with three
// multiplications fewer per section and the same bits.
template <class V> struct SquaredSections {
    SquaredSections(const ChainKernelData& d, V in)
        : a1(V::loadu(d.highA1)), a2(V::loadu(d.highA2)), state(d.highState), x(in),
          xb0(mul(in, a2)), xb1(mul(in, a1)) {}
    // The chain of a sample between its two passes.
    static SquaredSections resume(const ChainKernelData& d) {
        SquaredSections high(d, V::zero());
        high.x = V::loadu(d.highStarted[0]);
        high.xb0 = V::loadu(d.highStarted[1]);
        high.xb1 = V::loadu(d.highStarted[2]);
        return high;
    }
    void hold(ChainKernelData& d) const {
        V::storeu(d.highStarted[0], x);
        V::storeu(d.highStarted[1], xb0);
        V::storeu(d.highStarted[2], xb1);
    }

    inline void section(int32_t i) {
        double* const s1 = state + 2 * kLanes * i;
        const V y = add(xb0, V::load(s1));
        const V ya1 = mul(y, a1);
        V::store(s1, add(sub(xb1, ya1), V::load(s1 + kLanes)));
        const V ya2 = mul(y, a2);
        V::store(s1 + kLanes, sub(x, ya2));
        x = y;
        xb0 = ya2;
        xb1 = ya1;
    }

    V a1, a2;
    double* state;
    V x, xb0, xb1; // x and its products with b0 and b1
};

// Any second-order section in transposed direct form II, every product formed.
template <class V> struct GeneralSections {
    GeneralSections(const ChainKernelData& d, V in) : k(d), x(in) {}
    static GeneralSections resume(const ChainKernelData& d) {
        return GeneralSections(d, V::loadu(d.highStarted[0]));
    }
    void hold(ChainKernelData& d) const { V::storeu(d.highStarted[0], x); }

    inline void section(int32_t i) {
        double* const s1 = k.highState + 2 * kLanes * i;
        double* const s2 = s1 + kLanes;
        const V y = add(mul(x, V::loadu(k.highB0)), V::load(s1));
        V::store(s1, add(sub(mul(x, V::loadu(k.highB1)), mul(y, V::loadu(k.highA1))), V::load(s2)));
        V::store(s2, sub(mul(x, V::loadu(k.highB2)), mul(y, V::loadu(k.highA2))));
        x = y;
    }

    const ChainKernelData& k;
    V x;
};

// A sample enters: the chains' input high-pass, y = x·b0 + s; s = x·b1 − y·a1, on the values in
// chainInput. It takes the current stage position and state slot (the caller's kSlot), which
// then move on.
template <class V, int32_t kSlot> inline Chains<V, kSlot> enter(ChainKernelData& d) {
    const V in = V::loadu(&d.chainInput[0][0]);
    const V h = add(mul(in, V::loadu(d.highPassB0)), V::loadu(&d.chainHighPassState[0][0]));
    V::storeu(&d.chainHighPassState[0][0],
              sub(mul(in, V::loadu(d.highPassB1)), mul(h, V::loadu(d.highPassA1))));
    Chains<V, kSlot> chains(d, d.stagePosition);
    chains.x = h;
    chains.w = V::zero();
    d.startedPosition = d.stagePosition;
    d.startedSlot = kSlot;
    const int32_t next = d.stagePosition + 1;
    d.stagePosition = next == d.stageDelay ? 0 : next;
    d.stageStateSlot = 1 - kSlot;
    return chains;
}

template <class V, int32_t kSlot>
inline void hold(ChainKernelData& d, const Chains<V, kSlot>& chains) {
    V::storeu(d.startedW, chains.w);
    V::storeu(d.startedX, chains.x);
}

template <class V, int32_t kSlot> inline Chains<V, kSlot> resume(const ChainKernelData& d) {
    Chains<V, kSlot> chains(d, d.startedPosition);
    chains.w = V::loadu(d.startedW);
    chains.x = V::loadu(d.startedX);
    return chains;
}

template <class V, int32_t kSlot, class High>
inline void leave(ChainKernelData& d, const Chains<V, kSlot>& chains, const High& high) {
    V::storeu(&d.chainOutput[0][0], chains.output());
    V::storeu(&d.highOutput[0][0], high.x);
}

// The chains side by side let the latency of each hide behind the others. The high chains go
// with the allpass stages they run beside, unrolled in groups; the allpass chains' stages
// without a high section follow on their own.
template <class V, class High, int32_t kSlot> inline void runWhole(ChainKernelData& d) {
    Chains<V, kSlot> now = enter<V, kSlot>(d);
    High high(d, V::loadu(&d.highInput[0][0]));
    int32_t i = 0;
    for (int32_t group = 0; group < kHighSections / 10; ++group) {
#pragma GCC unroll 10
        for (int32_t step = 0; step < 10; ++step, ++i) {
            now.stage(i);
            high.section(i);
        }
    }
#pragma GCC unroll 10
    for (; i < kStages; ++i)
        now.stage(i);
    leave(d, now, high);
}

template <class V, int32_t kSlot> inline void runStart(ChainKernelData& d) {
    Chains<V, kSlot> next = enter<V, kSlot>(d);
#pragma GCC unroll 10
    for (int32_t i = 0; i < kSplit; ++i)
        next.stage(i);
    hold(d, next);
}

// The high chains of a started sample to their end alone.
template <class V, class High> inline void runFinishHigh(ChainKernelData& d) {
    High high = High::resume(d);
#pragma GCC unroll 5
    for (int32_t i = kHighSplit; i < kHighSections; ++i)
        high.section(i);
    V::storeu(&d.highOutput[0][0], high.x);
}

// The second half of the started sample's allpass chains beside the first half of the high
// chains of the sample in highInput; with kStartNext the first half of the next sample's
// allpass chains, and with kFinishHigh the second half of the started high chains, run beside
// them too. Four chains of about equal length side by side.
template <class V, class High, int32_t kSlot, bool kStartNext, bool kFinishHigh>
inline void runStep(ChainKernelData& d) {
    constexpr int32_t kLateStages = kStages - kSplit;
    static_assert(kLateStages == kSplit && kHighSplit <= kLateStages &&
                      kHighSections - kHighSplit == kHighSplit,
                  "each stage of the second half goes with one of the first and one section of "
                  "each half of the high chains");
    Chains<V, kSlot> late = resume<V, kSlot>(d);
    // The previous sample's high chains resume before this sample's take their place.
    High finishing = kFinishHigh ? High::resume(d) : High(d, V::zero());
    High starting(d, V::loadu(&d.highInput[0][0]));
    // The next sample takes the other slot.
    Chains<V, 1 - kSlot> next(d, d.stagePosition);
    if (kStartNext)
        next = enter<V, 1 - kSlot>(d);
    constexpr int32_t kStepGroup = stepGroup<V>();
    static_assert(kHighSplit % kStepGroup == 0, "the high chains' first half is whole groups");
    int32_t i = 0;
    if constexpr (kStepGroup == 1) {
        for (int32_t group = 0; group < kHighSplit / 5; ++group) {
#pragma GCC unroll 5
            for (int32_t step = 0; step < 5; ++step, ++i) {
                late.stage(kSplit + i);
                if (kStartNext)
                    next.stage(i);
                starting.section(i);
                if (kFinishHigh)
                    finishing.section(kHighSplit + i);
            }
        }
    } else {
        for (; i < kHighSplit; i += kStepGroup) {
#pragma GCC unroll 9
            for (int32_t step = 0; step < kStepGroup; ++step) {
                late.stage(kSplit + i + step);
                if (kStartNext)
                    next.stage(i + step);
            }
#pragma GCC unroll 9
            for (int32_t step = 0; step < kStepGroup; ++step) {
                starting.section(i + step);
                if (kFinishHigh)
                    finishing.section(kHighSplit + i + step);
            }
        }
    }
#pragma GCC unroll 5
    for (; i < kLateStages; ++i) {
        late.stage(kSplit + i);
        if (kStartNext)
            next.stage(i);
    }
    V::storeu(&d.chainOutput[0][0], late.output());
    if (kFinishHigh)
        V::storeu(&d.highOutput[0][0], finishing.x);
    starting.hold(d);
    if (kStartNext)
        hold(d, next);
}

template <class V, class High, int32_t kSlot> inline void run(ChainKernelData& d, int32_t parts) {
    constexpr int32_t kStep = ChainKernel::kFinishAllpass | ChainKernel::kStartHigh;
    constexpr int32_t kNext = ChainKernel::kStartAllpass;
    constexpr int32_t kPrevious = ChainKernel::kFinishHigh;
    switch (parts) {
    case ChainKernel::kWholeSample:
        runWhole<V, High, kSlot>(d);
        break;
    case ChainKernel::kStartAllpass:
        runStart<V, kSlot>(d);
        break;
    case ChainKernel::kFinishHigh:
        runFinishHigh<V, High>(d);
        break;
    case kStep:
        runStep<V, High, kSlot, false, false>(d);
        break;
    case kStep | kNext:
        runStep<V, High, kSlot, true, false>(d);
        break;
    case kStep | kPrevious:
        runStep<V, High, kSlot, false, true>(d);
        break;
    case kStep | kNext | kPrevious:
        runStep<V, High, kSlot, true, true>(d);
        break;
    default:
        break;
    }
}

// The slot of the sample the parts begin with: the started one when they finish its allpass
// chains.
template <class V, class High> inline void run(ChainKernelData& d, int32_t parts) {
    const bool finishes = (parts & ChainKernel::kFinishAllpass) != 0;
    if ((finishes ? d.startedSlot : d.stageStateSlot) == 0)
        run<V, High, 0>(d, parts);
    else
        run<V, High, 1>(d, parts);
}

template <class V> inline void run(ChainKernelData& d, int32_t parts) {
    if (d.squaredAllpass)
        run<V, SquaredSections<V>>(d, parts);
    else
        run<V, GeneralSections<V>>(d, parts);
}

} // namespace ChainKernelBody
} // namespace SorvLib
